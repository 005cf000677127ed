#pragma once

#include <cstddef>
#include <string>

namespace velkaro::wording {

// The label of the summary line that counts the codes after the listed ones together:
// "其余编码 (前 10000 个编码之后)".
[[nodiscard]] std::string otherCodesText(std::size_t codesListed);

} // namespace velkaro::wording
