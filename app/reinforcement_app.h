#pragma once

#include <QApplication>

namespace tessarin {

// The application object: prepares the platform, runs the main dialog modally as the program's
// one window, and ends the program when that dialog ends; the dialog saves nothing. Given a
// project file it runs the project window instead.
class ReinforcementApp : public QApplication {
  public:
    ReinforcementApp(int& argc, char** argv);

    // Runs the main dialog to its end; false: the program ends instead of entering an event loop.
    bool initInstance();
};

}  // namespace tessarin
