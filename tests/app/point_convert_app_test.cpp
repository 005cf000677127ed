// The application object: its names, version and icon, the help command, and the program's run.
#include "CPointConvertApp.h"
#include "CPointConvertDlg.h"
#include "test_doubles.h"
#include "velkaro_version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class PointConvertAppTest : public QObject {
    Q_OBJECT

  private slots:
    void applicationNameFrom_data();
    void applicationNameFrom();
    void manualPathFrom_data();
    void manualPathFrom();
    void namesItselfAfterItsExecutableAtVersion1001();
    void helpWithoutAManualSaysSo();
    void runEndsWithStatusZeroHoweverTheDialogEnds_data();
    void runEndsWithStatusZeroHoweverTheDialogEnds();
};

void PointConvertAppTest::applicationNameFrom_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("no extension") << "/usr/bin/Velkaro"
                                  << "Velkaro";
    QTest::newRow("Windows") << "C:/Tools/Velkaro.EXE"
                             << "Velkaro";
    QTest::newRow("several dots: only the last goes") << "/opt/velkaro.v2.exe"
                                                      << "velkaro.v2";
    QTest::newRow("dot in a folder only") << "/home/a.b/Velkaro"
                                          << "Velkaro";
}

void PointConvertAppTest::applicationNameFrom() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(CPointConvertApp::applicationNameFrom(path), name);
}

// The installed manual comes before the source tree's; with neither there is none.
void PointConvertAppTest::manualPathFrom_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("manual");
    const QString installed = QStringLiteral("usr/share/doc/velkaro/manual/index.html");
    const QString tree = QStringLiteral("docs/manual/index.html");
    QTest::newRow("installed") << QStringList{installed, tree} << installed;
    QTest::newRow("build run") << QStringList{tree} << tree;
    QTest::newRow("none") << QStringList{} << QString();
}

void PointConvertAppTest::manualPathFrom() {
    QFETCH(QStringList, present);
    QFETCH(QString, manual);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/bin")));
    for (const QString &file : present) {
        QVERIFY(QDir(root.path()).mkpath(QFileInfo(file).path()));
        QFile page(root.filePath(file));
        QVERIFY(page.open(QIODevice::WriteOnly));
    }
    // The executable of a build run sits in build/bin of the source tree.
    const QString executable =
        root.filePath(present.size() == 1 ? QStringLiteral("build/bin/Velkaro")
                                          : QStringLiteral("usr/bin/Velkaro"));
    QVERIFY(QDir(root.path()).mkpath(QFileInfo(executable).path()));
    const QString expected =
        manual.isEmpty() ? QString() : QFileInfo(root.filePath(manual)).canonicalFilePath();
    QCOMPARE(CPointConvertApp::manualPathFrom(executable), expected);
}

void PointConvertAppTest::namesItselfAfterItsExecutableAtVersion1001() {
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("app_point_convert_app"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(VELKARO_VERSION));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("velkaro")); // velkaro.desktop
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
}

void PointConvertAppTest::helpWithoutAManualSaysSo() {
    const QString executable = QStringLiteral("/nonexistent/bin/Velkaro");
    QVERIFY(CPointConvertApp::manualPathFrom(executable).isEmpty());
    CRecordingMessageBox messages;
    QWidget owner;
    CPointConvertApp::showHelp(messages, &owner, executable);
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.last().text, QStringLiteral("启动帮助失败。"));
    QCOMPARE(messages.last().title, QStringLiteral("app_point_convert_app"));
    QCOMPARE(messages.last().icon, QMessageBox::Warning);
    QCOMPARE(messages.last().owner, &owner);
}

void PointConvertAppTest::runEndsWithStatusZeroHoweverTheDialogEnds_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("close box") << 0;
}

void PointConvertAppTest::runEndsWithStatusZeroHoweverTheDialogEnds() {
    QFETCH(int, key);
    bool sawDialog = false;
    QTimer::singleShot(0, qApp, [&sawDialog, key] {
        auto *const dialog = qobject_cast<CPointConvertDlg *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        sawDialog = true;
        if (key == 0) {
            dialog->close();
            return;
        }
        // Enter from the list, where no push button has the focus.
        QWidget *const list = dialog->findChild<QWidget *>(QStringLiteral("comboFormat"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key(key));
    });
    QCOMPARE(static_cast<CPointConvertApp *>(qApp)->run(), 0);
    QVERIFY(sawDialog);
}

int main(int argc, char *argv[]) {
    useTemporaryConfig();
    CPointConvertApp app(argc, argv);
    PointConvertAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "point_convert_app_test.moc"
