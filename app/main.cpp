#include "reinforcement_app.h"

int main(int argc, char** argv) {
    ReinforcementApp app(argc, argv);
    app.initInstance();
    return 0;
}
