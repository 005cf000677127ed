#include "point_layer_writer.h"

namespace velkaro {
namespace {

const PointLayerWriters *g_writers = nullptr;

} // namespace

void usePointLayerWriters(const PointLayerWriters *writers) {
    g_writers = writers;
}

const PointLayerWriters *pointLayerWriters() {
    return g_writers;
}

} // namespace velkaro
