#include "grid_crs.h"
#include "grid_projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct ProjGrid {
    int epsg;
    int zoneWidth;
    int zone; // 0: PROJ names the grid by its central meridian, with no zone in the easting
    int centralMeridian;
    double falseEasting;
};

struct ProjPlace {
    int epsg;
    double longitude;
    double latitude;
    double north;
    double east;
};

// PROJ's word on every grid, made at build time by make_proj_table.py beside this file.
#include "proj_table.inc"

constexpr double kDegreeTolerance = 1e-9; // about 0.1 mm on the ground

TEST(GridProjection, GridsAgreeWithProjinfo) {
    ASSERT_EQ(std::size(kProjGrids),
              std::size_t{velkaro::kLastGridEpsg - velkaro::kFirstGridEpsg + 1});
    for (const ProjGrid &expected : kProjGrids) {
        SCOPED_TRACE(expected.epsg);
        const std::optional<velkaro::GridCrs> grid = velkaro::gridOfEpsg(expected.epsg);
        ASSERT_TRUE(grid.has_value());
        EXPECT_EQ(grid->zoneWidth, expected.zoneWidth);
        EXPECT_EQ(grid->centralMeridian, expected.centralMeridian);
        EXPECT_EQ(grid->falseEasting, expected.falseEasting);
        EXPECT_EQ(grid->zoneInEasting, expected.zone != 0);
        if (expected.zone != 0) {
            EXPECT_EQ(grid->zone, expected.zone);
        }
    }
}

// Each grid's central meridian and both edges, where the projection is least exact.
TEST(GridProjection, PlacesAgreeWithProj) {
    ASSERT_EQ(std::size(kProjPlaces), 9 * std::size(kProjGrids));
    double worst = 0.0;
    for (const ProjPlace &place : kProjPlaces) {
        SCOPED_TRACE(place.epsg);
        const velkaro::gis::GridProjection projection(*velkaro::gridOfEpsg(place.epsg));
        const velkaro::gis::Geographic found = projection.toGeographic(place.north, place.east);
        EXPECT_NEAR(found.longitude, place.longitude, kDegreeTolerance);
        EXPECT_NEAR(found.latitude, place.latitude, kDegreeTolerance);
        worst = std::max({worst, std::abs(found.longitude - place.longitude),
                          std::abs(found.latitude - place.latitude)});
    }
    std::printf("largest difference from PROJ: %.3g degrees\n", worst);
}

} // namespace
