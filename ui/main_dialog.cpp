#include "ui/main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "book/design_book.h"
#include "text/gbk_text.h"
#include "text/number_text.h"
#include "ui/about_dialog.h"
#include "ui/book_export.h"
#include "ui/enter_navigation.h"
#include "ui/field_exchange.h"
#include "ui/gb2010_dialog.h"
#include "ui/message_box.h"
#include "ui/pictures.h"
#include "ui/project_window.h"
#include "ui/section_check_dialog.h"
#include "views/dialog_templates.h"
#include "views/field_exchange_rules.h"
#include "views/pictures.h"

namespace tessarin {

namespace {

constexpr const char* kSectionCheckEntry = "截面验算(&C)...";
constexpr const char* kBookEntry = "导出计算书…";
constexpr const char* kGb2010Entry = "现行规范设计(&G)...";
constexpr const char* kProjectEntry = "工程设计：Tessarin 柱设计(&P)...";

}  // namespace

MainDialog::MainDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    controls_ = buildDialog(*this, kMainTemplate);
    concreteList_ = controls_.get<QComboBox>(idOf(ControlId::ConcreteList));
    steelList_ = controls_.get<QComboBox>(idOf(ControlId::SteelList));
    resultBox_ = controls_.get<QPlainTextEdit>(idOf(ControlId::ResultBox));
    resultBox_->setFont(reportFont());

    connect(controls_.get<QPushButton>(idOf(ControlId::Calculate)), &QPushButton::clicked, this,
            &MainDialog::calculate);
    connect(controls_.get<QPushButton>(idOf(ControlId::Exit)), &QPushButton::clicked, this,
            &MainDialog::reject);
    connect(controls_.get<QPushButton>(idOf(ControlId::Explain)), &QPushButton::clicked, this,
            &MainDialog::showDiagram);

    // The About entry: F1 anywhere in the dialog, or the context menu of its background.
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &MainDialog::showAbout);
    // The section check: F2, or the context menu, once a design has been calculated.
    checkShortcut_ = new QShortcut(QKeySequence(Qt::Key_F2), this);
    checkShortcut_->setEnabled(false);
    connect(checkShortcut_, &QShortcut::activated, this, &MainDialog::showSectionCheck);
    // The current-code design: F3, or the context menu, at any time.
    auto* gb2010 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(gb2010, &QShortcut::activated, this, &MainDialog::showGb2010Design);

    new EnterNavigation(*this);
    initDialog();
}

void MainDialog::initDialog() {
    for (const NumberField& number : kMainExchangeOrder) {
        loadNumber(*field(number.control), session_.input.*number.member);
    }
    setWindowIcon(applicationIcon());

    for (const char* label : kSteelLabels) steelList_->addItem(QString::fromUtf8(label));
    steelList_->setCurrentIndex(session_.input.steelIndex);
    for (const char* label : kConcreteLabels) concreteList_->addItem(QString::fromUtf8(label));
    concreteList_->setCurrentIndex(session_.input.concreteIndex);

    field(ControlId::L0)->setFocus(Qt::TabFocusReason);
}

QWidget* MainDialog::control(ControlId id) const {
    return controls_.control(idOf(id));
}

QLineEdit* MainDialog::field(ControlId id) const {
    return controls_.get<QLineEdit>(idOf(id));
}

RunOutcome MainDialog::calculate() {
    const RunOutcome outcome = onCalculate(session_, *this, reportPath_);
    checkShortcut_->setEnabled(sectionCheckAvailable());
    return outcome;
}

bool MainDialog::sectionCheckAvailable() const {
    // A design whose areas or demand are not finite numbers has nothing to check or draw.
    return session_.design.has_value() && session_.design->finite();
}

void MainDialog::showSectionCheck() {
    if (!sectionCheckAvailable()) return;
    SectionCheckDialog dialog(SectionCheck(*session_.design).run(), this);
    connect(&dialog, &SectionCheckDialog::exportBookRequested, &dialog,
            [this, &dialog] { exportBook(dialog.result()); });
    dialog.exec();
}

