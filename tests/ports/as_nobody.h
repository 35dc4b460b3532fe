#pragma once

#include <functional>
#include <string>

namespace setip::testing_support {

// Runs `work` in a child process that has given up root for user and group nobody (or as the user already, when the
// tests do not run as root), and gives back the text it returned. Root passes every permission check and takes
// over exclusive serial ports, so those cases are only real without it.
// Throws std::runtime_error when the child cannot drop root or does not finish within a few seconds.
std::string runAsNobody(const std::function<std::string()>& work);

}  // namespace setip::testing_support
