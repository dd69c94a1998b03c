#include "report/gb2010_format.h"

#include <cmath>

#include "report/gb2010_labels.h"
#include "text/number_text.h"

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

const char* barSymbol(SteelGrade2010 steel) {
    switch (steel) {
        case SteelGrade2010::HPB300:
            return "A";
        case SteelGrade2010::HRB335:
            return "B";
        case SteelGrade2010::HRB400:
            return "C";
        case SteelGrade2010::HRB500:
            return "D";
    }
    return "";
}

const char* dxfBarSymbol(SteelGrade2010 steel) {
    switch (steel) {
        case SteelGrade2010::HPB300:
            return "%%130";
        case SteelGrade2010::HRB335:
            return "%%131";
        case SteelGrade2010::HRB400:
            return "%%132";
        case SteelGrade2010::HRB500:
            return "%%133";
    }
    return "";
}

const char* structureLabel(StructureType structure) {
    return structureTypes().label(static_cast<int>(structure));
}

const char* positionLabel(ColumnPosition position) {
    return columnPositions().label(static_cast<int>(position));
}

std::string seismicDataText(const Gb2010Column& c) {
    std::string text =
        std::string(seismicGradeLabel(c.seismic)) + "级，" + structureLabel(c.structure);
    if (c.structure != StructureType::FrameSupported) {
        text += std::string("，") + positionLabel(c.position);
    }
    return text;
}

std::string seismicColumnLabel(const Gb2010Column& c) {
    std::string text = std::string(seismicGradeLabel(c.seismic)) + "级";
    switch (c.structure) {
        case StructureType::Frame:
            return text + "框架结构柱";
        case StructureType::Dual:
            return text + "框架-抗震墙等双重体系的柱";
        case StructureType::FrameSupported:
            return text + "部分框支抗震墙结构的框支柱";
    }
    return text;
}

std::string axialRatioLimitText(const DetailingLimits& limits, int concreteGrade) {
    const AxialRatioLimit& a = limits.axialRatio;
    std::string text = fixedText(a.table, 2);
    if (a.concreteReduction > 0.0) {
        text +=
            " - " + fixedText(a.concreteReduction, 2) + "(C" + std::to_string(concreteGrade) + ")";
    }
    if (a.shortColumnReduction > 0.0) {
        text += " - " + fixedText(a.shortColumnReduction, 2) +
                "(λ = " + fixedText(limits.shearSpan.lambda, 2) + " ≤ 2)";
    }
    if (a.concreteReduction > 0.0 || a.shortColumnReduction > 0.0) {
        text += " = " + fixedText(a.value, 2);
    }
    return text;
}

std::string shearSpanText(const ShearSpan& s) {
    return "λx = Hn/(2h0x) = " + lengthText(s.hn) + "/(2×" + fixedText(s.h0x, 1) +
           ") = " + fixedText(s.lambdaX, 2) + "，λy = Hn/(2h0y) = " + lengthText(s.hn) + "/(2×" +
           fixedText(s.h0y, 1) + ") = " + fixedText(s.lambdaY, 2) +
           "，取较小值 λ = " + fixedText(s.lambda, 2);
}

std::string axialRatioCheckText(double ratio, double limit) {
    const bool ok = ratio <= limit;
    return "μN = N/(fcA) = " + fixedText(ratio, 3) + (ok ? " ≤ " : " > ") + fixedText(limit, 2) +
           (ok ? "，满足" : "，不满足");
}

std::string momentDirectionsText(const DetailingLimits& limits, double l0) {
    if (limits.directions == MomentDirections::Biaxial) return {};
    const bool aboutX = limits.directions == MomentDirections::XOnly;
    return std::string("单向偏心受压：各组合的") + (aboutX ? "y方向弯矩 M2y" : "x方向弯矩 M2x") +
           "均为零，附加偏心距只计入弯矩作用方向(" + (aboutX ? "x" : "y") +
           "方向，6.2.5)；垂直于弯矩作用平面的" + (aboutX ? "y" : "x") +
           "方向不计弯矩，按轴心受压验算(6.2.17、6.2.15)：" + slendernessLabel(limits) + " = " +
           lengthText(l0) + "/" + lengthText(limits.slendernessDepth) + " = " +
           fixedText(limits.slendernessL0b, 2) + "，φ = " + fixedText(limits.phi, 4);
}

const char* slendernessLabel(const DetailingLimits& limits) {
    return limits.directions == MomentDirections::YOnly ? "l0/h" : "l0/b";
}

}  // namespace tessarin
