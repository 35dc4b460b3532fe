#include "common/text.h"

#include <gtest/gtest.h>

namespace setip {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    const Text text = u"a\u00E9\u4E2D\U0001F5A8";
    EXPECT_EQ(toUtf8(text), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x96\xA8");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(Utf8, ReplacesWhatIsMalformedInsteadOfDroppingIt) {
    EXPECT_EQ(toUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz") << "unpaired surrogate";
    EXPECT_EQ(fromUtf8("a\xFFz"), u"a\uFFFDz") << "invalid byte";
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong form";
    EXPECT_EQ(fromUtf8("\xE4\xB8"), u"\uFFFD\uFFFD") << "cut short";
}

}  // namespace
}  // namespace setip
