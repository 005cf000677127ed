#include "warning_text.h"

namespace velkaro::wording {
namespace {

[[nodiscard]] std::string number(std::uint64_t value) {
    return std::to_string(value);
}

// "第 3、9 行", or with more lines than named "第 1、2、3、4、5 等行".
[[nodiscard]] std::string lineNumbers(const LineList &lines, std::size_t named) {
    std::string list = "第 ";
    for (std::size_t i = 0; i < lines.first.size() && i < named; ++i) {
        list += (i == 0 ? "" : "、") + number(lines.first[i]);
    }
    return list + (lines.count > named ? " 等行" : " 行");
}

// "第 6 行...，读取在此停止，其后 35 行没有转换。" with what stopped it in the middle.
[[nodiscard]] std::string stopText(const ReadingReport &reading, std::string_view why) {
    return "第 " + number(reading.stoppedAtLine) + " 行" + std::string(why) +
           "，读取在此停止，其后 " + number(reading.linesNotConverted) + " 行没有转换。";
}

[[nodiscard]] std::string sentence(WarningKind kind, const ConversionOutcome &outcome,
                                   std::size_t named) {
    const ReadingReport &reading = outcome.reading;
    switch (kind) {
    case WarningKind::NoPoints:
        return "源文件中没有可转换的点 (文件是空的、只有空行或第一行就停止了)，没有写入任何点。";
    case WarningKind::StoppedAtShortLine:
        return stopText(reading, "不足 10 字节");
    case WarningKind::StoppedAtZeroByte:
        return stopText(reading, "有零字节 (0x00)");
    case WarningKind::StoppedAtEndOfFileByte:
        return stopText(reading, "有文件结束符 (0x1A)");
    case WarningKind::ZeroBytesInLines:
        return number(reading.zeroBytes.count) + " 行有零字节 (0x00)，其后的内容被忽略 (" +
               lineNumbers(reading.zeroBytes, named) + ")。";
    case WarningKind::NotText:
        return "源文件看来不是 RTK 点文件 (有零字节或多数行没有坐标)，请确认选对了文件。";
    case WarningKind::LinesWithoutCoordinates:
        return number(reading.withoutCoordinates.count) + " 行没有坐标数值 (" +
               lineNumbers(reading.withoutCoordinates, named) + ")，已按原样写入。";
    case WarningKind::FieldsCarriedOver:
        return number(reading.carriedOver.count) +
               " 行字段不足，缺少的点名、编码或坐标沿用了上一点的值 (" +
               lineNumbers(reading.carriedOver, named) + ")，已按原样写入。";
    case WarningKind::LinesLeftOut:
        return number(reading.leftOut.count) + " 行没有坐标数值，已略去 (" +
               lineNumbers(reading.leftOut, named) + ")。";
    case WarningKind::AxesSwapped:
        return "多数点的 x 像东坐标、y 像北坐标，坐标轴可能颠倒了，请检查源文件各列的含义。";
    case WarningKind::HeightLikeCoordinate:
        return "多数点的高程大得像坐标 (10 万以上)，可能读错了列，请检查源文件各列的含义。";
    case WarningKind::Unrepresentable:
        if (outcome.gisFormat) {
            return number(reading.unrepresentable.count) +
                   " 行的点名或编码有源文件编码中不存在的字节，已写作 \"\xEF\xBF\xBD\" (" +
                   lineNumbers(reading.unrepresentable, named) + ")。";
        }
        return number(reading.unrepresentable.count) +
               " 行的点名或编码有输出代码页不能表示的字符，已写作 \"?\" (" +
               lineNumbers(reading.unrepresentable, named) + ")。";
    case WarningKind::WithoutCrs:
        return "没有指定坐标系: 点按本地坐标写入，文件中没有坐标系，GIS 软件中须手动指定。";
    case WarningKind::TextsShortened:
        return number(reading.shortenedTexts.count) +
               " 行的点名或编码超过 Shapefile 属性表的 80 字节，已截短 (" +
               lineNumbers(reading.shortenedTexts, named) + ")。";
    case WarningKind::LongLines:
        break;
    }
    return number(reading.longLines.count) + " 行超过 255 字节 (第 " +
           number(reading.longLines.first.empty() ? 0 : reading.longLines.first.front()) +
           " 行起)，每行被分段当作多个点转换。";
}

} // namespace

std::string warningText(WarningKind kind, const ConversionOutcome &outcome,
                        std::size_t linesNamed) {
    return "警告: " + sentence(kind, outcome, linesNamed);
}

} // namespace velkaro::wording
