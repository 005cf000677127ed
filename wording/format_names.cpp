#include "format_names.h"

namespace velkaro::wording {

std::string_view formatListText(TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return "CASS6.0格式";
    case TargetFormat::Kaisi:
        return "开思格式";
    case TargetFormat::Cad:
        break;
    }
    return "CAD格式";
}

std::string_view formatKey(TargetFormat format) {
    switch (format) {
    case TargetFormat::Cass:
        return "cass";
    case TargetFormat::Kaisi:
        return "kaisi";
    case TargetFormat::Cad:
        break;
    }
    return "cad";
}

} // namespace velkaro::wording
