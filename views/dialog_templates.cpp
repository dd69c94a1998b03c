#include "views/dialog_templates.h"

#include "run/control_id.h"
#include "views/pictures.h"

namespace tessarin {

namespace {

using K = ControlKind;
constexpr int S = kStaticId;  // NOLINT(readability-identifier-naming): keeps the tables narrow

constexpr ControlTemplate kAboutControls[] = {
    {S, K::Icon, "", 11, 17, 20, 20},
    {S, K::Label, "Tessarin 1.0 版", 40, 10, 119, 8},
    {kIdOk, K::DefaultButton, "确定", 178, 7, 50, 14},
};

constexpr ControlTemplate kMainControls[] = {
    {idOf(ControlId::L0), K::Edit, "", 67, 14, 40, 14},
    {idOf(ControlId::B), K::Edit, "", 67, 28, 40, 14},
    {idOf(ControlId::H), K::Edit, "", 67, 42, 40, 14},
    {idOf(ControlId::M0x), K::Edit, "", 168, 80, 40, 14},
    {idOf(ControlId::M0y), K::Edit, "", 168, 94, 40, 14},
    {idOf(ControlId::N), K::Edit, "", 168, 108, 40, 14},
    {idOf(ControlId::Ax), K::Edit, "", 168, 122, 40, 14},
    {idOf(ControlId::Ay), K::Edit, "", 168, 136, 40, 14},
    {idOf(ControlId::ConcreteList), K::DropList, "", 169, 14, 39, 80},
    {idOf(ControlId::SteelList), K::DropList, "", 169, 44, 39, 53},
    {idOf(ControlId::Calculate), K::DefaultButton, "计算", 213, 142, 41, 14},
    {kIdCancel, K::PushButton, "退出", 290, 142, 41, 14},
    {idOf(ControlId::Explain), K::PushButton, "说明", 363, 142, 41, 14},
    {idOf(ControlId::ResultBox), K::ResultBox, "", 220, 15, 178, 118},
    {S, K::Label, "计算长度l0(mm)", 9, 18, 55, 8},
    {S, K::Label, "截面宽度 b(mm)", 9, 33, 55, 8},
    {S, K::Label, "截面高度 h(mm)", 9, 48, 55, 8},
    {S, K::Label, "在X轴方向的弯矩M0x(kN.m)", 9, 84, 94, 8},
    {S, K::Label, "在Y轴方向的弯矩M0y(kN.m)", 9, 98, 94, 8},
    {S, K::Label, "轴力N(kN)", 9, 111, 36, 8},
    {S, K::Label, "混凝土强度等级", 114, 18, 54, 8},
    {S, K::Label, "钢筋强度等级", 114, 48, 46, 8},
    {S, K::Label, "钢筋Asx的合力点至截面近边的距离ax(mm)", 9, 127, 142, 8},
    {S, K::Label, "钢筋Asy的合力点至截面近边的距离ay(mm)", 9, 141, 142, 8},
    {S, K::GroupFrame, "柱相关尺寸", 7, 3, 102, 61},
    {S, K::GroupFrame, "材料", 112, 3, 98, 61},
    {S, K::GroupFrame, "柱截面受力", 7, 70, 203, 86},
    {S, K::GroupFrame, "计算结果", 214, 3, 190, 136},
    {S, K::Line, "", 8, 122, 161, 1},
};

constexpr ControlTemplate kSchemeControls[] = {
    {kIdOk, K::DefaultButton, "确定", 204, 207, 50, 14},
    {kIdSchemeSketch, K::Picture, kSchemeSketchPicture.name, 11, 14, 124, 201},
    {idOf(ControlId::Scheme1), K::RadioButton, "选定角点钢筋", 155, 20, 64, 10},
    {idOf(ControlId::Scheme2), K::RadioButton, "选用相同直径的钢筋", 155, 47, 88, 10},
    {S, K::GroupFrame, "配筋方案", 148, 3, 106, 61},
    {S, K::GroupFrame, "配筋方案示意图", 7, 3, 133, 218},
    {S, K::GroupFrame, "配筋方案1", 148, 67, 106, 35},
    {S, K::Label, "角点钢筋直径", 155, 83, 46, 8},
    {idOf(ControlId::DiameterList), K::DropList, "", 201, 80, 48, 86},
    {S, K::GroupFrame, "配筋方案2", 148, 107, 106, 56},
    {S, K::Label, "Aswx / Asx", 155, 124, 41, 8},
    {S, K::Label, "Aswy / Asy", 155, 145, 41, 8},
    {idOf(ControlId::RatioX), K::Edit, "", 209, 119, 40, 14},
    {idOf(ControlId::RatioY), K::Edit, "", 209, 141, 40, 14},
};

constexpr ControlTemplate kPrincipleDiagramControls[] = {
    {kIdOk, K::DefaultButton, "确定", 72, 218, 50, 14},
    {kIdCancel, K::PushButton, "取消", 199, 218, 50, 14},
    {S, K::Picture, kPrincipleDiagramPicture.name, 7, 7, 330, 203},
};

// The labels are the field table's (report/bar_preference_fields.h), in its order.
constexpr ControlTemplate kBarPreferencesControls[] = {
    {kIdFollowProject, K::CheckBox, "采用工程的配筋参数(&P)", 7, 7, 180, 10},
    {S, K::Label, "可用直径：", 7, 25, 92, 8},
    {kIdPreferenceFirst, K::Edit, "", 101, 22, 152, 14},
    {S, K::Label, "最小中部筋直径：", 7, 43, 92, 8},
    {kIdPreferenceFirst + 1, K::Edit, "", 101, 40, 152, 14},
    {S, K::Label, "角筋与中部筋最大级差：", 7, 61, 92, 8},
    {kIdPreferenceFirst + 2, K::Edit, "", 101, 58, 152, 14},
    {kIdPreferenceFirst + 3, K::CheckBox, "b边与h边中部筋可不同", 101, 76, 152, 10},
    {kIdPreferenceFirst + 4, K::CheckBox, "方柱四边配筋相同", 101, 90, 152, 10},
    {S, K::Label, "优先直径：", 7, 107, 92, 8},
    {kIdPreferenceFirst + 5, K::Edit, "", 101, 104, 152, 14},
    {kIdPreferenceMessage, K::Label, "", 7, 122, 246, 18},
    {kIdOk, K::DefaultButton, "确定", 149, 144, 50, 14},
    {kIdCancel, K::PushButton, "取消", 203, 144, 50, 14},
};

}  // namespace

const DialogTemplate kBarPreferencesTemplate{140, "配筋参数", 260, 164, kBarPreferencesControls};
const DialogTemplate kAboutTemplate{100, "关于 Tessarin", 235, 55, kAboutControls};
const DialogTemplate kMainTemplate{102, "双向偏心受压矩形柱(beta1.0,2002.9.7)", 411, 163,
                                   kMainControls};
const DialogTemplate kSchemeTemplate{130, "配筋方案", 261, 228, kSchemeControls};
const DialogTemplate kPrincipleDiagramTemplate{131, "原理示意图", 344, 239,
                                               kPrincipleDiagramControls};

}  // namespace tessarin
