#pragma once

#include <string>

namespace tessarin {

// A modal message to the engineer. Texts are UTF-8; "\r\n" inside a text is one line break.
enum class MessageKind {
    Error,     // stop icon, OK
    Question,  // exclamation icon, Yes and No
    Warning,   // exclamation icon, OK
};

enum class MessageAnswer { Ok, Yes, No };

struct Message {
    std::string text;
    std::string caption;
    MessageKind kind = MessageKind::Error;

    friend bool operator==(const Message&, const Message&) = default;
};

}  // namespace tessarin
