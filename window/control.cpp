#include "window/control.h"

namespace setip {

Text Control::accessibleName() const {
    if (label_ == nullptr) return accessibleName_;
    // A label ends in a colon to show what follows it; the name is what the label says.
    Text name = label_->caption();
    if (!name.empty() && name.back() == u':') name.pop_back();
    return name;
}

}  // namespace setip
