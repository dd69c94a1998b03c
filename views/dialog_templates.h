#pragma once

#include "views/dialog_template.h"

namespace tessarin {

// The four dialog templates, laid out in dialog units.
extern const DialogTemplate kAboutTemplate;             // 100
extern const DialogTemplate kMainTemplate;              // 102
extern const DialogTemplate kSchemeTemplate;            // 130
extern const DialogTemplate kPrincipleDiagramTemplate;  // 131
// 配筋参数 of the project or of a column (the Windows project window; the caption is set from
// the view model): 采用工程的配筋参数, then one control per bar preference field in the field
// table's order (a check box for a yes/no field, a label and an edit for the others), the
// refusal line, OK and 取消.
extern const DialogTemplate kBarPreferencesTemplate;  // 140

// Control numbers the templates use besides those of ControlId.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdSchemeSketch = 1013;
inline constexpr int kIdFollowProject = 1400;
inline constexpr int kIdPreferenceFirst = 1410;  // + the field's index in kBarPreferenceFields
inline constexpr int kIdPreferenceMessage = 1420;

}  // namespace tessarin
