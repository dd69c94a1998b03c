#include "ui/gb2010_dialog.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <atomic>
#include <cmath>
#include <exception>
#include <new>
#include <thread>

#include "book/gb2010_book.h"
#include "drawing/design_drawing.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_design.h"
#include "report/gb2010_format.h"
#include "report/gb2010_labels.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"
#include "run/calculate_command.h"
#include "run/gb2010_fields.h"
#include "text/number_text.h"
#include "ui/book_export.h"
#include "ui/dialog_template.h"
#include "ui/enter_navigation.h"
#include "ui/gb2010_view.h"
#include "ui/message_box.h"
#include "views/gb2010_design_view.h"

namespace tessarin {

namespace {

constexpr const char* kTitle = "现行规范设计";

// The column's fields: the numbers (a blank one, with a hint, takes its default), then the lists.
std::vector<const Gb2010FieldEntry*> columnEntries(bool lists) {
    std::vector<const Gb2010FieldEntry*> entries;
    for (const Gb2010FieldEntry& entry : gb2010Fields()) {
        if (!entry.perCombination() && entry.isChoice() == lists) entries.push_back(&entry);
    }
    return entries;
}

// A combination's fields: the columns of the combinations table, the kind last.
std::vector<const Gb2010FieldEntry*> combinationEntries() {
    std::vector<const Gb2010FieldEntry*> entries;
    for (const Gb2010FieldEntry& entry : gb2010Fields()) {
        if (entry.perCombination()) entries.push_back(&entry);
    }
    return entries;
}

// A list of the choices, each with its value as the item's data.
QComboBox* choiceList(const ChoiceList& choices, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (const Choice* choice : choices.shown()) {
        list->addItem(QString::fromUtf8(choice->label), choice->value);
    }
    return list;
}

void selectValue(QComboBox* list, int value) {
    const int index = list->findData(value);
    if (index >= 0) list->setCurrentIndex(index);
}

int selectedValue(const QComboBox* list) {
    return list->itemData(std::max(0, list->currentIndex())).toInt();
}

// The number columns of the combinations table.
constexpr int kNumberColumns = Gb2010Dialog::kColKind;

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Which table column a combination's finding points at.
int columnOf(Gb2010Field field) {
    switch (field) {
        case Gb2010Field::M2x:
            return Gb2010Dialog::kColM2x;
        case Gb2010Field::M1m2X:
            return Gb2010Dialog::kColM1M2x;
        case Gb2010Field::M2y:
            return Gb2010Dialog::kColM2y;
        case Gb2010Field::M1m2Y:
            return Gb2010Dialog::kColM1M2y;
        case Gb2010Field::Vx:
            return Gb2010Dialog::kColVx;
        case Gb2010Field::Vy:
            return Gb2010Dialog::kColVy;
        case Gb2010Field::Kind:
            return Gb2010Dialog::kColKind;
        default:
            return Gb2010Dialog::kColN;
    }
}

}  // namespace

Gb2010Input gb2010Start(double l0, double b, double h, double M0x, double M0y, double N,
                        int concreteNumber, int steelIndex2002) {
    Gb2010Input input;
    input.column.l0 = l0;
    input.column.b = b;
    input.column.h = h;
    input.column.concreteGrade = std::max(20, concreteNumber);
    // HPB235 is no longer made; its successor is HPB300.
    input.column.steel = steelIndex2002 == 1   ? SteelGrade2010::HRB335
                         : steelIndex2002 == 2 ? SteelGrade2010::HRB400
                                               : SteelGrade2010::HPB300;
    input.combinations = {LoadCombination{N, M0x, 1.0, M0y, 1.0}};
    return input;
}

Gb2010Dialog::Gb2010Dialog(const Gb2010Input& start, QWidget* parent)
    : QDialog(parent),
      designFunction_([](const Gb2010Input& input, const std::stop_token& stop) {
          return designColumnWithStirrups(input.column, input.combinations, stop);
      }),
      reportPath_(kGb2010ReportFileName) {
    setWindowTitle(QString::fromUtf8(kTitle));
    setFont(dialogFont());

    // The column.
    auto* columnBox = new QGroupBox(QStringLiteral("柱与材料"), this);
    auto* form = new QFormLayout(columnBox);
    for (const Gb2010FieldEntry* entry : columnEntries(false)) {
        auto* edit = new QLineEdit(columnBox);
        edit->setMaxLength(32);
        if (entry->hint != nullptr) edit->setPlaceholderText(QString::fromUtf8(entry->hint));
        fields_[entry->field] = edit;
        form->addRow(QString::fromUtf8(entry->label), edit);
    }
    for (const Gb2010FieldEntry* entry : columnEntries(true)) {
        QComboBox* list = choiceList(*entry->choices, columnBox);
        lists_[entry->field] = list;
        form->addRow(QString::fromUtf8(entry->label), list);
    }

    // The combinations.
    auto* loadsBox = new QGroupBox(QStringLiteral("荷载组合（第1组取自主窗口）"), this);
    auto* loadsLayout = new QVBoxLayout(loadsBox);
    combinations_ = new QTableWidget(0, kColumnCount, loadsBox);
    QStringList headers;
    for (const Gb2010FieldEntry* entry : combinationEntries()) {
        headers << QString::fromUtf8(entry->label);
    }
    combinations_->setHorizontalHeaderLabels(headers);
    combinations_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    combinations_->horizontalHeader()->setStretchLastSection(true);
    combinations_->setMinimumHeight(120);
    auto* add = new QPushButton(QStringLiteral("添加组合"), loadsBox);
    auto* remove = new QPushButton(QStringLiteral("删除组合"), loadsBox);
    auto* tableButtons = new QHBoxLayout;
    tableButtons->addWidget(add);
    tableButtons->addWidget(remove);
    tableButtons->addStretch();
    loadsLayout->addWidget(combinations_);
    loadsLayout->addLayout(tableButtons);

    designButton_ = new QPushButton(QStringLiteral("设计"), this);
    designButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("取消设计"), this);
    cancelButton_->setVisible(false);
    busy_ = new QProgressBar(this);
    busy_->setRange(0, 0);  // busy: no end known
    busy_->setTextVisible(false);
    busy_->setVisible(false);
    drawingButton_ = new QPushButton(QStringLiteral("导出截面图 DXF…"), this);
    drawingButton_->setEnabled(false);
    bookButton_ = new QPushButton(QStringLiteral("导出计算书…"), this);
    bookButton_->setObjectName(QStringLiteral("exportBook"));
    bookButton_->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(designButton_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(drawingButton_);
    buttons->addWidget(bookButton_);
    buttons->addStretch();
    buttons->addWidget(close);

    // The results.
    view_ = new Gb2010SectionView(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::PlainText);
    summary_->setMinimumWidth(260);
    results_ = new QTableWidget(0, static_cast<int>(kGb2010ResultHeaders.size()), this);
    QStringList resultHeaders;
    for (const char* header : kGb2010ResultHeaders) resultHeaders << QString::fromUtf8(header);
    results_->setHorizontalHeaderLabels(resultHeaders);
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    results_->setMinimumHeight(110);
    report_ = new QPlainTextEdit(this);
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setFont(reportFont());
    report_->setMinimumHeight(180);

    // Wide enough for every column of the combinations table, the kind list included.
    columnBox->setMinimumWidth(600);
    auto* left = new QVBoxLayout;
    left->addWidget(columnBox);
    left->addWidget(loadsBox, 1);
    left->addLayout(buttons);
    left->addWidget(busy_);
    inputs_[0] = columnBox;
    inputs_[1] = loadsBox;
    auto* sectionRow = new QHBoxLayout;
    sectionRow->addWidget(view_, 1);
    sectionRow->addWidget(summary_);
    auto* right = new QVBoxLayout;
    right->addLayout(sectionRow, 2);
    right->addWidget(results_, 1);
    right->addWidget(report_, 2);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 0);
    top->addLayout(right, 1);
    resize(1400, 780);

