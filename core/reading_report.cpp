#include "reading_report.h"

namespace velkaro {

void LineList::note(std::uint64_t lineNumber) {
    if (last == lineNumber) {
        return;
    }
    last = lineNumber;
    ++count;
    if (first.size() < kKept) {
        first.push_back(lineNumber);
    }
}

} // namespace velkaro
