#include "code_table.h"

#include <bit>
#include <cstring>
#include <new>

namespace velkaro {
namespace {

[[nodiscard]] std::uint64_t mix(std::uint64_t state, std::uint64_t word) {
    state = (state ^ word) * 0x9E3779B97F4A7C15;
    return state ^ (state >> 29);
}

} // namespace

std::uint64_t hashBytes(std::string_view bytes) {
    const char *p = bytes.data();
    const std::size_t size = bytes.size();
    std::uint64_t state = size * 0xC2B2AE3D27D4EB4F;
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8) {
            state = mix(state, load8(p + i));
        }
        return mix(state, load8(p + size - 8));
    }
    if (size >= 4) {
        return mix(state, load4(p) | (load4(p + size - 4) << 32));
    }
    if (size > 0) {
        const auto byte = [p](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(p[i])};
        };
        return mix(state, byte(0) | (byte(size / 2) << 8) | (byte(size - 1) << 16));
    }
    return mix(state, 0);
}

// Never more than half full: the slots are the least power of two, sixteen at least, that
// holds twice the codes expected.
CodeTable::CodeTable(std::size_t expected) {
    std::size_t slots = 16;
    while (slots < 2 * expected) {
        slots *= 2;
    }
    m_slots = zeroedSlots(slots);
    setSize(slots);
}

void CodeTable::setSize(std::size_t slots) {
    m_mask = slots - 1;
    m_shift = 64 - static_cast<unsigned>(std::countr_zero(slots));
}

// calloc: a large block comes from the system already zeroed, its pages untouched until used.
// A Slot is an aggregate of integers, so the zeroed bytes are empty slots.
CodeTable::Slots CodeTable::zeroedSlots(std::size_t count) {
    auto *slots = static_cast<Slot *>(std::calloc(count, sizeof(Slot)));
    if (slots == nullptr) {
        throw std::bad_alloc();
    }
    return Slots(slots);
}

void CodeTable::insert(const Key &key, std::uint32_t number) {
    if (2 * (m_count + 1) > m_mask + 1) {
        grow();
    }
    place(Slot{key.word, key.size, number + 1});
    ++m_count;
}

void CodeTable::place(const Slot &slot) {
    std::size_t at = startOf(Key{slot.word, slot.size});
    while (m_slots[at].numberAfter != 0) {
        at = (at + 1) & m_mask;
    }
    m_slots[at] = slot;
}

void CodeTable::grow() {
    const std::size_t oldCount = m_mask + 1;
    Slots old = zeroedSlots(2 * oldCount);
    old.swap(m_slots);
    setSize(2 * oldCount);
    for (std::size_t i = 0; i < oldCount; ++i) {
        if (old[i].numberAfter != 0) {
            place(old[i]);
        }
    }
}

} // namespace velkaro
