#include "win/section_check_dialog.h"

#include <utility>

#include "book/book_pictures.h"
#include "views/dialog_templates.h"
#include "views/section_check_texts.h"
#include "win/message_parameter.h"
#include "win/picture_painter.h"
#include "win/wide_text.h"

namespace tessarin {

namespace {

using K = ControlKind;
constexpr int S = kStaticId;  // NOLINT(readability-identifier-naming): keeps the table narrow
using D = SectionCheckDialog;

// In dialog units, like the program's other dialogs. The two pictures are owner-drawn.
constexpr ControlTemplate kSectionCheckControls[] = {
    {IDCANCEL, K::DefaultButton, "关闭", 373, 258, 50, 14},
    {D::kExportBook, K::PushButton, "导出计算书…", 291, 258, 76, 14},
    {S, K::GroupFrame, "截面与钢筋（按比例，面积 mm²）", 7, 3, 205, 160},
    {D::kSectionPicture, K::Picture, "section", 12, 14, 195, 144},
    {S, K::GroupFrame, "设计轴力下的 Mx-My 承载力曲线", 218, 3, 205, 160},
    {D::kContourPicture, K::Picture, "contour", 223, 14, 195, 144},
    {D::kUtilisation, K::Label, "", 7, 170, 96, 20},
    {D::kDetails, K::Label, "", 108, 168, 315, 58},
    {D::kModel, K::Label, "", 7, 228, 416, 26},
};
constexpr DialogTemplate kSectionCheckTemplate{0, "截面验算", 430, 278, kSectionCheckControls};

}  // namespace

SectionCheckDialog::SectionCheckDialog(SectionCheckResult result,
                                       std::optional<BookPicture> section,
                                       std::function<void(HWND)> exportBook)
    : DialogWindow(kSectionCheckTemplate),
      result_(std::move(result)),
      section_(std::move(section)),
      contour_(contourPicture(result_)),
      exportBook_(std::move(exportBook)) {}

SectionCheckDialog::~SectionCheckDialog() {
    if (largeFont_ != nullptr) DeleteObject(largeFont_);
}

bool SectionCheckDialog::onInit() {
    SetWindowTextW(item(kUtilisation), widen(utilisationText(result_)).c_str());
    std::string details;
    for (const std::string& line : detailLines(result_)) {
        if (!details.empty()) details += "\r\n";
        details += line;
    }
    SetWindowTextW(item(kDetails), widen(details).c_str());
    SetWindowTextW(item(kModel), widen(modelText(result_)).c_str());

    // The utilisation in bold type 2.4 times the dialog's.
    LOGFONTW font{};
    GetObjectW(fromParameter<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight = font.lfHeight * 12 / 5;
    font.lfWeight = FW_BOLD;
    largeFont_ = CreateFontIndirectW(&font);
    SendMessageW(item(kUtilisation), WM_SETFONT, reinterpret_cast<WPARAM>(largeFont_), TRUE);
    if (!exportBook_) EnableWindow(item(kExportBook), FALSE);
    return true;
}

bool SectionCheckDialog::onCommand(int id, int notification) {
    if (id == kExportBook && notification == BN_CLICKED) {
        if (exportBook_) exportBook_(handle());
        return true;
    }
    return DialogWindow::onCommand(id, notification);
}

bool SectionCheckDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_CTLCOLORSTATIC && fromParameter<HWND>(lParam) == item(kUtilisation)) {
        auto* context = fromParameter<HDC>(wParam);
        SetTextColor(context, utilisationFails(result_) ? RGB(0xc0, 0, 0) : RGB(0x10, 0x60, 0x10));
        SetBkColor(context, GetSysColor(COLOR_BTNFACE));
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    if (message == WM_DRAWITEM) {
        const auto& drawn = *fromParameter<const DRAWITEMSTRUCT*>(lParam);
        const std::optional<BookPicture>* picture = nullptr;
        if (drawn.CtlID == kSectionPicture) picture = &section_;
        if (drawn.CtlID == kContourPicture) picture = &contour_;
        if (picture == nullptr) return false;
        FillRect(drawn.hDC, &drawn.rcItem, GetSysColorBrush(COLOR_WINDOW));
        if (picture->has_value()) {
            paintBookPicture(drawn.hDC, drawn.rcItem, **picture, dialogFont().face.c_str());
        } else {
            // No contour: the axial force exceeds the section's capacity.
            SetBkMode(drawn.hDC, TRANSPARENT);
            RECT box = drawn.rcItem;
            DrawTextW(drawn.hDC, L"轴力超过截面承载力，无承载力曲线", -1, &box,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace tessarin
