#include "project/json_value.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace tessarin {

const JsonValue* JsonValue::find(std::string_view name) const {
    for (const auto& [key, value] : members) {
        if (key == name) return &value;
    }
    return nullptr;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonReading run() {
        JsonReading reading;
        skipBlanks();
        JsonValue value;
        if (!parseValue(value, 0)) {
            reading.error = error_;
            return reading;
        }
        skipBlanks();
        if (pos_ < text_.size()) {
            fail("值之后还有多余的内容");
            reading.error = error_;
            return reading;
        }
        reading.value = std::move(value);
        return reading;
    }

  private:
    bool fail(std::string reason) {
        if (!failed_) {
            failed_ = true;
            error_ = {line_, static_cast<int>(pos_ - lineStart_) + 1, std::move(reason)};
        }
        return false;
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    void skipBlanks() {
        while (!atEnd()) {
            const char c = peek();
            if (c == '\n') {
                ++pos_;
                ++line_;
                lineStart_ = pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else {
                break;
            }
        }
    }

    bool literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return fail("无法识别的值");
        pos_ += word.size();
        return true;
    }

    bool parseValue(JsonValue& value, int depth) {
        if (atEnd()) return fail("文件在此意外结束");
        value.line = line_;
        switch (peek()) {
            case '{':
                return parseObject(value, depth + 1);
            case '[':
                return parseArray(value, depth + 1);
            case '"':
                value.kind = JsonValue::Kind::String;
                return parseString(value.text);
            case 't':
                value.kind = JsonValue::Kind::Boolean;
                value.boolean = true;
                return literal("true");
            case 'f':
                value.kind = JsonValue::Kind::Boolean;
                return literal("false");
            case 'n':
                value.kind = JsonValue::Kind::Null;
                return literal("null");
            default:
                if (peek() == '-' || isDigit(peek())) return parseNumber(value);
                return fail("无法识别的值");
        }
    }

    bool parseObject(JsonValue& value, int depth) {
        if (depth > kJsonMaxDepth) return fail("嵌套层数过多");
        value.kind = JsonValue::Kind::Object;
        ++pos_;
        skipBlanks();
        if (!atEnd() && peek() == '}') {
            ++pos_;
            return true;
        }
        while (true) {
            skipBlanks();
            if (atEnd() || peek() != '"') return fail("此处应为带引号的名称");
            const std::size_t namePos = pos_;
            std::string name;
            if (!parseString(name)) return false;
            if (value.find(name) != nullptr) {
                pos_ = namePos;
                return fail("名称 \"" + name + "\" 重复出现");
            }
            skipBlanks();
            if (atEnd() || peek() != ':') return fail("名称之后应为冒号");
            ++pos_;
            skipBlanks();
            JsonValue member;
            if (!parseValue(member, depth)) return false;
            value.members.push_back(JsonMember{std::move(name), std::move(member)});
            skipBlanks();
            if (atEnd()) return fail("文件在此意外结束");
            if (peek() == ',') {
                ++pos_;
                continue;
            }
            if (peek() == '}') {
                ++pos_;
                return true;
            }
            return fail("此处应为逗号或 }");
        }
    }

    bool parseArray(JsonValue& value, int depth) {
        if (depth > kJsonMaxDepth) return fail("嵌套层数过多");
        value.kind = JsonValue::Kind::Array;
        ++pos_;
        skipBlanks();
        if (!atEnd() && peek() == ']') {
            ++pos_;
            return true;
        }
        while (true) {
            skipBlanks();
            JsonValue item;
            if (!parseValue(item, depth)) return false;
            value.items.push_back(std::move(item));
            skipBlanks();
            if (atEnd()) return fail("文件在此意外结束");
            if (peek() == ',') {
                ++pos_;
                continue;
            }
            if (peek() == ']') {
                ++pos_;
                return true;
            }
            return fail("此处应为逗号或 ]");
        }
    }

    bool parseNumber(JsonValue& value) {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        if (atEnd() || !isDigit(peek())) return fail("数字不完整");
        if (peek() == '0') {
            ++pos_;
            if (!atEnd() && isDigit(peek())) return fail("数字不能以 0 开头");
        } else {
            while (!atEnd() && isDigit(peek())) ++pos_;
        }
        if (!atEnd() && peek() == '.') {
            ++pos_;
            if (atEnd() || !isDigit(peek())) return fail("小数点之后应为数字");
            while (!atEnd() && isDigit(peek())) ++pos_;
        }
        if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
            ++pos_;
            if (!atEnd() && (peek() == '+' || peek() == '-')) ++pos_;
            if (atEnd() || !isDigit(peek())) return fail("指数之后应为数字");
            while (!atEnd() && isDigit(peek())) ++pos_;
        }
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        double number = 0.0;
        const auto [end, error] = std::from_chars(first, last, number);
        // Beyond a double either way (1e400, 1e-400): no project field holds such a value.
        if (error != std::errc() || end != last || !std::isfinite(number)) {
            pos_ = start;
            return fail("数值超出范围");
        }
        value.kind = JsonValue::Kind::Number;
        value.number = number;
        return true;
    }

    bool parseHex4(std::uint32_t& code) {
        if (text_.size() - pos_ < 4) return fail("\\u 之后应为四位十六进制数");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(text_[pos_ + static_cast<std::size_t>(i)]);
            if (digit < 0) return fail("\\u 之后应为四位十六进制数");
            code = code * 16 + static_cast<std::uint32_t>(digit);
        }
        pos_ += 4;
        return true;
    }

    bool parseEscape(std::string& out) {
        ++pos_;  // the backslash
        if (atEnd()) return fail("文件在此意外结束");
        const char c = peek();
        ++pos_;
        switch (c) {
            case '"':
                out += '"';
                return true;
            case '\\':
                out += '\\';
                return true;
            case '/':
                out += '/';
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u': {
                std::uint32_t code = 0;
                if (!parseHex4(code)) return false;
                if (code >= 0xDC00 && code <= 0xDFFF) return fail("孤立的 UTF-16 低位代理");
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (text_.substr(pos_, 2) != "\\u") return fail("孤立的 UTF-16 高位代理");
                    pos_ += 2;
                    std::uint32_t low = 0;
                    if (!parseHex4(low)) return false;
                    if (low < 0xDC00 || low > 0xDFFF) return fail("孤立的 UTF-16 高位代理");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, code);
                return true;
            }
            default:
                --pos_;
                return fail("无效的转义字符");
        }
    }

    // One UTF-8 character of 2 to 4 bytes, checked: no overlong forms, no surrogates, nothing
    // above U+10FFFF.
    bool copyUtf8(std::string& out) {
        const auto byte = [this](std::size_t i) {
            return static_cast<unsigned char>(text_[pos_ + i]);
        };
        const unsigned char lead = byte(0);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return fail("文本不是有效的 UTF-8");
        }
        if (text_.size() - pos_ < length) return fail("文本不是有效的 UTF-8");
        for (std::size_t i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0u) != 0x80u) return fail("文本不是有效的 UTF-8");
            code = (code << 6) | (byte(i) & 0x3Fu);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return fail("文本不是有效的 UTF-8");
        }
        out.append(text_.substr(pos_, length));
        pos_ += length;
        return true;
    }

    bool parseString(std::string& out) {
        ++pos_;  // the opening quote
        while (true) {
            if (atEnd()) return fail("字符串没有结束的引号");
            const auto c = static_cast<unsigned char>(peek());
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c == '\\') {
                if (!parseEscape(out)) return false;
            } else if (c < 0x20) {
                return fail("字符串中有控制字符（换行须写作 \\n）");
            } else if (c < 0x80) {
                out += static_cast<char>(c);
                ++pos_;
            } else if (!copyUtf8(out)) {
                return false;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::size_t lineStart_ = 0;
    bool failed_ = false;
    JsonError error_;
};

}  // namespace

JsonReading readJson(std::string_view text) {
    return Parser(text).run();
}

}  // namespace tessarin
