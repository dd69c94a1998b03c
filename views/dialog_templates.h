#pragma once

#include "views/dialog_template.h"

namespace tessarin {

// The four dialog templates, laid out in dialog units.
extern const DialogTemplate kAboutTemplate;             // 100
extern const DialogTemplate kMainTemplate;              // 102
extern const DialogTemplate kSchemeTemplate;            // 130
extern const DialogTemplate kPrincipleDiagramTemplate;  // 131

// Control numbers the templates use besides those of ControlId.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdSchemeSketch = 1013;

}  // namespace tessarin
