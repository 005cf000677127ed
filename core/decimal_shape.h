#pragma once

#include "plain_decimal_words.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velkaro {

// The shape of the values one axis usually holds: an unsigned plain decimal of a given size, 4
// to 16 bytes, with its point, or none, at a given place. Telling whether a text has that shape
// takes two loads and a few word operations, a fraction of readPlainWords, and a text that has it
// is a plain decimal that readPlainWords takes, unsigned, with the shape's integer digits and the
// leading bytes matches gives (the argument is beside learn).
class DecimalShape {
  public:
    // Takes the shape of value when it is an unsigned plain decimal of 4 to 16 bytes; otherwise
    // keeps the shape it had.
    void learn(std::string_view value);

    // Whether value has the shape; then leading is PlainDecimalWords::leadingBytes of it.
    [[nodiscard]] bool matches(std::string_view value, std::uint64_t &leading) const {
        using namespace plain_words;
        if (value.size() != m_size) {
            return false;
        }
        const char *bytes = value.data();
        if (m_size >= 8) {
            const std::uint64_t front = load8(bytes);
            const std::uint64_t back = load8(bytes + m_size - 8);
            leading = reversedBytes(front);
            return (misplaced(front, m_front) | misplaced(back, m_back)) == 0;
        }
        const std::uint64_t word =
            (load4(bytes + m_size - 4) << 32) | (load4(bytes) << m_shortShift) | m_shortFill;
        leading = reversedBytes(word >> m_shortShift);
        return misplaced(word, m_back) == 0;
    }

    // The integer digits of every text that matches.
    [[nodiscard]] std::uint32_t integerDigits() const { return m_integerDigits; }

    // What readPlainWords gives for a value that matches, from the learnt place of its point
    // instead of by reading every byte again: for a value whose ends must be compared in full.
    [[nodiscard]] PlainDecimalWords wordsOf(std::string_view value) const;

  private:
    // What one word of a matching text holds: '0' to '9' where a digit belongs and '.' where
    // the point does (expected, with the digits' lanes '0'), and what, added to a lane of the
    // word xor expected with its high bit cleared, carries into that bit unless the lane holds
    // what belongs there (0x76 for a digit, which leaves 0 to 9 below 0x80; 0x7F for the point,
    // which leaves only 0).
    struct Lanes {
        std::uint64_t expected = plain_words::kZeros;
        std::uint64_t adding = 0x7676767676767676;
    };

    // The high bit of every lane of word that does not hold what belongs there. No lane carries
    // into the next: at most 0x7F + 0x7F.
    [[nodiscard]] static std::uint64_t misplaced(std::uint64_t word, const Lanes &lanes) {
        const std::uint64_t x = word ^ lanes.expected;
        return (((x & 0x7F7F7F7F7F7F7F7F) + lanes.adding) | x) & 0x8080808080808080;
    }
    static void placePoint(Lanes &lanes, std::size_t lane);

    // The size of a matching text; while no shape was learnt, one that no text has.
    std::size_t m_size = SIZE_MAX;
    std::uint32_t m_integerDigits = 0;
    std::uint32_t m_pointAt = 0; // PlainDecimalWords::pointAt of every text that matches
    Lanes m_front;               // the first eight bytes, from eight bytes on
    Lanes m_back;                // the last eight, or all of fewer right-aligned behind '0' bytes
    // Below eight bytes, computed once from the size: how far the first four bytes move up to
    // lie right-aligned, and the '0' bytes in front of them.
    unsigned m_shortShift = 0;
    std::uint64_t m_shortFill = 0;
};

} // namespace velkaro
