#include "CDialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

// Nearest first. "AR PL UMing" is a Song face whose metrics equal those of 宋体 at 9 pt.
const QStringList kTemplateFamilies = {
    QStringLiteral("SimSun"),           QStringLiteral("宋体"),
    QStringLiteral("NSimSun"),          QStringLiteral("AR PL UMing CN"),
    QStringLiteral("AR PL UMing TW"),   QStringLiteral("Noto Serif CJK SC"),
    QStringLiteral("Noto Sans CJK SC"),
};

constexpr int kTemplatePointSize = 9;

int averageAlphabetWidth(const QFontMetrics &metrics) {
    const int width = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return (width / 26 + 1) / 2;
}

} // namespace

CDialogUnits::CDialogUnits(const QFont &font)
    : m_baseUnitX(averageAlphabetWidth(QFontMetrics(font))),
      m_baseUnitY(QFontMetrics(font).height()) {}

QFont CDialogUnits::templateFont() {
    const QStringList installed = QFontDatabase::families();
    QFont font;
    for (const QString &family : kTemplateFamilies) {
        if (installed.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setStyleHint(QFont::Serif);
    font.setPointSize(kTemplatePointSize);
    return font;
}

int CDialogUnits::toPixelsX(int dialogUnits) const {
    return mulDiv(dialogUnits, m_baseUnitX, 4);
}

int CDialogUnits::toPixelsY(int dialogUnits) const {
    return mulDiv(dialogUnits, m_baseUnitY, 8);
}

QRect CDialogUnits::toPixels(const QRect &dialogUnits) const {
    return {QPoint(toPixelsX(dialogUnits.x()), toPixelsY(dialogUnits.y())),
            toPixels(dialogUnits.size())};
}

QSize CDialogUnits::toPixels(const QSize &dialogUnits) const {
    return {toPixelsX(dialogUnits.width()), toPixelsY(dialogUnits.height())};
}

int CDialogUnits::mulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = std::int64_t{number} * numerator;
    const std::int64_t half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    return static_cast<int>(negative ? -magnitude : magnitude);
}
