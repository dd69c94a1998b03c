#include "run/gb2010_fields.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/gb2010/gb2010_rules.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

using F = Gb2010Field;
using Check = FieldCheck;

// The accessors of a choice held in the column or in a load combination.
template <auto Member>
int columnChoice(const Gb2010Column& column, const LoadCombination& /*load*/) {
    return static_cast<int>(column.*Member);
}
template <auto Member>
void setColumnChoice(Gb2010Column& column, LoadCombination& /*load*/, int value) {
    using T = std::remove_reference_t<decltype(column.*Member)>;
    column.*Member = static_cast<T>(value);
}
template <auto Member>
int loadChoice(const Gb2010Column& /*column*/, const LoadCombination& load) {
    return static_cast<int>(load.*Member);
}
template <auto Member>
void setLoadChoice(Gb2010Column& /*column*/, LoadCombination& load, int value) {
    using T = std::remove_reference_t<decltype(load.*Member)>;
    load.*Member = static_cast<T>(value);
}

double effectiveLength(const Gb2010Column& c) {
    return c.l0;
}
double coverByGrade(const Gb2010Column& c) {
    return defaultCover(c.concreteGrade);
}
bool concreteListed(const Gb2010Column& c) {
    return isConcreteGrade2010(c.concreteGrade);
}
// Table 6.3.6 has no grade 三 or 四 for frame-supporting columns (they are of grade 一 or 二,
// GB 50011 6.1.2): such a column cannot be designed against a limit the code does not give.
bool axialRatioLimitGiven(const Gb2010Column& c) {
    return c.seismic == SeismicGrade::None || hasAxialRatioLimit(c.seismic, c.structure);
}

