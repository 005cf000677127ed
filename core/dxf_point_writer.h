#pragma once

#include "conversion_options.h"
#include "number_rules.h"
#include "point_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro {

class OutputStream;

// The DXF POINT entity with the drawing options: the axes, and the two labels beside the point.
// A label is an R12 TEXT entity (layer, insertion point, height, text) whose insertion point is
// the point's, moved half a text height to the right; the name's baseline lies half a height
// above the point, the elevation's one and a half heights below it, so that the two texts keep
// half a height clear of the point and of each other. Both lie at the point's Z.
// The offsets are taken at six decimals and added exactly to the point's printed coordinates
// (beyond twelve integer digits, to its number, as doubles); the elevation is printFixed's
// rounding of z.
class DxfPointWriter {
  public:
    DxfPointWriter(DxfAxes axes, const std::optional<DxfLabels> &labels);

    void write(OutputStream &out, const PointRecord &record) const;

    // The bytes of the text height's groups that the usual way copies as one block.
    static constexpr std::size_t kHeightBlock = 64;

  private:
    // A coordinate as printed (without its line end), its field, and in millionths when the
    // printed text has at most twelve integer digits (exact). Its number is parsed from the field
    // only where the millionths cannot serve.
    struct Coordinate {
        std::string_view printed;
        std::string_view field;
        std::int64_t millionths;
        bool exact;
    };
    struct Offset {
        double value = 0;
        std::int64_t millionths = 0;
        bool exact = false; // whether millionths holds the value at six decimals
    };

    [[nodiscard]] Coordinate coordinateOf(char *text, std::string_view field) const;
    [[nodiscard]] static Offset offsetOf(double value);
    // The coordinate moved by offset, printed into text.
    [[nodiscard]] static std::string_view placed(char *text, const Coordinate &at,
                                                 const Offset &offset);
    // The three coordinates of a record when each is a plain decimal.
    struct UsualPoint {
        PlainDecimal plain[3];
        std::uint64_t magnitude[3] = {};

        [[nodiscard]] std::int64_t millionths(int i) const {
            const auto value = static_cast<std::int64_t>(magnitude[i]);
            return plain[i].negative ? -value : value;
        }
    };
    // The most bytes of a code and a name together that the usual way takes, and the room it
    // asks for beyond them.
    static constexpr std::size_t kUsualNames = 8 * 1024;
    static constexpr std::size_t kUsualRoom = 2 * 1024;

    // With labels, plain decimal coordinates and exact offsets: the whole record assembled in
    // the stream's buffer from the coordinates' digits. False, writing nothing, for any other.
    [[nodiscard]] bool writeUsual(OutputStream &out, const PointRecord &record) const;
    // printedZ lies in the stream's buffer at least 32 bytes before out.
    [[nodiscard]] char *usualElevation(char *out, const UsualPoint &point,
                                       std::string_view printedZ, std::string_view field) const;
    // Every record: each number printed apart, then copied into the entities.
    void writeGeneral(OutputStream &out, const PointRecord &record) const;

    // The POINT entity; x, y and z each lie at the start of a buffer of kMaxFixed6Length bytes.
    static void writePoint(OutputStream &out, std::string_view layer, std::string_view x,
                           std::string_view y, std::string_view z);
    // The TEXT entity's groups up to its x, for each of the two layers.
    using EntityHead = char[27];
    static constexpr EntityHead kNameHead = "  0\r\nTEXT\r\n  8\r\nZDH\r\n 10\r\n";
    static constexpr EntityHead kElevationHead = "  0\r\nTEXT\r\n  8\r\nGCD\r\n 10\r\n";

    // x, y and z each lie at the start of a buffer of kMaxFixed6Length bytes.
    void writeText(OutputStream &out, const EntityHead &head, std::string_view x,
                   std::string_view y, std::string_view z, std::string_view text) const;
    [[nodiscard]] std::string_view elevation(char *buffer, const Coordinate &z) const;

    DxfAxes m_axes;
    std::optional<DxfLabels> m_labels;
    std::string m_heightGroup;                      // from the end of z to the start of the text
    std::array<char, kHeightBlock> m_heightBlock{}; // the same, when it fits, copied whole
    bool m_usualLabels = false;                     // labels whose offsets allow writeUsual
    Offset m_dx;                                    // both labels, to the right
    Offset m_nameDy;                                // the name, up
    Offset m_elevationDy;                           // the elevation, down
};

} // namespace velkaro
