#include "ui/section_check_dialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_template.h"
#include "ui/section_check_view.h"
#include "views/section_check_texts.h"

namespace tessarin {

QString SectionCheckDialog::utilisationText(const SectionCheckResult& r) {
    return QString::fromStdString(tessarin::utilisationText(r));
}

QStringList SectionCheckDialog::detailLines(const SectionCheckResult& r) {
    QStringList lines;
    for (const std::string& line : tessarin::detailLines(r)) lines << QString::fromStdString(line);
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
    const bool fails = utilisationFails(result_);
    utilisation_->setStyleSheet(fails ? QStringLiteral("color: #c00000;")
                                      : QStringLiteral("color: #106010;"));
    utilisation_->setObjectName(QStringLiteral("utilisation"));

    auto* details = new QLabel(detailLines(result_).join(QLatin1Char('\n')), this);
    details->setTextFormat(Qt::PlainText);
    details->setObjectName(QStringLiteral("details"));

    auto* model = new QLabel(QString::fromStdString(modelText(result_)), this);
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
