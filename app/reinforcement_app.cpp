#include "app/reinforcement_app.h"

#include <QEvent>
#include <QTimer>
#include <cstdio>

#include "ui/main_dialog.h"
#include "ui/pictures.h"
#include "ui/project_window.h"

namespace tessarin {

namespace {

// For the start-up benchmark (TESSARIN_REPORT_SHOWN set): once the main dialog has painted
// itself the first time, say "shown" on stdout and end, so that a measuring parent sees the time
// from process start to a window on screen.
class ShownReporter : public QObject {
  public:
    explicit ShownReporter(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {
        dialog.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QTimer::singleShot(0, &dialog_, [this] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                dialog_.reject();
            });
        }
        return false;
    }

  private:
    QDialog& dialog_;
    bool reported_ = false;
};

}  // namespace

ReinforcementApp::ReinforcementApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No application name is given: messages of the platform carry the executable's name.
    setWindowIcon(applicationIcon());
}

bool ReinforcementApp::initInstance() {
    // tessarin FILE.tsn: the project window on that project; without a file the 2002 dialog as
    // ever.
    const QStringList args = arguments();
    if (args.size() > 1) {
        ProjectWindow window;
        window.show();
        window.openFile(args.at(1));
        exec();
        return false;
    }
    MainDialog dialog;
    if (qEnvironmentVariableIsSet("TESSARIN_REPORT_SHOWN")) new ShownReporter(dialog);
    dialog.exec();
    return false;
}

}  // namespace tessarin
