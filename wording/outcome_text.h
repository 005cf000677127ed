#pragma once

#include "conversion_outcome.h"
#include "name_decoder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkaro::wording {

// The sentence of an outcome, as every front end shows it. The old tool's texts stand first,
// unchanged ("请选择源文件", "打开源文件错误，请重新选择!", "\t转换成功!\n生成转换文件:" and the
// output's name, "创建转换文件错误:" and the name, ...); a failure that touched a file adds a
// line with the file and a line with the reason. Names are shown through decode.
[[nodiscard]] std::string outcomeText(const ConversionOutcome &outcome, const NameDecoder &decode);

// "位置: <path>\n原因: <reason>。" for a failed file operation; the reason comes from the
// failure's reason or, for an error no reason covers, is the system's own text.
[[nodiscard]] std::string failureText(const FileFailure &failure, bool writing,
                                      const NameDecoder &decode);

// How a converted source was read, when not the old tool's way by default: "按 name,code,y,x,z
// 读取 (逗号或制表符分隔; 第一行为标题; UTF-8)", or "按 rtk 读取 (原程序的读法)" when auto found
// the old tool's layout; empty for the old tool's reading by default.
[[nodiscard]] std::string layoutText(const ConversionOutcome &outcome);

// The grid a GIS output was written in, "坐标系: EPSG:4527 CGCS2000 3° 带 39 (中央经线 117°E,
// ...)", or that it names none; empty for the other formats and for failures.
[[nodiscard]] std::string crsText(const ConversionOutcome &outcome);

// "40 点".
[[nodiscard]] std::string pointsText(std::uint64_t points);
// The same, written at out, which has room for kMaxPointsTextLength bytes; returns its end.
inline constexpr std::size_t kMaxPointsTextLength = 20 + 4;
[[nodiscard]] char *putPointsText(char *out, std::uint64_t points);

// "写入 40 点": the line after a conversion's sentence in the windows.
[[nodiscard]] std::string pointsWrittenText(std::uint64_t points);

// When even the front end's own work ran out of memory.
[[nodiscard]] std::string outOfMemoryText();

} // namespace velkaro::wording
