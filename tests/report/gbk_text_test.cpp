#include "text/gbk_text.h"

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

// Every byte that starts no convertible character is replaced on its own and the next byte tried,
// on Linux (iconv) and on Windows (code page 936) alike, so both write the same bytes.
TEST(GbkText, ReplacementTableByteForByte) {
    struct Case {
        const char* what;
        bool toGbk;
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"emoji: four bytes, none a GBK character", true, "x\xF0\x9F\x98\x80y", "x????y"},
        {"overlong form of '/'", true, "\xC0\xAF", "??"},
        {"UTF-8 form of a surrogate", true, "\xED\xA0\x80", "???"},
        {"3-byte sequence cut after 2 bytes", true,
         "\xE4\xB8"
         "A",
         "??A"},
        {"stray continuation byte", true,
         "a\x80"
         "b",
         "a?b"},
        {"euro sign and GBK's 0x80", true, "\xE2\x82\xAC", "\x80"},
        {"middle dot A1A4, em dash A1AA", true, "\xC2\xB7\xE2\x80\x94", "\xA1\xA4\xA1\xAA"},
        {"lead byte before a space", false, "\x81 ", "\xEF\xBF\xBD "},
        {"0x80 is the euro sign", false, "\x80", "\xE2\x82\xAC"},
        {"0xFF, then a lead byte at the end", false, "\xD6\xD0\xFF\xD6",
         "\xE4\xB8\xAD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.toGbk ? utf8ToGbk(c.input) : gbkToUtf8(c.input), c.expected) << c.what;
    }
}

}  // namespace
