#include "layout_fields.h"

namespace velkaro {
namespace {

[[nodiscard]] std::string_view trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        return text.substr(0, 0);
    }
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

[[nodiscard]] std::vector<std::string_view> cutAtEach(std::string_view line,
                                                      std::string_view separators) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find_first_of(separators, start);
        fields.push_back(trimmed(line.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

[[nodiscard]] std::vector<std::string_view> cutAtRuns(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = line.find_first_not_of(" \t\r");
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(" \t\r", start);
        fields.push_back(line.substr(start, end - start));
        start = end == std::string_view::npos ? end : line.find_first_not_of(" \t\r", end);
    }
    return fields;
}

} // namespace

std::vector<std::string_view> cutByLayout(std::string_view line, FieldSeparator separator) {
    switch (separator) {
    case FieldSeparator::Semicolon:
        return cutAtEach(line, ";");
    case FieldSeparator::Spaces:
        return cutAtRuns(line);
    case FieldSeparator::CommaOrTab:
        break;
    }
    return cutAtEach(line, ",\t");
}

} // namespace velkaro
