#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velkaro {

// A hash of a short byte string: a word at a time, each word multiplied in, the last one
// overlapping the one before; strings under eight bytes in one step.
[[nodiscard]] std::uint64_t hashBytes(std::string_view bytes);

// Numbers of entries kept elsewhere, found by their hash: open addressing with linear probing,
// never more than half full, so a search ends at an empty slot after a few steps. The table keeps
// no keys: find asks the caller whether an entry with a matching hash is the one looked for.
class CodeTable {
  public:
    static constexpr std::uint32_t kAbsent = UINT32_MAX;

    // The number of the entry for which same(number) holds among those stored with this hash;
    // kAbsent when there is none.
    template <typename Same>
    [[nodiscard]] std::uint32_t find(std::uint64_t hash, const Same &same) const {
        const std::uint32_t tag = tagOf(hash);
        for (std::size_t at = tag & m_mask;; at = (at + 1) & m_mask) {
            const Slot &slot = m_slots[at];
            if (slot.number == kAbsent) {
                return kAbsent;
            }
            if (slot.tag == tag && same(slot.number)) {
                return slot.number;
            }
        }
    }
    // Stores a number (below kAbsent) not stored before under this hash.
    void insert(std::uint64_t hash, std::uint32_t number);

  private:
    struct Slot {
        std::uint32_t number = kAbsent;
        std::uint32_t tag = 0;
    };

    [[nodiscard]] static std::uint32_t tagOf(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash ^ (hash >> 32));
    }
    void place(Slot slot);
    void grow();

    std::vector<Slot> m_slots = std::vector<Slot>(16);
    std::size_t m_mask = 15;
    std::size_t m_count = 0;
};

} // namespace velkaro
