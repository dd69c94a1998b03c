#include "cli/output_clash.h"

namespace tessarin {

std::optional<std::string> findOutputClash(const std::vector<RunOutput>& outputs,
                                           const std::optional<FileIdentity>& standardOutput) {
    constexpr const char* kNever = "; a run never writes two of its outputs into one file";
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const RunOutput& output = outputs[i];
        // Replacing the file stdout writes to would lose what is printed (--dxf /dev/stdout
        // with stdout redirected to a file).
        if (standardOutput && leadsTo(output.path, *standardOutput)) {
            return output.what + " " + output.path + " is the file stdout writes to" + kNever;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (sameOutputFile(outputs[j].path, output.path)) {
                return output.what + " " + output.path + " is the same file as " + outputs[j].what +
                       " " + outputs[j].path + kNever;
            }
        }
    }
    return std::nullopt;
}

}  // namespace tessarin