QString MainDialog::exportBook(const std::optional<SectionCheckResult>& check) {
    if (!sectionCheckAvailable()) return {};
    const BookCase bookCase{*session_.design,
                            session_.scheme.diameter,
                            session_.scheme.ratioX,
                            session_.scheme.ratioY,
                            0,
                            check};
    const Book book = buildDesignBook(BookInfo{"", "", todayText()}, {&bookCase, 1});
    QWidget* parent = QApplication::activeModalWidget();
    return exportCalculationBook(parent != nullptr ? parent : this, book, QStringLiteral("计算书"));
}

Gb2010Input MainDialog::gb2010StartInput() const {
    // The fields as typed: one that holds no number keeps the start value of a new dialog.
    DesignInput typed;
    for (const NumberField& number : kMainExchangeOrder) {
        if (const std::optional<double> value =
                parseNumber(field(number.control)->text().toStdString())) {
            typed.*number.member = *value;
        }
    }
    typed.concreteIndex = concreteList_->currentIndex();
    typed.steelIndex = steelList_->currentIndex();
    return gb2010Start(typed.l0, typed.b, typed.h, typed.M0x, typed.M0y, typed.N,
                       typed.concreteGradeNumber(), typed.steelIndex);
}

void MainDialog::showGb2010Design() {
    Gb2010Dialog dialog(gb2010StartInput(), this);
    dialog.exec();
}

void MainDialog::showProjectWindow() {
    // A window of this dialog, so that the modal dialog does not block it; it closes with it.
    if (projectWindow_.isNull()) {
        auto* window = new ProjectWindow(this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->openLastProject();
        projectWindow_ = window;
    }
    projectWindow_->show();
    projectWindow_->raise();
    projectWindow_->activateWindow();
}

void MainDialog::showDiagram() {
    diagramDialog_.exec();
}

void MainDialog::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(QString::fromUtf8(kAboutEntryText));
    connect(about, &QAction::triggered, this, &MainDialog::showAbout);
    QAction* check = menu.addAction(QString::fromUtf8(kSectionCheckEntry));
    check->setShortcut(QKeySequence(Qt::Key_F2));
    check->setEnabled(sectionCheckAvailable());
    connect(check, &QAction::triggered, this, &MainDialog::showSectionCheck);
    QAction* book = menu.addAction(QString::fromUtf8(kBookEntry));
    book->setEnabled(sectionCheckAvailable());
    connect(book, &QAction::triggered, this, [this] { exportBook(); });
    QAction* gb2010 = menu.addAction(QString::fromUtf8(kGb2010Entry));
    gb2010->setShortcut(QKeySequence(Qt::Key_F3));
    connect(gb2010, &QAction::triggered, this, &MainDialog::showGb2010Design);
    QAction* project = menu.addAction(QString::fromUtf8(kProjectEntry));
    connect(project, &QAction::triggered, this, &MainDialog::showProjectWindow);
    menu.exec(event->globalPos());
}

bool MainDialog::exchangeFields(DesignInput& input) {
    // The grade selections are read from the lists as the run starts.
    input.concreteIndex = concreteList_->currentIndex();
    input.steelIndex = steelList_->currentIndex();
    for (const NumberField& number : kMainExchangeOrder) {
        if (!saveNumber(*field(number.control), input.*number.member)) return false;
    }
    return true;
}

MessageAnswer MainDialog::showMessage(const Message& message) {
    return showMessageBox(this, message);
}

void MainDialog::focusControl(ControlId id) {
    if (QWidget* widget = control(id)) widget->setFocus(Qt::OtherFocusReason);
}

std::optional<SchemeChoice> MainDialog::chooseScheme() {
    if (schemeDialog_.exec() != QDialog::Accepted) return std::nullopt;
    return schemeDialog_.choice();
}

void MainDialog::showReport(const std::string& gbkBytes) {
    QString text = QString::fromStdString(gbkToUtf8(gbkBytes));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    resultBox_->setPlainText(text);
}

}  // namespace tessarin
