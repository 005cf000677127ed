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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkaro"));
    const QStringList args = QApplication::arguments();
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
        return 1;
    }
    QTest::qWait(500);
    return capture(dialog).save(args.at(1), "PNG") ? 0 : 1;
}
