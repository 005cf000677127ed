#pragma once

#include "word_loads.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace velkaro {

// A hash of a short byte string: a word at a time, each word multiplied in, the last one
// overlapping the one before; strings under eight bytes in one step.
[[nodiscard]] std::uint64_t hashBytes(std::string_view bytes);

// Numbers of entries kept elsewhere, found by their code: open addressing with linear probing,
// never more than half full, so a search ends at an empty slot after a few steps. A code of at
// most eight bytes, nearly every code, is held in its slot whole, as a word and a size, and found
// without looking at the entries; of a longer one the slot holds its hash, and find asks the
// caller whether an entry with a matching hash is the one looked for.
class CodeTable {
  public:
    static constexpr std::uint32_t kAbsent = UINT32_MAX;

    // Room for sixteen slots, which doubles as codes come.
    CodeTable() : CodeTable(0) {}
    // Room for `expected` codes without ever growing: the slots are zeroed memory that becomes
    // memory only where codes land, so the room costs little until it is used.
    explicit CodeTable(std::size_t expected);

    // What a slot holds of a code: for at most eight bytes the bytes themselves (a word that,
    // with the size, tells every such code apart), for more its hash.
    struct Key {
        std::uint64_t word = 0;
        std::uint32_t size = 0;

        [[nodiscard]] bool operator==(const Key &) const = default;
    };
    [[nodiscard]] static Key keyOf(std::string_view code) {
        return code.size() <= 8 ? wholeKeyOf(code)
                                : Key{hashBytes(code), static_cast<std::uint32_t>(code.size())};
    }
    [[nodiscard]] static bool isWhole(const Key &key) { return key.size <= 8; }

    // The number of the entry stored under this key for which same(number) holds (asked only
    // of a code longer than eight bytes); kAbsent when there is none.
    template <typename Same>
    [[nodiscard]] std::uint32_t find(const Key &key, const Same &same) const {
        for (std::size_t at = startOf(key);; at = (at + 1) & m_mask) {
            const Slot &slot = m_slots[at];
            if (slot.numberAfter == 0) {
                return kAbsent;
            }
            if (slot.word == key.word && slot.size == key.size &&
                (isWhole(key) || same(slot.numberAfter - 1))) {
                return slot.numberAfter - 1;
            }
        }
    }
    // Stores a number (below kAbsent) under a code's key not stored before.
    void insert(const Key &key, std::uint32_t number);

  private:
    // For at most eight bytes the word holds them all: from four bytes on the first four and the
    // last four, which overlap below eight but, the size known, leave no byte out; below four the
    // first two and the last byte, which for two or three bytes are every byte, or the one byte.
    // Inline: the summary asks for a key at every point.
    [[nodiscard]] static Key wholeKeyOf(std::string_view code) {
        const char *p = code.data();
        const std::size_t size = code.size();
        const auto sizeOfKey = static_cast<std::uint32_t>(size);
        if (size >= 4) {
            return {load4(p) | (load4(p + size - 4) << 32), sizeOfKey};
        }
        if (size >= 2) {
            return {load2(p) | (byteAt(p, size - 1) << 16), sizeOfKey};
        }
        return {size > 0 ? byteAt(p, 0) : 0, sizeOfKey};
    }
    [[nodiscard]] static std::uint64_t byteAt(const char *bytes, std::size_t i) {
        return static_cast<unsigned char>(bytes[i]);
    }

    // All zero bytes when empty, so that zeroed memory is an empty table.
    struct Slot {
        std::uint64_t word;
        std::uint32_t size;
        std::uint32_t numberAfter; // the entry's number plus one; 0 in an empty slot
    };
    struct FreeSlots {
        void operator()(Slot *slots) const { std::free(slots); }
    };
    using Slots = std::unique_ptr<Slot[], FreeSlots>;

    // The top bits of the product, which every bit of the key moves: the middle bits would leave
    // the codes of a few bytes, the most frequent, bunched in a few runs of slots.
    [[nodiscard]] std::size_t startOf(const Key &key) const {
        std::uint64_t mixed = (key.word ^ (key.size * 0xC2B2AE3D27D4EB4F)) * 0x9E3779B97F4A7C15;
        return static_cast<std::size_t>(mixed >> m_shift);
    }
    [[nodiscard]] static Slots zeroedSlots(std::size_t count);
    void setSize(std::size_t slots);
    void place(const Slot &slot);
    void grow();

    Slots m_slots;
    std::size_t m_mask = 0; // the number of slots less one, a power of two
    unsigned m_shift = 64;  // 64 less the bits of m_mask
    std::size_t m_count = 0;
};

} // namespace velkaro
