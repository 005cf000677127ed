#pragma once

#include "CFileChooser.h"
#include "CMessageBox.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>

// Answers each chooseSourceFiles with the next scripted files, or cancels where cancel() was
// scripted, and counts the questions; with no answer left it cancels.
class CScriptedFileChooser final : public CFileChooser {
  public:
    void answer(const QString &path) { m_answers.push_back({path}); }
    void answer(const QStringList &paths) { m_answers.push_back(paths); }
    void cancel() { m_answers.push_back({}); }
    [[nodiscard]] int questions() const { return m_questions; }
    [[nodiscard]] QWidget *lastOwner() const { return m_lastOwner; }

    [[nodiscard]] QStringList chooseSourceFiles(QWidget *owner) override;

  private:
    std::deque<QStringList> m_answers; // an empty list: cancel
    int m_questions = 0;
    QPointer<QWidget> m_lastOwner;
};

// Keeps every message and question instead of showing it; questions are answered as scripted
// (no: keep what is there, unless replace is set).
class CRecordingMessageBox final : public CMessageBox {
  public:
    struct Shown {
        QWidget *owner;
        QString text;
        QString title;
        QMessageBox::Icon icon;
        QStringList buttons; // empty: the one OK button
    };

    void show(QWidget *owner, const QString &text, const QString &title,
              QMessageBox::Icon icon) override;
    [[nodiscard]] bool ask(QWidget *owner, const QString &text, const QString &title,
                           const QString &yesText, const QString &noText) override;

    [[nodiscard]] const QList<Shown> &shown() const { return m_shown; }
    [[nodiscard]] const Shown &last() const { return m_shown.constLast(); }
    void clear() { m_shown.clear(); }
    bool replace = false;

  private:
    QList<Shown> m_shown;
};
