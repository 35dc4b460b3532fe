#include "common/library_name.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

// Wine's prefix runs with the Western European ANSI code page, 1252, as a Western Windows does.
struct Conversion {
    std::string name;
    Text text;
    std::string bytes;
};

class LibraryName : public testing::TestWithParam<Conversion> {};

TEST_P(LibraryName, IsTheAnsiCodePage) { EXPECT_EQ(toLibraryName(GetParam().text), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(CodePage1252, LibraryName, testing::Values(
    Conversion{"ascii is unchanged", u"COM1", "COM1"},
    Conversion{"the empty name stays empty", u"", ""},
    Conversion{"an accent is one byte", u"Caf\u00E9", "Caf\xE9"},
    Conversion{"the euro sign has its own byte", u"\u20AC5", "\x80" "5"},
    Conversion{"a character the page lacks is a question mark", u"\u4E2E!", "?!"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
