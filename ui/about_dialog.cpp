#include "about_dialog.h"

#include <QPushButton>

#include "dialog_template.h"
#include "dialog_templates.h"

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setModal(true);
    const DialogControls controls = buildDialog(*this, kAboutTemplate);
    connect(controls.get<QPushButton>(kIdOk), &QPushButton::clicked, this, &AboutDialog::accept);
}
