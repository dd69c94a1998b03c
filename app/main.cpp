#include "app/reinforcement_app.h"

int main(int argc, char** argv) {
    tessarin::ReinforcementApp app(argc, argv);
    app.initInstance();
    return 0;
}
