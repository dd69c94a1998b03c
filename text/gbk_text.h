#pragma once

#include <string>
#include <string_view>

namespace tessarin {

// The report file holds GBK (code page 936) text; the source holds UTF-8. These convert between
// the two. A character without a GBK form, or bytes that are not valid in the source encoding,
// become '?' (to GBK) or U+FFFD (to UTF-8): the conversion never fails and never drops the rest.
std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

}  // namespace tessarin
