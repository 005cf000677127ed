#include "layer_files.h"

#include <utility>

namespace velkaro::gis {

LayerFiles::LayerFiles(std::string folder) : m_folder(std::move(folder)) {}

std::size_t LayerFiles::add(const std::string &name) {
    m_files.push_back(std::make_unique<OutputFile>(m_folder, name));
    return m_files.size() - 1;
}

bool LayerFiles::create() {
    for (const std::unique_ptr<OutputFile> &file : m_files) {
        if (!file->create()) {
            m_failure = file->failure();
            return false;
        }
    }
    return true;
}

void LayerFiles::noteWriteFailure(std::size_t index, SystemError error) {
    if (!m_failed) {
        m_failed = true;
        m_failure = failureOf(path(index), error);
    }
}

bool LayerFiles::finish(FolderSync sync) {
    if (m_failed) {
        return false;
    }
    for (const std::unique_ptr<OutputFile> &file : m_files) {
        if (!file->close()) {
            m_failure = file->failure();
            return false;
        }
    }
    // All files share the folder: it is flushed once, after the last of them is in place.
    for (std::size_t i = m_files.size(); i-- > 0;) {
        const FolderSync each = i == 0 ? sync : FolderSync::Later;
        if (!m_files[i]->commit(each)) {
            m_failure = m_files[i]->failure();
            m_failedCommitting = true;
            return false;
        }
    }
    return true;
}

std::string LayerFiles::folderToSync() const {
    return m_files.empty() ? m_folder : m_files.front()->folderToSync();
}

} // namespace velkaro::gis
