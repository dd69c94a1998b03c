#pragma once

#include <QDialog>

#include "engine/section/section_check.h"

class QLabel;

namespace tessarin {
class InteractionView;
class SectionView;

// "截面验算": the designed layout checked by strain compatibility, on the engineer's demand. The
// section to scale with its bars, the Mx-My contour at the design axial force with the demand
// point, the utilisation in large type (red above 1.00), N/N0, the steel ratios and their
// warnings, and one line naming the model.
class SectionCheckDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SectionCheckDialog(SectionCheckResult result, QWidget* parent = nullptr);

    const SectionCheckResult& result() const { return result_; }
    QLabel* utilisationLabel() const { return utilisation_; }
    SectionView* sectionView() const { return section_; }
    InteractionView* interactionView() const { return interaction_; }

  signals:
    // "导出计算书…": the engineer asks for the calculation book of this check.
    void exportBookRequested();

  public:
    // The texts of the dialog, also used by the tests.
    static QString utilisationText(const SectionCheckResult& result);
    static QStringList detailLines(const SectionCheckResult& result);

  private:
    SectionCheckResult result_;
    QLabel* utilisation_ = nullptr;
    SectionView* section_ = nullptr;
    InteractionView* interaction_ = nullptr;
};

}  // namespace tessarin
