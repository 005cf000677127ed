#include "layout_fields.h"

#include <algorithm>

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

// The fields between runs of the delimiters: empty fields do not count (the strtok rule).
[[nodiscard]] std::vector<std::string_view> cutAtRuns(std::string_view line,
                                                      std::string_view delimiters) {
    std::vector<std::string_view> fields;
    std::size_t start = line.find_first_not_of(delimiters);
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(delimiters, start);
        fields.push_back(line.substr(start, end - start));
        start = end == std::string_view::npos ? end : line.find_first_not_of(delimiters, end);
    }
    return fields;
}

} // namespace

std::vector<std::string_view> cutByLayout(std::string_view line, FieldSeparator separator) {
    switch (separator) {
    case FieldSeparator::Semicolon:
        return cutAtEach(line, ";");
    case FieldSeparator::Spaces:
        return cutAtRuns(line, " \t\r");
    case FieldSeparator::CommaOrTab:
        break;
    }
    return cutAtEach(line, ",\t");
}

std::vector<std::string_view> cutTheOldWay(std::string_view line) {
    return cutAtRuns(line, ",\t");
}

std::vector<std::string_view> firstLines(std::string_view head, std::size_t maxLines) {
    if (head.starts_with(kByteOrderMark)) {
        head.remove_prefix(kByteOrderMark.size());
    }
    std::vector<std::string_view> lines;
    while (!head.empty() && lines.size() < maxLines) {
        const std::size_t end = std::min(head.find('\n'), head.size());
        const std::string_view line = head.substr(0, end);
        if (line.find_first_not_of(" \t\r") != std::string_view::npos) {
            lines.push_back(line);
        }
        head.remove_prefix(std::min(end + 1, head.size()));
    }
    return lines;
}

std::size_t usualFieldCount(const std::vector<std::string_view> &lines, FieldSeparator separator,
                            std::size_t minimumFields) {
    std::vector<std::size_t> counts;
    for (const std::string_view line : lines) {
        counts.push_back(cutByLayout(line, separator).size());
    }
    std::size_t best = 0;
    std::size_t bestLines = 0;
    for (const std::size_t count : counts) {
        const auto having =
            static_cast<std::size_t>(std::count(counts.begin(), counts.end(), count));
        if (having > bestLines || (having == bestLines && count > best)) {
            best = count;
            bestLines = having;
        }
    }
    return best >= minimumFields && 2 * bestLines >= counts.size() ? best : 0;
}

std::optional<FieldSeparator> separatorOf(const std::vector<std::string_view> &lines,
                                          std::size_t minimumFields) {
    for (const FieldSeparator separator :
         {FieldSeparator::CommaOrTab, FieldSeparator::Semicolon, FieldSeparator::Spaces}) {
        if (usualFieldCount(lines, separator, minimumFields) != 0) {
            return separator;
        }
    }
    return std::nullopt;
}

} // namespace velkaro
