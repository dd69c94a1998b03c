#include "ui/project_window.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

#include "book_pdf/book_pdf.h"
#include "project/project_file.h"
#include "ui/bar_preferences_dialog.h"
#include "ui/bar_text.h"
#include "ui/dialog_template.h"
#include "ui/pictures.h"

namespace tessarin {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

QColor colourOf(unsigned rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

QSettings windowSettings() {
    return QSettings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin"));
}

}  // namespace

// The column list: one row per column, as the view model words it, coloured by its status.
class ColumnListModel : public QAbstractTableModel {
  public:
    ColumnListModel(ProjectViewModel& vm, QObject* parent) : QAbstractTableModel(parent), vm_(vm) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(vm_.columnCount());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(kColumnRowFields);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const auto row = static_cast<std::size_t>(index.row());
        if (row >= rows_.size()) return {};
        if (role == Qt::DisplayRole) {
            return qt(columnRowField(rows_[row], static_cast<std::size_t>(index.column())));
        }
        if (role == Qt::BackgroundRole) return colourOf(statusColour(rows_[row].kind));
        if (role == Qt::ToolTipRole && vm_.outcome(row).status == ColumnStatus::InputError) {
            return qt(vm_.outcome(row).finding);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return QString::fromUtf8(columnRowHeader(static_cast<std::size_t>(section)));
    }
    // The rows are worded once per change, not once per cell painted.
    void reset() {
        beginResetModel();
        rows_.clear();
        rows_.reserve(vm_.columnCount());
        for (std::size_t i = 0; i < vm_.columnCount(); ++i) rows_.push_back(vm_.row(i));
        endResetModel();
    }

