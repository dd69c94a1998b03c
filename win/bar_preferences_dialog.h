#pragma once

#include <string>
#include <vector>

#include "engine/gb2010/bar_preferences.h"
#include "views/project_view_model.h"
#include "win/dialog_window.h"

namespace tessarin {

// 配筋参数 on Windows (template 140): the bar preferences of the project or of the selected
// column over the project window's view model, as the Qt dialog shows them. For a column the
// check box 采用工程的配筋参数 shows the project's values greyed; OK hands the six texts (a
// check box as yes or no) to ProjectViewModel::acceptPreferences, and a refusal stays in the
// dialog in red, naming the field, with the focus on that field.
class BarPreferencesDialog : public DialogWindow {
  public:
    BarPreferencesDialog(ProjectViewModel& vm, PreferenceScope scope);
    // The message shown under the fields (UTF-8), for the tests.
    [[nodiscard]] std::string message() const;

  protected:
    bool onInit() override;
    bool onCommand(int id, int notification) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  private:
    void showPreferences(const BarPreferences& preferences);
    void followChanged();
    [[nodiscard]] std::vector<std::string> texts() const;
    [[nodiscard]] bool following() const;

    ProjectViewModel& vm_;
    PreferenceScope scope_;
    BarPreferences own_;  // the column's own (or the project's), shown when follow is cleared
};

}  // namespace tessarin
