#pragma once

#include "grid_crs.h"
#include "system_error.h"
#include "target_format.h"
#include "temporary_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro {

// One point as a GIS layer takes it: texts decoded into UTF-8, coordinates as numbers.
struct LayerPoint {
    std::string_view name;  // UTF-8
    std::string_view code;  // UTF-8; the name where the source's code said "NULL"
    double north = 0.0;     // the source's x
    double east = 0.0;      // the source's y
    double height = 0.0;    // the source's z
    std::uint64_t line = 0; // the source line the point was read from, from 1
};

// Whether a point went in whole: a format with fixed-width text (a Shapefile's table) may have to
// shorten a name or code, which the user must hear of.
enum class PointWritten : std::uint8_t { Whole, TextShortened };

// What a layer writer is asked to write.
struct LayerRequest {
    TargetFormat format = TargetFormat::GeoPackage;
    std::string folder;    // the output folder; empty for the current directory
    std::string fileName;  // the main file's bare name (pts.shp; its companions share the stem)
    std::string layerName; // UTF-8: the layer's (or document's) name, the source's stem
    std::optional<GridCrs> crs; // nothing: a local grid that no CRS describes
};

// Writes the points of one run into one GIS format. Every file it writes goes into a temporary
// file first and appears under its name only in finish(), as the old formats' outputs do; a
// writer destroyed before finish() succeeded leaves no file behind and earlier outputs intact.
class PointLayerWriter {
  public:
    PointLayerWriter() = default;
    PointLayerWriter(const PointLayerWriter &) = delete;
    PointLayerWriter &operator=(const PointLayerWriter &) = delete;
    virtual ~PointLayerWriter() = default;

    // Creates the temporary files; false when one cannot be (failure() says which and why).
    [[nodiscard]] virtual bool create() = 0;
    // Adds one point. A write error is kept and reported by finish().
    [[nodiscard]] virtual PointWritten add(const LayerPoint &point) = 0;
    // Writes what follows the points, flushes every file to the disk and puts each in place;
    // false when that failed, with failure() and committing() telling where.
    [[nodiscard]] virtual bool finish(FolderSync sync) = 0;
    // Why create() or finish() failed.
    [[nodiscard]] virtual FileFailure failure() const = 0;
    // Whether finish() failed in putting a complete file in place rather than in writing it.
    [[nodiscard]] virtual bool failedCommitting() const = 0;
    // The folder whose new entries a finish(FolderSync::Later) left for the caller to flush.
    [[nodiscard]] virtual std::string folderToSync() const = 0;
    // The main file's path (folder joined with the name asked for).
    [[nodiscard]] virtual std::string outputPath() const = 0;
};

// Makes the layer writers. The core knows GIS formats only through this interface: their
// libraries (projections, SQLite) live outside it, and a program that writes them installs its
// writers once at start-up with usePointLayerWriters().
class PointLayerWriters {
  public:
    virtual ~PointLayerWriters() = default;
    // A writer for the request's format; null for a format these writers do not write.
    [[nodiscard]] virtual std::unique_ptr<PointLayerWriter>
    writerFor(const LayerRequest &request) const = 0;
};

// Installs the writers every later run uses; not owned, and alive for as long as runs may use
// it. Null (the start) leaves the GIS formats unavailable. Not thread-safe: call it before runs.
void usePointLayerWriters(const PointLayerWriters *writers);
// The installed writers, or null.
[[nodiscard]] const PointLayerWriters *pointLayerWriters();

} // namespace velkaro