  private:
    ProjectViewModel& vm_;
    std::vector<ColumnRow> rows_;
};

// The selected column's combinations; an edit goes to the view model, whose message is shown.
class CombinationModel : public QAbstractTableModel {
  public:
    CombinationModel(ProjectViewModel& vm, std::function<void(const QString&)> told,
                     QObject* parent)
        : QAbstractTableModel(parent), vm_(vm), told_(std::move(told)) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(vm_.combinationCount());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(kCombinationColumns);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const auto row = static_cast<std::size_t>(index.row());
        const auto cell = static_cast<std::size_t>(index.column());
        if (role == Qt::DisplayRole || role == Qt::EditRole) return qt(vm_.cellText(row, cell));
        const std::string finding = vm_.cellFinding(row, cell);
        if (role == Qt::BackgroundRole && !finding.empty()) return QColor(0xF6, 0xC4, 0xC4);
        if (role == Qt::ToolTipRole && !finding.empty()) return qt(finding);
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        told_(qt(vm_.editCell(static_cast<std::size_t>(index.row()),
                              static_cast<std::size_t>(index.column()), utf8(value.toString()))));
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return QString::fromUtf8(combinationColumnLabel(static_cast<std::size_t>(section)));
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    ProjectViewModel& vm_;
    std::function<void(const QString&)> told_;
};

// A cell the view model gives words for (the combination's kind) is picked from a list.
class CellChoiceDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const std::vector<std::string> choices =
            combinationCellChoices(static_cast<std::size_t>(index.column()));
        if (choices.empty()) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        for (const std::string& choice : choices) list->addItem(qt(choice));
        return list;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            list->setCurrentText(index.data(Qt::EditRole).toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, list->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

// The section to scale: b across, h up, as the drawing has it.
class SectionPictureView : public QWidget {
  public:
    explicit SectionPictureView(QWidget* parent) : QWidget(parent) { setMinimumSize(240, 240); }
    void show(SectionPicture picture) {
        picture_ = std::move(picture);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        const SectionPicture& p = picture_;
        if (!(p.width > 0.0) || !(p.height > 0.0)) return;
        const QRectF area = QRectF(rect()).adjusted(40, 20, -20, -50);
        const double scale = std::min(area.width() / p.width, area.height() / p.height);
        const QPointF centre = area.center();
        const auto at = [&](double x, double y) {
            return QPointF(centre.x() + x * scale, centre.y() - y * scale);
        };
        const QRectF outline(at(-p.width / 2, p.height / 2), at(p.width / 2, -p.height / 2));
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(QColor(0xEE, 0xEE, 0xEE));
        painter.drawRect(outline);
        if (p.stirrupInset > 0.0 && 2 * p.stirrupInset < std::min(p.width, p.height)) {
            painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
            painter.setBrush(Qt::NoBrush);
            const double inset = p.stirrupInset * scale;
            painter.drawRect(outline.adjusted(inset, inset, -inset, -inset));
        }
        painter.setPen(Qt::NoPen);
        for (const SectionPicture::Circle& bar : p.bars) {
            painter.setBrush(bar.corner ? QColor(0x10, 0x10, 0x10) : QColor(0x50, 0x50, 0x50));
            const double r = bar.diameter / 2 * scale;
            painter.drawEllipse(at(bar.x, bar.y), r, r);
        }
        // The axes through the centroid, named as the reports name them: x along h (up), y
        // along b (across).
        constexpr double kOverhang = 12.0;
        painter.setPen(QPen(Qt::gray, 1.0, Qt::DashDotLine));
        // They reach beyond the outline only towards their letters, clear of the dimensions.
        painter.drawLine(QPointF(outline.left(), outline.center().y()),
                         QPointF(outline.right() + kOverhang, outline.center().y()));
        painter.drawLine(QPointF(outline.center().x(), outline.bottom()),
                         QPointF(outline.center().x(), outline.top() - kOverhang));
        painter.setPen(Qt::black);
        const QFontMetricsF metrics(font());
        painter.drawText(
            QPointF(outline.center().x() + 4, outline.top() - kOverhang + metrics.ascent() - 4),
            QStringLiteral("x"));
        painter.drawText(QPointF(outline.right() + kOverhang - metrics.horizontalAdvance('y'),
                                 outline.center().y() - 4),
                         QStringLiteral("y"));
        painter.drawText(QRectF(outline.left(), outline.bottom() + 4, outline.width(), 18),
                         Qt::AlignHCenter, QStringLiteral("b = %1").arg(p.width));
        painter.save();
        painter.translate(outline.left() - 6, outline.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-outline.height() / 2, -18, outline.height(), 18), Qt::AlignHCenter,
                         QStringLiteral("h = %1").arg(p.height));
        painter.restore();
        // The caption, the layout's notation with each bar's grade drawn as its symbol.
        const QString caption = qt(p.caption);
        const QString notation = qt(p.notation);
        const QString head = !notation.isEmpty() && caption.endsWith(notation)
                                 ? caption.chopped(notation.size())
                                 : caption;
        const QString tail = head.size() == caption.size() ? QString() : notation;
        const double em = fontEm(font());
        const double total = metrics.horizontalAdvance(head) + barTextWidth(metrics, em, tail);
        const QPointF start((width() - total) / 2.0, height() - 24 + metrics.ascent());
        painter.drawText(start, head);
        paintBarText(painter, start + QPointF(metrics.horizontalAdvance(head), 0.0), em, tail);
    }

  private:
    SectionPicture picture_;
};

ProjectWindow::ProjectWindow(QWidget* parent, bool remember)
    : QMainWindow(parent, Qt::Window), remember_(remember) {
    setWindowIcon(applicationIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildActions();
    buildWidgets();
    resize(1280, 800);
    if (remember_) {
        QSettings settings = windowSettings();
        restoreGeometry(settings.value(QStringLiteral("ProjectWindow/geometry")).toByteArray());
        restoreState(settings.value(QStringLiteral("ProjectWindow/state")).toByteArray());
        std::vector<std::string> recent;
        for (const QString& file :
             settings.value(QStringLiteral("ProjectWindow/recentFiles")).toStringList()) {
            recent.push_back(utf8(file));
        }
        vm_.setRecentFiles(std::move(recent));
    }
    refresh();
}

ProjectWindow::~ProjectWindow() {
    if (worker_ != nullptr) {
        cancelRequested_ = true;
        worker_->wait();
    }
    // The widgets die after this window's own part: a field losing its focus or a selection
    // model going must not call back into it.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    // Nor may a table ask its model for rows once the view model is gone: closing a shown
    // window (in QWidget's destructor, after this one) lays the tables out again.
    hide();
    list_->setModel(nullptr);
    grid_->setModel(nullptr);
}

QAction* ProjectWindow::action(const QString& name) const {
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

void ProjectWindow::buildActions() {
    const auto make = [this](const char* name, const char* text, const QKeySequence& keys,
                             void (ProjectWindow::*slot)()) {
        auto* act = new QAction(QString::fromUtf8(text), this);
        if (!keys.isEmpty()) act->setShortcut(keys);
        connect(act, &QAction::triggered, this, slot);
        actions_[QString::fromLatin1(name)] = act;
        return act;
    };
    make("new", "新建(&N)", QKeySequence::New, &ProjectWindow::newProject);
    make("open", "打开(&O)…", QKeySequence::Open, &ProjectWindow::openProject);
    auto* saveAction = new QAction(QStringLiteral("保存(&S)"), this);
    saveAction->setShortcut(QKeySequence::Save);
    connect(saveAction, &QAction::triggered, this, [this] { save(); });
    actions_[QStringLiteral("save")] = saveAction;
    auto* saveAsAction = new QAction(QStringLiteral("另存为(&A)…"), this);
    saveAsAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    connect(saveAsAction, &QAction::triggered, this, [this] { saveAs(); });
    actions_[QStringLiteral("saveAs")] = saveAsAction;
    make("import", "导入 CSV(&I)…", {}, &ProjectWindow::importCsv);
    make("exportResults", "导出结果 CSV(&R)…", {}, &ProjectWindow::exportResults);
    make("exportBooks", "导出计算书(&B)…", {}, &ProjectWindow::exportBooks);
    make("exportDrawings", "导出施工图 DXF(&D)…", {}, &ProjectWindow::exportDrawings);
    make("exportSchedule", "导出柱表(&S)…", {}, &ProjectWindow::exportSchedule);
    auto* close = new QAction(QStringLiteral("关闭(&X)"), this);
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    actions_[QStringLiteral("close")] = close;
    make("undo", "撤销(&U)", QKeySequence::Undo, &ProjectWindow::undo);
    make("redo", "重做(&R)", QKeySequence(QStringLiteral("Ctrl+Y")), &ProjectWindow::redo);
    // Column commands on Ctrl+Shift: the plain Ctrl keys (Ctrl+Ins, Ctrl+Del) belong to the
    // line edits, Alt+Down to the lists.
    const auto command = [this](const char* name, const char* text, const QKeySequence& keys,
                                void (ProjectViewModel::*change)()) {
        auto* act = new QAction(QString::fromUtf8(text), this);
        if (!keys.isEmpty()) act->setShortcut(keys);
        connect(act, &QAction::triggered, this, [this, change] {
            (vm_.*change)();
            refresh();
            showFinding();
        });
        actions_[QString::fromLatin1(name)] = act;
    };
    command("addColumn", "添加柱(&A)", QKeySequence(QStringLiteral("Ctrl+Shift+N")),
            &ProjectViewModel::addColumn);
    command("copyColumn", "复制柱(&C)", QKeySequence(QStringLiteral("Ctrl+Shift+C")),
            &ProjectViewModel::copyColumn);
    command("deleteColumn", "删除柱(&D)", QKeySequence(QStringLiteral("Ctrl+Shift+Del")),
            &ProjectViewModel::deleteColumn);
    command("moveUp", "上移(&P)", QKeySequence(QStringLiteral("Ctrl+Shift+Up")),
            &ProjectViewModel::moveUp);
    command("moveDown", "下移(&W)", QKeySequence(QStringLiteral("Ctrl+Shift+Down")),
            &ProjectViewModel::moveDown);
    command("addCombination", "添加荷载组合", {}, &ProjectViewModel::addCombination);
    make("deleteCombination", "删除所选荷载组合", {}, &ProjectWindow::deleteCombinations);
    make("design", "设计全部(&D)", QKeySequence(Qt::Key_F5), &ProjectWindow::designAll);
    const auto preferences = [this](const char* name, const char* text, PreferenceScope scope) {
        auto* act = new QAction(QString::fromUtf8(text), this);
        connect(act, &QAction::triggered, this, [this, scope] { editPreferences(scope); });
        actions_[QString::fromLatin1(name)] = act;
    };
    preferences("projectPreferences", "工程的配筋参数(&B)…", PreferenceScope::Project);
    preferences("columnPreferences", "所选柱的配筋参数(&C)…", PreferenceScope::Column);

    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(action(QStringLiteral("new")));
    file->addAction(action(QStringLiteral("open")));
    recentMenu_ = file->addMenu(QStringLiteral("最近打开的工程(&E)"));
    file->addAction(action(QStringLiteral("save")));
    file->addAction(action(QStringLiteral("saveAs")));
    file->addSeparator();
    file->addAction(action(QStringLiteral("import")));
    QMenu* exports = file->addMenu(QStringLiteral("导出(&T)"));
    exports->addAction(action(QStringLiteral("exportResults")));
    exports->addAction(action(QStringLiteral("exportBooks")));
    exports->addAction(action(QStringLiteral("exportDrawings")));
    exports->addAction(action(QStringLiteral("exportSchedule")));
    file->addSeparator();
    file->addAction(close);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    for (const char* name : {"undo", "redo", "", "addColumn", "copyColumn", "deleteColumn",
                             "moveUp", "moveDown", "", "addCombination", "deleteCombination"}) {
        if (*name == '\0') {
            edit->addSeparator();
        } else {
            edit->addAction(action(QString::fromLatin1(name)));
        }
    }
    QMenu* projectMenu = menuBar()->addMenu(QStringLiteral("工程(&P)"));
    projectMenu->addAction(action(QStringLiteral("projectPreferences")));
    projectMenu->addAction(action(QStringLiteral("columnPreferences")));
    QMenu* design = menuBar()->addMenu(QStringLiteral("设计(&D)"));
    design->addAction(action(QStringLiteral("design")));

    QToolBar* tools = addToolBar(QStringLiteral("工具栏"));
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* name : {"new", "open", "save", "", "import", "exportResults", "exportBooks",
                             "exportDrawings", "", "undo", "redo", "", "design"}) {
        if (*name == '\0') {
            tools->addSeparator();
        } else {
            tools->addAction(action(QString::fromLatin1(name)));
        }
    }
}

void ProjectWindow::buildWidgets() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(buildColumnPanel());
    splitter->addWidget(buildDetailPanel());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    setCentralWidget(splitter);

    designSummary_ = new QLabel(this);
    statusBar()->addWidget(designSummary_, 1);
    progress_ = new QProgressBar(this);
    progress_->setMaximumWidth(240);
    progress_->setVisible(false);
    statusBar()->addPermanentWidget(progress_);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setVisible(false);
    connect(cancel_, &QPushButton::clicked, this, &ProjectWindow::cancelDesign);
    statusBar()->addPermanentWidget(cancel_);
}

QWidget* ProjectWindow::buildColumnPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    auto* infoBox = new QGroupBox(QStringLiteral("工程"), panel);
    auto* infoForm = new QGridLayout(infoBox);
    int position = 0;
    for (const InfoFieldSpec& entry : infoFieldSpecs()) {
        QWidget* widget = nullptr;
        const InfoField field = entry.field;
        if (entry.choices.empty()) {
            auto* edit = new QLineEdit(infoBox);
            connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] {
                if (refreshing_) return;
                vm_.editInfo(field, utf8(edit->text()));
                refresh();
            });
            widget = edit;
        } else {
            auto* list = new QComboBox(infoBox);
            for (const std::string& choice : entry.choices) list->addItem(qt(choice));
            connect(list, &QComboBox::activated, this, [this, list, field] {
                vm_.editInfo(field, utf8(list->currentText()));
                refresh();
            });
            widget = list;
        }
        info_[field] = widget;
        auto* label = new QLabel(QString::fromUtf8(entry.label), infoBox);
        label->setBuddy(widget);
        infoForm->addWidget(label, position / 2, (position % 2) * 2);
        infoForm->addWidget(widget, position / 2, (position % 2) * 2 + 1);
        ++position;
    }
    auto* projectPreferences = new QPushButton(QStringLiteral("配筋参数…"), infoBox);
    connect(projectPreferences, &QPushButton::clicked, action(QStringLiteral("projectPreferences")),
            &QAction::trigger);
    infoForm->addWidget(projectPreferences, position / 2, (position % 2) * 2 + 1);
    layout->addWidget(infoBox);

    listModel_ = new ColumnListModel(vm_, this);
    listModel_->reset();
    list_ = new QTableView(panel);
    list_->setModel(listModel_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ProjectWindow::selectionChanged);
    layout->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    for (const char* name : {"addColumn", "copyColumn", "deleteColumn", "moveUp", "moveDown"}) {
        QAction* act = action(QString::fromLatin1(name));
        auto* button = new QPushButton(act->text(), panel);
        connect(button, &QPushButton::clicked, act, &QAction::trigger);
        connect(act, &QAction::changed, button,
                [button, act] { button->setEnabled(act->isEnabled()); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return panel;
}

QWidget* ProjectWindow::buildDetailPanel() {
    auto* tabs = new QTabWidget(this);
    tabs_ = tabs;
    connect(tabs, &QTabWidget::currentChanged, this, [this] { refreshPages(); });

    auto* page = new QWidget(tabs);
    auto* dataLayout = new QVBoxLayout(page);
    auto* form = new QGridLayout;
    int position = 0;
    for (const ColumnFieldSpec& entry : columnFieldSpecs()) {
        const ColumnField field = entry.field;
        QWidget* widget = nullptr;
        if (entry.kind == ColumnFieldSpec::Kind::Choice) {
            auto* list = new QComboBox(page);
            for (const std::string& choice : entry.choices) list->addItem(qt(choice));
            connect(list, &QComboBox::activated, this,
                    [this, list, field] { editField(field, list->currentText()); });
            widget = list;
        } else {
            auto* edit = new QLineEdit(page);
            if (*entry.hint != '\0') edit->setPlaceholderText(QString::fromUtf8(entry.hint));
            connect(edit, &QLineEdit::editingFinished, this,
                    [this, edit, field] { editField(field, edit->text()); });
            widget = edit;
        }
        fields_[field] = widget;
        auto* label = new QLabel(QString::fromUtf8(entry.label), page);
        label->setBuddy(widget);
        form->addWidget(label, position / 2, (position % 2) * 2);
        form->addWidget(widget, position / 2, (position % 2) * 2 + 1);
        ++position;
    }
    dataLayout->addLayout(form);
    auto* preferencesRow = new QHBoxLayout;
    columnPreferences_ = new QLabel(page);
    columnPreferences_->setWordWrap(true);
    preferencesRow->addWidget(columnPreferences_, 1);
    QAction* columnPreferencesAction = action(QStringLiteral("columnPreferences"));
    auto* preferencesButton = new QPushButton(QStringLiteral("配筋参数…"), page);
    connect(preferencesButton, &QPushButton::clicked, columnPreferencesAction, &QAction::trigger);
    connect(columnPreferencesAction, &QAction::changed, preferencesButton,
            [preferencesButton, columnPreferencesAction] {
                preferencesButton->setEnabled(columnPreferencesAction->isEnabled());
            });
    preferencesRow->addWidget(preferencesButton);
    dataLayout->addLayout(preferencesRow);
    message_ = new QLabel(page);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000;"));
    dataLayout->addWidget(message_);
    dataLayout->addWidget(new QLabel(
        QStringLiteral("荷载组合（可从 Excel 复制多行 N、M2x、M2y… 后 Ctrl+V 粘贴）"), page));
    gridModel_ = new CombinationModel(
        vm_,
        [this](const QString& text) {
            // After the cell's editor has finished committing: a reset now would pull the view
            // from under it.
            QMetaObject::invokeMethod(
                this,
                [this, text] {
                    refresh();
                    showMessage(text);
                },
                Qt::QueuedConnection);
        },
        this);
    grid_ = new QTableView(page);
    grid_->setModel(gridModel_);
    grid_->setItemDelegate(new CellChoiceDelegate(grid_));
    grid_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->installEventFilter(this);
    dataLayout->addWidget(grid_, 1);
    auto* gridButtons = new QHBoxLayout;
    for (const char* name : {"addCombination", "deleteCombination"}) {
        QAction* act = action(QString::fromLatin1(name));
        auto* button = new QPushButton(act->text(), page);
        connect(button, &QPushButton::clicked, act, &QAction::trigger);
        connect(act, &QAction::changed, button,
                [button, act] { button->setEnabled(act->isEnabled()); });
        gridButtons->addWidget(button);
    }
    gridButtons->addStretch(1);
    dataLayout->addLayout(gridButtons);
    tabs->addTab(page, QStringLiteral("柱数据"));

    auto* result = new QWidget(tabs);
    auto* resultLayout = new QVBoxLayout(result);
    picture_ = new SectionPictureView(result);
    resultLayout->addWidget(picture_, 1);
    summary_ = new QLabel(result);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    resultLayout->addWidget(summary_);
    tabs->addTab(result, QStringLiteral("截面与结果"));

    report_ = new QPlainTextEdit(tabs);
    report_->setReadOnly(true);
    report_->setFont(reportFont());
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    tabs->addTab(report_, QStringLiteral("计算报告"));

    book_ = new QTextBrowser(tabs);
    tabs->addTab(book_, QStringLiteral("计算书"));
    return tabs;
}

QWidget* ProjectWindow::fieldWidget(ColumnField field) const {
    return fields_.at(field);
}

QWidget* ProjectWindow::infoWidget(InfoField field) const {
    return info_.at(field);
}

void ProjectWindow::editPreferences(PreferenceScope scope) {
    if (scope == PreferenceScope::Column && !vm_.selected()) return;
    BarPreferencesDialog dialog(vm_, scope, this);
    if (dialog.exec() == QDialog::Accepted) refresh();
}

void ProjectWindow::showMessage(const QString& text) {
    message_->setText(text);
    if (!text.isEmpty()) statusBar()->showMessage(text, 8000);
}

void ProjectWindow::editField(ColumnField field, const QString& text) {
    if (refreshing_ || !vm_.selected()) return;
    const std::string message = vm_.editField(field, utf8(text));
    refresh();
    showMessage(qt(message));
}

void ProjectWindow::selectionChanged() {
    if (refreshing_) return;
    const QModelIndex current = list_->selectionModel()->currentIndex();
    vm_.select(current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt);
    // What keeps the column from being designed, at once.
    showFinding();
    refreshColumn();
    refreshCommands();
}

void ProjectWindow::refresh() {
    refreshing_ = true;
    listModel_->reset();
    if (const auto selected = vm_.selected()) {
        const QModelIndex index = listModel_->index(static_cast<int>(*selected), 0);
        list_->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    for (const auto& [field, widget] : info_) {
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (!edit->hasFocus() || edit->text() != qt(vm_.infoText(field))) {
                edit->setText(qt(vm_.infoText(field)));
            }
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            list->setCurrentText(qt(vm_.infoText(field)));
        }
    }
    refreshing_ = false;
    refreshColumn();
    refreshCommands();
    designSummary_->setText(qt(vm_.designSummary()));
}

void ProjectWindow::refreshColumn() {
    refreshing_ = true;
    const bool chosen = vm_.selected().has_value();
    for (const auto& [field, widget] : fields_) {
        widget->setEnabled(chosen);
        const QString text = qt(vm_.fieldText(field));
        const QString finding = qt(vm_.fieldFinding(field));
        widget->setToolTip(finding);
        widget->setStyleSheet(finding.isEmpty() ? QString()
                                                : QStringLiteral("background: #f6c4c4;"));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(text);
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            list->setCurrentText(text);
        }
    }
    const QModelIndex gridCurrent = grid_->currentIndex();
    gridModel_->reset();
    if (gridCurrent.isValid() && gridCurrent.row() < gridModel_->rowCount({})) {
        grid_->setCurrentIndex(gridModel_->index(gridCurrent.row(), gridCurrent.column()));
    }
    picture_->show(vm_.picture());
    QStringList lines;
    for (const std::string& line : vm_.summaryLines()) lines << qt(line);
    summary_->setText(lines.join(QLatin1Char('\n')));
    // The summary's second line: "配筋参数：…（工程）" or "（本柱）".
    columnPreferences_->setText(chosen && lines.size() > 1 ? lines[1] : QString());
    refreshing_ = false;
    refreshPages();
}

void ProjectWindow::refreshPages() {
    // The report and the book only when shown: a book with its pictures takes a while to build.
    if (tabs_->currentWidget() == report_) report_->setPlainText(qt(vm_.reportText()));
    if (tabs_->currentWidget() == book_) book_->setHtml(qt(vm_.bookHtml()));
}

void ProjectWindow::refreshCommands() {
    const CommandState state = vm_.commands();
    const std::pair<const char*, bool> enabled[] = {
        {"save", state.save},
        {"copyColumn", state.copyColumn},
        {"deleteColumn", state.deleteColumn},
        {"moveUp", state.moveUp},
        {"moveDown", state.moveDown},
        {"undo", state.undo},
        {"redo", state.redo},
        {"design", state.designAll && !designRunning()},
        {"exportResults", state.exportResults},
        {"exportBooks", state.exportResults},
        {"exportDrawings", state.exportResults},
        {"exportSchedule", state.exportResults},
        {"addCombination", state.addCombination},
        {"deleteCombination", state.deleteCombination},
        {"columnPreferences", state.addCombination},  // a column is selected
    };
    for (const auto& [name, on] : enabled) action(QString::fromLatin1(name))->setEnabled(on);
    const QString undoText = qt(vm_.undoText());
    action(QStringLiteral("undo"))
        ->setToolTip(undoText.isEmpty() ? QStringLiteral("撤销") : undoText);
    const QString redoText = qt(vm_.redoText());
    action(QStringLiteral("redo"))
        ->setToolTip(redoText.isEmpty() ? QStringLiteral("重做") : redoText);
    setWindowTitle(qt(vm_.windowTitle()));
    setWindowModified(false);
    refreshRecent();
}

void ProjectWindow::refreshRecent() {
    recentMenu_->clear();
    for (const std::string& file : vm_.recentFiles()) {
        const QString path = qt(file);
        QAction* entry = recentMenu_->addAction(path);
        connect(entry, &QAction::triggered, this, [this, path] {
            if (maybeSave()) openFile(path);
        });
    }
    recentMenu_->setEnabled(!vm_.recentFiles().empty());
}

bool ProjectWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteCells();
            return true;
        }
        if (key->matches(QKeySequence::Copy)) {
            copyCells();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {  // an open cell editor takes its own keys
            deleteCombinations();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ProjectWindow::pasteCells() {
    const QModelIndex at = grid_->currentIndex();
    const std::size_t row = at.isValid() ? static_cast<std::size_t>(at.row()) : 0;
    const std::size_t cell = at.isValid() ? static_cast<std::size_t>(at.column()) : 0;
    const std::string message = vm_.paste(row, cell, utf8(QApplication::clipboard()->text()));
    refresh();
    showMessage(qt(message));
}

void ProjectWindow::copyCells() {
    const QModelIndexList chosen = grid_->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return;
    int top = chosen.front().row();
    int bottom = top;
    int left = chosen.front().column();
    int right = left;
    for (const QModelIndex& index : chosen) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QApplication::clipboard()->setText(
        qt(vm_.copy(static_cast<std::size_t>(top), static_cast<std::size_t>(bottom),
                    static_cast<std::size_t>(left), static_cast<std::size_t>(right))));
}

void ProjectWindow::deleteCombinations() {
    const QModelIndexList chosen = grid_->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return;
    int top = chosen.front().row();
    int bottom = top;
    for (const QModelIndex& index : chosen) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
    }
    vm_.deleteCombinations(static_cast<std::size_t>(top), static_cast<std::size_t>(bottom));
    refresh();
}

void ProjectWindow::showFinding() {
    message_->setText(qt(vm_.inputFinding()));
}

void ProjectWindow::undo() {
    vm_.undo();
    refresh();
    showFinding();
}

void ProjectWindow::redo() {
    vm_.redo();
    refresh();
    showFinding();
}

bool ProjectWindow::maybeSave() {
    if (!vm_.modified()) return true;
    const auto answer = QMessageBox::warning(
        this, QStringLiteral("Tessarin 柱设计"), QString::fromUtf8(kSaveChangesQuestion),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save) return save();
    return true;
}

void ProjectWindow::newProject() {
    if (!maybeSave()) return;
    vm_.newProject();
    refresh();
    showFinding();
}

QString ProjectWindow::openFile(const QString& path, bool quiet) {
    QString message = qt(vm_.open(utf8(path)));
    if (!message.isEmpty()) {
        if (!quiet) QMessageBox::critical(this, QStringLiteral("Tessarin 柱设计"), message);
        return message;
    }
    refresh();
    showFinding();
    list_->resizeColumnsToContents();
    return {};
}

void ProjectWindow::openLastProject() {
    if (!remember_) return;
    const QString last =
        windowSettings().value(QStringLiteral("ProjectWindow/lastProject")).toString();
    if (!last.isEmpty() && QFileInfo::exists(last)) openFile(last, true);
}

void ProjectWindow::openProject() {
    if (!maybeSave()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开工程"), QString(),
                                                      QStringLiteral("Tessarin 工程 (*.tsn)"));
    if (!path.isEmpty()) openFile(path);
}

QString ProjectWindow::saveTo(const QString& path) {
    const FileResult written = vm_.saveAs(utf8(path));
    refresh();
    if (written.ok) {
        statusBar()->showMessage(QStringLiteral("已保存 %1").arg(path), 5000);
        return {};
    }
    return qt(saveFailureText(written));
}

bool ProjectWindow::save() {
    if (vm_.path().empty()) return saveAs();
    const QString failed = saveTo(qt(vm_.path()));
    if (!failed.isEmpty()) QMessageBox::critical(this, QStringLiteral("Tessarin 柱设计"), failed);
    return failed.isEmpty();
}

bool ProjectWindow::saveAs() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("另存为"), qt(vm_.path()),
                                                QStringLiteral("Tessarin 工程 (*.tsn)"));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QString::fromLatin1(kProjectExtension);
    const QString failed = saveTo(path);
    if (!failed.isEmpty()) QMessageBox::critical(this, QStringLiteral("Tessarin 柱设计"), failed);
    return failed.isEmpty();
}

