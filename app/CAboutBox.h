#pragma once

#include "CDialogUnits.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The about box (template 100, 235 x 55 dialog units): the program's icon, name and version, a
// notice line and the default button "确定". Modal over its parent and centred on it; OK, Enter,
// Esc and the close box end it.
class CAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutBox(QWidget *parent);

    static constexpr QSize kTemplateSize{235, 55};
    static constexpr QRect kIconRect{11, 17, 20, 20};
    static constexpr QRect kNameRect{40, 10, 119, 8};
    static constexpr QRect kNoticeRect{40, 25, 119, 8};
    static constexpr QRect kOkRect{178, 7, 50, 14};

    [[nodiscard]] const CDialogUnits &dialogUnits() const { return m_units; }

  private:
    void placeControls();

    const CDialogUnits m_units;
    QLabel *const m_icon;
    QLabel *const m_name;
    QLabel *const m_notice;
    QPushButton *const m_buttonOk;
};
