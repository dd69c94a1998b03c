#include "ui/about_dialog.h"

#include <QPushButton>

#include "ui/dialog_template.h"
#include "views/dialog_templates.h"

namespace tessarin {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setModal(true);
    const DialogControls controls = buildDialog(*this, kAboutTemplate);
    connect(controls.get<QPushButton>(kIdOk), &QPushButton::clicked, this, &AboutDialog::accept);
}

}  // namespace tessarin