void ProjectWindow::importCsv() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("导入 CSV"), QString(),
                                                      QStringLiteral("荷载组合 CSV (*.csv)"));
    if (path.isEmpty()) return;
    const QString failed = qt(vm_.importCases(utf8(path)));
    refresh();
    if (!failed.isEmpty()) QMessageBox::critical(this, QStringLiteral("导入 CSV"), failed);
}

QString ProjectWindow::outcomeText(const BatchOutcome& outcome, const QString& what) const {
    return qt(exportOutcomeText(outcome, utf8(what)));
}

QString ProjectWindow::exportResultsTo(const QString& path) {
    return outcomeText(vm_.exportResults(utf8(path)), QStringLiteral("结果 CSV "));
}

QString ProjectWindow::exportBooksTo(const QString& directory) {
    return outcomeText(vm_.exportBooks(utf8(directory)), QStringLiteral("计算书"));
}

QString ProjectWindow::exportDrawingsTo(const QString& directory) {
    return outcomeText(vm_.exportDrawings(utf8(directory)), QStringLiteral("施工图"));
}

void ProjectWindow::exportResults() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出结果 CSV"), {},
                                                      QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    const QString message = exportResultsTo(path);
    if (!message.isEmpty()) QMessageBox::information(this, QStringLiteral("导出"), message);
}

