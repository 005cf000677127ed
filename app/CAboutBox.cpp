#include "CAboutBox.h"

#include "CPointConvertApp.h"
#include "QtText.h"
#include "dialog_texts.h"
#include "velkaro_version.h"

#include <QLabel>
#include <QPushButton>

CAboutBox::CAboutBox(QWidget *parent)
    : QDialog(parent), m_units(CDialogUnits::templateFont()), m_icon(new QLabel(this)),
      m_name(new QLabel(qtText(velkaro::dialog::kAboutNameText), this)),
      m_notice(new QLabel(qtText(velkaro::dialog::kAboutNotice), this)),
      m_buttonOk(new QPushButton(qtText(velkaro::dialog::kOkText), this)) {
    setObjectName(QStringLiteral("aboutBox"));
    setFont(CDialogUnits::templateFont());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(qtText(velkaro::dialog::kAboutTitle));
    setModal(true);
    setFixedSize(m_units.toPixels(kTemplateSize));
    placeControls();
    connect(m_buttonOk, &QPushButton::clicked, this, &QDialog::accept);
    m_buttonOk->setDefault(true);
    m_buttonOk->setFocus();
}

// The icon control sizes itself to the icon, as the platform's icon control does.
void CAboutBox::placeControls() {
    const QPixmap icon = CPointConvertApp::programIcon().pixmap(QSize(32, 32));
    m_icon->setObjectName(QStringLiteral("aboutIcon"));
    m_icon->setPixmap(icon);
    m_icon->setGeometry(QRect(m_units.toPixels(kIconRect).topLeft(), icon.size()));
    for (QLabel *const text : {m_name, m_notice}) {
        text->setTextFormat(Qt::PlainText);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    m_name->setObjectName(QStringLiteral("aboutName"));
    // The name line is the program's fixed text; the full version number is one hover away.
    m_name->setToolTip(QStringLiteral("版本 " VELKARO_VERSION));
    m_name->setGeometry(m_units.toPixels(kNameRect));
    m_notice->setObjectName(QStringLiteral("aboutNotice"));
    m_notice->setGeometry(m_units.toPixels(kNoticeRect));
    m_buttonOk->setObjectName(QStringLiteral("buttonOk"));
    m_buttonOk->setGeometry(m_units.toPixels(kOkRect));
}
