#include "CColorLabel.h"

#include <QPainter>

CColorLabel::CColorLabel(const QString &templateText, QWidget *parent)
    : QLabel(templateText, parent) {
    setTextFormat(Qt::PlainText);
}

// Assistive technology reads what the label paints, not the template's text it never shows.
void CColorLabel::SetText(const QString &text) {
    m_strText = text;
    setAccessibleName(text);
}

void CColorLabel::SetBackColor(const QColor &colour) {
    m_crBack = colour;
}

void CColorLabel::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    if (m_crBack.isValid()) {
        painter.setBackground(m_crBack);
    }
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(parentFont());
    painter.setPen(m_crText);
    // Centred from the top edge, broken only at line breaks in the text, clipped by the label;
    // "&" marks an access key ("&&" shows one "&").
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, m_strText);
}

QFont CColorLabel::parentFont() const {
    const QWidget *parent = parentWidget();
    return parent != nullptr ? parent->font() : font();
}
