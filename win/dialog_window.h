#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "views/dialog_template.h"
#include "win/dialog_builder.h"

namespace tessarin {

// A dialog built from a template (views/dialog_templates.h) and run modally with its own message
// loop, so that each queued message passes preTranslate (the Enter rule) before the dialog
// manager's keyboard handling (IsDialogMessageW). The object outlives its windows: each run
// creates the window afresh and destroys it at the end, the members stay.
class DialogWindow {
  public:
    DialogWindow(const DialogTemplate& dialogTemplate, DialogFrame frame = {});
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Creates the window, disables owner while it runs, and returns the end code: IDOK, IDCANCEL,
    // or -1 when the window could not be created.
    int runModal(HWND owner);
    // The window alone, modeless (for tests): false when it could not be created.
    bool create(HWND owner);
    void destroy();
    // Ends the modal run with code (the window is destroyed once the loop sees it).
    void end(int code);

    HWND handle() const { return window_; }
    // A modeless window beside the dialogs (the project window) sees every queued message of
    // every modal run first: its accelerators and its keyboard work while a dialog runs.
    using MessageHook = std::function<bool(MSG&)>;
    static void setMessageHook(MessageHook hook);
    HWND item(int id) const { return GetDlgItem(window_, id); }
    // The window of the template's control at this position (statics share one number).
    HWND controlAt(std::size_t position) const;

  protected:
    // WM_INITDIALOG; true lets the dialog manager focus the first tab stop.
    virtual bool onInit() { return true; }
    // WM_COMMAND from a control or an accelerator; true when handled. IDOK and IDCANCEL end the
    // dialog unless a derived dialog handles them.
    virtual bool onCommand(int id, int notification);
    // Any other message; true with result set when handled.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Called with each queued message of the run before the dialog manager sees it; true when
    // the message was taken.
    virtual bool preTranslate(MSG& message);
    // Asked before Escape, the close box or "退出" ends the dialog; false keeps it open.
    virtual bool mayEnd() { return true; }

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void drawPicture(const DRAWITEMSTRUCT& item);
    void fitDropLists();

    const DialogTemplate& template_;
    std::vector<std::uint32_t> bytes_;
    HWND window_ = nullptr;
    bool ended_ = false;
    int endCode_ = IDCANCEL;
    std::vector<HWND> controls_;        // in template order
    std::map<HWND, HBITMAP> pictures_;  // the owner-drawn pictures' bitmaps
};

// The program's name for the platform's own messages: the executable's name without extension.
std::wstring programName();

// Shows a message box over owner with the UTF-8 text and caption ("\r\n" breaks a line).
int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

}  // namespace tessarin
