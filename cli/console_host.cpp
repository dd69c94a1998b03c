#include "cli/console_host.h"

#include <cerrno>
#include <ostream>

#include "text/gbk_text.h"

namespace tessarin {

ConsoleHost::ConsoleHost(const DesignInput& input, const SchemeChoice& scheme, std::ostream& out,
                         std::ostream& err)
    : input_(input), scheme_(scheme), out_(out), err_(err) {}

bool ConsoleHost::exchangeFields(DesignInput& input) {
    input = input_;
    return true;
}

MessageAnswer ConsoleHost::showMessage(const Message& message) {
    const char* kind = message.kind == MessageKind::Error ? "error" : "warning";
    err_ << "tessarin-cli: " << kind << " [" << message.caption << "] "
         << withUnixLineEnds(message.text) << '\n';
    // Nobody can answer here: a module question is a warning and the run goes on, as when the
    // engineer answers No.
    if (message.kind != MessageKind::Question) return MessageAnswer::Ok;
    err_ << "tessarin-cli: the run goes on with the value as given\n";
    return MessageAnswer::No;
}

void ConsoleHost::focusControl(ControlId control) {
    err_ << "tessarin-cli: check " << flagForControl(control) << '\n';
}

std::optional<SchemeChoice> ConsoleHost::chooseScheme() {
    return scheme_;
}

void ConsoleHost::showReport(const std::string& gbkBytes) {
    print(withUnixLineEnds(gbkToUtf8(gbkBytes)));
}

void ConsoleHost::print(const std::string& text) {
    errno = 0;
    out_ << text;
    flushOut();
}

// errno is cleared before the text goes out: the stream may write it at once or on the flush.
void ConsoleHost::flushOut() {
    out_.flush();
    // A stream that fails without a system error (none was set) is an input/output error.
    if (!out_ && outputError_ == 0) outputError_ = errno != 0 ? errno : EIO;
}

const char* flagForControl(ControlId control) {
    switch (control) {
        case ControlId::L0:
            return "--l0";
        case ControlId::B:
            return "--b";
        case ControlId::H:
            return "--h";
        case ControlId::M0x:
            return "--M0x";
        case ControlId::M0y:
            return "--M0y";
        case ControlId::N:
            return "--N";
        case ControlId::Ax:
            return "--ax";
        case ControlId::Ay:
            return "--ay";
        case ControlId::RatioX:
            return "--ratio-x";
        case ControlId::RatioY:
            return "--ratio-y";
        default:
            return "the input";
    }
}

std::string withUnixLineEnds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        result += text[i];
    }
    return result;
}

}  // namespace tessarin
