#include "CPointConvertApp.h"

#include "layer_writers.h"

int main(int argc, char *argv[]) {
    // The GIS formats are written by the gis library's writers, installed before any run.
    velkaro::usePointLayerWriters(&velkaro::gis::layerWriters());
    CPointConvertApp app(argc, argv);
    return app.run();
}
