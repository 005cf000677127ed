#include "CPointConvertApp.h"

int main(int argc, char *argv[]) {
    CPointConvertApp app(argc, argv);
    return app.run();
}