const std::vector<Gb2010FieldEntry>& table() {
    static const std::vector<Gb2010FieldEntry> kTable = {
        // The column.
        {.field = F::L0,
         .key = "l0",
         .flag = "--l0",
         .column = "l0",
         .label = "计算长度 l0(mm)",
         .name = "计算长度 l0",
         .unit = "mm",
         .hint = nullptr,
         .required = true,
         .number = &Gb2010Column::l0,
         .check = Check::Positive,
         .checkName = "柱计算长度l0",
         .high = kLengthMax,
         .csvPlace = 1,
         .projectPlace = 2},
        {.field = F::B,
         .key = "b",
         .flag = "--b",
         .column = "b",
         .label = "截面宽度 b(mm)",
         .name = "截面宽度 b",
         .unit = "mm",
         .hint = nullptr,
         .required = true,
         .number = &Gb2010Column::b,
         .check = Check::Positive,
         .checkName = "柱截面宽度b",
         .high = kSideMax,
         .csvPlace = 2,
         .projectPlace = 0},
        {.field = F::H,
         .key = "h",
         .flag = "--h",
         .column = "h",
         .label = "截面高度 h(mm)",
         .name = "截面高度 h",
         .unit = "mm",
         .hint = nullptr,
         .required = true,
         .number = &Gb2010Column::h,
         .check = Check::Positive,
         .checkName = "柱截面高度h",
         .high = kSideMax,
         .csvPlace = 3,
         .projectPlace = 1},
        {.field = F::LcX,
         .key = "lcX",
         .flag = "--lc-x",
         .column = "lc_x",
         .label = "x向支撑点间长度 lcx(mm)",
         .name = "x向支撑点间长度 lc",
         .unit = "mm",
         .hint = "空白取 l0",
         .projectHint = "空白取 l0",
         .optional = &Gb2010Column::lcX,
         .blankValue = effectiveLength,
         .check = Check::Positive,
         .checkName = "x方向构件支撑点之间的长度lc",
         .high = kLengthMax,
         .help = "with --code 2010: length between supports for x bending, mm (l0)",
         .csvPlace = 11,
         .helpPlace = 2,
         .projectPlace = 3},
        {.field = F::LcY,
         .key = "lcY",
         .flag = "--lc-y",
         .column = "lc_y",
         .label = "y向支撑点间长度 lcy(mm)",
         .name = "y向支撑点间长度 lc",
         .unit = "mm",
         .hint = "空白取 l0",
         .projectHint = "空白取 l0",
         .optional = &Gb2010Column::lcY,
         .blankValue = effectiveLength,
         .check = Check::Positive,
         .checkName = "y方向构件支撑点之间的长度lc",
         .high = kLengthMax,
         .help = "with --code 2010: length between supports for y bending, mm (l0)",
         .csvPlace = 12,
         .helpPlace = 3,
         .projectPlace = 4},
        {.field = F::Hn,
         .key = "hn",
         .flag = "--hn",
         .column = "hn",
         .label = "柱净高 Hn(mm)",
         .name = "柱净高 Hn",
         .unit = "mm",
         .hint = "空白取 l0",
         .projectHint = "空白取 l0",
         .optional = &Gb2010Column::hn,
         .blankValue = effectiveLength,
         .check = Check::Positive,
         .checkName = "柱净高Hn",
         .help = "with --code 2010: clear height Hn of the column, for the shear-span ratio Hn/(2 "
                 "h0) of the seismic limits, mm (l0)",
         .csvPlace = 13,
         .helpPlace = 4,
         .projectPlace = 5},
        {.field = F::Concrete,
         .key = "concrete",
         .flag = "--concrete",
         .column = "concrete",
         .label = "混凝土强度等级",
         .name = "混凝土强度等级",
         .unit = "",
         .hint = nullptr,
         .required = true,
         .choices = &concreteGrades2010(),
         .choiceOf = columnChoice<&Gb2010Column::concreteGrade>,
         .setChoice = setColumnChoice<&Gb2010Column::concreteGrade>,
         .check = Check::Rule,
         .checkName = "混凝土强度等级应为C20～C80(按5递增)",
         .rule = concreteListed,
         .flagWhat = "a current-code concrete grade",
         .flagUse = "C20 to C80 in steps of 5",
         .columnWhat = "a current-code concrete grade (C20 to C80 in steps of 5)",
         .projectNot = "混凝土强度等级（C20～C80）",
         .csvPlace = 7,
         .projectPlace = 6},
        {.field = F::Steel,
         .key = "steel",
         .flag = "--steel",
         .column = "steel",
         .label = "纵筋牌号",
         .name = "纵筋牌号",
         .unit = "",
         .hint = nullptr,
         .required = true,
         .choices = &steelGrades2010(),
         .choiceOf = columnChoice<&Gb2010Column::steel>,
         .setChoice = setColumnChoice<&Gb2010Column::steel>,
         .flagWhat = "a current-code steel grade",
         .flagUse = "one of HPB300, HRB335, HRB400, HRB500",
         .columnWhat = "a current-code steel grade (HPB300, HRB335, HRB400 or HRB500)",
         .projectNot = "钢筋牌号（HPB300、HRB335、HRB400、HRB500）",
         .csvPlace = 8,
         .projectPlace = 7},
        {.field = F::Cover,
         .key = "cover",
         .flag = "--cover",
         .column = "cover",
         .label = "保护层厚度 c(mm，至箍筋)",
         .name = "保护层厚度 c",
         .unit = "mm",
         .hint = "空白取 20，C25及以下取 25",
         .projectHint = "空白取 20，C25 及以下取 25",
         .optional = &Gb2010Column::cover,
         .blankValue = coverByGrade,
         .check = Check::Between,
         .checkName = "混凝土保护层厚度c(至箍筋外边)",
         .low = kCoverMin,
         .high = kCoverMax,
         .help = "with --code 2010: cover to the stirrups, 15 to 75 mm (20; 25 for C25 and below)",
         .csvPlace = 14,
         .helpPlace = 5,
         .projectPlace = 8},
        {.field = F::Stirrup,
         .key = "stirrup",
         .flag = "--stirrup",
         .column = "stirrup",
         .label = "箍筋直径(mm)",
         .name = "箍筋直径",
         .unit = "mm",
         .hint = nullptr,
         .number = &Gb2010Column::stirrup,
         .check = Check::Between,
         .checkName = "箍筋直径",
         .low = kStirrupMin,
         .high = kStirrupMax,
         .help = "with --code 2010: stirrup diameter, 6 to 16 mm (8)",
         .csvPlace = 15,
         .helpPlace = 6,
         .projectPlace = 9},
        {.field = F::Seismic,
         .key = "seismic",
         .flag = "--seismic",
         .column = "seismic",
         .label = "抗震等级",
         .name = "抗震等级",
         .unit = "",
         .hint = nullptr,
         .choices = &seismicGrades(),
         .choiceOf = columnChoice<&Gb2010Column::seismic>,
         .setChoice = setColumnChoice<&Gb2010Column::seismic>,
         .flagWhat = "a seismic grade",
         .flagUse = "none, 1, 2, 3 or 4",
         .columnWhat = "a seismic grade (none, 1, 2, 3 or 4)",
         .projectNot = "值（可用：none、1、2、3、4）",
         .help = "with --code 2010: seismic grade none, 1, 2, 3 or 4 (none)",
         .csvPlace = 16,
         .helpPlace = 7,
         .projectPlace = 11},
        {.field = F::Structure,
         .key = "structure",
         .flag = "--structure",
         .column = "structure",
         .label = "结构类型",
         .name = "结构类型",
         .unit = "",
         .hint = nullptr,
         .choices = &structureTypes(),
         .choiceOf = columnChoice<&Gb2010Column::structure>,
         .setChoice = setColumnChoice<&Gb2010Column::structure>,
         .check = Check::Rule,
         .checkName = "部分框支抗震墙结构的框支柱抗震等级应为一级或二级(GB 50011 表6.3.6)",
         .rule = axialRatioLimitGiven,
         .flagWhat = "a structure type",
         .flagUse = "frame, dual or frame-supported",
         .columnWhat = "a structure type (frame, dual or frame-supported)",
         .projectNot = "值（可用：frame、dual、frame-supported）",
         .help = "with --code 2010: frame, dual (frame-shear wall and the other dual systems) or "
                 "frame-supported (the frame-supporting column of a part-frame-supported "
                 "shear-wall structure, grade 1 or 2) (frame)",
         .csvPlace = 17,
         .helpPlace = 8,
         .projectPlace = 12},
        {.field = F::Position,
         .key = "position",
         .flag = "--position",
         .column = "position",
         .label = "柱的位置",
         .name = "柱位置",
         .unit = "",
         .hint = nullptr,
         .choices = &columnPositions(),
         .choiceOf = columnChoice<&Gb2010Column::position>,
         .setChoice = setColumnChoice<&Gb2010Column::position>,
         .flagWhat = "a column position",
         .flagUse = "middle, edge or corner",
         .columnWhat = "a column position (middle, edge or corner; a frame-supporting column is "
                       "the structure frame-supported)",
         .projectNot = "值（可用：middle、corner）",
         .mistake = "frame-supporting",
         .mistakeNote = " (a frame-supporting column is --structure frame-supported)",
         .help = "with --code 2010: middle (or edge) or corner column (middle)",
         .csvPlace = 18,
         .helpPlace = 9,
         .projectPlace = 13},
        {.field = F::StirrupSteel,
         .key = "stirrupSteel",
         .flag = "--stirrup-steel",
         .column = "stirrup_steel",
         .label = "箍筋牌号",
         .name = "箍筋牌号",
         .unit = "",
         .hint = nullptr,
         .choices = &steelGrades2010(),
         .choiceOf = columnChoice<&Gb2010Column::stirrupSteel>,
         .setChoice = setColumnChoice<&Gb2010Column::stirrupSteel>,
         .flagWhat = "a current-code steel grade",
         .flagUse = "one of HPB300, HRB335, HRB400, HRB500",
         .columnWhat = "a current-code steel grade (HPB300, HRB335, HRB400 or HRB500)",
         .projectNot = "钢筋牌号（HPB300、HRB335、HRB400、HRB500）",
         .help = "with --code 2010: stirrup steel HPB300, HRB335, HRB400 or HRB500 (HRB400)",
         .csvPlace = 19,
         .helpPlace = 13,
         .projectPlace = 10,
         .projectWhenSet = true},
        // A load combination.
        {.field = F::N,
         .key = "N",
         .flag = "--N",
         .column = "N",
         .label = "N(kN)",
         .name = "轴向压力 N",
         .unit = "kN",
         .hint = nullptr,
         .required = true,
         .load = &LoadCombination::N,
         .check = Check::Positive,
         .checkName = "轴向压力N",
         .high = kAxialForceMax,
         .least = kAxialForceMin,
         .leastNote = "轴力接近零的构件应按受弯构件设计",
         .csvPlace = 6,
         .projectPlace = 0},
        {.field = F::M2x,
         .key = "M2x",
         .flag = "--M0x",
         .column = "M0x",
         .label = "M2x(kN.m)",
         .name = "x向杆端较大弯矩 M2x",
         .unit = "kN.m",
         .hint = nullptr,
         .required = true,
         .load = &LoadCombination::M2x,
         .check = Check::NonNegative,
         .checkName = "x方向杆端较大弯矩M2x",
         .high = kMomentMax,
         .csvPlace = 4,
         .projectPlace = 1},
        {.field = F::M1m2X,
         .key = "m1m2X",
         .flag = "--m1m2-x",
         .column = "m1m2_x",
         .label = "M1x/M2x",
         .name = "x向杆端弯矩比 M1/M2",
         .unit = "",
         .hint = nullptr,
         .load = &LoadCombination::m1m2X,
         .check = Check::Between,
         .checkName = "x方向杆端弯矩比M1/M2",
         .low = -1.0,
         .high = 1.0,
         .help = "with --code 2010: end-moment ratio M1/M2 for x bending, -1 to 1 (1)",
         .csvPlace = 9,
         .helpPlace = 0,
         .projectPlace = 2},
        {.field = F::M2y,
         .key = "M2y",
         .flag = "--M0y",
         .column = "M0y",
         .label = "M2y(kN.m)",
         .name = "y向杆端较大弯矩 M2y",
         .unit = "kN.m",
         .hint = nullptr,
         .required = true,
         .load = &LoadCombination::M2y,
         .check = Check::NonNegative,
         .checkName = "y方向杆端较大弯矩M2y",
         .high = kMomentMax,
         .csvPlace = 5,
         .projectPlace = 3},
        {.field = F::M1m2Y,
         .key = "m1m2Y",
         .flag = "--m1m2-y",
         .column = "m1m2_y",
         .label = "M1y/M2y",
         .name = "y向杆端弯矩比 M1/M2",
         .unit = "",
         .hint = nullptr,
         .load = &LoadCombination::m1m2Y,
         .check = Check::Between,
         .checkName = "y方向杆端弯矩比M1/M2",
         .low = -1.0,
         .high = 1.0,
         .help = "with --code 2010: end-moment ratio M1/M2 for y bending, -1 to 1 (1)",
         .csvPlace = 10,
         .helpPlace = 1,
         .projectPlace = 4},
        // The shears of the stirrup design; their sign does not matter (|V| is checked).
        {.field = F::Vx,
         .key = "Vx",
         .flag = "--V-x",
         .column = "vx",
         .label = "Vx(kN)",
         .name = "x向剪力设计值 Vx",
         .unit = "kN",
         .hint = nullptr,
         .load = &LoadCombination::Vx,
         .check = Check::Finite,
         .checkName = "x方向剪力设计值Vx",
         .help = "with --code 2010: design shear Vx along h (with Mx), kN (0)",
         .csvPlace = 20,
         .helpPlace = 10,
         .projectPlace = 5,
         .projectWhenSet = true},
        {.field = F::Vy,
         .key = "Vy",
         .flag = "--V-y",
         .column = "vy",
         .label = "Vy(kN)",
         .name = "y向剪力设计值 Vy",
         .unit = "kN",
         .hint = nullptr,
         .load = &LoadCombination::Vy,
         .check = Check::Finite,
         .checkName = "y方向剪力设计值Vy",
         .help = "with --code 2010: design shear Vy along b (with My), kN (0)",
         .csvPlace = 21,
         .helpPlace = 11,
         .projectPlace = 6,
         .projectWhenSet = true},
        {.field = F::Kind,
         .key = "kind",
         .flag = "--seismic-combination",
         .column = "kind",
         .label = "类别",
         .name = "组合类别",
         .unit = "",
         .hint = nullptr,
         .choices = &combinationKinds(),
         .choiceOf = loadChoice<&LoadCombination::kind>,
         .setChoice = setLoadChoice<&LoadCombination::kind>,
         .flagWhat = "yes or no",
         .columnWhat = "a combination kind (seismic or non-seismic)",
         .projectNot = "值（可用：seismic、non-seismic）",
         .help = "with --code 2010: yes for a seismic combination (gammaRE, axial-ratio limit), "
                 "no for a non-seismic one (unspecified: no gammaRE, the limit applies)",
         .csvPlace = 22,
         .helpPlace = 12,
         .projectPlace = 7,
         .projectWhenSet = true},
    };
    return kTable;
}

