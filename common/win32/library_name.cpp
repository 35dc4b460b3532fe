#include "common/library_name.h"

#include "common/win32/wide_text.h"

namespace setip {

// The model's 16-bit text is the system's wide text; only the character type differs.
std::string toLibraryName(TextView name) { return ansiFromWide({reinterpret_cast<const wchar_t*>(name.data()), name.size()}); }

}  // namespace setip
