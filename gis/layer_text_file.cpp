#include "layer_text_file.h"

namespace velkaro::gis {

LayerTextFile::LayerTextFile(const LayerRequest &request)
    : m_files(request.folder), m_index(m_files.add(request.fileName)) {}

bool LayerTextFile::create() {
    if (!m_files.create()) {
        return false;
    }
    m_stream = std::make_unique<OutputStream>(m_files.file(m_index));
    return true;
}

bool LayerTextFile::finish(FolderSync sync) {
    m_stream->flush();
    if (!m_stream->ok()) {
        m_files.noteWriteFailure(m_index, m_stream->error());
    }
    return m_files.finish(sync);
}

} // namespace velkaro::gis
