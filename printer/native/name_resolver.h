#pragma once

#include "common/deadline.h"

#include <memory>
#include <string>
#include <vector>

namespace setip::native {

// Turns a host name into numeric addresses ("127.0.0.1", "::1"), in the order to try them. Numeric addresses
// never reach a resolver. Throws PortFailure for an unknown host or a lookup that outlives the deadline.
class NameResolver {
public:
    virtual ~NameResolver() = default;
    virtual std::vector<std::string> lookUp(const std::string& host, Deadline deadline) const = 0;
};

// The system's resolver, bounded by the deadline: a lookup still running then is abandoned, not waited for.
std::shared_ptr<const NameResolver> systemResolver();

}  // namespace setip::native
