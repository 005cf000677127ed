#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

// A caption that sits on the parent's background picture. It paints only the glyphs of its own
// text, black, centred and top-aligned, in the parent's font; it never erases, so the parent's
// painting shows through around the glyphs. The label's window text (its template text) is
// kept but never shown.
class CColorLabel : public QLabel {
    Q_OBJECT

  public:
    explicit CColorLabel(const QString &templateText, QWidget *parent);

    // Takes a copy of text; it is shown at the next paint, which this does not request.
    void SetText(const QString &text);
    // Stored for the paint's background colour, which the transparent mode never shows.
    void SetBackColor(const QColor &colour);

    [[nodiscard]] const QString &shownText() const { return m_strText; }
    [[nodiscard]] const QColor &textColor() const { return m_crText; }
    [[nodiscard]] const QColor &backColor() const { return m_crBack; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    [[nodiscard]] QFont parentFont() const;

    const QColor m_crText{Qt::black};
    QColor m_crBack; // invalid until SetBackColor
    QString m_strText;
};
