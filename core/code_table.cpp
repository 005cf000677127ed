#include "code_table.h"

#include <cstring>

namespace velkaro {
namespace {

[[nodiscard]] std::uint64_t mix(std::uint64_t state, std::uint64_t word) {
    state = (state ^ word) * 0x9E3779B97F4A7C15;
    return state ^ (state >> 29);
}

template <typename Word> [[nodiscard]] std::uint64_t load(const char *bytes) {
    Word word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

} // namespace

std::uint64_t hashBytes(std::string_view bytes) {
    const char *p = bytes.data();
    const std::size_t size = bytes.size();
    std::uint64_t state = size * 0xC2B2AE3D27D4EB4F;
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8) {
            state = mix(state, load<std::uint64_t>(p + i));
        }
        return mix(state, load<std::uint64_t>(p + size - 8));
    }
    if (size >= 4) {
        return mix(state, load<std::uint32_t>(p) | (load<std::uint32_t>(p + size - 4) << 32));
    }
    if (size > 0) {
        const auto byte = [p](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(p[i])};
        };
        return mix(state, byte(0) | (byte(size / 2) << 8) | (byte(size - 1) << 16));
    }
    return mix(state, 0);
}

void CodeTable::insert(const Key &key, std::uint32_t number) {
    if (2 * (m_count + 1) > m_slots.size()) {
        grow();
    }
    place(Slot{key.word, key.size, number});
    ++m_count;
}

void CodeTable::place(const Slot &slot) {
    std::size_t at = startOf(Key{slot.word, slot.size});
    while (m_slots[at].number != kAbsent) {
        at = (at + 1) & m_mask;
    }
    m_slots[at] = slot;
}

void CodeTable::grow() {
    std::vector<Slot> old(2 * m_slots.size());
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.number != kAbsent) {
            place(slot);
        }
    }
}

} // namespace velkaro
