#include "reinforcement_app.h"

#include "main_dialog.h"
#include "pictures.h"

ReinforcementApp::ReinforcementApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No application name is given: messages of the platform carry the executable's name.
    setWindowIcon(applicationIcon());
}

bool ReinforcementApp::initInstance() {
    MainDialog dialog;
    dialog.exec();
    return false;
}
