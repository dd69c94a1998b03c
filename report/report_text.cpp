#include "report/report_text.h"

#include <string_view>

#include "engine/column_design.h"
#include "engine/design_codes.h"
#include "text/gbk_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// One report row: label, value by "%f", then the row's line ends (one, or two to end a group).
void addRow(std::string& text, std::string_view label, double value, bool endsGroup = false) {
    text += label;
    text += formatFixed(value);
    text += kCrLf;
    if (endsGroup) text += kCrLf;
}

void addLine(std::string& text, std::string_view label, bool endsGroup) {
    text += label;
    text += kCrLf;
    if (endsGroup) text += kCrLf;
}

std::string_view steelLabel(int steelGrade) {
    switch (steelGrade) {
        case codeOf(SteelGrade::HPB235):
            return "钢筋强度等级：\t热轧钢筋HPB235\tfy=";
        case codeOf(SteelGrade::HRB335):
            return "钢筋强度等级：\t热轧钢筋HRB335\tfy=";
        default:
            // The calculate command passes codes 1 to 3 only; code 4 has the HRB400 values.
            return "钢筋强度等级：\t热轧钢筋HRB400\tfy=";
    }
}

}  // namespace

std::string step1ReportText(const Step1Design& design) {
    const ColumnCase& c = design.column;
    const Step1Result& s = design.step1;
    std::string t;
    t.reserve(2048);
    t += "===========================================================\r\n";
    t += "=          双 向 受 压 矩 形 柱 截 面 压 配 筋 计 算       =\r\n";
    t += "===========================================================\r\n\r\n";
    addLine(t, "---------------以下为输入数据--------------", true);
    addRow(t, "柱计算长度(mm)：l0 = ", c.l0);
    addRow(t, "柱截面宽度(mm)：b  = ", c.b);
    addRow(t, "柱截面高度(mm)：h  = ", c.h, true);
    addRow(t, "柱截面在X轴方向的弯矩M0x(kN.m):   M0x = ", c.M0x);
    addRow(t, "柱截面在Y轴方向的弯矩M0y(kN.m):   M0y = ", c.M0y);
    addRow(t, "柱截面轴力(kN):\t\t\t   N  = ", c.N, true);
    addRow(t, "钢筋Asx的合力点至截面近边的距离ax(mm):  ax = ", c.ax);
    addRow(t, "钢筋Asy的合力点至截面近边的距离ay(mm):  ay = ", c.ay, true);
    t += "混凝土强度等级：C";
    t += formatFixed(c.concreteGrade);
    t += "\tfc=";
    t += formatFixed(c.fc);
    t += kCrLf;
    addRow(t, steelLabel(c.steelGrade), c.fy);
    addLine(t, " ", false);
    addLine(t, "-----------------以下为输出数据--------------", true);
    addRow(t, "轴向压力对截面重心在x方向的偏心距(mm)：e0x=", s.e0x);
    addRow(t, "在x方向的附加偏心距(mm)：eax=", s.eax);
    addRow(t, "在x方向的初始偏心距(mm)：eix=", s.eix, true);
    addRow(t, "在x方向的考虑偏心距的变化对截面曲率的影响系数：ζx1=", s.zetaX1);
    addRow(t, "在x方向的考虑长细比的变化对截面曲率的影响系数：ζx2=", s.zetaX2);
    addRow(t, "在x方向的偏心距增大系数：ηx=", s.etaX, true);
    addRow(t, "轴向压力对截面重心在y方向的偏心距(mm)：e0y=", s.e0y);
    addRow(t, "在y方向的附加偏心距(mm)：eay=", s.eay);
    addRow(t, "在y方向的初始偏心距(mm)：eiy=", s.eiy, true);
    addRow(t, "在y方向的考虑偏心距的变化对截面曲率的影响系数：ζy1=", s.zetaY1);
    addRow(t, "在y方向的考虑长细比的变化对截面曲率的影响系数：ζy2=", s.zetaY2);
    addRow(t, "在y方向的偏心距增大系数：ηy=", s.etaY, true);
    addRow(t, "作用于x轴偏心受压承载力设计值(N)：Nux=", s.Nux);
    addRow(t, "作用于y轴偏心受压承载力设计值(N)：Nuy=", s.Nuy, true);
    addRow(t, "纵向等效钢筋面积(mm*mm)：Asex=", s.Asex);
    addRow(t, "纵向等效钢筋面积(mm*mm)：Asey=", s.Asey, true);
    addLine(t, "============step1:等效钢筋面积计算完毕============", true);
    return t;
}

std::string step2ReportText(const Step2Result& layout) {
    const Step2Result& c = layout;
    std::string t;
    t.reserve(1024);
    const auto head = [&t](int number) {
        t += "选用第 ";
        t += std::to_string(number);  // "%d": digits only, no locale grouping
        t += " 钢筋布置方案\r\n\r\n";
    };
    const auto areas = [&t, &c] {
        addRow(t, "布置在垂直于X轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswx=", c.Aswx);
        addRow(t, "布置在垂直于Y轴两对边腹部的单边纵向钢筋面积(mm*mm)：Aswy=", c.Aswy, true);
        addRow(t, "布置在垂直于X轴两对边的单边纵向钢筋面积(mm*mm)：Asx=", c.Asx);
        addRow(t, "布置在垂直于Y轴两对边的单边纵向钢筋面积(mm*mm)：Asy=", c.Asy, true);
    };
    if (c.scheme == codeOf(Scheme::CornerBars)) {
        head(c.scheme);
        addRow(t, "角部钢筋面积(mm*mm)：Asc=", c.Asc, true);
        areas();
    }
    if (c.scheme == codeOf(Scheme::EqualDiameters)) {
        head(c.scheme);
        areas();
        addLine(t, "(选用钢筋的时候注意选用相同直径的钢筋)", true);
    }
    addLine(t, "============step2:布置钢筋计算完毕============", true);
    return t;
}

std::string reportBytes(const ColumnDesign& design) {
    return utf8ToGbk(step1ReportText(design.firstStep()) + step2ReportText(design.step2));
}

}  // namespace tessarin
