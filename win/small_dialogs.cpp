#include "win/small_dialogs.h"

#include "views/dialog_templates.h"

namespace tessarin {

AboutDialog::AboutDialog() : DialogWindow(kAboutTemplate) {}

PrincipleDiagramDialog::PrincipleDiagramDialog() : DialogWindow(kPrincipleDiagramTemplate) {}

}  // namespace tessarin
