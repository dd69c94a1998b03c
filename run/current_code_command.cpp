#include "run/current_code_command.h"

namespace tessarin {

CurrentCodeOutcome runCurrentCodeCommand(CurrentCodeHost& host, const std::string& reportPath) {
    const std::optional<CurrentCodeInput> input = host.readInput();
    if (!input) return CurrentCodeOutcome::FieldRejected;
    if (const std::optional<CurrentCodeFinding> finding = validateCurrentCodeInput(*input)) {
        host.refuse(*finding);
        return CurrentCodeOutcome::InputRejected;
    }
    const std::optional<ColumnWithStirrups> whole = host.runDesign(*input);
    if (!whole) return CurrentCodeOutcome::NotDesigned;
    if (const FileResult written = writeCurrentCodeReport(*whole, reportPath); !written.ok) {
        host.reportFailed(written);
        return CurrentCodeOutcome::FileFailed;
    }
    host.showResult(*whole);
    return CurrentCodeOutcome::Shown;
}

}  // namespace tessarin
