#pragma once

namespace velkaro {

// The three targets of a conversion, with the old tool's numbers.
enum class TargetFormat { Cass = 1, Kaisi = 2, Cad = 3 };

// In the order the format list shows them.
inline constexpr TargetFormat kTargetFormats[] = {TargetFormat::Cass, TargetFormat::Kaisi,
                                                  TargetFormat::Cad};

} // namespace velkaro
