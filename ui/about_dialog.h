#pragma once

#include <QDialog>

namespace tessarin {

// The About box (template 100): the icon, the name and version, OK. A new one for each showing.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tessarin
