#pragma once

#include <functional>
#include <optional>

#include "book/book.h"
#include "engine/section/section_check.h"
#include "win/dialog_window.h"

namespace tessarin {

// "截面验算": the designed layout checked by strain compatibility, on the engineer's demand. The
// section to scale with its bars and the Mx-My contour at the design axial force with the demand
// point, both painted with GDI from the calculation book's vector pictures; the utilisation in
// large type (red above 1.00), the details and the model line of the Qt dialog (one text module),
// "导出计算书…" and "关闭".
class SectionCheckDialog : public DialogWindow {
  public:
    SectionCheckDialog(SectionCheckResult result, std::optional<BookPicture> section,
                       std::function<void(HWND)> exportBook);
    ~SectionCheckDialog() override;
    SectionCheckDialog(const SectionCheckDialog&) = delete;
    SectionCheckDialog& operator=(const SectionCheckDialog&) = delete;

    const SectionCheckResult& result() const { return result_; }

    // Control numbers of the dialog.
    static constexpr int kSectionPicture = 1101;
    static constexpr int kContourPicture = 1102;
    static constexpr int kUtilisation = 1103;
    static constexpr int kDetails = 1104;
    static constexpr int kModel = 1105;
    static constexpr int kExportBook = 1106;

  protected:
    bool onInit() override;
    bool onCommand(int id, int notification) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  private:
    SectionCheckResult result_;
    std::optional<BookPicture> section_;
    std::optional<BookPicture> contour_;
    std::function<void(HWND)> exportBook_;
    HFONT largeFont_ = nullptr;
};

}  // namespace tessarin
