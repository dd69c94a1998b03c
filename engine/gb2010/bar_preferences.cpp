#include "engine/gb2010/bar_preferences.h"

#include <algorithm>

#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {

namespace {

bool listedSize(int d) {
    return std::find(kBarDiameters2010.begin(), kBarDiameters2010.end(), d) !=
           kBarDiameters2010.end();
}

}  // namespace

std::string barPreferencesProblem(const BarPreferences& p) {
    const std::string sizes = "12、14、16、18、20、22、25、28、32、36、40";
    if (p.diameters.empty()) return "可用直径：至少选一种直径（" + sizes + "）";
    for (std::size_t i = 0; i < p.diameters.size(); ++i) {
        if (!listedSize(p.diameters[i])) {
            return "可用直径：" + std::to_string(p.diameters[i]) + " 不是可用的钢筋直径（" + sizes +
                   "）";
        }
        if (i > 0 && p.diameters[i] <= p.diameters[i - 1]) {
            return "可用直径：应从小到大排列且不重复";
        }
    }
    if (!listedSize(p.smallestMiddleBar)) {
        return "最小中部筋直径：" + std::to_string(p.smallestMiddleBar) + " 不是可用的钢筋直径（" +
               sizes + "）";
    }
    if (p.maximumSizeStep < 0 || p.maximumSizeStep > 10) {
        return "角筋与中部筋最大级差：应为 0～10 档";
    }
    if (p.preferredDiameter != 0 && allowedIndex(p, p.preferredDiameter) < 0) {
        return "优先直径：" + std::to_string(p.preferredDiameter) + " 不在可用直径之中";
    }
    return {};
}

int allowedIndex(const BarPreferences& p, int d) {
    const auto found = std::find(p.diameters.begin(), p.diameters.end(), d);
    return found == p.diameters.end() ? -1 : static_cast<int>(found - p.diameters.begin());
}

bool middleBarAllowed(const BarPreferences& p, int dc, int dw) {
    if (dw > dc || dw < p.smallestMiddleBar) return false;
    const int c = allowedIndex(p, dc);
    const int w = allowedIndex(p, dw);
    return c >= 0 && w >= 0 && c - w <= p.maximumSizeStep;
}

}  // namespace tessarin
