#include "record_recoder.h"

namespace velkaro {

const PointRecord &RecordRecoder::recode(const PointRecord &record) {
    m_record = record;
    m_lost = !m_recoder.recode(record.pointName, m_name);
    m_record.pointName = m_name;
    if (record.codeWasNull) {
        m_record.pointCode = m_name;
    } else {
        m_lost = !m_recoder.recode(record.pointCode, m_code) || m_lost;
        m_record.pointCode = m_code;
    }
    return m_record;
}

} // namespace velkaro
