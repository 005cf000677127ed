// The main dialog's commands: browse, convert, dropping a file, and the window menu's about box.
#include "CAboutBox.h"
#include "CPointConvertApp.h"
#include "CPointConvertDlg.h"
#include "conversion_run.h"
#include "test_doubles.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

const QString kConvertedTitle = QStringLiteral("格式转换提示：");

QByteArray sampleBytes() {
    QFile sample(QStringLiteral(VELKARO_EXAMPLES_DIR "/rtk-sample.txt"));
    if (!sample.open(QIODevice::ReadOnly)) {
        qFatal("cannot read the sample export");
    }
    return sample.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the core alone writes for the source and list text, in a folder of its own.
QByteArray coreOutput(const QString &source, const QString &itemText, const QString &folder) {
    velkaro::ConversionRequest request;
    request.sourcePath = QFile::encodeName(source).toStdString();
    request.sourceFileName = QFile::encodeName(QFileInfo(source).fileName()).toStdString();
    request.formatItemText = itemText.toStdString();
    request.outputFolder = QFile::encodeName(folder).toStdString();
    const velkaro::ConversionOutcome outcome = velkaro::runConversion(request);
    return readFile(QString::fromStdString(outcome.outputPath));
}

struct Fixture {
    Fixture() : source(folder.filePath(QStringLiteral("pts.txt"))) {
        writeFile(source, sampleBytes());
    }
    template <typename T> [[nodiscard]] T *child(const char *name) {
        return dialog.findChild<T *>(QLatin1String(name));
    }
    void browseTo(const QString &path) {
        chooser.answer(path);
        child<QPushButton>("buttonBrowse")->click();
    }
    void convert(int formatIndex) {
        child<QComboBox>("comboFormat")->setCurrentIndex(formatIndex);
        child<QPushButton>("buttonConvert")->click();
    }
    void drop(QMimeData &mime) {
        QDragEnterEvent enter(QPoint(40, 30), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &enter);
        accepted = enter.isAccepted();
        QDropEvent drop(QPointF(40, 30), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &drop);
    }
    [[nodiscard]] QStringList folderEntries() const {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
    const QString source;
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CPointConvertDlg dialog{chooser, messages};
    bool accepted = false;
};

} // namespace

class PointConvertDlgCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void convertBeforeBrowseAsksForASource();
    void convertWithoutFormatAsksForOne();
    void typedTextNeverChoosesAFormat();
    void browseTakesPathNameDisplayAndFolder_data();
    void browseTakesPathNameDisplayAndFolder();
    void cancelledBrowseKeepsTheEarlierFile();
    void convertsBesideTheSourceAsTheCoreWrites_data();
    void convertsBesideTheSourceAsTheCoreWrites();
    void threeFormatsInARowGiveThreeFilesAndResetNothing();
    void deletedSourceSaysOpenFailedAndWritesNothing();
    void outputThatCannotBeCreatedIsAWarning();
    void fileNamePart_data();
    void fileNamePart();
    void droppingOneFileIsBrowsing();
    void droppingAnythingElseIsIgnored_data();
    void droppingAnythingElseIsIgnored();
    void windowMenuEndsWithSeparatorAndAbout();
    void contextMenuOpensTheAboutBoxModally_data();
    void contextMenuOpensTheAboutBoxModally();

  private:
    QString m_startFolder;
};

void PointConvertDlgCommandsTest::initTestCase() {
    QCoreApplication::setApplicationName(
        CPointConvertApp::applicationNameFrom(QCoreApplication::applicationFilePath()));
    m_startFolder = QDir::currentPath();
}

// Browsing moves the current directory; every test starts from the same one.
void PointConvertDlgCommandsTest::init() {
    QDir::setCurrent(m_startFolder);
}

void PointConvertDlgCommandsTest::convertBeforeBrowseAsksForASource() {
    Fixture f;
    f.convert(0);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.last().text, QStringLiteral("请选择源文件"));
    QCOMPARE(f.messages.last().title, QCoreApplication::applicationName());
    QCOMPARE(f.messages.last().icon, QMessageBox::NoIcon);
    QCOMPARE(f.messages.last().owner, &f.dialog);
}

void PointConvertDlgCommandsTest::convertWithoutFormatAsksForOne() {
    Fixture f;
    f.browseTo(f.source);
    f.child<QPushButton>("buttonConvert")->click();
    QCOMPARE(f.messages.last().text, QStringLiteral("请选择转换格式"));
    QCOMPARE(f.messages.last().title, QCoreApplication::applicationName());
    QCOMPARE(f.messages.last().icon, QMessageBox::Warning);
}