void ProjectWindow::exportBooks() {
    const QString directory =
        QFileDialog::getExistingDirectory(this, QStringLiteral("导出计算书到文件夹"));
    if (directory.isEmpty()) return;
    const QString message = exportBooksTo(directory);
    if (!message.isEmpty()) QMessageBox::information(this, QStringLiteral("导出"), message);
}

void ProjectWindow::exportDrawings() {
    const QString directory =
        QFileDialog::getExistingDirectory(this, QStringLiteral("导出施工图到文件夹"));
    if (directory.isEmpty()) return;
    const QString message = exportDrawingsTo(directory);
    if (!message.isEmpty()) QMessageBox::information(this, QStringLiteral("导出"), message);
}

QString ProjectWindow::exportScheduleTo(const QString& path) {
    // A PDF through Qt's writer, its CJK face embedded, as the books are.
    return outcomeText(vm_.exportSchedule(utf8(path), renderBookPdf), QStringLiteral("柱表"));
}

void ProjectWindow::exportSchedule() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出柱表"), {},
        QStringLiteral("柱表施工图 DXF (*.dxf);;柱表 HTML (*.html);;柱表 Word (*.docx);;柱表 PDF "
                       "(*.pdf)"));
    if (path.isEmpty()) return;
    const QString message = exportScheduleTo(path);
    if (message.isEmpty()) return;
    if (message.contains(QStringLiteral("导出失败"))) {
        QMessageBox::critical(this, QStringLiteral("导出柱表"), message);
    } else {
        QMessageBox::information(this, QStringLiteral("导出柱表"), message);
    }
}