    // Start values.
    const Gb2010Column& c = start.column;
    const LoadCombination unused;
    for (const Gb2010FieldEntry* entry : columnEntries(false)) {
        if (const auto value = fieldNumber(*entry, c, unused)) {
            fields_[entry->field]->setText(text(formatGeneral(*value)));
        }
    }
    for (const Gb2010FieldEntry* entry : columnEntries(true)) {
        selectValue(lists_[entry->field], fieldChoice(*entry, c, unused));
    }
    for (const LoadCombination& load : start.combinations) {
        const int row = combinations_->rowCount();
        combinations_->insertRow(row);
        setCombinationRow(row, load);
    }

    connect(add, &QPushButton::clicked, this, &Gb2010Dialog::addCombination);
    connect(remove, &QPushButton::clicked, this, &Gb2010Dialog::removeCombination);
    connect(designButton_, &QPushButton::clicked, this, &Gb2010Dialog::design);
    connect(cancelButton_, &QPushButton::clicked, this, &Gb2010Dialog::cancelDesign);
    connect(drawingButton_, &QPushButton::clicked, this, &Gb2010Dialog::chooseDrawingFile);
    connect(bookButton_, &QPushButton::clicked, this, &Gb2010Dialog::exportBook);
    connect(close, &QPushButton::clicked, this, &Gb2010Dialog::reject);

