#include "run/validate_input.h"

#include <climits>

namespace tessarin {

namespace {

constexpr const char* kError = "错误";
constexpr const char* kAttention = "请注意";
constexpr const char* kHint = "提示";

// The integer part of a length, truncated toward zero to 32 bits. A value outside that range
// (or not a number) gives INT_MIN, as the processor's conversion does; it fails either module.
int truncateToInt32(double value) {
    if (!(value > static_cast<double>(INT_MIN) - 1.0 &&
          value < static_cast<double>(INT_MAX) + 1.0)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Collects the findings; fail() adds the error that ends the checks.
class Findings {
  public:
    bool fail(const char* text, const char* caption, ControlId control) {
        list_.push_back({{text, caption, MessageKind::Error}, control});
        return true;
    }
    // Section sides are taken in 50 mm steps up to 800 mm and in 100 mm steps above. Only the
    // integer part counts.
    void checkModule(double side, ControlId control) {
        const int n = truncateToInt32(side);
        const char* question = nullptr;
        if (side > 800.0) {
            if (n % 100 != 0) question = "柱截面边长在800mm以上，宜取100mm为模数,\r\n是否修改数据?";
        } else if (n % 50 != 0) {
            question = "柱截面边长在800mm以下，宜取50mm为模数,\r\n是否修改数据?";
        }
        if (question != nullptr)
            list_.push_back({{question, kHint, MessageKind::Question}, control});
    }
    std::vector<InputFinding> take() { return std::move(list_); }

  private:
    std::vector<InputFinding> list_;
};

// Runs the checks in order until the first error; true when one was found.
bool findFailure(const DesignInput& in, Findings& found) {
    // Strict greater-than tests: zero fails, and so would a value that is not a number. The height
    // is checked before the width although the width's field stands above it.
    if (!(in.l0 > 0.0)) return found.fail("柱计算长度度应为大于零的数", kError, ControlId::L0);
    if (!(in.h > 0.0)) {
        return found.fail("柱截面高度应为大于零的数,\r\n请重新输入。", kAttention, ControlId::H);
    }
    found.checkModule(in.h, ControlId::H);
    if (!(in.b > 0.0)) {
        return found.fail("柱截面宽度应为大于零的数,\r\n请重新输入。", kAttention, ControlId::B);
    }
    found.checkModule(in.b, ControlId::B);
    if (!(in.M0x > 0.0)) return found.fail("双向偏心受压M0x应为大于零的数", kError, ControlId::M0x);
    if (!(in.M0y > 0.0)) return found.fail("双向偏心受压M0y应为大于零的数", kError, ControlId::M0y);
    if (!(in.N > 0.0)) return found.fail("双向偏心受压N应为大于零的数", kError, ControlId::N);
    if (!(in.ax > 0.0)) return found.fail("钢筋合力点位置应为为大于零的数", kError, ControlId::Ax);
    if (!(in.ay > 0.0)) return found.fail("钢筋合力点位置应为为大于零的数", kError, ControlId::Ay);
    // A bar distance of half the depth or more leaves no lever arm between the bar groups: the
    // formulas would divide by zero or flip sign and print a meaningless design.
    if (!(2.0 * in.ax < in.h)) {
        return found.fail("钢筋合力点至截面近边的距离ax应小于截面高度h的一半", kError,
                          ControlId::Ax);
    }
    if (!(2.0 * in.ay < in.b)) {
        return found.fail("钢筋合力点至截面近边的距离ay应小于截面宽度b的一半", kError,
                          ControlId::Ay);
    }
    return false;
}

}  // namespace

std::vector<InputFinding> validateInput(const DesignInput& input) {
    Findings found;
    findFailure(input, found);
    return found.take();
}

}  // namespace tessarin
