#include "CPointConvertApp.h"

#include "CMessageBox.h"
#include "CMessageBoxHost.h"
#include "CPointConvertDlg.h"
#include "CQtFileChooser.h"
#include "CQtMessageBox.h"
#include "velkaro_version.h"

#include "application_paths.h"
#include "outcome_message.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QUrl>

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

// Qt's paths use "/" on every platform, so the dialog layer's rules apply to their UTF-8 form.
QString CPointConvertApp::applicationNameFrom(const QString &executablePath) {
    return QString::fromStdString(velkaro::dialog::applicationName(
        executablePath.toStdString(), velkaro::dialog::kNativePathStyle));
}

QString CPointConvertApp::manualPathFrom(const QString &executablePath) {
    for (const std::string &candidate : velkaro::dialog::manualCandidates(
             executablePath.toStdString(), velkaro::dialog::kNativePathStyle)) {
        const QFileInfo manual(QString::fromStdString(candidate));
        if (manual.isFile()) {
            return manual.canonicalFilePath();
        }
    }
    return {};
}

QIcon CPointConvertApp::programIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/res/icon-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/res/icon-16.png"), QSize(16, 16));
    return icon;
}

void CPointConvertApp::showHelp(CMessageBox &messageBox, QWidget *owner,
                                const QString &executablePath) {
    const QString manual = manualPathFrom(executablePath);
    if (!manual.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(manual))) {
        return;
    }
    CMessageBoxHost(messageBox, owner).showMessage(velkaro::dialog::helpFailedMessage());
}
