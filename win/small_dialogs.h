#pragma once

#include "win/dialog_window.h"

namespace tessarin {

// The About box (template 100): icon 128, the name and version line, OK. OK, Enter, Escape and
// the close box end it.
class AboutDialog : public DialogWindow {
  public:
    AboutDialog();
};

// The principle diagram (template 131): picture 129, OK and "取消"; both end it.
class PrincipleDiagramDialog : public DialogWindow {
  public:
    PrincipleDiagramDialog();
};

}  // namespace tessarin
