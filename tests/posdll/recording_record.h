#pragma once

#include <string>

// Kept inside the test printer library: every call it took, one line each, in the format of the recording
// library the press tests use.
void recordCall(const std::string& call);
