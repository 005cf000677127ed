#include "outcome_text.h"

#include "file_names.h"
#include "system_error_text.h"

#include <algorithm>
#include <charconv>

namespace velkaro::wording {
namespace {

using Kind = ConversionOutcome::Kind;

[[nodiscard]] std::string sourceName(const ConversionOutcome &outcome) {
    return outcome.sourcePath.substr(fileNameStart(outcome.sourcePath, kNativePathStyle));
}

// The old tool's sentence, or for the outcomes it did not have, ours in its style: the words,
// an ASCII colon, and the file they are about.
[[nodiscard]] std::string detectionText(DetectionFailure failure);
[[nodiscard]] std::string crsLineText(const ConversionOutcome &outcome);

[[nodiscard]] std::string headline(const ConversionOutcome &outcome, const NameDecoder &decode) {
    switch (outcome.kind) {
    case Kind::NoSource:
        return "请选择源文件";
    case Kind::NoFormat:
        return "请选择转换格式";
    case Kind::SourceOpenFailed:
        return "打开源文件错误，请重新选择!";
    case Kind::Converted:
        return "\t转换成功!\n生成转换文件:" + decode(outcome.outputFileName);
    case Kind::OutputCreateFailed:
        return "创建转换文件错误:" + decode(outcome.outputFileName);
    case Kind::OutputWriteFailed:
        return "写入转换文件错误:" + decode(outcome.outputFileName);
    case Kind::SourceReadFailed:
        return "读取源文件错误:" + decode(sourceName(outcome));
    case Kind::OutputIsSource:
        return "转换文件是本次转换的源文件，不能覆盖:" + decode(outcome.outputFileName);
    case Kind::DuplicateOutput:
        return "转换文件已由前面的源文件生成:" + decode(outcome.conflictingSource);
    case Kind::SourceChanged:
        return "源文件在转换时被改动:" + decode(sourceName(outcome));
    case Kind::OutOfMemory:
        return outcome.sourcePath.empty() ? outOfMemoryText()
                                          : "内存不足，无法转换:" + decode(sourceName(outcome));
    case Kind::InvalidOptions:
        return "转换选项无效";
    case Kind::Cancelled:
        return "转换已取消，原有文件保持不变:" + decode(outcome.outputFileName);
    case Kind::LayoutUndecided:
        return "无法识别源文件的格式:" + decode(sourceName(outcome)) +
               "\n原因: " + detectionText(outcome.layoutFailure) +
               "。\n请指定源文件各列的含义，例如 name,code,y,x,z。";
    case Kind::GisUnavailable:
        return "本程序不能写 GIS 格式:" + decode(outcome.outputFileName);
    case Kind::CrsNeeded:
        return "没有指定坐标系，不能把点放到地球上:" + decode(outcome.outputFileName) +
               "\n请指定 CGCS2000 高斯-克吕格坐标系 (EPSG:4491 至 EPSG:4554)，或选 \"自动\" "
               "按东坐标前的带号确定。";
    case Kind::CrsUndecided:
        return "无法按带号确定坐标系:" + decode(sourceName(outcome)) +
               "\n原因: " + crsLineText(outcome) + "。\n请指定坐标系，例如 EPSG:4527。";
    case Kind::OutsideCrs:
        return "点不在坐标系 EPSG:" + std::to_string(outcome.crs ? outcome.crs->epsg : 0) +
               " 的范围内，没有写入任何点:" + decode(sourceName(outcome)) + "\n原因: 第 " +
               std::to_string(outcome.crsLine) + " 行的东坐标属于另一个带，或缺少 (或多了) 带号。";
    case Kind::Unexpected:
        break;
    }
    return "转换时发生意外错误:" + decode(sourceName(outcome));
}

[[nodiscard]] std::string crsLineText(const ConversionOutcome &outcome) {
    if (outcome.crsLine == 0) {
        return "文件开头没有坐标齐全的点";
    }
    return "第 " + std::to_string(outcome.crsLine) +
           " 行的东坐标不是前面带有带号 (13 至 23 或 25 至 45) 的 8 位整数";
}

[[nodiscard]] std::string detectionText(DetectionFailure failure) {
    switch (failure) {
    case DetectionFailure::NoLines:
        return "文件中没有内容";
    case DetectionFailure::NoSeparator:
        return "各行不能用逗号、制表符、分号或空格分成相同数目的列";
    case DetectionFailure::Ambiguous:
        return "有几列都像北坐标或东坐标";
    case DetectionFailure::AmbiguousHeight:
        return "除北坐标和东坐标外，有几列数值都可能是高程";
    case DetectionFailure::UnclearTexts:
        return "坐标前的列多于点名和编码两列，不能确定哪列是点名、哪列是编码";
    case DetectionFailure::NoCoordinates:
    case DetectionFailure::None:
        break;
    }
    return "没有标题行说明各列，也没有一列像北坐标 (7 位整数)、另一列像东坐标 (6 位整数，或前面带"
           "带号的 8 位整数)";
}

[[nodiscard]] std::string reasonText(const FileFailure &failure, bool writing) {
    switch (failure.reason) {
    case FailureReason::AccessDenied:
        return writing ? "没有写入权限 (文件或其所在的文件夹受保护)" : "没有读取权限";
    case FailureReason::ReadOnlyFile:
        return "文件是只读的";
    case FailureReason::ReadOnlyFileSystem:
        return "磁盘或存储卡是只读的 (写保护)";
    case FailureReason::DiskFull:
        return "磁盘已满";
    case FailureReason::QuotaExceeded:
        return "超出了磁盘配额";
    case FailureReason::NameTooLong:
        return "文件名或路径太长";
    case FailureReason::FileInUse:
        return "文件正被其他程序使用 (例如在 CASS 中打开)，请先关闭它";
    case FailureReason::DeviceFailed:
        return "磁盘或设备读写出错 (介质损坏或已被拔出)";
    case FailureReason::NotFound:
        return "文件或文件夹不存在";
    case FailureReason::IsFolder:
        return "这是一个文件夹";
    case FailureReason::NotRegularFile:
        return "这不是普通文件 (设备、管道或套接字)";
    case FailureReason::LinkLoop:
        return "符号链接形成循环";
    case FailureReason::UntrustedLink:
        return "这是其他用户放在公共文件夹中的符号链接，不会跟随它写入";
    case FailureReason::Unknown:
        break;
    }
    const std::string system = systemErrorText(failure.error);
    return system.empty() ? "未知错误"
                          : "系统错误 " + std::to_string(failure.error.code) + ": " + system;
}

// How the fields of a line were cut: the old tool's way, or at the layout's separator.
[[nodiscard]] std::string cuttingText(const std::optional<SourceLayout> &layout) {
    if (!layout) {
        return "原程序的读法";
    }
    switch (layout->separator) {
    case FieldSeparator::Semicolon:
        return "分号分隔";
    case FieldSeparator::Spaces:
        return "空格分隔";
    case FieldSeparator::CommaOrTab:
        break;
    }
    return "逗号或制表符分隔";
}

[[nodiscard]] bool isWriting(Kind kind) {
    return kind == Kind::OutputCreateFailed || kind == Kind::OutputWriteFailed;
}

} // namespace

std::string failureText(const FileFailure &failure, bool writing, const NameDecoder &decode) {
    return "位置: " + decode(failure.path) + "\n原因: " + reasonText(failure, writing) + "。";
}

std::string outcomeText(const ConversionOutcome &outcome, const NameDecoder &decode) {
    std::string text = headline(outcome, decode);
    if (outcome.failure) {
        text += "\n" + failureText(*outcome.failure, isWriting(outcome.kind), decode);
    }
    return text;
}

std::string layoutText(const ConversionOutcome &outcome) {
    if (!outcome.layout && !outcome.oldLayoutFound) {
        return {};
    }
    const std::string roles = outcome.layout ? rolesText(outcome.layout->roles) : "rtk";
    std::string text = "按 " + roles + " 读取 (" + cuttingText(outcome.layout);
    text += outcome.layout && outcome.layout->headerRow ? "; 第一行为标题" : "";
    text += outcome.encoding == SourceEncoding::Utf8 ? "; UTF-8)" : ")";
    return text;
}

std::string crsText(const ConversionOutcome &outcome) {
    if (!outcome.gisFormat || outcome.kind != Kind::Converted) {
        return {};
    }
    if (!outcome.crs) {
        return "坐标系: 未指定 (本地坐标)";
    }
    const GridCrs &grid = *outcome.crs;
    return "坐标系: EPSG:" + std::to_string(grid.epsg) + " CGCS2000 " +
           std::to_string(grid.zoneWidth) + "° 带 " + std::to_string(grid.zone) + " (中央经线 " +
           std::to_string(grid.centralMeridian) + "°E" +
           (grid.zoneInEasting ? ", 东坐标带带号" : "") + ")";
}

std::string pointsText(std::uint64_t points) {
    char text[kMaxPointsTextLength];
    return std::string(text, putPointsText(text, points));
}

char *putPointsText(char *out, std::uint64_t points) {
    constexpr std::string_view kUnit = " 点";
    out = std::to_chars(out, out + 20, points).ptr;
    return std::copy(kUnit.begin(), kUnit.end(), out);
}

std::string pointsWrittenText(std::uint64_t points) {
    return "写入 " + pointsText(points);
}

std::string outOfMemoryText() {
    return "内存不足，无法转换。";
}

} // namespace velkaro::wording
