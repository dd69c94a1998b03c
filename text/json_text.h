#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// Appends text as a JSON string: quotes, backslashes and control characters escaped, UTF-8 as it
// is. The report's JSON and the project file write their strings through it.
void appendJsonString(std::string& out, std::string_view text);

}  // namespace tessarin
