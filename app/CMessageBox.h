#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Shows a message with one OK button and waits until it is closed. The main dialog reports
// through this interface so that a test can read what would have been shown.
class CMessageBox {
  public:
    CMessageBox() = default;
    CMessageBox(const CMessageBox &) = delete;
    CMessageBox &operator=(const CMessageBox &) = delete;
    virtual ~CMessageBox() = default;

    virtual void show(QWidget *owner, const QString &text, const QString &title,
                      QMessageBox::Icon icon) = 0;
};
