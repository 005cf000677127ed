#include "source_layout.h"

#include <algorithm>
#include <array>

namespace velkaro {
namespace {

struct RoleName {
    std::string_view name;
    FieldRole role;
};

constexpr std::array<RoleName, 6> kRoleNames = {{{"-", FieldRole::Skip},
                                                 {"name", FieldRole::Name},
                                                 {"code", FieldRole::Code},
                                                 {"x", FieldRole::X},
                                                 {"y", FieldRole::Y},
                                                 {"z", FieldRole::Z}}};

[[nodiscard]] std::optional<FieldRole> roleOf(std::string_view name) {
    for (const RoleName &entry : kRoleNames) {
        if (entry.name == name) {
            return entry.role;
        }
    }
    return std::nullopt;
}

[[nodiscard]] bool isUsable(const std::vector<FieldRole> &roles) {
    for (const FieldRole role :
         {FieldRole::Name, FieldRole::Code, FieldRole::X, FieldRole::Y, FieldRole::Z}) {
        if (std::count(roles.begin(), roles.end(), role) > 1) {
            return false;
        }
    }
    return std::count(roles.begin(), roles.end(), FieldRole::X) == 1 &&
           std::count(roles.begin(), roles.end(), FieldRole::Y) == 1;
}

} // namespace

std::optional<std::vector<FieldRole>> parseRoles(std::string_view text) {
    std::vector<FieldRole> roles;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::optional<FieldRole> role = roleOf(text.substr(start, end - start));
        if (!role) {
            return std::nullopt;
        }
        roles.push_back(*role);
        start = end + 1;
    }
    return isUsable(roles) ? std::optional(roles) : std::nullopt;
}

std::string rolesText(const std::vector<FieldRole> &roles) {
    std::string text;
    for (const FieldRole role : roles) {
        text += text.empty() ? "" : ",";
        text += kRoleNames[static_cast<std::size_t>(role)].name;
    }
    return text;
}

std::optional<std::vector<FieldRole>> presetRoles(std::string_view name) {
    using enum FieldRole;
    if (name == "cass") {
        return std::vector{Name, Code, Y, X, Z};
    }
    if (name == "pnezd") {
        return std::vector{Name, X, Y, Z, Code};
    }
    if (name == "penzd") {
        return std::vector{Name, Y, X, Z, Code};
    }
    return std::nullopt;
}

} // namespace velkaro
