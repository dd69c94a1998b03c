#include "text/clean_text.h"

namespace tessarin {

namespace {

constexpr std::string_view kReplacement = "\uFFFD";

unsigned char byteAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

bool isControl(char32_t c) {
    if (c == U'\t' || c == U'\n' || c == U'\r') return false;
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

CodePoint firstCodePoint(std::string_view text) {
    if (text.empty()) return {};
    const unsigned char lead = byteAt(text, 0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t value = 0;
    // The range the second byte must lie in rules out overlong forms, surrogates and values
    // beyond U+10FFFF (the table of well-formed sequences of the Unicode standard).
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {};
    }
    if (text.size() < length) return {};
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byteAt(text, i);
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF)) return {};
        value = (value << 6) | (c & 0x3Fu);
    }
    return {value, length};
}

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint c = firstCodePoint(text.substr(i));
        if (c.length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        if (isControl(c.value)) {
            out += kReplacement;
        } else {
            out.append(text.substr(i, c.length));
        }
        i += c.length;
    }
    return out;
}

}  // namespace tessarin
