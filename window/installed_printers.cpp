#include "window/installed_printers.h"

#include "common/error.h"

namespace setip {

Text ListedPrinters::DeviceName(std::int32_t position) const {
    if (position < 0 || position >= Count()) throw Error::subscriptOutOfRange();
    return names_[static_cast<std::size_t>(position)];
}

}  // namespace setip