    // Enter in a field moves to the next one, as in the main dialog.
    new EnterNavigation(*this);
    fields_[Gb2010Field::L0]->setFocus(Qt::TabFocusReason);
}

QLineEdit* Gb2010Dialog::field(Gb2010Field which) const {
    const auto found = fields_.find(which);
    return found == fields_.end() ? nullptr : found->second;
}

QComboBox* Gb2010Dialog::kindList(int row) const {
    return qobject_cast<QComboBox*>(combinations_->cellWidget(row, kColKind));
}

QComboBox* Gb2010Dialog::list(Gb2010Field which) const {
    const auto found = lists_.find(which);
    return found == lists_.end() ? nullptr : found->second;
}

void Gb2010Dialog::setCombinationRow(int row, const LoadCombination& load) {
    const Gb2010Column unused;
    const std::vector<const Gb2010FieldEntry*> entries = combinationEntries();
    for (int column = 0; column < kNumberColumns; ++column) {
        const auto value = fieldNumber(*entries[static_cast<std::size_t>(column)], unused, load);
        combinations_->setItem(row, column, new QTableWidgetItem(text(formatGeneral(*value))));
    }
    const Gb2010FieldEntry& kind = *entries[kColKind];
    QComboBox* list = choiceList(*kind.choices, combinations_);
    selectValue(list, fieldChoice(kind, unused, load));
    combinations_->setCellWidget(row, kColKind, list);
}

void Gb2010Dialog::addCombination() {
    // A new combination starts as a copy of the current (or last) one, ready to be edited.
    const int source = combinations_->currentRow() >= 0 ? combinations_->currentRow()
                                                        : combinations_->rowCount() - 1;
    const int row = combinations_->rowCount();
    combinations_->insertRow(row);
    for (int column = 0; column < kNumberColumns; ++column) {
        const QTableWidgetItem* from = source >= 0 ? combinations_->item(source, column) : nullptr;
        combinations_->setItem(row, column,
                               new QTableWidgetItem(from != nullptr ? from->text() : QString()));
    }
    QComboBox* kind = choiceList(*gb2010FieldEntry(Gb2010Field::Kind)->choices, combinations_);
    if (const QComboBox* from = source >= 0 ? kindList(source) : nullptr) {
        kind->setCurrentIndex(from->currentIndex());
    }
    combinations_->setCellWidget(row, kColKind, kind);
    combinations_->setCurrentCell(row, kColN);
}

void Gb2010Dialog::removeCombination() {
    // The first combination is the main dialog's and stays; so does at least one row.
    const int row = combinations_->currentRow();
    if (row > 0) combinations_->removeRow(row);
}

