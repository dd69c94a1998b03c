#include "ui/dialog_template.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/paste_limit.h"
#include "ui/pictures.h"

namespace tessarin {

namespace {

// The templates were drawn for 9-point text on a 120-dpi ("large fonts") screen: 15-pixel text,
// 8 x 15 pixel base units with a Song face. At that scale the two pictures fill their frames and
// every caption fits its control; at 96 dpi (12-pixel text) the pictures would overrun their
// frames and the long labels would be cut.
constexpr int kDialogFontPixels = 15;

constexpr const char* kFaces[] = {"SimSun",         "NSimSun",          "Noto Serif CJK SC",
                                  "AR PL UMing CN", "Noto Sans CJK SC", "WenQuanYi Micro Hei"};

// Text controls get at least one line of the font; extra height is split above and below so the
// text stays centred where the template put it.
QRect atLeastOneLine(QRect box, int lineHeight) {
    if (box.height() >= lineHeight) return box;
    const int extra = lineHeight - box.height();
    return QRect(box.x(), box.y() - extra / 2, box.width(), lineHeight);
}

QWidget* createControl(QDialog& dialog, const ControlTemplate& item, const DialogUnits& units) {
    const QString caption = QString::fromUtf8(item.caption);
    const QRect box = units.toPixels(item.x, item.y, item.width, item.height);
    const int lineHeight = QFontMetrics(dialog.font()).height();
    switch (item.kind) {
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(&dialog);
            edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            edit->setFocusPolicy(Qt::StrongFocus);
            edit->setGeometry(atLeastOneLine(box, lineHeight + 4));
            refuseOverlongPastes(*edit);
            return edit;
        }
        case ControlKind::DropList: {
            auto* list = new QComboBox(&dialog);
            list->setEditable(false);
            list->setFocusPolicy(Qt::StrongFocus);
            // The template gives the height of the open list; closed, it is one edit-field high.
            const int closed = std::max(units.toPixelsY(14), list->sizeHint().height());
            list->setGeometry(box.x(), box.y(), box.width(), closed);
            const int rowHeight = QFontMetrics(dialog.font()).height() + 2;
            list->setMaxVisibleItems(std::max(3, (box.height() - closed) / rowHeight));
            return list;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(caption, &dialog);
            button->setAutoDefault(true);
            button->setDefault(item.kind == ControlKind::DefaultButton);
            button->setFocusPolicy(Qt::StrongFocus);
            button->setGeometry(atLeastOneLine(box, lineHeight + 4));
            return button;
        }
        case ControlKind::RadioButton: {
            // Exclusivity is the builder's (see buildDialog): Qt's automatic exclusivity would
            // make the checked button a tab stop, and these buttons are chosen with the mouse.
            auto* radio = new QRadioButton(caption, &dialog);
            radio->setAutoExclusive(false);
            radio->setFocusPolicy(Qt::ClickFocus);
            radio->setGeometry(atLeastOneLine(box, lineHeight));
            return radio;
        }
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(caption, &dialog);
            check->setFocusPolicy(Qt::StrongFocus);
            check->setGeometry(atLeastOneLine(box, lineHeight));
            return check;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(caption, &dialog);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            label->setGeometry(atLeastOneLine(box, lineHeight));
            return label;
        }
        case ControlKind::GroupFrame: {
            auto* frame = new QGroupBox(caption, &dialog);
            frame->setFocusPolicy(Qt::NoFocus);
            frame->setGeometry(box);
            return frame;
        }
        case ControlKind::Line: {
            auto* line = new QFrame(&dialog);
            line->setFrameShape(QFrame::NoFrame);
            line->setAutoFillBackground(true);
            QPalette palette = line->palette();
            palette.setColor(QPalette::Window, Qt::black);
            line->setPalette(palette);
            line->setGeometry(box.x(), box.y(), box.width(), std::max(1, box.height()));
            return line;
        }
        case ControlKind::Picture: {
            // Shown at the picture's own pixel size, never stretched to the control.
            auto* picture = new QLabel(&dialog);
            const QPixmap pixmap = renderPicture(pictureResourcePath(item.caption));
            picture->setPixmap(pixmap);
            picture->setGeometry(QRect(box.topLeft(), pixmap.size()));
            return picture;
        }
        case ControlKind::Icon: {
            auto* icon = new QLabel(&dialog);
            const QPixmap pixmap = applicationIcon().pixmap(QSize(32, 32));
            icon->setPixmap(pixmap);
            icon->setGeometry(QRect(box.topLeft(), QSize(32, 32)));
            return icon;
        }
        case ControlKind::ResultBox: {
            auto* text = new QPlainTextEdit(&dialog);
            text->setReadOnly(true);
            text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            text->setLineWrapMode(QPlainTextEdit::NoWrap);
            text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            text->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            text->setTabChangesFocus(true);
            text->setFocusPolicy(Qt::StrongFocus);
            text->setGeometry(box);
            return text;
        }
    }
    return nullptr;
}

}  // namespace

