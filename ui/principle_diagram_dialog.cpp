#include "ui/principle_diagram_dialog.h"

#include <QPushButton>

#include "ui/dialog_template.h"
#include "views/dialog_templates.h"

namespace tessarin {

PrincipleDiagramDialog::PrincipleDiagramDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setModal(true);
    const DialogControls controls = buildDialog(*this, kPrincipleDiagramTemplate);
    connect(controls.get<QPushButton>(kIdOk), &QPushButton::clicked, this,
            &PrincipleDiagramDialog::accept);
    connect(controls.get<QPushButton>(kIdCancel), &QPushButton::clicked, this,
            &PrincipleDiagramDialog::reject);
}

}  // namespace tessarin
