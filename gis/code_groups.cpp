#include "code_groups.h"

#include "scratch_file.h"

#include <algorithm>
#include <cerrno>

namespace velkaro::gis {
namespace {

[[nodiscard]] bool seekTo(std::FILE *file, std::uint64_t offset) {
#if defined(_WIN32)
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

} // namespace

CodeGroups::CodeGroups(std::size_t heldBudget) : m_budget(heldBudget) {}

void CodeGroups::append(std::string_view code, std::string_view bytes) {
    auto found = m_index.find(code);
    if (found == m_index.end()) {
        m_groups.push_back(Group{std::string(code), {}, {}});
        found = m_index.emplace(m_groups.back().code, m_groups.size() - 1).first;
    }
    m_groups[found->second].held += bytes;
    m_held += bytes.size();
    if (m_held > m_budget) {
        spill();
    }
}

void CodeGroups::fail() {
    if (m_ok) {
        m_ok = false;
        m_error = SystemError::fromErrno();
    }
}

// The scratch file has no name a later run would have to clean up: the system removes it when
// it is closed or the process ends.
void CodeGroups::spill() {
    m_held = 0;
    errno = 0;
    if (m_ok && !m_scratch) {
        m_scratch.reset(openScratchFile());
        if (!m_scratch) {
            fail();
        }
    }
    for (Group &group : m_groups) {
        if (group.held.empty()) {
            continue;
        }
        if (m_ok && std::fwrite(group.held.data(), 1, group.held.size(), m_scratch.get()) !=
                        group.held.size()) {
            fail();
        }
        group.spilled.push_back({m_scratchSize, group.held.size()});
        m_scratchSize += group.held.size();
        std::string().swap(group.held); // releases the capacity, not only the content
    }
}

bool CodeGroups::copyChunk(const Chunk &chunk, OutputStream &out) {
    errno = 0;
    if (!seekTo(m_scratch.get(), chunk.offset)) {
        fail();
        return false;
    }
    for (std::uint64_t left = chunk.size; left > 0;) {
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, OutputStream::kRoomLimit));
        char *room = out.room(piece);
        if (std::fread(room, 1, piece, m_scratch.get()) != piece) {
            fail();
            return false;
        }
        out.commit(room + piece);
        left -= piece;
    }
    return true;
}

bool CodeGroups::writeTo(std::size_t group, OutputStream &out) {
    for (const Chunk &chunk : m_groups[group].spilled) {
        if (!m_ok || !copyChunk(chunk, out)) {
            return false;
        }
    }
    out.writeRaw(m_groups[group].held);
    return true;
}

} // namespace velkaro::gis
