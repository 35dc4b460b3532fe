#pragma once

#include "common/deadline.h"

#include <memory>
#include <string>
#include <vector>

namespace setip::builtin {

// Turns a host name into numeric addresses ("127.0.0.1", "::1"), in the order to try them. Numeric addresses never
// reach a resolver. Throws PrinterFailure for an unknown host or a lookup that outlives the deadline.
class NameResolver {
public:
    virtual ~NameResolver() = default;
    virtual std::vector<std::string> lookUp(const std::string& host, Deadline deadline) const = 0;
};

// The system's resolver, bounded by the deadline: a lookup still running then is abandoned, not waited for.
std::shared_ptr<const NameResolver> systemResolver();

// What the system's resolver said of a host name: its numeric addresses in the order to try them, or why not.
struct NameLookup {
    std::vector<std::string> addresses;
    std::string error;  // empty when the lookup succeeded
};

// Asks the system's resolver and waits as long as it takes; one file for each system. systemResolver() puts the
// deadline around it.
NameLookup lookUpWithoutDeadline(const std::string& host);

}  // namespace setip::builtin
