// Renders the real main dialog into a PNG for the README, or prints its pixel size, or renders the
// settings and the result dialog of a run for the user's manual.
//   velkaro_window_shot --size
//   velkaro_window_shot OUT.png [SOURCE_FILE [FORMAT_INDEX]]
//   velkaro_window_shot --dialogs SETTINGS.png RESULT.png SOURCE_FILE
// With a source file the dialog is shown after browsing to it (through a scripted chooser) and,
// with a format index, with that list item selected. On a real X server the picture includes
// the window manager's frame; on the offscreen platform it is the client area.
#include "CMessageBoxHost.h"
#include "CPointConvertDlg.h"
#include "CResultDlg.h"
#include "CSettingsDlg.h"
#include "convert_command.h"
#include "test_doubles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

QPixmap capture(QWidget &dialog) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        return dialog.grab();
    }
    const QRect frame = dialog.frameGeometry();
    return dialog.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

// Shows the dialog, waits until it is painted and saves its picture; false when that failed.
bool shoot(QWidget &dialog, const QString &out) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        std::fprintf(stderr, "the dialog never showed\n");
        return false;
    }
    QTest::qWait(500);
    const QPixmap picture = capture(dialog);
    if (picture.isNull() || !picture.save(out, "PNG")) {
        std::fprintf(stderr, "cannot capture into %s\n", qPrintable(out));
        return false;
    }
    return true;
}

// The settings with labels and a code page, and the result of a run of three sources of which
// two would write the same output.
int shootDialogs(const QStringList &args) {
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    velkaro::dialog::WindowSettings settings;
    settings.options.dxfCodePage = 936;
    settings.options.dxfLabels = velkaro::DxfLabels{};
    settings.options.summary = true;
    CSettingsDlg settingsDlg(settings, QFile::encodeName(args.at(4)).toStdString(), chooser,
                             messages, nullptr);
    if (!shoot(settingsDlg, args.at(2))) {
        return 1;
    }
    settingsDlg.hide();
    // A folder named as a surveyor names one, for the picture.
    QDir folder(QDir::temp().filePath(QStringLiteral("外业0512")));
    folder.removeRecursively();
    QDir::temp().mkdir(folder.dirName());
    std::vector<std::string> sources;
    for (const char *name : {"2024.05.12.txt", "2024.05.13.txt", "pts.txt"}) {
        const QString path = folder.filePath(QString::fromUtf8(name));
        QFile::copy(args.at(4), path);
        sources.push_back(QFile::encodeName(path).toStdString());
    }
    velkaro::dialog::SourceSelection selection;
    selection.choose(sources, velkaro::dialog::kNativePathStyle);
    CMessageBoxHost host(messages, nullptr);
    velkaro::dialog::ConvertCommand(host, &CPointConvertDlg::decodeCoreName)
        .run(selection, velkaro::TargetFormat::Cass, settings);
    if (messages.results().empty()) {
        std::fprintf(stderr, "the run gave no result dialog\n");
        return 1;
    }
    CResultDlg resultDlg(messages.results().front(), nullptr);
    const bool shot = shoot(resultDlg, args.at(3));
    folder.removeRecursively();
    return shot ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[]) {
    useTemporaryConfig(); // the picture shows the defaults, whatever the user chose
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkaro"));
    const QStringList args = QApplication::arguments();
    // Browsing moves the current directory, so the output's path is fixed first.
    const QString out = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();
    if (args.size() == 5 && args.at(1) == QLatin1String("--dialogs")) {
        return shootDialogs(args);
    }
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CPointConvertDlg dialog(chooser, messages);
    if (args.size() == 2 && args.at(1) == QLatin1String("--size")) {
        std::printf("%dx%d\n", dialog.width(), dialog.height());
        return 0;
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s --size | OUT.png [SOURCE_FILE [FORMAT_INDEX]]\n", argv[0]);
        return 2;
    }
    if (args.size() > 2) {
        chooser.answer(args.at(2));
        dialog.findChild<QPushButton *>(QStringLiteral("buttonBrowse"))->click();
    }
    if (args.size() > 3) {
        dialog.findChild<QComboBox *>(QStringLiteral("comboFormat"))
            ->setCurrentIndex(args.at(3).toInt());
    }
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        std::fprintf(stderr, "the dialog never showed\n");
        return 1;
    }
    QTest::qWait(500);
    const QPixmap picture = capture(dialog);
    if (picture.isNull()) {
        std::fprintf(stderr, "nothing captured\n");
        return 1;
    }
    if (!picture.save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
