#include "CPointConvertApp.h"

#include "CMessageBox.h"
#include "CPointConvertDlg.h"
#include "CQtFileChooser.h"
#include "CQtMessageBox.h"
#include "velkaro_version.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QUrl>

namespace {

// The part of path that ends before the last "." of its file name (all of it without one).
qsizetype lengthWithoutExtension(const QString &path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? dot : path.size();
}

} // namespace

CPointConvertApp::CPointConvertApp(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(applicationNameFrom(applicationFilePath()));
    setApplicationVersion(QStringLiteral(VELKARO_VERSION));
    // Wayland desktops match the window to the installed menu entry by this name.
    setDesktopFileName(QStringLiteral("velkaro"));
    setWindowIcon(programIcon());
    if (m_qtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&m_qtTexts);
    }
}

int CPointConvertApp::run() {
    CQtFileChooser fileChooser;
    CQtMessageBox messageBox;
    CPointConvertDlg dialog(fileChooser, messageBox);
    (void)dialog.exec();
    return 0;
}

QString CPointConvertApp::applicationNameFrom(const QString &executablePath) {
    const QString name = QFileInfo(executablePath).fileName();
    return name.left(lengthWithoutExtension(name));
}

QString CPointConvertApp::helpFilePathFrom(const QString &executablePath) {
    return executablePath.left(lengthWithoutExtension(executablePath)) + QStringLiteral(".HLP");
}

QIcon CPointConvertApp::programIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/res/icon-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/res/icon-16.png"), QSize(16, 16));
    return icon;
}

void CPointConvertApp::showHelp(CMessageBox &messageBox, QWidget *owner) {
    const QString helpFile = helpFilePathFrom(applicationFilePath());
    if (QFileInfo(helpFile).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile))) {
        return;
    }
    messageBox.show(owner, QStringLiteral("启动帮助失败。"), applicationName(),
                    QMessageBox::Warning);
}
