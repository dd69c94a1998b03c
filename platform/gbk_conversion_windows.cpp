// GBK and UTF-8 through the code page functions of Windows.
#include <windows.h>

#include <optional>

#include "platform/gbk_conversion.h"

namespace tessarin {

namespace {

// Windows converts with code page 936 (GBK), through UTF-16. What iconv on Linux rejects is
// rejected here as well and replaced byte by byte the same way, so both systems write the same
// bytes; the two tables differ only in GBK's user-defined areas, which Windows maps to
// private-use characters.

unsigned char byteAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

// The length of the well-formed UTF-8 sequence text starts with, or 0 for a stray or truncated
// byte, an overlong form, a surrogate or a code point beyond U+10FFFF.
std::size_t utf8SequenceLength(std::string_view text) {
    const unsigned char lead = byteAt(text, 0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
        if (lead == 0xED) high = 0x9F;  // surrogates U+D800..U+DFFF
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong below U+10000
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byteAt(text, 1) < low || byteAt(text, 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byteAt(text, i) < 0x80 || byteAt(text, i) > 0xBF) return 0;
    }
    return length;
}

// The length of the GBK character text starts with: 1 for ASCII and 0x80 (the euro sign), 2 for
// a lead byte 0x81..0xFE with a trail byte 0x40..0xFE other than 0x7F, 0 otherwise.
std::size_t gbkSequenceLength(std::string_view text) {
    const unsigned char lead = byteAt(text, 0);
    if (lead <= 0x80) return 1;
    if (lead == 0xFF || text.size() < 2) return 0;
    const unsigned char trail = byteAt(text, 1);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 0;
}

int sizeOf(std::size_t size) {
    return static_cast<int>(size);
}

// Text in codePage to UTF-16; nothing when a character is not valid there.
std::optional<std::wstring> toWide(std::string_view text, UINT codePage) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                           sizeOf(text.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), sizeOf(text.size()),
                        wide.data(), length);
    return wide;
}

// UTF-16 to codePage; nothing when a character has no exact form there.
std::optional<std::string> fromWide(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return std::string();
    // UTF-8 takes neither flags nor the default-character report.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), sizeOf(wide.size()),
                                           nullptr, 0, nullptr, usedDefaultOut);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), sizeOf(wide.size()), text.data(), length,
                        nullptr, usedDefaultOut);
    return text;
}

std::optional<std::string> recode(std::string_view text, UINT from, UINT to) {
    const std::optional<std::wstring> wide = toWide(text, from);
    if (!wide) return std::nullopt;
    return fromWide(*wide, to);
}

}  // namespace

std::string convertGbk(std::string_view input, GbkDirection direction) {
    const bool toGbk = direction == GbkDirection::ToGbk;
    const UINT from = toGbk ? CP_UTF8 : 936;
    const UINT to = toGbk ? 936 : CP_UTF8;
    const auto sequenceLength = toGbk ? utf8SequenceLength : gbkSequenceLength;
    const std::string_view replacement = toGbk ? "?" : "\uFFFD";

    // A well-formed text whose every character has a form in the other encoding (the report,
    // always) converts in one go.
    bool wellFormed = true;
    for (std::size_t i = 0; i < input.size() && wellFormed;) {
        const std::size_t length = sequenceLength(input.substr(i));
        wellFormed = length > 0;
        i += length;
    }
    if (wellFormed) {
        if (std::optional<std::string> whole = recode(input, from, to)) return *whole;
    }
    // Otherwise character by character; a byte that starts no convertible character is replaced
    // and the next byte tried.
    std::string output;
    output.reserve(input.size() * 3 / 2 + 16);
    for (std::size_t i = 0; i < input.size();) {
        const std::size_t length = sequenceLength(input.substr(i));
        if (length == 1 && byteAt(input, i) < 0x80) {
            output += input[i++];
            continue;
        }
        const std::optional<std::string> one =
            length > 0 ? recode(input.substr(i, length), from, to) : std::nullopt;
        if (one) {
            output += *one;
            i += length;
        } else {
            output += replacement;
            ++i;
        }
    }
    return output;
}

}  // namespace tessarin
