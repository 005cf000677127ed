#pragma once

#include <cstdint>
#include <string_view>

namespace velkaro {

// Reads a plain decimal (see PlainDecimal in number_rules.h) eight bytes at a time instead of
// one: accepts exactly the texts scanPlainDecimal accepts and gives the same magnitude in
// millionths, with negative set for a leading '-'. False for every other text, and on a machine
// whose words are not little-endian, where the caller takes the general way.
[[nodiscard]] bool readPlainMillionths(std::string_view text, std::uint64_t &magnitude,
                                       bool &negative);

} // namespace velkaro
