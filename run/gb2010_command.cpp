#include "run/gb2010_command.h"

namespace tessarin {

Gb2010Outcome runGb2010Command(Gb2010Host& host, const std::optional<std::string>& reportPath) {
    const std::optional<Gb2010Input> input = host.readInput();
    if (!input) return Gb2010Outcome::FieldRejected;
    if (const std::optional<Gb2010Finding> finding = validateGb2010Input(*input)) {
        host.refuse(*finding);
        return Gb2010Outcome::InputRejected;
    }
    const std::optional<ColumnWithStirrups> whole = host.runDesign(*input);
    if (!whole) return Gb2010Outcome::NotDesigned;
    if (reportPath) {
        if (const FileResult written = writeGb2010Report(*whole, *reportPath); !written.ok) {
            host.reportFailed(written);
            return Gb2010Outcome::FileFailed;
        }
    }
    host.showResult(*whole);
    return Gb2010Outcome::Shown;
}

}  // namespace tessarin
