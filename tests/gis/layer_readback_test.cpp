#include "conversion_run.h"
#include "kml_writer.h"
#include "layer_writers.h"
#include "shapefile_writer.h"

#include "conversion_summary.h"
#include "grid_crs.h"

#include "hostile_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

using velkaro::ConversionOutcome;
using velkaro::CrsChoice;
using velkaro::TargetFormat;
using velkaro::test::commandOutput;
using velkaro::test::shellQuoted;

// Three points in GBK (控制点1, 界址点, 房角 with the code NULL) with zone-39 eastings, the last
// line CR LF-less; line 2 is a header that places no point.
const std::string kGbkSource =
    "1,2,\xbf\xd8\xd6\xc6\xb5\xe3\x31,KZD,3400000.789,39500123.456,19.3\r\n"
    "1,2,name,code,x,y,z\r\n"
    "1,2,\xbd\xe7\xd6\xb7\xb5\xe3,JZD,3400100.25,39500200.5,20.125\r\n"
    "1,2,\xb7\xbf\xbd\xc7,NULL,3399900,39499900,-1.5";

// The conversion of kGbkSource into a GIS format in the folder.
[[nodiscard]] ConversionOutcome convert(const velkaro::test::TempDir &dir, TargetFormat format,
                                        bool withCrs) {
    velkaro::usePointLayerWriters(&velkaro::gis::layerWriters());
    velkaro::ConversionRequest request;
    request.sourcePath = dir.file("rtk.txt");
    request.sourceFileName = "rtk.txt";
    request.format = format;
    request.outputFolder = dir.folder();
    if (withCrs) {
        request.options.crs = CrsChoice{CrsChoice::Mode::Auto};
    }
    velkaro::test::writeBytes(request.sourcePath, kGbkSource);
    return velkaro::runConversion(request);
}

// A conversion into a fresh folder, read back with ogrinfo.
struct LayerRun {
    velkaro::test::TempDir dir;
    ConversionOutcome outcome;

    LayerRun(TargetFormat format, bool withCrs) : outcome(convert(dir, format, withCrs)) {}
    [[nodiscard]] std::string ogrinfo(const std::string &options, const std::string &file) const {
        return commandOutput("ogrinfo -ro " + options + " " + shellQuoted(dir.file(file)));
    }
};

// The little-endian bytes of a double as hex, as SQLite's hex() prints them.
[[nodiscard]] std::string hexOf(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    std::string out;
    for (int i = 0; i < 8; ++i) {
        out += "0123456789ABCDEF"[(bits >> (8 * i + 4)) & 0xF];
        out += "0123456789ABCDEF"[(bits >> (8 * i)) & 0xF];
    }
    return out;
}

// Each of texts is somewhere in what ogrinfo printed.
void expectListed(const std::string &listing, std::initializer_list<std::string_view> texts) {
    for (const std::string_view text : texts) {
        EXPECT_NE(listing.find(text), std::string::npos) << text << " in\n" << listing;
    }
}

TEST(LayerReadback, GeoPackageHoldsThePointsTextsAndGrid) {
    const LayerRun run(TargetFormat::GeoPackage, true);
    ASSERT_EQ(run.outcome.kind, ConversionOutcome::Kind::Converted);
    const std::string all = run.ogrinfo("-al", "rtk.gpkg");
    expectListed(all, {"Feature Count: 3", "ID[\"EPSG\",4527]]", "name (String) = 控制点1",
                       "code (String) = 房角", "line (Integer64) = 3",
                       "POINT Z (39500200.5 3400100.25 20.125)"});
    // The first geometry byte for byte: header, srs_id 4527, WKB point Z of x east, y north.
    const std::string blob =
        run.ogrinfo("-sql \"SELECT hex(geom) AS g FROM rtk WHERE fid = 1\"", "rtk.gpkg");
    EXPECT_NE(blob.find("g (String) = 47500001AF11000001E9030000" + hexOf(39500123.456) +
                        hexOf(3400000.789) + hexOf(19.3)),
              std::string::npos)
        << blob;
}

TEST(LayerReadback, ShapefileHoldsThePointsTextsAndGrid) {
    const LayerRun run(TargetFormat::Shapefile, true);
    ASSERT_EQ(run.outcome.kind, ConversionOutcome::Kind::Converted);
    const std::string all = run.ogrinfo("-al", "rtk.shp");
    expectListed(all, {"Geometry: 3D Point", "Feature Count: 3", "ID[\"EPSG\",4527]]",
                       "NAME (String) = 界址点", "CODE (String) = 房角", "Z (Real) = 20.1250",
                       "LINE (Integer64) = 4", "POINT Z (39499900 3399900 -1.5)"});
    // The first record's coordinates as written, exactly: x east, y north, z.
    const std::string shp = velkaro::test::readBytes(run.dir.file("rtk.shp"));
    ASSERT_EQ(shp.size(), 100u + 3 * 44);
    double read[3] = {};
    std::memcpy(read, shp.data() + 112, sizeof read); // the tests run on little-endian hosts
    EXPECT_EQ(read[0], 39500123.456);
    EXPECT_EQ(read[1], 3400000.789);
    EXPECT_EQ(read[2], 19.3);
}

