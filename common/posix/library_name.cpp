#include "common/library_name.h"

namespace setip {

std::string toLibraryName(TextView name) { return toUtf8(name); }

}  // namespace setip
