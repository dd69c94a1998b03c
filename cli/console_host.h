#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "run/run_host.h"

namespace tessarin {

// The calculate command's host for a terminal: the case comes from flags, messages go to stderr,
// the report to stdout. Module questions are answered No (the run goes on, as a warning).
class ConsoleHost : public RunHost {
  public:
    ConsoleHost(const DesignInput& input, const SchemeChoice& scheme, std::ostream& out,
                std::ostream& err);

    bool exchangeFields(DesignInput& input) override;
    MessageAnswer showMessage(const Message& message) override;
    void focusControl(ControlId control) override;
    std::optional<SchemeChoice> chooseScheme() override;
    void showReport(const std::string& gbkBytes) override;

    // Prints text after the report (the section check); it is flushed at once.
    void print(const std::string& text);
    // The system's error number of the first write to out that failed, 0 while none did.
    int outputError() const { return outputError_; }

  private:
    void flushOut();

    DesignInput input_;
    SchemeChoice scheme_;
    std::ostream& out_;
    std::ostream& err_;
    int outputError_ = 0;
};

// The flag that sets a control's value, for messages that point at a field ("--h").
const char* flagForControl(ControlId control);

// Text for a terminal: CR LF becomes LF.
std::string withUnixLineEnds(const std::string& text);

}  // namespace tessarin
