// The project file reader for any bytes: it never crashes, never reads outside its text, and a
// file it accepts, written again, reads back as the same project and the same bytes; a refusal
// always names the file and a line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "project/json_value.h"
#include "project/project_file.h"

using namespace tessarin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const JsonReading json = readJson(text);
    if (!json.value && (json.error.line < 1 || json.error.column < 1 || json.error.reason.empty()))
        std::abort();
    const ProjectReading reading = readProjectText(text, "f.tsn");
    if (!reading.project) {
        if (reading.error.rfind("f.tsn：第 ", 0) != 0) std::abort();
        return 0;
    }
    // A project is always JSON, once the byte-order mark it may start with is passed over.
    const std::string_view bom = "\xEF\xBB\xBF";
    if (!json.value && !(text.substr(0, 3) == bom && readJson(text.substr(3)).value)) std::abort();
    const std::string written = projectJson(*reading.project);
    const ProjectReading again = readProjectText(written, "f.tsn");
    if (!again.project || !(*again.project == *reading.project)) std::abort();
    if (projectJson(*again.project) != written) std::abort();
    return 0;
}
