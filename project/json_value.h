#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/json_text.h"

namespace tessarin {

struct JsonMember;

// A JSON value as the project file holds it, with the line it starts on so that a message can
// point at it. Objects keep their members in file order (a name appears once).
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;  // a string's UTF-8 text
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;
    int line = 1;

    // The member of an object with this name; nullptr when there is none.
    [[nodiscard]] const JsonValue* find(std::string_view name) const;
};

// A member of an object: its name and value.
struct JsonMember {
    std::string name;
    JsonValue value;
};

// Where and why a text is not JSON: line and column (1-based, the column counted in bytes) and
// the reason in Chinese.
struct JsonError {
    int line = 1;
    int column = 1;
    std::string reason;
};

struct JsonReading {
    std::optional<JsonValue> value;
    JsonError error;  // when value is empty
};

// Strict RFC 8259 reading: one value with optional white space around it; no comments, trailing
// commas, single quotes, leading zeros, NaN or infinity; a number that overflows a double, a
// string that is not UTF-8, an unpaired surrogate, a control character in a string, a name given
// twice in one object, and nesting deeper than kJsonMaxDepth are refused.
inline constexpr int kJsonMaxDepth = 64;
[[nodiscard]] JsonReading readJson(std::string_view text);

}  // namespace tessarin
