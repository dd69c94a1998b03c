#include "text/gbk_text.h"

#include "platform/gbk_conversion.h"

namespace tessarin {

std::string utf8ToGbk(std::string_view utf8) {
    return convertGbk(utf8, GbkDirection::ToGbk);
}

std::string gbkToUtf8(std::string_view gbk) {
    return convertGbk(gbk, GbkDirection::ToUtf8);
}

}  // namespace tessarin
