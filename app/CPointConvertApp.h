#pragma once

#include <QApplication>
#include <QIcon>
#include <QString>
#include <QTranslator>

class CMessageBox;
class QWidget;

// The application object: names the application after its executable, runs the main dialog
// modally, and ends the program when the dialog ends.
class CPointConvertApp : public QApplication {
    Q_OBJECT

  public:
    CPointConvertApp(int &argc, char **argv);

    // Shows the main dialog until it ends, however it ends; the program's exit status, 0.
    [[nodiscard]] int run();

    // The executable's file name without its folder and its last extension.
    [[nodiscard]] static QString applicationNameFrom(const QString &executablePath);
    // The user's manual that F1 opens: the first of the places the dialog layer names for the
    // executable that exists; empty when none does.
    [[nodiscard]] static QString manualPathFrom(const QString &executablePath);
    // The program's icon, 32 x 32 and 16 x 16.
    [[nodiscard]] static QIcon programIcon();

    // Opens the manual of the executable at executablePath with the desktop's browser; where
    // there is none, or nothing opens it, says "启动帮助失败。" titled with the application's
    // name, with the exclamation icon.
    static void showHelp(CMessageBox &messageBox, QWidget *owner, const QString &executablePath);

  private:
    // Qt's own texts (the file dialog, the message box's button) in the system's language, as
    // the platform's dialogs follow it; without a translation they stay English.
    QTranslator m_qtTexts;
};