std::optional<Gb2010Input> Gb2010Dialog::readInput() {
    const auto refuseNumber = [this](QWidget* focus) {
        showMessageBox(this, {"请输入一个数。", programName(), MessageKind::Warning});
        focus->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->selectAll();
    };
    Gb2010Input input;
    Gb2010Column& c = input.column;
    LoadCombination unused;
    for (const Gb2010FieldEntry* entry : columnEntries(false)) {
        QLineEdit* edit = fields_[entry->field];
        const std::string typed = edit->text().toStdString();
        if (entry->hint != nullptr && edit->text().trimmed().isEmpty()) continue;
        const std::optional<double> value = parseNumber(typed);
        if (!value) {
            refuseNumber(edit);
            return std::nullopt;
        }
        setFieldNumber(*entry, c, unused, *value);
    }
    for (const Gb2010FieldEntry* entry : columnEntries(true)) {
        setFieldChoice(*entry, c, unused, selectedValue(lists_[entry->field]));
    }

    input.combinations.clear();
    const std::vector<const Gb2010FieldEntry*> entries = combinationEntries();
    for (int row = 0; row < combinations_->rowCount(); ++row) {
        LoadCombination load;
        for (int column = 0; column < kNumberColumns; ++column) {
            const QTableWidgetItem* item = combinations_->item(row, column);
            const std::optional<double> value =
                parseNumber(item != nullptr ? item->text().toStdString() : std::string());
            if (!value) {
                combinations_->setCurrentCell(row, column);
                refuseNumber(combinations_);
                return std::nullopt;
            }
            setFieldNumber(*entries[static_cast<std::size_t>(column)], c, load, *value);
        }
        if (const QComboBox* kind = kindList(row)) {
            setFieldChoice(*entries[kColKind], c, load, selectedValue(kind));
        }
        input.combinations.push_back(load);
    }
    return input;
}