void PointConvertDlgCommandsTest::typedTextNeverChoosesAFormat() {
    Fixture f;
    f.browseTo(f.source);
    auto *const list = f.child<QComboBox>("comboFormat");
    for (const QChar typed : QStringLiteral("CAD格式")) {
        QTest::sendKeyEvent(QTest::Click, list->lineEdit(), Qt::Key_unknown, QString(typed),
                            Qt::NoModifier);
    }
    QCOMPARE(list->currentText(), QStringLiteral("CAD格式"));
    f.child<QPushButton>("buttonConvert")->click();
    QCOMPARE(f.messages.last().text, QStringLiteral("请选择转换格式"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(f.folderEntries(), QStringList{QStringLiteral("pts.txt")});
}

void PointConvertDlgCommandsTest::browseTakesPathNameDisplayAndFolder_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "pts.txt";
    QTest::newRow("Chinese with a space") << "控制 测量.txt";
    QTest::newRow("several dots") << "survey.2004.12.txt";
}

void PointConvertDlgCommandsTest::browseTakesPathNameDisplayAndFolder() {
    QFETCH(QString, name);
    Fixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("day 1")));
    const QString path = f.folder.filePath(QStringLiteral("day 1/") + name);
    writeFile(path, sampleBytes());
    f.browseTo(path);
    QCOMPARE(f.chooser.lastOwner(), &f.dialog);
    QCOMPARE(f.dialog.sourcePath(), path);
    QCOMPARE(f.dialog.sourceName(), name);
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), name);
    QCOMPARE(QDir::current().canonicalPath(), QFileInfo(path).canonicalPath());
}

void PointConvertDlgCommandsTest::cancelledBrowseKeepsTheEarlierFile() {
    Fixture f;
    f.browseTo(f.source);
    QDir::setCurrent(m_startFolder);
    f.chooser.cancel();
    f.child<QPushButton>("buttonBrowse")->click();
    QCOMPARE(f.chooser.questions(), 2);
    QCOMPARE(f.dialog.sourcePath(), f.source);
    QCOMPARE(f.dialog.sourceName(), QStringLiteral("pts.txt"));
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), QStringLiteral("pts.txt"));
    QCOMPARE(QDir::currentPath(), m_startFolder);
}

void PointConvertDlgCommandsTest::convertsBesideTheSourceAsTheCoreWrites_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("output");
    QTest::newRow("CASS 6.0") << 0 << "ptsCass.dat";
    QTest::newRow("开思") << 1 << "ptsKaisi.txt";
    QTest::newRow("DXF") << 2 << "ptsCAD.dxf";
}

void PointConvertDlgCommandsTest::convertsBesideTheSourceAsTheCoreWrites() {
    QFETCH(int, index);
    QFETCH(QString, output);
    Fixture f;
    f.browseTo(f.source);
    f.convert(index);
    QCOMPARE(f.messages.last().text, QStringLiteral("\t转换成功!\n生成转换文件:") + output);
    QCOMPARE(f.messages.last().title, kConvertedTitle);
    QCOMPARE(f.messages.last().icon, QMessageBox::NoIcon);

    const QByteArray written = readFile(f.folder.filePath(output));
    QTemporaryDir reference;
    const QString itemText = f.child<QComboBox>("comboFormat")->itemText(index);
    QVERIFY(written.size() > 1000);
    QCOMPARE(written, coreOutput(f.source, itemText, reference.path()));
}

void PointConvertDlgCommandsTest::threeFormatsInARowGiveThreeFilesAndResetNothing() {
    Fixture f;
    f.dialog.show();
    f.browseTo(f.source);
    for (int index = 0; index < 3; ++index) {
        f.convert(index);
        QCOMPARE(f.messages.last().title, kConvertedTitle);
        QCOMPARE(f.dialog.sourcePath(), f.source);
        QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), QStringLiteral("pts.txt"));
        QCOMPARE(f.child<QComboBox>("comboFormat")->currentIndex(), index);
        QVERIFY(f.dialog.isVisible());
    }
    QStringList expected = {QStringLiteral("pts.txt"), QStringLiteral("ptsCAD.dxf"),
                            QStringLiteral("ptsCass.dat"), QStringLiteral("ptsKaisi.txt")};
    QCOMPARE(f.folderEntries(), expected);
}

void PointConvertDlgCommandsTest::deletedSourceSaysOpenFailedAndWritesNothing() {
    Fixture f;
    f.browseTo(f.source);
    QVERIFY(QFile::remove(f.source));
    f.convert(0);
    QCOMPARE(f.messages.last().text, QStringLiteral("打开源文件错误，请重新选择!"));
    QCOMPARE(f.messages.last().title, QCoreApplication::applicationName());
    QCOMPARE(f.messages.last().icon, QMessageBox::NoIcon);
    QVERIFY(f.folderEntries().isEmpty());
}

void PointConvertDlgCommandsTest::outputThatCannotBeCreatedIsAWarning() {
    Fixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("ptsCass.dat")));
    f.browseTo(f.source);
    f.convert(0);
    QVERIFY(f.messages.last().text.endsWith(QStringLiteral("ptsCass.dat")));
    QVERIFY(!f.messages.last().text.contains(QStringLiteral("成功")));
    QCOMPARE(f.messages.last().title, QCoreApplication::applicationName());
    QCOMPARE(f.messages.last().icon, QMessageBox::Warning);
}

