#include "CPointConvertApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    CPointConvertApp app(instance);
    return app.Run();
}
