#include "CPointConvertApp.h"

#include "layer_writers.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    // The GIS formats are written by the gis library's writers, installed before any run.
    velkaro::usePointLayerWriters(&velkaro::gis::layerWriters());
    CPointConvertApp app(instance);
    return app.Run();
}