void Gb2010Dialog::refuse(const Gb2010Finding& finding) {
    clearDesign(QStringLiteral("未设计：") + text(finding.message));
    showMessageBox(this, {finding.message, kTitle, MessageKind::Error});
    if (finding.combination >= 0 && finding.combination < combinations_->rowCount()) {
        combinations_->setCurrentCell(finding.combination, columnOf(finding.field));
        combinations_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (QComboBox* choices = list(finding.field)) {
        choices->setFocus(Qt::OtherFocusReason);
    } else if (QLineEdit* edit = field(finding.field)) {
        edit->setFocus(Qt::OtherFocusReason);
    }
}

bool Gb2010Dialog::design() {
    if (running_) return false;
    // Whatever happens now, the design shown before no longer matches the inputs.
    clearDesign(QString());
    const Gb2010Outcome outcome = runGb2010Command(*this, reportPath_);
    if (outcome == Gb2010Outcome::FieldRejected) {
        clearDesign(QStringLiteral("未设计：有一项输入不是数，请改正后再按“设计”。"));
    }
    return outcome == Gb2010Outcome::Shown;
}

std::optional<ColumnWithStirrups> Gb2010Dialog::runDesign(const Gb2010Input& input) {
    // The engine on a worker thread; this window keeps painting and answers "取消设计" and
    // closing in the loop below, which ends when the worker is done.
    std::optional<ColumnWithStirrups> result;
    std::exception_ptr failure;
    {
        QEventLoop loop;
        std::stop_source stop;
        std::atomic<bool> done = false;
        running_ = stop;
        setBusy(true);
        std::thread worker([&, token = stop.get_token()] {
            try {
                result = designFunction_(input, token);
            } catch (...) {
                failure = std::current_exception();
            }
            done = true;
            QMetaObject::invokeMethod(
                &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
        loop.exec();
        // Only the worker ends the loop, unless the whole program is quitting: then stop it.
        if (!done) stop.request_stop();
        worker.join();
        running_.reset();
        setBusy(false);
        if (stop.stop_requested()) result.reset();
    }
    if (closeAfterDesign_) {
        closeAfterDesign_ = false;
        QDialog::reject();
        return std::nullopt;
    }
    if (failure) {
        QString reason = QStringLiteral("设计时出错");
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc&) {
            reason = QStringLiteral("设计时内存不足");
        } catch (...) {
        }
        clearDesign(QStringLiteral("未设计：") + reason + QStringLiteral("。"));
        showMessageBox(this,
                       {reason.toStdString() + "，未得到设计结果。", kTitle, MessageKind::Error});
        return std::nullopt;
    }
    if (!result) clearDesign(QStringLiteral("设计已取消，未得到结果。"));
    return result;
}

void Gb2010Dialog::reportFailed(const FileResult& failure) {
    clearDesign(QStringLiteral("未设计：报告文件未能写入(见提示)。"));
    showMessageBox(this, fileFailureMessage(failure));
}

void Gb2010Dialog::showResult(const ColumnWithStirrups& whole) {
    showDesign(whole);
    design_ = whole.longitudinal;
    whole_ = whole;
    drawingButton_->setEnabled(design_->designed && design_->layout.has_value());
    bookButton_->setEnabled(true);
}

void Gb2010Dialog::cancelDesign() {
    if (!running_) return;
    running_->request_stop();
    cancelButton_->setEnabled(false);
    summary_->setText(QStringLiteral("正在取消……"));
}

void Gb2010Dialog::reject() {
    if (running_) {
        // Closed during a design: stop it; design() closes the window once the worker is done.
        closeAfterDesign_ = true;
        cancelDesign();
        return;
    }
    QDialog::reject();
}

void Gb2010Dialog::setBusy(bool busy) {
    for (QWidget* input : inputs_) input->setEnabled(!busy);
    designButton_->setEnabled(!busy);
    cancelButton_->setVisible(busy);
    cancelButton_->setEnabled(busy);
    busy_->setVisible(busy);
    if (busy) {
        summary_->setText(QStringLiteral("正在设计……(按“取消设计”停止)"));
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void Gb2010Dialog::setSummary(const QString& summary, bool error) {
    // A colour through the palette: a style sheet would give the label the application's font
    // instead of the dialog's.
    QPalette colours = palette();
    if (error) colours.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    summary_->setPalette(colours);
    summary_->setText(summary);
}

void Gb2010Dialog::clearDesign(const QString& why) {
    design_.reset();
    whole_.reset();
    drawingButton_->setEnabled(false);
    bookButton_->setEnabled(false);
    view_->showDesign(0.0, 0.0, 0.0, 0.0, std::nullopt, QString());
    results_->setRowCount(0);
    report_->clear();
    setSummary(why, false);
}

void Gb2010Dialog::showDesign(const ColumnWithStirrups& whole) {
    const Gb2010Design& d = whole.longitudinal;
    const StirrupDesign* stirrups = whole.stirrups ? &*whole.stirrups : nullptr;
    view_->showDesign(d.column.b, d.column.h, d.cover, whole.stirrupDiameterUsed,

                      d.designed ? d.layout : std::nullopt,
                      QString::fromUtf8(barSymbol(d.column.steel)));
    if (d.designed && stirrups != nullptr && stirrups->designed) {
        view_->setInnerStirrups(innerStirrupPieces(d, stirrups->choice, whole.stirrupDiameterUsed));
    }

    const Gb2010DesignView shown = gb2010DesignView(whole);
    QStringList lines;
    for (const std::string& line : shown.summary) lines << text(line);
    setSummary(lines.join(QLatin1Char('\n')), shown.failed);

    results_->setRowCount(0);
    for (std::size_t k = 0; k < shown.results.size(); ++k) {
        const int row = results_->rowCount();
        results_->insertRow(row);
        for (std::size_t column = 0; column < shown.results[k].size(); ++column) {
            auto* item = new QTableWidgetItem(text(shown.results[k][column]));
            if (static_cast<int>(k) == shown.governing) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            results_->setItem(row, static_cast<int>(column), item);
        }
    }

    QString reportText = text(gb2010ReportText(whole));
    reportText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    report_->setPlainText(reportText);
}

void Gb2010Dialog::chooseDrawingFile() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出截面图 DXF"),
                                                      QStringLiteral("column.dxf"),
                                                      QStringLiteral("DXF 图形 (*.dxf)"));
    if (!path.isEmpty()) exportDrawing(path);
}

QString Gb2010Dialog::exportBook() {
    if (!design_) return {};
    const Book book = whole_ ? buildGb2010Book(BookInfo{"", "", todayText()}, *whole_)
                             : buildGb2010Book(BookInfo{"", "", todayText()}, *design_);
    return exportCalculationBook(this, book, QStringLiteral("现行规范计算书"));
}

bool Gb2010Dialog::exportDrawing(const QString& path) {
    if (!design_ || !design_->designed || !design_->layout) return false;
    const FileResult written = whole_ ? writeDesignDrawing(path.toStdString(), *whole_, "")
                                      : writeDesignDrawing(path.toStdString(), *design_, "");
    if (!written.ok) {
        showMessageBox(
            this, {"无法写入截面图文件 " + written.fileName + "\r\n原因：" + written.reason, kTitle,
                   MessageKind::Error});
        return false;
    }
    return true;
}

}  // namespace tessarin
