#include "decimal_shape.h"

namespace velkaro {

void DecimalShape::placePoint(Lanes &lanes, std::size_t lane) {
    const unsigned shift = 8 * static_cast<unsigned>(lane);
    lanes.expected ^= std::uint64_t{'0' ^ '.'} << shift;
    lanes.adding ^= std::uint64_t{0x76 ^ 0x7F} << shift;
}

// Why a matching text is what readPlainWords takes with these integer digits: it has the size
// of the learnt text, and every byte of it is a digit but the one at the learnt point's place,
// which is '.', as in the learnt text (both words together cover every byte from eight bytes on;
// below eight the one word holds them all, behind '0' bytes that match as digits). readPlainWords
// decides by the size, where the bytes that are not digits lie and whether that one is a '.',
// so it takes such a text as it took the learnt one, with as many integer digits and no sign;
// and the words loaded here are the ones it loads, so the leading bytes are the same.
void DecimalShape::learn(std::string_view value) {
    PlainDecimalWords words;
    if (!readPlainWords(value, words) || words.signed_ || value.size() < 4) {
        return;
    }
    const std::size_t size = value.size();
    m_front = Lanes{};
    m_back = Lanes{};
    const std::size_t point = value.find('.');
    if (point != std::string_view::npos) {
        if (size >= 8 && point < 8) {
            placePoint(m_front, point);
        }
        const std::size_t backFirst = size >= 8 ? size - 8 : 0;
        if (point >= backFirst) {
            placePoint(m_back, point - backFirst + (size >= 8 ? 0 : 8 - size));
        }
    }
    m_size = size;
    m_shortShift = size >= 8 ? 0 : 8 * (8 - static_cast<unsigned>(size));
    m_shortFill = size >= 8 ? 0 : plain_words::kZeros >> (8 * size);
    m_integerDigits = words.integerDigits;
    m_pointAt = words.pointAt;
}

// The words readPlainWords loads for an unsigned text of m_size bytes: the last eight (or all of
// fewer, right-aligned behind '0' bytes) and the first eight (of fewer, the same bytes moved
// down). A matching text has its point where the learnt one had it, so pointAt and the integer
// digits are the learnt ones.
PlainDecimalWords DecimalShape::wordsOf(std::string_view value) const {
    using namespace plain_words;
    PlainDecimalWords words;
    const std::size_t size = value.size();
    if (size > 8) {
        words.front = load8(value.data());
        words.low = load8(value.data() + size - 8);
    } else {
        words.low = rightAligned(value.data(), size);
        words.front = words.low >> (8 * (8 - size));
    }
    words.digits = value.data();
    words.size = static_cast<std::uint32_t>(size);
    words.pointAt = m_pointAt;
    words.integerDigits = m_integerDigits;
    return words;
}

} // namespace velkaro