DialogUnits DialogUnits::of(const QFont& font) {
    // The average character width as the dialog manager measures it: the letters A-Z and a-z,
    // rounded half up. The character height is the em (a Song face's cell height) rather than
    // the line spacing, which for the Noto CJK faces is nearly half as high again.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogUnits units;
    units.baseX = std::max(1, (letters / 26 + 1) / 2);
    units.baseY = std::max(1, QFontInfo(font).pixelSize());
    return units;
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
    const int left = toPixelsX(x);
    const int top = toPixelsY(y);
    return QRect(left, top, toPixelsX(x + width) - left, toPixelsY(y + height) - top);
}

QFont dialogFont() {
    const QStringList installed = QFontDatabase::families();
    QFont font;
    for (const char* face : kFaces) {
        if (installed.contains(QString::fromLatin1(face), Qt::CaseInsensitive)) {
            font.setFamily(QString::fromLatin1(face));
            break;
        }
    }
    font.setPixelSize(kDialogFontPixels);
    return font;
}

QFont reportFont() {
    const QStringList installed = QFontDatabase::families();
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const char* face : {"Noto Sans Mono CJK SC", "NSimSun", "MS Gothic"}) {
        if (installed.contains(QString::fromLatin1(face), Qt::CaseInsensitive)) {
            font.setFamily(QString::fromLatin1(face));
            break;
        }
    }
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(kDialogFontPixels);
    return font;
}

QWidget* DialogControls::control(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

DialogControls buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate) {
    dialog.setFont(dialogFont());
    dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    const DialogUnits units = DialogUnits::of(dialog.font());

    DialogControls controls;
    std::vector<QWidget*> frames;
    std::vector<std::vector<QRadioButton*>> radioGroups;
    ControlKind previous = ControlKind::Label;
    for (const ControlTemplate& item : dialogTemplate.controls) {
        QWidget* widget = createControl(dialog, item, units);
        if (item.id != kStaticId) controls.byId_[item.id] = widget;
        controls.all_.push_back(widget);
        if (item.kind == ControlKind::GroupFrame) frames.push_back(widget);
        // Radio buttons that follow each other in the template form one group.
        if (item.kind == ControlKind::RadioButton) {
            if (previous != ControlKind::RadioButton) radioGroups.emplace_back();
            radioGroups.back().push_back(static_cast<QRadioButton*>(widget));
        }
        previous = item.kind;
    }
    // A click checks its button and unchecks the rest of the group, before any handler of the
    // dialog runs (those are connected later); clicking the checked button keeps it checked.
    for (const std::vector<QRadioButton*>& group : radioGroups) {
        for (QRadioButton* radio : group) {
            QObject::connect(radio, &QRadioButton::clicked, radio, [group, radio] {
                for (QRadioButton* member : group) member->setChecked(member == radio);
            });
        }
    }
    // Frames only surround; they must not cover the fields they stand around.
    for (QWidget* frame : frames) frame->lower();

    dialog.setFixedSize(units.toPixelsX(dialogTemplate.width),
                        units.toPixelsY(dialogTemplate.height));
    return controls;
}

}  // namespace tessarin