TEST(LayerReadback, WithoutGridNoPrjAndUndefinedCartesianSrs) {
    const LayerRun shp(TargetFormat::Shapefile, false);
    ASSERT_EQ(shp.outcome.kind, ConversionOutcome::Kind::Converted);
    EXPECT_FALSE(std::filesystem::exists(shp.dir.path() / "rtk.prj"));
    EXPECT_TRUE(std::filesystem::exists(shp.dir.path() / "rtk.cpg"));
    const LayerRun gpkg(TargetFormat::GeoPackage, false);
    ASSERT_EQ(gpkg.outcome.kind, ConversionOutcome::Kind::Converted);
    const std::string srs =
        gpkg.ogrinfo("-sql \"SELECT srs_id FROM gpkg_geometry_columns\"", "rtk.gpkg");
    EXPECT_NE(srs.find("srs_id (Integer64) = -1"), std::string::npos) << srs;
    EXPECT_NE(gpkg.ogrinfo("-al", "rtk.gpkg").find("Feature Count: 3"), std::string::npos);
}

// A name longer than the field keeps the whole characters that fit: 26 of 30 three-byte ones.
TEST(LayerReadback, ShapefileCutsLongTextsBetweenCharacters) {
    const velkaro::test::TempDir dir;
    velkaro::gis::ShapefileWriter writer(
        {TargetFormat::Shapefile, dir.folder(), "long.shp", "long", std::nullopt});
    ASSERT_TRUE(writer.create());
    std::string name;
    for (int i = 0; i < 30; ++i) {
        name += "测";
    }
    EXPECT_EQ(writer.add(velkaro::LayerPoint{name, "K", 1.0, 2.0, 3.0, 1}),
              velkaro::PointWritten::TextShortened);
    EXPECT_EQ(writer.add(velkaro::LayerPoint{"P2", "K", 1.0, 2.0, 3.0, 2}),
              velkaro::PointWritten::Whole);
    ASSERT_TRUE(writer.finish(velkaro::FolderSync::Now));
    EXPECT_EQ(writer.truncatedTexts(), 1u);
    const std::string all = commandOutput("ogrinfo -ro -al " + shellQuoted(dir.file("long.shp")));
    EXPECT_NE(all.find("NAME (String) = " + name.substr(0, 26 * 3) + "\n"), std::string::npos)
        << all;
}

// Past the summary's limit of codes, one last Folder named as the summary names them holds the
// rest, each placemark with its own name and code; GDAL reads that Folder as one more layer.
TEST(LayerReadback, KmlPutsTheCodesAfterTheLimitInALastFolder) {
    const velkaro::test::TempDir dir;
    velkaro::gis::KmlWriter writer(
        {TargetFormat::Kml, dir.folder(), "many.kml", "many", velkaro::gridOfEpsg(4527)});
    ASSERT_TRUE(writer.create());
    const std::size_t points = velkaro::kMaxSummaryCodes + 2;
    for (std::size_t i = 0; i < points; ++i) {
        const std::string name = "P" + std::to_string(i);
        const std::string code = "C" + std::to_string(i);
        ASSERT_EQ(writer.add(velkaro::LayerPoint{name, code, 3400000.0, 39500000.0, 1.5, i + 1}),
                  velkaro::PointWritten::Whole);
    }
    ASSERT_TRUE(writer.finish(velkaro::FolderSync::Now));
    const std::string kml = velkaro::test::readBytes(dir.file("many.kml"));
    const std::string others = "<Folder>\n<name>其余编码 (前 10000 个编码之后)</name>\n";
    const std::size_t last = kml.rfind("<Folder>");
    EXPECT_EQ(kml.find(others), last);
    EXPECT_NE(kml.find("<name>C9999</name>"), std::string::npos);
    EXPECT_EQ(kml.find("<name>C10000</name>"), std::string::npos);
    EXPECT_NE(kml.find("<name>P10000</name>\n<description>编码: C10000\n", last),
              std::string::npos);
    EXPECT_NE(kml.find("<name>P10001</name>\n<description>编码: C10001\n", last),
              std::string::npos);
    const std::string layer = commandOutput("ogrinfo -ro -so " + shellQuoted(dir.file("many.kml")) +
                                            " " + shellQuoted("其余编码 (前 10000 个编码之后)"));
    EXPECT_NE(layer.find("Feature Count: 2"), std::string::npos) << layer;
}

} // namespace
