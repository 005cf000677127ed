#include "code_groups.h"

#include "scratch_file.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace velkaro::gis {

CodeGroups::CodeGroups(std::size_t heldBudget, std::size_t codeLimit)
    : m_budget(heldBudget), m_codeLimit(codeLimit) {}

CodeGroups::Group &CodeGroups::groupOf(std::string_view code) {
    const auto found = m_index.find(code);
    if (found != m_index.end()) {
        return m_groups[found->second];
    }
    if (m_index.size() < m_codeLimit) {
        m_groups.push_back(Group{std::string(code), {}, kNoChunk, kNoChunk});
        m_index.emplace(m_groups.back().code, m_groups.size() - 1);
        return m_groups.back();
    }
    if (m_others == SIZE_MAX) {
        m_others = m_groups.size();
        m_groups.emplace_back();
    }
    return m_groups[m_others];
}

void CodeGroups::append(std::string_view code, std::string_view bytes) {
    groupOf(code).held += bytes;
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
// it is closed or the process ends. The held bytes are released even when they could not be
// written, so that a failing disk does not make the memory grow; the failure is reported at the
// end.
void CodeGroups::spill() {
    m_held = 0;
    errno = 0;
    if (m_ok && !m_scratch) {
        m_scratch.reset(openScratchFile());
        if (!m_scratch) {
            fail();
        }
    }
    if (m_ok && !seekScratchFile(m_scratch.get(), m_scratchSize)) {
        fail();
    }
    m_links.clear();
    for (Group &group : m_groups) {
        if (!group.held.empty()) {
            spillGroup(group);
        }
    }
    writeLinks();
}

// Appends the group's held bytes to the scratch file as its newest chunk.
void CodeGroups::spillGroup(Group &group) {
    const ChunkHeader header{group.held.size(), kNoChunk};
    std::FILE *file = m_scratch.get();
    if (m_ok && (std::fwrite(&header, sizeof header, 1, file) != 1 ||
                 std::fwrite(group.held.data(), 1, group.held.size(), file) != group.held.size())) {
        fail();
    }
    if (group.lastChunk == kNoChunk) {
        group.firstChunk = m_scratchSize;
    } else {
        m_links.push_back({group.lastChunk + offsetof(ChunkHeader, next), m_scratchSize});
    }
    group.lastChunk = m_scratchSize;
    m_scratchSize += sizeof header + group.held.size();
    std::string().swap(group.held); // releases the capacity, not only the content
}

// Chains each new chunk to its group's chunk before it; done after the new chunks, so that
// they are written in one sequence.
void CodeGroups::writeLinks() {
    for (const Link &link : m_links) {
        if (m_ok && !writeAt(link.at, &link.next, sizeof link.next)) {
            fail();
        }
    }
}

bool CodeGroups::writeAt(std::uint64_t offset, const void *bytes, std::size_t size) {
    return seekScratchFile(m_scratch.get(), offset) &&
           std::fwrite(bytes, 1, size, m_scratch.get()) == size;
}

// Copies the chunk at offset and sets offset to the group's next chunk.
bool CodeGroups::copyChunk(std::uint64_t &offset, OutputStream &out) {
    errno = 0;
    ChunkHeader header;
    if (!seekScratchFile(m_scratch.get(), offset) ||
        std::fread(&header, sizeof header, 1, m_scratch.get()) != 1) {
        fail();
        return false;
    }
    for (std::uint64_t left = header.size; left > 0;) {
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
    offset = header.next;
    return true;
}

bool CodeGroups::writeTo(std::size_t group, OutputStream &out) {
    for (std::uint64_t chunk = m_groups[group].firstChunk; chunk != kNoChunk;) {
        if (!m_ok || !copyChunk(chunk, out)) {
            return false;
        }
    }
    out.writeRaw(m_groups[group].held);
    return true;
}

} // namespace velkaro::gis
