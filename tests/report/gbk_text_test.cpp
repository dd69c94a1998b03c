#include "report/gbk_text.h"

#include <gtest/gtest.h>

using namespace tessarin;

namespace {

// GBK byte counts of texts with Chinese, Greek and full-width characters: two bytes each.
TEST(GbkText, ChineseGreekAndFullWidthTakeTwoBytesEach) {
    EXPECT_EQ(utf8ToGbk("计算").size(), 4u);
    EXPECT_EQ(utf8ToGbk("ζη").size(), 4u);
    EXPECT_EQ(utf8ToGbk("：").size(), 2u);
    EXPECT_EQ(utf8ToGbk("在x方向的考虑偏心距的变化对截面曲率的影响系数：ζx1=").size(), 52u);
    EXPECT_EQ(utf8ToGbk("Result.txt\r\n\t").size(), 13u);
}

TEST(GbkText, RoundTripsTheReportText) {
    const std::string text = "选用第 1 钢筋布置方案\r\n\r\nηx=1.063492 ζy2=1.000000";
    EXPECT_EQ(gbkToUtf8(utf8ToGbk(text)), text);
}

TEST(GbkText, KnownGbkBytes) {
    // "中" is D6 D0 in GBK.
    EXPECT_EQ(utf8ToGbk("中"), std::string("\xD6\xD0"));
    EXPECT_EQ(gbkToUtf8(std::string("\xD6\xD0")), "中");
}

TEST(GbkText, InvalidBytesAreReplacedAndTheRestKept) {
    EXPECT_EQ(gbkToUtf8(std::string("a\xFF"
                                    "b")),
              "a\uFFFD"
              "b");
    EXPECT_EQ(gbkToUtf8(std::string("ab\xD6")), "ab\uFFFD");  // truncated pair at the end
    EXPECT_EQ(utf8ToGbk("a\xC3"), "a?");                      // truncated UTF-8
    EXPECT_EQ(utf8ToGbk("x\xF0\x9F\x98\x80y").front(), 'x');  // an emoji has no GBK form
    EXPECT_EQ(utf8ToGbk("x\xF0\x9F\x98\x80y").back(), 'y');
    EXPECT_EQ(gbkToUtf8(""), "");
}

}  // namespace
