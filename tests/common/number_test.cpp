#include "common/error.h"
#include "common/number.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

// Address parts reach these through the new-address tests; the baud rate is the one 32-bit caller.
TEST(ToInteger32, TakesTheWholeRangeAndOverflowsPastIt) {
    EXPECT_EQ(toInteger32(u"115200"), 115200);
    EXPECT_EQ(toInteger32(u"-2147483648"), -2147483647 - 1);
    try {
        toInteger32(u"2147483648");
        FAIL() << "no overflow";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), 6);
    }
}

}  // namespace
}  // namespace setip