std::string number(double value) {
    return formatGeneral(value);
}

// "柱截面宽度b=1e+06mm超出适用范围，应不大于5000mm".
std::string tooLarge(const Gb2010FieldEntry& e, double value) {
    return std::string(e.checkName) + "=" + number(value) + e.unit + "超出适用范围，应不大于" +
           number(e.high) + e.unit;
}

}  // namespace

bool Gb2010FieldEntry::perCombination() const {
    return load != nullptr || field == Gb2010Field::Kind;
}

std::span<const Gb2010FieldEntry> gb2010Fields() {
    return table();
}

const Gb2010FieldEntry* gb2010FieldEntry(Gb2010Field field) {
    for (const Gb2010FieldEntry& entry : table()) {
        if (entry.field == field) return &entry;
    }
    return nullptr;
}

std::vector<const Gb2010FieldEntry*> gb2010FieldsBy(FieldPlace place) {
    std::vector<const Gb2010FieldEntry*> result;
    for (const Gb2010FieldEntry& entry : table()) {
        if (entry.*place >= 0) result.push_back(&entry);
    }
    std::stable_sort(result.begin(), result.end(),
                     [place](const Gb2010FieldEntry* a, const Gb2010FieldEntry* b) {
                         return a->*place < b->*place;
                     });
    return result;
}

