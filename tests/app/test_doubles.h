#pragma once

#include "CFileChooser.h"
#include "CMessageBox.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <deque>
#include <optional>

// Answers each chooseSourceFile with the next scripted path, or cancels where cancel() was
// scripted, and counts the questions; with no answer left it cancels.
class CScriptedFileChooser final : public CFileChooser {
  public:
    void answer(const QString &path) { m_answers.push_back(path); }
    void cancel() { m_answers.push_back(QString()); }
    [[nodiscard]] int questions() const { return m_questions; }
    [[nodiscard]] QWidget *lastOwner() const { return m_lastOwner; }

    [[nodiscard]] std::optional<QString> chooseSourceFile(QWidget *owner) override;

  private:
    std::deque<QString> m_answers; // a null string: cancel
    int m_questions = 0;
    QPointer<QWidget> m_lastOwner;
};

// Keeps every message instead of showing it.
class CRecordingMessageBox final : public CMessageBox {
  public:
    struct Shown {
        QWidget *owner;
        QString text;
        QString title;
        QMessageBox::Icon icon;
    };

    void show(QWidget *owner, const QString &text, const QString &title,
              QMessageBox::Icon icon) override;

    [[nodiscard]] const QList<Shown> &shown() const { return m_shown; }
    [[nodiscard]] const Shown &last() const { return m_shown.constLast(); }
    void clear() { m_shown.clear(); }

  private:
    QList<Shown> m_shown;
};
