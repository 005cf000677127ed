#pragma once

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
// Memory: the bytes are held in memory up to a budget (kHeldBudget of content; with the strings'
// spare capacity at most about twice that); past it, every code's held bytes go to the end of a
// scratch file as one chunk and are released. What stays grows with the codes and the chunks:
// about 150 bytes per code (its name, its entry and its empty buffer) and 16 per chunk written,
// never more chunks than points. A source of many points and few codes thus takes the budget
// and little more; one where every point has a code of its own takes about 170 bytes a point.
// Measured for a whole KML run of 1,000,000 points (Linux, glibc): 35 MB at the peak with 7
// codes, 73 MB with 249,655 codes (each point of code NULL named by its own name); 5 MB for
// GeoJSON, which holds nothing back.
class CodeGroups {
  public:
    explicit CodeGroups(std::size_t heldBudget = kHeldBudget);

    void append(std::string_view code, std::string_view bytes);

    [[nodiscard]] std::size_t size() const { return m_groups.size(); }
    [[nodiscard]] const std::string &code(std::size_t group) const { return m_groups[group].code; }
    // Writes the bytes of group, those of the scratch file first; false when the scratch file
    // could not be read back.
    [[nodiscard]] bool writeTo(std::size_t group, OutputStream &out);

    // False once the scratch file could not be created, written or read; error() says why.
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] SystemError error() const { return m_error; }

    static constexpr std::size_t kHeldBudget = 16 * 1024 * 1024;

  private:
    struct Chunk {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };
    struct Group {
        std::string code;
        std::string held;
        std::vector<Chunk> spilled;
    };
    struct FileCloser {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };

    void spill();
    [[nodiscard]] bool copyChunk(const Chunk &chunk, OutputStream &out);
    void fail();

    std::size_t m_budget;
    std::size_t m_held = 0;
    // A deque keeps each group where it is, so the index's keys may view the groups' codes.
    std::deque<Group> m_groups;
    std::unordered_map<std::string_view, std::size_t> m_index;
    std::unique_ptr<std::FILE, FileCloser> m_scratch;
    std::uint64_t m_scratchSize = 0;
    SystemError m_error;
    bool m_ok = true;
};

} // namespace velkaro::gis
