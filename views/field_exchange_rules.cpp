#include "views/field_exchange_rules.h"

#include "text/number_text.h"

namespace tessarin {

std::string notANumberText() {
    return "请输入一个数。";
}

std::string outOfRangeText(double minimum, double maximum) {
    return "请输入一个介于 " + formatGeneral(minimum) + " 和 " + formatGeneral(maximum) +
           " 之间的数。";
}

}  // namespace tessarin
