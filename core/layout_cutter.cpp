#include "layout_cutter.h"

#include "layout_fields.h"
#include "number_rules.h"

namespace velkaro {
namespace {

constexpr std::string_view kNullCode = "NULL";

[[nodiscard]] std::size_t slotOf(FieldRole role) {
    return static_cast<std::size_t>(role) - 1; // Name is 1, Z is 5
}

} // namespace

void LayoutCutter::apply(std::string_view text) {
    const std::vector<std::string_view> fields = cutByLayout(text, m_layout.separator);
    for (std::string &value : m_values) {
        value.clear();
    }
    for (std::size_t i = 0; i < fields.size() && i < m_layout.roles.size(); ++i) {
        const FieldRole role = m_layout.roles[i];
        if (role != FieldRole::Skip) {
            m_values[slotOf(role)].assign(fields[i]);
        }
    }
    const std::string &code = m_values[slotOf(FieldRole::Code)];
    m_record.codeWasNull = code.empty() || code == kNullCode;
    m_record.pointName = m_values[0];
    m_record.pointCode = m_record.codeWasNull ? m_values[0] : m_values[1];
    m_record.x = m_values[2];
    m_record.y = m_values[3];
    m_record.z = m_values[4];
}

bool LayoutCutter::holdsAllCoordinates() const {
    return holdsNumber(m_record.x) && holdsNumber(m_record.y) && holdsNumber(m_record.z);
}

bool LayoutCutter::holdsNoCoordinate() const {
    return !holdsNumber(m_record.x) && !holdsNumber(m_record.y) && !holdsNumber(m_record.z);
}

} // namespace velkaro
