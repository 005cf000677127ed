// Renders the real main dialog into a PNG for the README, or prints its pixel size.
//   velkaro_window_shot --size
//   velkaro_window_shot OUT.png [SOURCE_FILE [FORMAT_INDEX]]
// With a source file the dialog is shown after browsing to it (through a scripted chooser) and,
// with a format index, with that list item selected. On a real X server the picture includes
// the window manager's frame; on the offscreen platform it is the client area.
#include "CPointConvertDlg.h"
#include "test_doubles.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

QPixmap capture(CPointConvertDlg &dialog) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        return dialog.grab();
    }
    const QRect frame = dialog.frameGeometry();
    return dialog.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

} // namespace

int main(int argc, char *argv[]) {
    useTemporaryConfig(); // the picture shows the defaults, whatever the user chose
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkaro"));
    const QStringList args = QApplication::arguments();
    // Browsing moves the current directory, so the output's path is fixed first.
    const QString out = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();
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
