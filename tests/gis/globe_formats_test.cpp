#include "conversion_run.h"
#include "hostile_support.h"
#include "layer_writers.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using velkaro::TargetFormat;
using velkaro::test::commandOutput;
using velkaro::test::readBytes;
using velkaro::test::TempDir;
using velkaro::test::writeBytes;

struct SourcePoint {
    const char *gbkName;
    const char *utf8Name;
    const char *gbkCode;
    const char *north;
    const char *east; // with the zone number 39 in front: EPSG:4527, central meridian 117
    double height;
};

// 甲, 乙, 丙 and the codes 控制点 and 碎部 in GBK, the two codes taking turns so that KML's
// folders must gather them; the last name holds every character JSON and XML escape.
const SourcePoint kPoints[] = {
    {"\xBC\xD7", "甲", "\xBF\xD8\xD6\xC6\xB5\xE3", "3300000.000", "39500000.000", 41.8},
    {"\xD2\xD2", "乙", "\xCB\xE9\xB2\xBF", "3310000.250", "39450000.500", 42.125},
    {"\xB1\xFB", "丙", "\xBF\xD8\xD6\xC6\xB5\xE3", "3290000.000", "39620000.000", -3.5},
    {"a&b<\"c\">'\\", "a&b<\"c\">'\\", "\xCB\xE9\xB2\xBF", "3305000.000", "39380000.000", 0.0},
};

struct Place {
    double longitude = 0.0;
    double latitude = 0.0;
    double height = 0.0;
};

// The old tool's fields from the second on: name, code, x (north), y (east), z.
[[nodiscard]] std::string sourceText() {
    std::string text;
    int number = 0;
    for (const SourcePoint &point : kPoints) {
        std::ostringstream line;
        line << ++number << ",2," << point.gbkName << ',' << point.gbkCode << ',' << point.north
             << ',' << point.east << ',' << point.height << "\r\n";
        text += line.str();
    }
    return text;
}

// The geographic places PROJ gives the source's grid points, by name.
[[nodiscard]] std::map<std::string, Place> projPlaces(const TempDir &dir) {
    std::string input;
    for (const SourcePoint &point : kPoints) {
        input += std::string(point.north) + ' ' + point.east + '\n';
    }
    writeBytes(dir.file("grid.txt"), input);
    std::istringstream out(
        commandOutput("cs2cs -f %.12f EPSG:4527 EPSG:4490 < '" + dir.file("grid.txt") + "'"));
    std::map<std::string, Place> places;
    for (const SourcePoint &point : kPoints) {
        Place &place = places[point.utf8Name];
        out >> place.latitude >> place.longitude >> place.height;
        place.height = point.height;
    }
    return places;
}

// What ogrinfo reads of a file: each feature's name with its point, and the layers' names (KML's
// folders, in the order of the file).
struct Readback {
    std::map<std::string, Place> places;
    std::vector<std::string> layers;
    int features = 0;
};

[[nodiscard]] Readback readBack(const std::string &path) {
    static const std::regex layer("^Layer name: (.*)$");
    static const std::regex name("^  [Nn]ame \\(String\\) = (.*)$");
    static const std::regex point("^  POINT Z \\((\\S+) (\\S+) (\\S+)\\)$");
    std::istringstream lines(commandOutput("ogrinfo -al -q '" + path + "' 2>&1"));
    Readback read;
    std::string current;
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, match, layer)) {
            read.layers.push_back(match[1]);
        } else if (line.starts_with("OGRFeature(")) {
            ++read.features;
        } else if (std::regex_match(line, match, name)) {
            current = match[1];
        } else if (std::regex_match(line, match, point)) {
            read.places[current] = {std::stod(match[1]), std::stod(match[2]), std::stod(match[3])};
        }
    }
    return read;
}

struct GlobeRow {
    const char *label;
    TargetFormat format;
    const char *fileName;
    std::vector<std::string> layers;
};

class GlobeFormats : public testing::TestWithParam<GlobeRow> {
  protected:
    static void SetUpTestSuite() {
        velkaro::usePointLayerWriters(&velkaro::gis::layerWriters());
        writeBytes(dir().file("pts.txt"), sourceText());
        expected() = projPlaces(dir());
    }
    static TempDir &dir() {
        static TempDir folder;
        return folder;
    }
    static std::map<std::string, Place> &expected() {
        static std::map<std::string, Place> places;
        return places;
    }
};

TEST_P(GlobeFormats, ReadsBackWherePROJPutsThePoints) {
    velkaro::ConversionRequest request;
    request.sourcePath = dir().file("pts.txt");
    request.sourceFileName = "pts.txt";
    request.format = GetParam().format;
    request.outputFolder = dir().folder();
    request.options.crs = velkaro::CrsChoice{velkaro::CrsChoice::Mode::Auto};
    const velkaro::ConversionOutcome outcome = velkaro::runConversion(request);
    ASSERT_EQ(outcome.kind, velkaro::ConversionOutcome::Kind::Converted);
    ASSERT_EQ(outcome.crs.value().epsg, 4527);
    EXPECT_EQ(outcome.pointsWritten, std::size(kPoints));
    ASSERT_EQ(outcome.outputPath, dir().file(GetParam().fileName));

    const Readback read = readBack(outcome.outputPath);
    EXPECT_EQ(read.features, static_cast<int>(std::size(kPoints)));
    EXPECT_EQ(read.layers, GetParam().layers);
    ASSERT_EQ(read.places.size(), expected().size());
    for (const auto &[name, place] : expected()) {
        SCOPED_TRACE(name);
        ASSERT_EQ(read.places.count(name), 1U);
        const Place &found = read.places.at(name);
        EXPECT_NEAR(found.longitude, place.longitude, 1e-9);
        EXPECT_NEAR(found.latitude, place.latitude, 1e-9);
        EXPECT_EQ(found.height, place.height);
    }
    EXPECT_EQ(readBytes(outcome.outputPath).find("\"crs\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    GisWriters, GlobeFormats,
    testing::Values(GlobeRow{"GeoJson", TargetFormat::GeoJson, "pts.geojson", {"pts"}},
                    GlobeRow{"Kml", TargetFormat::Kml, "pts.kml", {"控制点", "碎部"}}),
    [](const testing::TestParamInfo<GlobeRow> &row) { return std::string(row.param.label); });

} // namespace
