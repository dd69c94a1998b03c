#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "run/run_host.h"

namespace tessarin {

// A host that plays the engineer from a script and records every call of the calculate command,
// in order, as short text lines.
class RecordingHost : public RunHost {
  public:
    // What the engineer "typed"; nullopt for exchangeFields makes the exchange fail.
    std::optional<DesignInput> typed = DesignInput{};
    std::vector<MessageAnswer> answers;  // answers to questions, in order (default No)
    std::optional<SchemeChoice> choice = SchemeChoice{};
    std::function<void()> whileChoosing;  // runs while the scheme question is open

    std::vector<std::string> calls;
    std::vector<Message> messages;
    std::vector<int> focused;
    std::vector<std::string> reports;

    bool exchangeFields(DesignInput& input) override {
        calls.push_back("exchange");
        if (!typed) return false;
        input = *typed;
        return true;
    }
    MessageAnswer showMessage(const Message& message) override {
        calls.push_back("message " + message.caption);
        messages.push_back(message);
        if (message.kind != MessageKind::Question) return MessageAnswer::Ok;
        if (answered_ < answers.size()) return answers[answered_++];
        return MessageAnswer::No;
    }
    void focusControl(ControlId control) override {
        calls.push_back("focus " + std::to_string(static_cast<int>(control)));
        focused.push_back(static_cast<int>(control));
    }
    std::optional<SchemeChoice> chooseScheme() override {
        calls.push_back("scheme");
        if (whileChoosing) whileChoosing();
        return choice;
    }
    void showReport(const std::string& gbkBytes) override {
        calls.push_back("report");
        reports.push_back(gbkBytes);
    }

  private:
    std::size_t answered_ = 0;
};

}  // namespace tessarin
