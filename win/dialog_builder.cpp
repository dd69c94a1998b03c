#include "win/dialog_builder.h"

#include <windows.h>

#include <cstring>

#include "views/pictures.h"
#include "win/message_parameter.h"
#include "win/wide_text.h"

namespace tessarin {

namespace {

// Predefined window classes of the dialog manager, by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

class TemplateWriter {
  public:
    void word(WORD value) { raw(&value, sizeof value); }
    void dword(DWORD value) { raw(&value, sizeof value); }
    void coordinate(int value) { word(static_cast<WORD>(static_cast<short>(value))); }
    void text(const std::wstring& value) {
        raw(value.c_str(), (value.size() + 1) * sizeof(wchar_t));
    }
    void ordinal(WORD value) {
        word(0xFFFF);
        word(value);
    }
    void byte(BYTE value) { raw(&value, 1); }
    void alignToDword() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    void patchWord(std::size_t offset, WORD value) { std::memcpy(&bytes_[offset], &value, 2); }
    std::size_t size() const { return bytes_.size(); }

    std::vector<std::uint32_t> finish() {
        alignToDword();
        std::vector<std::uint32_t> words(bytes_.size() / 4);
        std::memcpy(words.data(), bytes_.data(), bytes_.size());
        return words;
    }

  private:
    void raw(const void* data, std::size_t size) {
        const auto* first = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    }
    std::vector<unsigned char> bytes_;
};

struct ControlStyle {
    DWORD style = 0;
    DWORD exStyle = 0;
    WORD atom = 0;  // predefined class, or 0 for a named one
    const wchar_t* className = L"";
};

ControlStyle styleOf(ControlKind kind) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case ControlKind::Edit:
            return {kChild | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 0, kEditClass};
        case ControlKind::DropList:
            return {kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, 0,
                    kComboBoxClass};
        case ControlKind::PushButton:
            return {kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, kButtonClass};
        case ControlKind::DefaultButton:
            return {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kButtonClass};
        case ControlKind::RadioButton:
            return {kChild | BS_AUTORADIOBUTTON, 0, kButtonClass};
        case ControlKind::CheckBox:
            return {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, kButtonClass};
        case ControlKind::Label:
            return {kChild | SS_LEFT | SS_NOPREFIX, 0, kStaticClass};
        case ControlKind::GroupFrame:
            return {kChild | BS_GROUPBOX, 0, kButtonClass};
        case ControlKind::Line:
            return {kChild | SS_BLACKFRAME, 0, kStaticClass};
        case ControlKind::Picture:
            // Drawn by the dialog (WM_DRAWITEM): the bitmap at its own size, fitted into the
            // control where the font and the screen make the control smaller.
            return {kChild | SS_OWNERDRAW, 0, kStaticClass};
        case ControlKind::Icon:
            return {kChild | SS_ICON, 0, kStaticClass};
        case ControlKind::ResultBox:
            return {kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                        ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                    0, 0, kResultBoxClass};
    }
    return {};
}

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *fromParameter<bool*>(found) = true;
    return 0;
}

bool hasFace(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

DialogFont dialogFont() {
    static const DialogFont font{hasFace(L"Microsoft YaHei UI") ? L"Microsoft YaHei UI" : L"SimSun",
                                 9};
    return font;
}

std::vector<std::uint32_t> buildDialogTemplate(const DialogTemplate& dialogTemplate,
                                               const DialogFrame& frame, const DialogFont& font) {
    TemplateWriter out;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    DWORD exStyle = 0;
    if (frame.applicationWindow) exStyle |= WS_EX_APPWINDOW;
    out.word(1);       // dlgVer
    out.word(0xFFFF);  // signature: extended template
    out.dword(0);      // helpID
    out.dword(exStyle);
    out.dword(style);
    const std::size_t countOffset = out.size();
    out.word(0);  // cDlgItems, set below
    out.coordinate(0);
    out.coordinate(0);
    out.coordinate(dialogTemplate.width);
    out.coordinate(dialogTemplate.height);
    out.word(0);  // no menu
    out.word(0);  // the dialog class
    out.text(widen(dialogTemplate.caption));
    out.word(static_cast<WORD>(font.points));
    out.word(FW_NORMAL);
    out.byte(FALSE);  // italic
    out.byte(GB2312_CHARSET);
    out.text(font.face);

    WORD count = 0;
    bool afterRadio = false;
    for (const ControlTemplate& item : dialogTemplate.controls) {
        const ControlStyle kind = styleOf(item.kind);
        DWORD itemStyle = kind.style;
        // Every control starts a group except the radio buttons after the first of a run: the
        // arrow keys move between those, and the control after the run starts the next group.
        const bool radio = item.kind == ControlKind::RadioButton;
        if (!(radio && afterRadio)) itemStyle |= WS_GROUP;
        afterRadio = radio;

        out.alignToDword();
        out.dword(0);  // helpID
        out.dword(kind.exStyle);
        out.dword(itemStyle);
        out.coordinate(item.x);
        out.coordinate(item.y);
        out.coordinate(item.width);
        out.coordinate(item.height);
        out.dword(item.id == kStaticId ? static_cast<DWORD>(0xFFFF) : static_cast<DWORD>(item.id));
        if (kind.atom != 0) {
            out.ordinal(kind.atom);
        } else {
            out.text(kind.className);
        }
        if (item.kind == ControlKind::Icon) {
            out.ordinal(static_cast<WORD>(kIconResource));
        } else if (item.kind == ControlKind::Picture) {
            out.text(L"");
        } else {
            out.text(widen(item.caption));
        }
        out.word(0);  // no creation data
        ++count;
    }
    out.patchWord(countOffset, count);
    return out.finish();
}

}  // namespace tessarin