void PointConvertDlgCommandsTest::fileNamePart_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("folder and name") << "/data/day 1/pts.txt"
                                     << "pts.txt";
    QTest::newRow("name only") << "pts.txt"
                               << "pts.txt";
    QTest::newRow("Chinese") << "/测量/控制点.txt"
                             << "控制点.txt";
#ifdef Q_OS_WIN
    QTest::newRow("backslash") << "D:\\data\\pts.txt"
                               << "pts.txt";
#else
    QTest::newRow("backslash is a name byte") << "/data/a\\b.txt"
                                              << "a\\b.txt";
#endif
}

void PointConvertDlgCommandsTest::fileNamePart() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(CPointConvertDlg::fileNamePart(path), name);
}

void PointConvertDlgCommandsTest::droppingOneFileIsBrowsing() {
    Fixture f;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(f.source)});
    f.drop(mime);
    QVERIFY(f.accepted);
    QCOMPARE(f.dialog.sourcePath(), f.source);
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), QStringLiteral("pts.txt"));
    QCOMPARE(QDir::current().canonicalPath(), QDir(f.folder.path()).canonicalPath());
    f.convert(1);
    QCOMPARE(f.messages.last().text, QStringLiteral("\t转换成功!\n生成转换文件:ptsKaisi.txt"));
    QVERIFY(QFileInfo::exists(f.folder.filePath(QStringLiteral("ptsKaisi.txt"))));
}

void PointConvertDlgCommandsTest::droppingAnythingElseIsIgnored_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("two files") << "two";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("a web address") << "web";
    QTest::newRow("plain text") << "text";
}

void PointConvertDlgCommandsTest::droppingAnythingElseIsIgnored() {
    QFETCH(QString, what);
    Fixture f;
    const QString second = f.folder.filePath(QStringLiteral("more.txt"));
    writeFile(second, "x");
    QMimeData mime;
    if (what == QLatin1String("two")) {
        mime.setUrls({QUrl::fromLocalFile(f.source), QUrl::fromLocalFile(second)});
    } else if (what == QLatin1String("folder")) {
        mime.setUrls({QUrl::fromLocalFile(f.folder.path())});
    } else if (what == QLatin1String("web")) {
        mime.setUrls({QUrl(QStringLiteral("https://example.com/pts.txt"))});
    } else {
        mime.setText(f.source);
    }
    f.drop(mime);
    QVERIFY(!f.accepted);
    QVERIFY(f.dialog.sourcePath().isEmpty());
    QVERIFY(f.child<QLabel>("fileNameDisplay")->text().isEmpty());
    QCOMPARE(QDir::currentPath(), m_startFolder);
}

void PointConvertDlgCommandsTest::windowMenuEndsWithSeparatorAndAbout() {
    Fixture f;
    const std::unique_ptr<QMenu> menu = f.dialog.createWindowMenu();
    const QList<QAction *> actions = menu->actions();
    QVERIFY(actions.size() >= 2);
    QVERIFY(actions.at(actions.size() - 2)->isSeparator());
    QCOMPARE(actions.constLast()->text(), QStringLiteral("关于 Velkaro(&A)..."));
}

void PointConvertDlgCommandsTest::contextMenuOpensTheAboutBoxModally_data() {
    QTest::addColumn<bool>("fromKeyboard");
    QTest::newRow("right click on the background") << false;
    QTest::newRow("menu key on the browse button") << true;
}

// The menu opens where the press was; its about entry (access key A) opens the about box,
// modal over the main dialog, and Esc ends it.
void PointConvertDlgCommandsTest::contextMenuOpensTheAboutBoxModally() {
    QFETCH(bool, fromKeyboard);
    Fixture f;
    f.dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
    bool sawMenu = false;
    bool sawAbout = false;
    QTimer::singleShot(0, &f.dialog, [&] {
        auto *const menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QVERIFY(menu->actions().at(menu->actions().size() - 2)->isSeparator());
        sawMenu = true;
        QTimer::singleShot(0, &f.dialog, [&] {
            auto *const about = qobject_cast<CAboutBox *>(QApplication::activeModalWidget());
            QVERIFY(about != nullptr);
            QVERIFY(about->isModal());
            QCOMPARE(about->parentWidget(), &f.dialog);
            QCOMPARE(about->windowTitle(), QStringLiteral("关于 Velkaro"));
            sawAbout = true;
            QTest::keyClick(about, Qt::Key_Escape);
        });
        QTest::keyClick(menu, Qt::Key_A);
    });
    QWidget *const target = fromKeyboard ? f.child<QWidget>("buttonBrowse") : &f.dialog;
    const QPoint at(10, 10);
    QContextMenuEvent event(fromKeyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                            at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    QVERIFY(sawMenu);
    QVERIFY(sawAbout);
    QVERIFY(f.dialog.isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(PointConvertDlgCommandsTest)
#include "point_convert_dlg_commands_test.moc"
