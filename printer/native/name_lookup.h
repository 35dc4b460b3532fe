#pragma once

#include <string>
#include <vector>

namespace setip::native {

// What the system's resolver said of a host name: its numeric addresses in the order to try them, or why not.
struct NameLookup {
    std::vector<std::string> addresses;
    std::string error;  // empty when the lookup succeeded
};

// Asks the system's resolver and waits as long as it takes; systemResolver() puts the deadline around it.
NameLookup lookUpWithoutDeadline(const std::string& host);

}  // namespace setip::native
