#include "line_cutter.h"

#include "number_rules.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velkaro {
namespace {

// Bit i set when byte i of the 64 at p is ',' or '\t'.
[[nodiscard]] std::uint64_t delimiterBits(const char *p) {
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i tab = _mm_set1_epi8('\t');
    std::uint64_t bits = 0;
    for (unsigned k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * k));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, comma), _mm_cmpeq_epi8(v, tab));
        bits |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(hit))} << (16 * k);
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (unsigned i = 0; i < 64; ++i) {
        bits |= std::uint64_t{p[i] == ',' || p[i] == '\t'} << i;
    }
    return bits;
#endif
}

// Field 3 equal to exactly these bytes takes the point's name as its code.
constexpr std::string_view kNullCode = "NULL";

std::string_view PointRecord::*const kMemberOf[] = {&PointRecord::pointName,
                                                    &PointRecord::pointCode, &PointRecord::x,
                                                    &PointRecord::y, &PointRecord::z};

// holdsNumber, with the usual first byte, a digit, decided at once.
[[nodiscard]] bool holdsNumberQuickly(std::string_view field) {
    const auto first = static_cast<unsigned char>(field.front() - '0');
    return first <= 9 || holdsNumber(field);
}

} // namespace

// A bound is where a delimiter byte follows a field byte or the other way round; the bytes past
// the text count as delimiters, so the last field ends, and the start of the text as one, so
// that a field there starts. All bounds in a step of 64 bytes are taken, which saves a check
// per bound.
std::size_t cutFields(std::string_view text, std::uint16_t (&bounds)[kFieldBoundsRoom]) {
    const std::size_t size = text.size();
    std::size_t count = 0;
    std::uint64_t before = 1;
    for (std::size_t at = 0; at <= size && count < kFieldBounds; at += 64) {
        std::uint64_t delimiters = delimiterBits(text.data() + at);
        if (size - at < 64) {
            delimiters |= ~std::uint64_t{0} << (size - at);
        }
        std::uint64_t changes = delimiters ^ ((delimiters << 1) | before);
        before = delimiters >> 63;
        for (; changes != 0; changes &= changes - 1) {
            bounds[count++] =
                static_cast<std::uint16_t>(at + static_cast<unsigned>(std::countr_zero(changes)));
        }
    }
    return count;
}

void LineCutter::apply(const SourceLine &line) {
    std::uint16_t bounds[kFieldBoundsRoom];
    const std::size_t count = cutFields(line.text, bounds);
    if (count >= kFieldBounds) {
        takeAll(line.text, bounds);
        return;
    }
    const std::size_t fields = count / 2;
    for (std::size_t position = fields < 2 ? 2 : fields; position <= 6; ++position) {
        keep(position - 2); // not in this line: its value must outlive the line before
    }
    for (std::size_t position = 2; position < fields; ++position) {
        const std::uint16_t start = bounds[2 * position];
        take(position - 2,
             std::string_view(line.text.data() + start, bounds[2 * position + 1] - start));
    }
}

// The usual line: every member replaced, none kept.
void LineCutter::takeAll(std::string_view text, const std::uint16_t (&bounds)[kFieldBoundsRoom]) {
    const auto field = [&](std::size_t position) {
        const std::uint16_t start = bounds[2 * position];
        return std::string_view(text.data() + start, bounds[2 * position + 1] - start);
    };
    m_record.pointName = field(2);
    m_record.codeWasNull = field(3) == kNullCode;
    m_record.pointCode = m_record.codeWasNull ? m_record.pointName : field(3);
    m_record.x = field(4);
    m_record.y = field(5);
    m_record.z = field(6);
    m_owned = 0;
    m_numbers = (holdsNumberQuickly(m_record.x) ? 1u : 0u) |
                (holdsNumberQuickly(m_record.y) ? 2u : 0u) |
                (holdsNumberQuickly(m_record.z) ? 4u : 0u);
}

void LineCutter::take(std::size_t member, std::string_view field) {
    m_owned &= ~(1u << member);
    if (member == 1) {
        m_record.codeWasNull = field == kNullCode;
        m_record.pointCode = m_record.codeWasNull ? m_record.pointName : field;
        return;
    }
    m_record.*kMemberOf[member] = field;
    if (member >= 2) {
        const unsigned bit = 1u << (member - 2);
        m_numbers = holdsNumberQuickly(field) ? m_numbers | bit : m_numbers & ~bit;
    }
}

void LineCutter::keep(std::size_t member) {
    if ((m_owned & (1u << member)) != 0) {
        return;
    }
    std::string_view &value = m_record.*kMemberOf[member];
    m_kept[member].assign(value);
    value = m_kept[member];
    m_owned |= 1u << member;
}

} // namespace velkaro
