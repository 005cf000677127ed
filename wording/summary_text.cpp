#include "summary_text.h"

namespace velkaro::wording {

std::string otherCodesText(std::size_t codesListed) {
    return "其余编码 (前 " + std::to_string(codesListed) + " 个编码之后)";
}

} // namespace velkaro::wording
