#include "report/current_code_format.h"

#include <cmath>

#include "report/current_code_labels.h"
#include "report/number_text.h"

namespace tessarin {

std::string fixedText(double value, int decimals) {
    if (std::isinf(value)) return value < 0.0 ? "-∞" : "∞";
    // From 10^9 on, a mantissa and a power of ten: the digits of a utilisation of 10^300 would
    // fill a page and say no more (9 significant digits are more than any figure here holds).
    if (std::isfinite(value) && std::fabs(value) >= kLargestFixed) {
        int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        std::string mantissa = formatDecimals(value / std::pow(10.0, exponent), decimals);
        // 9.999 to two decimals is 10.00: one more power of ten.
        if (mantissa.find("10.") == 0 || mantissa.find("-10.") == 0) {
            ++exponent;
            mantissa = formatDecimals(value / std::pow(10.0, exponent), decimals);
        }
        return mantissa + "e+" + std::to_string(exponent);
    }
    return formatDecimals(value, decimals);
}

std::string percentText(double ratio, int decimals) {
    return fixedText(ratio * 100.0, decimals) + "%";
}

std::string lengthText(double mm) {
    return formatGeneral(mm);
}

const char* structureLabel(StructureType structure) {
    return structure == StructureType::Frame ? "框架结构" : "框架-抗震墙等双重体系";
}

const char* positionLabel(ColumnPosition position) {
    return position == ColumnPosition::Middle ? "中柱、边柱" : "角柱、框支柱";
}

std::string seismicColumnLabel(const CurrentCodeColumn& c) {
    std::string text = std::string(seismicGradeLabel(c.seismic)) + "级";
    text += c.structure == StructureType::Frame ? "框架结构柱" : "框架-抗震墙等双重体系的柱";
    return text;
}

}  // namespace tessarin
