#pragma once

#include "layer_files.h"
#include "output_stream.h"
#include "point_layer_writer.h"

#include <cstddef>
#include <memory>
#include <string>

namespace velkaro::gis {

// The one file of a layer written as text (GeoJSON, KML): a temporary file put in place by
// finish(), written through an OutputStream with the bytes as given (these formats take LF line
// ends on every platform).
class LayerTextFile {
  public:
    explicit LayerTextFile(const LayerRequest &request);

    // Creates the temporary file; false when it cannot be (files().failure() says why).
    [[nodiscard]] bool create();
    // The stream into the file; only after create() succeeded.
    [[nodiscard]] OutputStream &stream() { return *m_stream; }
    // Keeps a failure of the writer's own work for the file (its scratch space, say), reported
    // by finish() as a failed write of the file.
    void noteFailure(SystemError error) { m_files.noteWriteFailure(m_index, error); }
    // Flushes the stream, then flushes, closes and puts the file in place.
    [[nodiscard]] bool finish(FolderSync sync);

    [[nodiscard]] const LayerFiles &files() const { return m_files; }

  private:
    LayerFiles m_files;
    std::size_t m_index;
    std::unique_ptr<OutputStream> m_stream; // 64 KiB of buffer: on the heap, made by create()
};

} // namespace velkaro::gis