std::optional<double> fieldNumber(const Gb2010FieldEntry& entry, const Gb2010Column& column,
                                  const LoadCombination& load) {
    if (entry.number != nullptr) return column.*entry.number;
    if (entry.optional != nullptr) return column.*entry.optional;
    if (entry.load != nullptr) return load.*entry.load;
    return std::nullopt;
}

void setFieldNumber(const Gb2010FieldEntry& entry, Gb2010Column& column, LoadCombination& load,
                    std::optional<double> value) {
    if (entry.optional != nullptr) {
        column.*entry.optional = value;
    } else if (!value) {
        return;
    } else if (entry.number != nullptr) {
        column.*entry.number = *value;
    } else if (entry.load != nullptr) {
        load.*entry.load = *value;
    }
}

int fieldChoice(const Gb2010FieldEntry& entry, const Gb2010Column& column,
                const LoadCombination& load) {
    return entry.choiceOf != nullptr ? entry.choiceOf(column, load) : 0;
}

void setFieldChoice(const Gb2010FieldEntry& entry, Gb2010Column& column, LoadCombination& load,
                    int value) {
    if (entry.setChoice != nullptr) entry.setChoice(column, load, value);
}

bool sameFieldValue(const Gb2010FieldEntry& entry, const Gb2010Column& a,
                    const LoadCombination& loadA, const Gb2010Column& b,
                    const LoadCombination& loadB) {
    if (entry.isChoice()) return fieldChoice(entry, a, loadA) == fieldChoice(entry, b, loadB);
    if (entry.optional != nullptr && entry.blankValue != nullptr) {
        return (a.*entry.optional).value_or(entry.blankValue(a)) ==
               (b.*entry.optional).value_or(entry.blankValue(b));
    }
    return fieldNumber(entry, a, loadA) == fieldNumber(entry, b, loadB);
}

