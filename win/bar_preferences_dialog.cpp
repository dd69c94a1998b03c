#include "win/bar_preferences_dialog.h"

// after windows.h
#include <commctrl.h>

#include "report/bar_preference_fields.h"
#include "views/dialog_templates.h"
#include "win/message_parameter.h"
#include "win/wide_text.h"

namespace tessarin {

namespace {

std::wstring windowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

bool isSwitch(std::size_t field) {
    return kBarPreferenceFields[field].kind == BarPreferenceKind::Switch;
}

int fieldId(std::size_t field) {
    return kIdPreferenceFirst + static_cast<int>(field);
}

}  // namespace

BarPreferencesDialog::BarPreferencesDialog(ProjectViewModel& vm, PreferenceScope scope)
    : DialogWindow(kBarPreferencesTemplate), vm_(vm), scope_(scope) {}

std::string BarPreferencesDialog::message() const {
    return narrow(windowText(item(kIdPreferenceMessage)));
}

bool BarPreferencesDialog::onInit() {
    SetWindowTextW(handle(), widen(vm_.preferencesTitle(scope_)).c_str());
    const Project& project = vm_.project();
    if (scope_ == PreferenceScope::Column && vm_.selected()) {
        own_ = project.columns.at(*vm_.selected()).column.barPreferences;
    } else {
        own_ = project.info.barPreferences;
    }
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        if (isSwitch(i)) continue;
        // What the field takes, shown while it is empty.
        SendMessageW(item(fieldId(i)), EM_SETCUEBANNER, TRUE,
                     reinterpret_cast<LPARAM>(widen(barPreferenceHint(i)).c_str()));
    }
    HWND follow = item(kIdFollowProject);
    if (scope_ == PreferenceScope::Project) {
        // The project's own preferences: nothing to follow; the fields move up into its place.
        ShowWindow(follow, SW_HIDE);
        EnableWindow(follow, FALSE);
        RECT followBox{};
        RECT firstField{};
        GetWindowRect(follow, &followBox);
        GetWindowRect(item(fieldId(0)), &firstField);
        const LONG shift = firstField.top - followBox.top;
        for (HWND child = GetWindow(handle(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (child == follow) continue;
            RECT box{};
            GetWindowRect(child, &box);
            MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&box), 2);
            SetWindowPos(child, nullptr, box.left, box.top - shift, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT frame{};
        GetWindowRect(handle(), &frame);
        SetWindowPos(handle(), nullptr, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top - shift, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        showPreferences(own_);
        return true;
    }
    SendMessageW(follow, BM_SETCHECK, vm_.columnFollowsProject() ? BST_CHECKED : BST_UNCHECKED, 0);
    followChanged();
    return true;
}

bool BarPreferencesDialog::following() const {
    return scope_ == PreferenceScope::Column &&
           SendMessageW(item(kIdFollowProject), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void BarPreferencesDialog::showPreferences(const BarPreferences& preferences) {
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        const std::string text = barPreferenceText(kBarPreferenceFields[i], preferences);
        if (isSwitch(i)) {
            SendMessageW(item(fieldId(i)), BM_SETCHECK, text == "yes" ? BST_CHECKED : BST_UNCHECKED,
                         0);
        } else {
            SetWindowTextW(item(fieldId(i)), widen(text).c_str());
        }
    }
}

void BarPreferencesDialog::followChanged() {
    const bool follow = following();
    // Following: the project's values, greyed; else the column's own to edit from.
    showPreferences(follow ? vm_.project().info.barPreferences : own_);
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        EnableWindow(item(fieldId(i)), follow ? FALSE : TRUE);
    }
    SetWindowTextW(item(kIdPreferenceMessage), L"");
}

std::vector<std::string> BarPreferencesDialog::texts() const {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        HWND control = item(fieldId(i));
        if (isSwitch(i)) {
            result.emplace_back(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "yes"
                                                                                        : "no");
        } else {
            result.push_back(narrow(windowText(control)));
        }
    }
    return result;
}

bool BarPreferencesDialog::onCommand(int id, int notification) {
    if (id == kIdFollowProject && notification == BN_CLICKED) {
        followChanged();
        return true;
    }
    if (id != IDOK) return DialogWindow::onCommand(id, notification);
    const std::string said = vm_.acceptPreferences(scope_, following(), texts());
    if (said.empty()) {
        end(IDOK);
        return true;
    }
    SetWindowTextW(item(kIdPreferenceMessage), widen(said).c_str());
    // The focus on the field the message names ("可用直径：…").
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        const std::string label = std::string(kBarPreferenceFields[i].label) + "：";
        if (said.rfind(label, 0) == 0) {
            SendMessageW(handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(fieldId(i))), TRUE);
            break;
        }
    }
    return true;
}

bool BarPreferencesDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    // The refusal in red on the dialog's own background.
    if (message == WM_CTLCOLORSTATIC && fromParameter<HWND>(lParam) == item(kIdPreferenceMessage)) {
        auto* context = fromParameter<HDC>(wParam);
        SetTextColor(context, RGB(0xB0, 0x00, 0x00));
        SetBkMode(context, TRANSPARENT);
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    return false;
}

}  // namespace tessarin
