#pragma once

#include <QDialog>

namespace tessarin {

// The principle diagram of the design method (template 131), opened by "说明". One object lives
// as long as the main dialog and is shown again on every press; how it ends changes nothing.
class PrincipleDiagramDialog : public QDialog {
    Q_OBJECT

  public:
    explicit PrincipleDiagramDialog(QWidget* parent = nullptr);
};

}  // namespace tessarin