std::optional<std::string> checkField(const Gb2010FieldEntry& e, const Gb2010Column& column,
                                      const LoadCombination& load) {
    if (e.check == Check::None) return std::nullopt;
    if (e.check == Check::Rule) {
        if (e.rule(column)) return std::nullopt;
        return std::string(e.checkName);
    }
    const std::optional<double> given = fieldNumber(e, column, load);
    if (!given) return std::nullopt;  // a blank optional number takes its default
    const double value = *given;
    const std::string name = e.checkName;
    // Strict comparisons: zero fails, and so does a value that is not a number.
    switch (e.check) {
        case Check::Positive:
            if (!(value > 0.0)) return name + "应为大于零的数(" + e.unit + ")";
            if (e.leastNote != nullptr && value < e.least) {
                return name + "=" + number(value) + e.unit + "过小，应不小于" + number(e.least) +
                       e.unit + "(" + e.leastNote + ")";
            }
            if (e.high > 0.0 && value > e.high) return tooLarge(e, value);
            break;
        case Check::NonNegative:
            if (!(value >= 0.0)) return name + "应为不小于零的数(" + e.unit + ")";
            if (e.high > 0.0 && value > e.high) return tooLarge(e, value);
            break;
        case Check::Between:
            if (!(value >= e.low && value <= e.high)) {
                return name + "应在" + number(e.low) + "～" + number(e.high) + e.unit + "之间";
            }
            break;
        case Check::Finite:
            if (!std::isfinite(value)) return name + "应为数(" + e.unit + ")";
            break;
        case Check::None:
        case Check::Rule:
            break;
    }
    return std::nullopt;
}

}  // namespace tessarin
