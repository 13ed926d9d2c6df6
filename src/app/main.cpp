#include "app/KeyboardApp.h"

int main(int argc, char** argv) {
    ladoton::KeyboardApp app(argc, argv);
    app.InitInstance();
    return 0;
}
