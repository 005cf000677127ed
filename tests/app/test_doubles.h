#pragma once

#include "CFileChooser.h"
#include "CMessageBox.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <vector>

// Answers each chooseSourceFiles with the next scripted files, or cancels where cancel() was
// scripted, and counts the questions; with no answer left it cancels.
class CScriptedFileChooser final : public CFileChooser {
  public:
    void answer(const QString &path) { m_answers.push_back({path}); }
    void answer(const QStringList &paths) { m_answers.push_back(paths); }
    void cancel() { m_answers.push_back({}); }
    [[nodiscard]] int questions() const { return m_questions; }
    [[nodiscard]] QWidget *lastOwner() const { return m_lastOwner; }

    [[nodiscard]] QStringList chooseSourceFiles(QWidget *owner,
                                                const QString &startFolder) override;
    [[nodiscard]] QString shownFolder() const override { return m_shownFolder; }
    [[nodiscard]] QString chooseFolder(QWidget *owner, const QString &startFolder) override;
    // Where the next chooseSourceFiles says it closed, and the folders chooseFolder answers.
    void showFolder(const QString &folder) { m_shownFolder = folder; }
    void answerFolder(const QString &folder) { m_folders.push_back(folder); }
    [[nodiscard]] const QString &lastStart() const { return m_lastStart; }

  private:
    std::deque<QStringList> m_answers; // an empty list: cancel
    std::deque<QString> m_folders;
    QString m_shownFolder;
    QString m_lastStart;
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
    void showResults(QWidget *owner, const velkaro::dialog::ResultReport &report) override;
    [[nodiscard]] const std::vector<velkaro::dialog::ResultReport> &results() const {
        return m_results;
    }

    [[nodiscard]] const QList<Shown> &shown() const { return m_shown; }
    [[nodiscard]] const Shown &last() const { return m_shown.constLast(); }
    void clear() { m_shown.clear(); }
    bool replace = false;

  private:
    QList<Shown> m_shown;
    std::vector<velkaro::dialog::ResultReport> m_results;
};

// Points Qt's settings at a fresh folder of their own for the whole test program, so that no test
// reads or changes the user's settings. Call before the first window is made.
void useTemporaryConfig();
