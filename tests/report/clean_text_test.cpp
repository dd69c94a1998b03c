#include "text/clean_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tessarin {
namespace {

// Each fault replaced by U+FFFD (EF BF BD): stray, truncated and overlong bytes one each, as
// are a surrogate's and a value beyond U+10FFFF; NUL, C0 controls but TAB LF CR, DEL and the
// C1 controls. What is well formed and shown stays as it is.
TEST(PrintableText, ReplacesWhatIsNotWellFormedOrNotShown) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"KZ1-角筋 4Φ25", "KZ1-角筋 4Φ25"},
        {"tab\tLF\nCR\r", "tab\tLF\nCR\r"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},  // U+1F600, beyond the BMP, well formed
        {std::string("K\0Z", 3), "K" + r + "Z"},
        {"\x01\x1F", r + r},
        {"a\x7F", "a" + r},
        {"\xC2\x85", r},                      // U+0085, a C1 control
        {"\xC2\xA0", "\xC2\xA0"},             // U+00A0, no control
        {"\xFF", r},                          // never a UTF-8 byte
        {"\x80x", r + "x"},                   // a continuation byte alone
        {"\xE4\xB8", r + r},                  // truncated 中
        {"\xC0\xAF", r + r},                  // overlong /
        {"\xE0\x80\xAF", r + r + r},          // overlong /
        {"\xED\xA0\x80", r + r + r},          // the surrogate U+D800
        {"\xF4\x90\x80\x80", r + r + r + r},  // U+110000
    };
    for (const auto& [given, expected] : cases) {
        EXPECT_EQ(printableText(given), expected) << given;
    }
}

TEST(PrintableText, CodePointsAndTheirLengths) {
    EXPECT_EQ(firstCodePoint("A").value, U'A');
    EXPECT_EQ(firstCodePoint("中文").value, U'中');
    EXPECT_EQ(firstCodePoint("中文").length, 3u);
    EXPECT_EQ(firstCodePoint("\xF0\x9F\x98\x80").value, 0x1F600u);
    EXPECT_EQ(firstCodePoint("").length, 0u);
    EXPECT_EQ(firstCodePoint("\xE4\xB8").length, 0u);
}

}  // namespace
}  // namespace tessarin
