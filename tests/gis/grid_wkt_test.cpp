#include "grid_wkt.h"

#include "hostile_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using velkaro::gridOfEpsg;
using velkaro::test::commandOutput;

// The texts written from a grid's parameters against what GDAL, with PROJ's EPSG database,
// prints for the code: 6° and 3° zones, each with and without the zone in front of the easting.
class GridWktTest : public ::testing::TestWithParam<int> {
  protected:
    [[nodiscard]] static std::string gdal(const char *format, int epsg) {
        std::string text = commandOutput(std::string("gdalsrsinfo --single-line -o ") + format +
                                         " EPSG:" + std::to_string(epsg));
        while (!text.empty() && (text.back() == '\n' || text.front() == '\n')) {
            text.erase(text.back() == '\n' ? text.size() - 1 : 0, 1);
        }
        return text;
    }
};

TEST_P(GridWktTest, OgcWktIsGdals) {
    EXPECT_EQ(velkaro::gis::ogcWktOf(*gridOfEpsg(GetParam())), gdal("wkt1", GetParam()));
}

TEST_P(GridWktTest, EsriWktIsGdals) {
    EXPECT_EQ(velkaro::gis::esriWktOf(*gridOfEpsg(GetParam())), gdal("wkt_esri", GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Grids, GridWktTest,
                         ::testing::Values(4491, 4501, 4502, 4512, 4513, 4527, 4533, 4534, 4548,
                                           4554));

} // namespace
