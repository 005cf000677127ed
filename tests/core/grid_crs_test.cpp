// The zone an easting names, whether a point fits a grid, and the grid --crs auto finds in the
// first lines of a source.

#include "grid_crs.h"
#include "layer_feed.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using velkaro::gridOfEasting;
using velkaro::gridOfEpsg;

TEST(GridCrs, ZoneNumbersInFrontOfTheEasting) {
    const struct {
        double easting;
        int epsg; // 0: no grid
    } rows[] = {
        {39516181.7499, 4527}, {25400000.0, 4513}, {45999999.9, 4533}, {13500000.0, 4491},
        {23612345.0, 4501},    {24500000.0, 0},    {46500000.0, 0},    {12500000.0, 0},
        {516181.7499, 0},      {100000000.0, 0},   {-39500000.0, 0},
    };
    for (const auto &row : rows) {
        const std::optional<velkaro::GridCrs> grid = gridOfEasting(row.easting);
        EXPECT_EQ(grid ? grid->epsg : 0, row.epsg) << row.easting;
    }
    const velkaro::GridCrs zone39 = *gridOfEpsg(4527);
    EXPECT_TRUE(eastingFits(zone39, 39516181.7));
    EXPECT_FALSE(eastingFits(zone39, 40516181.7)); // the next zone
    EXPECT_FALSE(eastingFits(zone39, 516181.7));   // no zone in front
    const velkaro::GridCrs cm117 = *gridOfEpsg(4548);
    EXPECT_EQ(cm117.centralMeridian, 117);
    EXPECT_FALSE(cm117.zoneInEasting);
    EXPECT_TRUE(eastingFits(cm117, 516181.7));
    EXPECT_FALSE(eastingFits(cm117, 39516181.7));
    EXPECT_FALSE(gridOfEpsg(4490));
    EXPECT_FALSE(gridOfEpsg(4555));
}

TEST(GridCrs, AutoTakesTheFirstPointWithAllCoordinates) {
    const velkaro::SourceLayout pnezd{{velkaro::FieldRole::Name, velkaro::FieldRole::X,
                                       velkaro::FieldRole::Y, velkaro::FieldRole::Z,
                                       velkaro::FieldRole::Code},
                                      velkaro::FieldSeparator::CommaOrTab,
                                      true};
    const struct {
        std::string head;
        std::optional<velkaro::SourceLayout> layout;
        int epsg;
        std::uint64_t line;
    } rows[] = {
        {"1,2,P1,K,3515102.9,39516181.7,42.7\r\n", std::nullopt, 4527, 1},
        // A header row and a line without numbers are passed over.
        {"点号,日期,名,码,X,Y,H\r\n1,2,P1,K,3515102.9,20516181.7,42.7\r\n", std::nullopt, 4498, 2},
        {"1,2,P1,K,3515102.9,516181.7,42.7\r\n", std::nullopt, 0, 1},
        {"\xEF\xBB\xBFPt,N,E,H,Code\nP1,3515102.9,39516181.7,42.7,K\n", pnezd, 4527, 2},
        {"", std::nullopt, 0, 0},
    };
    for (const auto &row : rows) {
        const velkaro::GridDetection found = velkaro::detectGrid(row.head, row.layout);
        EXPECT_EQ(found.grid ? found.grid->epsg : 0, row.epsg) << row.head;
        EXPECT_EQ(found.line, row.line) << row.head;
    }
}

} // namespace
