#pragma once

#include "conversion_summary.h"
#include "output_stream.h"
#include "system_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velkaro::gis {

// Bytes gathered under codes as points arrive in the source's order, given back code by code
// (the codes in the order they first came, each code's bytes in the order they came), so that a
// format grouping its points by code is still written in one pass over the source.
//
// Like the summary, only the first codeLimit distinct codes have groups of their own: a file may
// hold a distinct code on every line, and the memory must stay bounded whatever the file. The
// bytes of every later code go together, in the order they came, into one last group, for
// which holdsOtherCodes() is true.
//
// Memory: the bytes are held in memory up to a budget (kHeldBudget of content; with the strings'
// spare capacity at most about twice that); past it, every group's held bytes go to the end of a
// scratch file as one chunk and are released. The chunks of a group are chained in the scratch
// file itself (each begins with its size and the offset of the group's next chunk), so what
// stays in memory is about 150 bytes a group whatever the file's size: 1.5 MB at the limit.
class CodeGroups {
  public:
    explicit CodeGroups(std::size_t heldBudget = kHeldBudget,
                        std::size_t codeLimit = kMaxSummaryCodes);

    void append(std::string_view code, std::string_view bytes);

    [[nodiscard]] std::size_t size() const { return m_groups.size(); }
    // The code of group; empty for the group of the other codes.
    [[nodiscard]] const std::string &code(std::size_t group) const { return m_groups[group].code; }
    // Whether group gathers the codes after the first codeLimit ones (always the last group).
    [[nodiscard]] bool holdsOtherCodes(std::size_t group) const { return group == m_others; }
    [[nodiscard]] std::size_t codeLimit() const { return m_codeLimit; }
    // Writes the bytes of group, those of the scratch file first; false when the scratch file
    // could not be read back.
    [[nodiscard]] bool writeTo(std::size_t group, OutputStream &out);

    // False once the scratch file could not be created, written or read; error() says why.
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] SystemError error() const { return m_error; }

    static constexpr std::size_t kHeldBudget = 16 * 1024 * 1024;

  private:
    static constexpr std::uint64_t kNoChunk = UINT64_MAX;

    // What precedes a chunk's bytes in the scratch file.
    struct ChunkHeader {
        std::uint64_t size = 0;
        std::uint64_t next = kNoChunk; // the offset of the group's next chunk
    };
    struct Group {
        std::string code;
        std::string held;
        std::uint64_t firstChunk = kNoChunk;
        std::uint64_t lastChunk = kNoChunk;
    };
    // A chunk's next field to set once the chunk after it is written.
    struct Link {
        std::uint64_t at = 0;
        std::uint64_t next = 0;
    };
    struct FileCloser {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };

    [[nodiscard]] Group &groupOf(std::string_view code);
    void spill();
    void spillGroup(Group &group);
    void writeLinks();
    [[nodiscard]] bool writeAt(std::uint64_t offset, const void *bytes, std::size_t size);
    [[nodiscard]] bool copyChunk(std::uint64_t &offset, OutputStream &out);
    void fail();

    std::size_t m_budget;
    std::size_t m_codeLimit;
    std::size_t m_held = 0;
    // A deque keeps each group where it is, so the index's keys may view the groups' codes.
    std::deque<Group> m_groups;
    std::unordered_map<std::string_view, std::size_t> m_index;
    std::size_t m_others = SIZE_MAX; // the index of the other codes' group, once it exists
    std::vector<Link> m_links;       // of the spill under way, kept for its capacity
    std::unique_ptr<std::FILE, FileCloser> m_scratch;
    std::uint64_t m_scratchSize = 0;
    SystemError m_error;
    bool m_ok = true;
};

} // namespace velkaro::gis
