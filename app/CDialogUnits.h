#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// The coordinate system of a dialog template. One horizontal unit is a quarter of the dialog
// font's average character width, one vertical unit an eighth of its character height; both
// base units and every conversion round as the Windows dialog manager rounds them, so a template
// laid out for "宋体" 9 pt comes out at the same pixel sizes wherever the font's metrics match.
class CDialogUnits {
  public:
    explicit CDialogUnits(const QFont &font);
    CDialogUnits(int baseUnitX, int baseUnitY) : m_baseUnitX(baseUnitX), m_baseUnitY(baseUnitY) {}

    // The installed font nearest to the templates' "宋体" 9 pt: a Song (Ming) face first, since
    // its metrics match, then the CJK serif and sans faces.
    [[nodiscard]] static QFont templateFont();

    // The average width of "a".."z" "A".."Z", rounded to whole pixels.
    [[nodiscard]] int baseUnitX() const { return m_baseUnitX; }
    [[nodiscard]] int baseUnitY() const { return m_baseUnitY; }

    [[nodiscard]] int toPixelsX(int dialogUnits) const;
    [[nodiscard]] int toPixelsY(int dialogUnits) const;
    // Position and size are converted each on their own, as the dialog manager does.
    [[nodiscard]] QRect toPixels(const QRect &dialogUnits) const;
    [[nodiscard]] QSize toPixels(const QSize &dialogUnits) const;

    // number * numerator / denominator with the product in 64 bits, rounded to the nearest
    // integer, halves away from zero; -1 for a zero denominator.
    [[nodiscard]] static int mulDiv(int number, int numerator, int denominator);

  private:
    int m_baseUnitX;
    int m_baseUnitY;
};
