#include "ui/section_check_dialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "report/number_text.h"
#include "report/section_check_text.h"
#include "ui/dialog_template.h"
#include "ui/section_check_view.h"

namespace tessarin {

namespace {

QString fixed(double value, int decimals) {
    return QString::fromStdString(formatDecimals(value, decimals));
}
QString percent(double ratio) {
    return fixed(ratio * 100.0, 2) + QStringLiteral("%");
}

}  // namespace

QString SectionCheckDialog::utilisationText(const SectionCheckResult& r) {
    if (r.axialCapacityExceeded) return QStringLiteral("利用率 ∞");
    return QStringLiteral("利用率 %1").arg(fixed(r.utilisation, 2));
}

QStringList SectionCheckDialog::detailLines(const SectionCheckResult& r) {
    QStringList lines;
    lines << QStringLiteral("N = %1 kN，Mx = %2 kN·m，My = %3 kN·m")
                 .arg(fixed(r.N, 1), fixed(r.Mx, 2), fixed(r.My, 2));
    lines << QStringLiteral("N0 = %1 kN，N/N0 = %2")
                 .arg(fixed(r.squashLoad, 1), fixed(r.axialRatio, 3));
    auto findings = [&](FindingPlace place) {
        for (const SectionCheckFinding& finding : sectionCheckFindings()) {
            if (finding.place == place && r.*finding.flag) {
                lines << QString::fromStdString(findingText(finding, r));
            }
        }
    };
    if (r.axialCapacityExceeded) {
        findings(FindingPlace::Capacity);
    } else {
        lines << QStringLiteral("MxR = %1 kN·m，MyR = %2 kN·m（同一轴力、同一弯矩方向）")
                     .arg(fixed(r.MxR, 2), fixed(r.MyR, 2));
    }
    lines << QStringLiteral("配筋率：全部 %1，垂直于X轴一侧 %2，垂直于Y轴一侧 %3")
                 .arg(percent(r.totalSteelRatio), percent(r.oneSideRatioX),
                      percent(r.oneSideRatioY));
    findings(FindingPlace::Warning);
    findings(FindingPlace::Note);
    return lines;
}

SectionCheckDialog::SectionCheckDialog(SectionCheckResult result, QWidget* parent)
    : QDialog(parent), result_(std::move(result)) {
    setWindowTitle(QStringLiteral("截面验算"));
    // The dialogs' one CJK face: a second one would cost another ten megabytes of font data.
    setFont(dialogFont());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    section_ = new SectionView(result_, this);
    interaction_ = new InteractionView(result_, this);
    auto* sectionBox = new QGroupBox(QStringLiteral("截面与钢筋（按比例，面积 mm²）"), this);
    (new QVBoxLayout(sectionBox))->addWidget(section_);
    auto* plotBox = new QGroupBox(QStringLiteral("设计轴力下的 Mx-My 承载力曲线"), this);
    (new QVBoxLayout(plotBox))->addWidget(interaction_);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(sectionBox);
    pictures->addWidget(plotBox);

    utilisation_ = new QLabel(utilisationText(result_), this);
    QFont large = utilisation_->font();
    if (large.pixelSize() > 0) {
        large.setPixelSize(large.pixelSize() * 12 / 5);
    } else {
        large.setPointSizeF(large.pointSizeF() * 2.4);
    }
    large.setBold(true);
    utilisation_->setFont(large);
    const bool fails = !(result_.utilisation <= 1.0);
    utilisation_->setStyleSheet(fails ? QStringLiteral("color: #c00000;")
                                      : QStringLiteral("color: #106010;"));
    utilisation_->setObjectName(QStringLiteral("utilisation"));

    auto* details = new QLabel(detailLines(result_).join(QLatin1Char('\n')), this);
    details->setTextFormat(Qt::PlainText);
    details->setObjectName(QStringLiteral("details"));

    auto* model = new QLabel(
        QStringLiteral("模型：应变协调（平截面），最大受压角点应变 εcu = %1；混凝土抛物线-矩形"
                       "（n = %2，ε0 = %3），不计受拉；钢筋理想弹塑性，扣除所占混凝土；%4。")
            .arg(fixed(result_.concrete.epsCu, 5), fixed(result_.concrete.n, 3),
                 fixed(result_.concrete.eps0, 5),
                 result_.integration.exact ? QStringLiteral("混凝土按条带精确积分")
                                           : QStringLiteral("混凝土按 %1×%2 纤维积分")
                                                 .arg(result_.integration.cellsU)
                                                 .arg(result_.integration.cellsV)),
        this);
    model->setTextFormat(Qt::PlainText);
    model->setWordWrap(true);
    model->setObjectName(QStringLiteral("model"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QPushButton* book =
        buttons->addButton(QStringLiteral("导出计算书…"), QDialogButtonBox::ActionRole);
    book->setObjectName(QStringLiteral("exportBook"));
    connect(book, &QPushButton::clicked, this, &SectionCheckDialog::exportBookRequested);

    auto* figures = new QHBoxLayout;
    figures->addWidget(utilisation_, 0, Qt::AlignTop);
    figures->addSpacing(24);
    figures->addWidget(details, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pictures, 1);
    layout->addLayout(figures);
    layout->addWidget(model);
    layout->addWidget(buttons);
}

}  // namespace tessarin
