#include "dxf_point_writer.h"

#include "output_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using velkaro::DxfAxes;
using velkaro::DxfLabels;
using velkaro::DxfPointWriter;
using velkaro::PointRecord;

// The bytes the writer gives for one record.
[[nodiscard]] std::string written(const DxfPointWriter &writer, const PointRecord &record) {
    std::FILE *file = std::tmpfile();
    std::string bytes;
    {
        velkaro::OutputStream out(file);
        writer.write(out, record);
        out.flush();
    }
    std::rewind(file);
    char chunk[4096];
    for (std::size_t n = 0; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        bytes.append(chunk, n);
    }
    std::fclose(file);
    return bytes;
}

// A plain decimal: a sign or none, up to nine integer digits, a point or none, up to six decimals.
[[nodiscard]] std::string plainDecimal(std::mt19937_64 &random) {
    std::string text = random() % 4 == 0 ? "-" : random() % 9 == 0 ? "+" : "";
    const std::uint64_t integerDigits = random() % 10;
    const std::uint64_t decimals = integerDigits == 0 ? 1 + random() % 6 : random() % 7;
    for (std::uint64_t d = 0; d < integerDigits; ++d) {
        text += static_cast<char>('0' + random() % 10);
    }
    if (decimals > 0 || random() % 2 == 0) {
        text += '.';
    }
    for (std::uint64_t d = 0; d < decimals; ++d) {
        // Fives and zeros often, for halves at the elevation's last decimal.
        text += static_cast<char>(random() % 3 == 0   ? '5'
                                  : random() % 3 == 0 ? '0'
                                                      : '0' + random() % 10);
    }
    return text;
}

// The usual way (plain decimals, assembled from their digits) against the general way, which
// the same numbers take when spelled with an exponent.
TEST(DxfPointWriter, UsualWayWritesWhatTheGeneralWayWrites) {
    std::mt19937_64 random(20261208);
    const double heights[] = {1.0, 0.5, 2.5, 0.3, 1e-7, 12.345678, 1e6};
    const char *names[] = {"1", "P17", "\xbf\xd8\xd6\xc6", "a\rb", "", "K+12.5"};
    for (int i = 0; i < 40000; ++i) {
        const DxfLabels labels{heights[random() % std::size(heights)],
                               static_cast<int>(random() % 7)};
        const DxfPointWriter writer(random() % 2 ? DxfAxes::Xy : DxfAxes::En, labels);
        const std::string x = plainDecimal(random);
        const std::string y = plainDecimal(random);
        const std::string z = plainDecimal(random);
        PointRecord usual;
        usual.pointName = names[random() % std::size(names)];
        usual.pointCode = names[random() % std::size(names)];
        usual.x = x;
        usual.y = y;
        usual.z = z;
        const std::string xe = x + "e0";
        const std::string ye = y + "e0";
        const std::string ze = z + "e0";
        PointRecord general = usual;
        general.x = xe;
        general.y = ye;
        general.z = ze;
        ASSERT_EQ(written(writer, usual), written(writer, general))
            << x << " " << y << " " << z << " height " << labels.height << " decimals "
            << labels.elevationDecimals;
    }
}

TEST(DxfPointWriter, ElevationAtAHalfFollowsTheNumber) {
    const DxfPointWriter writer(DxfAxes::Xy, DxfLabels{1.0, 3});
    PointRecord record;
    record.pointName = "7";
    record.pointCode = "C";
    record.x = "10";
    record.y = "-0.25";
    record.z = "46.5635";
    const std::string bytes = written(writer, record);
    // 46.5635 is held as 46.563499999999997...: its 17 digits round down at the third decimal.
    EXPECT_NE(bytes.find("\r\n  1\r\n46.563\r\n"), std::string::npos) << bytes;
    record.z = "46.5645"; // held as 46.564500000000002...
    EXPECT_NE(written(writer, record).find("\r\n  1\r\n46.565\r\n"), std::string::npos);
    EXPECT_NE(bytes.find(" 10\r\n10.500000\r\n 20\r\n0.250000\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(" 20\r\n-1.750000\r\n"), std::string::npos) << bytes;
}

} // namespace
