#pragma once

#include "point_record.h"
#include "text_recoder.h"

#include <string>

namespace velkaro {

// Gives the name and code of a point read from a UTF-8 source in the code page its output is
// read in. The record's coordinates stay views of the line; the recoded texts are owned here
// until the next record.
class RecordRecoder {
  public:
    explicit RecordRecoder(int codePage) : m_recoder(codePage) {}

    // Whether the system can convert into the code page at all.
    [[nodiscard]] bool usable() const { return m_recoder.usable(); }
    // The record with its name and code recoded; a code that holds the name holds it recoded.
    [[nodiscard]] const PointRecord &recode(const PointRecord &record);
    // Whether a character of the last record's name or code had no place in the code page.
    [[nodiscard]] bool lostCharacters() const { return m_lost; }

  private:
    TextRecoder m_recoder;
    std::string m_name;
    std::string m_code;
    PointRecord m_record;
    bool m_lost = false;
};

} // namespace velkaro