void ProjectWindow::designAll() {
    if (worker_ != nullptr || vm_.columnCount() == 0) return;
    snapshot_ = vm_.designSnapshot();
    outcomes_.clear();
    cancelRequested_ = false;
    progress_->setRange(0, static_cast<int>(snapshot_.size()));
    progress_->setValue(0);
    progress_->setVisible(true);
    cancel_->setVisible(true);
    worker_ = QThread::create([this] {
        outcomes_ = designProjectColumns(
            snapshot_, cancelRequested_, [this](std::size_t done, std::size_t total) {
                QMetaObject::invokeMethod(
                    this,
                    [this, done, total] {
                        designProgress(static_cast<int>(done), static_cast<int>(total));
                    },
                    Qt::QueuedConnection);
            });
    });
    connect(worker_, &QThread::finished, this, &ProjectWindow::designDone);
    refreshCommands();
    worker_->start();
}

void ProjectWindow::designProgress(int done, int total) {
    progress_->setMaximum(total);
    progress_->setValue(done);
}

void ProjectWindow::cancelDesign() {
    cancelRequested_ = true;
}

void ProjectWindow::designDone() {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    const bool cancelled = cancelRequested_ && outcomes_.size() < snapshot_.size();
    vm_.applyDesign(snapshot_, std::move(outcomes_));
    outcomes_.clear();
    snapshot_.clear();
    progress_->setVisible(false);
    cancel_->setVisible(false);
    refresh();
    list_->resizeColumnsToContents();
    statusBar()->showMessage(
        (cancelled ? QStringLiteral("设计已取消。") : QStringLiteral("设计完成。")) +
            qt(vm_.designSummary()),
        8000);
    emit designFinished();
}

void ProjectWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    if (worker_ != nullptr) {
        cancelRequested_ = true;
        worker_->wait();
    }
    if (remember_) {
        QSettings settings = windowSettings();
        settings.setValue(QStringLiteral("ProjectWindow/geometry"), saveGeometry());
        settings.setValue(QStringLiteral("ProjectWindow/state"), saveState());
        settings.setValue(QStringLiteral("ProjectWindow/lastProject"), qt(vm_.path()));
        QStringList recent;
        for (const std::string& file : vm_.recentFiles()) recent << qt(file);
        settings.setValue(QStringLiteral("ProjectWindow/recentFiles"), recent);
    }
    event->accept();
}

}  // namespace tessarin
