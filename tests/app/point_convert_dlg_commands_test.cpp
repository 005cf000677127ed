// The main dialog's commands: browse, convert, dropping a file, and the window menu's about box.
#include "CAboutBox.h"
#include "CPointConvertApp.h"
#include "CPointConvertDlg.h"
#include "conversion_run.h"
#include "format_selection.h"
#include "test_doubles.h"
#include "test_files.h"

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
    request.format = velkaro::dialog::formatOfListText(itemText.toStdString());
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
    void droppingAnythingElseKeepsTheFilesAndNamesTheRest_data();
    void droppingAnythingElseKeepsTheFilesAndNamesTheRest();
    void windowMenuEndsWithSeparatorAndAbout();
    void contextMenuOpensTheAboutBoxModally_data();
    void contextMenuOpensTheAboutBoxModally();
    void convertWarnsOfWhatItLeftOut_data();
    void convertWarnsOfWhatItLeftOut();
    void existingOutputIsReplacedOnlyAfterAsking();
    void editedFieldChoosesNothing_data();
    void editedFieldChoosesNothing();
    void severalFilesConvertInOneRunWithOneSummary();

  private:
    QString m_startFolder;
};

void PointConvertDlgCommandsTest::initTestCase() {
    useTemporaryConfig();
    QCoreApplication::setApplicationName(
        CPointConvertApp::applicationNameFrom(QCoreApplication::applicationFilePath()));
    m_startFolder = QDir::currentPath();
}

// Nothing may move the current directory; every test starts from the same one and checks.
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
    QCOMPARE(list->count(), 7);
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
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->toolTip(), path);
    QCOMPARE(QDir::currentPath(), m_startFolder);
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
    QCOMPARE(f.messages.last().text, QStringLiteral("\t转换成功!\n生成转换文件:") + output +
                                         QStringLiteral("\n写入 40 点\n保存在: ") +
                                         f.folder.path());
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
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(f.messages.results().size(), std::size_t{1});
    QCOMPARE(
        f.messages.results()[0].rows[0].notes,
        (std::vector<std::string>{"打开源文件错误，请重新选择!", "位置: " + f.source.toStdString(),
                                  "原因: 文件或文件夹不存在。"}));
    QVERIFY(f.folderEntries().isEmpty());
}

void PointConvertDlgCommandsTest::outputThatCannotBeCreatedIsAWarning() {
    Fixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("ptsCass.dat")));
    f.browseTo(f.source);
    f.convert(0);
    QVERIFY(f.messages.shown().isEmpty()); // refused at once: no question
    QCOMPARE(f.messages.results().size(), std::size_t{1});
    QCOMPARE(f.messages.results()[0].rows[0].notes,
             (std::vector<std::string>{
                 "创建转换文件错误:ptsCass.dat",
                 "位置: " + f.folder.filePath(QStringLiteral("ptsCass.dat")).toStdString(),
                 "原因: 这是一个文件夹。"}));
    QVERIFY(f.messages.results()[0].troubled);
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
    f.convert(1);
    QVERIFY(f.messages.last().text.startsWith(
        QStringLiteral("\t转换成功!\n生成转换文件:ptsKaisi.txt\n写入 40 点\n")));
    QVERIFY(QFileInfo::exists(f.folder.filePath(QStringLiteral("ptsKaisi.txt"))));
}

// The files of a drop are taken and its folders named in one box, as the Windows window does;
// what names nothing on this computer is not taken at all.
void PointConvertDlgCommandsTest::droppingAnythingElseKeepsTheFilesAndNamesTheRest_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("a file and a folder") << "two" << true << "pts.txt";
    QTest::newRow("a folder") << "folder" << true << "";
    QTest::newRow("a web address") << "web" << false << "";
    QTest::newRow("plain text") << "text" << false << "";
}

void PointConvertDlgCommandsTest::droppingAnythingElseKeepsTheFilesAndNamesTheRest() {
    QFETCH(QString, what);
    QFETCH(bool, accepted);
    QFETCH(QString, chosen);
    Fixture f;
    QMimeData mime;
    if (what == QLatin1String("two")) {
        mime.setUrls({QUrl::fromLocalFile(f.source), QUrl::fromLocalFile(f.folder.path())});
    } else if (what == QLatin1String("folder")) {
        mime.setUrls({QUrl::fromLocalFile(f.folder.path())});
    } else if (what == QLatin1String("web")) {
        mime.setUrls({QUrl(QStringLiteral("https://example.com/pts.txt"))});
    } else {
        mime.setText(f.source);
    }
    f.drop(mime);
    QCOMPARE(f.accepted, accepted);
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), chosen);
    QCOMPARE(f.messages.shown().size(), accepted ? 1 : 0);
    if (accepted) {
        QCOMPARE(f.messages.last().text, QStringLiteral("下列不是文件 (例如文件夹)，没有选择:\n") +
                                             f.folder.path() +
                                             QStringLiteral("\n请选择或拖入要转换的文件本身。"));
    }
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

void PointConvertDlgCommandsTest::convertWarnsOfWhatItLeftOut_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("warning");
    const QByteArray points = QByteArray::fromStdString(velkaro::test::kSource);
    QTest::newRow("empty line 3") << points + "\r\n" + points + points << "2 点"
                                  << "警告: 第 3 行不足 10 字节，读取在此停止，其后 4 行没有转换。";
    QTest::newRow("header row") << "序号,解状态,点名,编码,X,Y,H\r\n" + points << "3 点"
                                << "警告: 1 行没有坐标数值 (第 1 行)，已按原样写入。";
}

// A warning takes the result dialog, with the warning icon: the output, its points and what was
// not converted.
void PointConvertDlgCommandsTest::convertWarnsOfWhatItLeftOut() {
    QFETCH(QByteArray, source);
    QFETCH(QString, points);
    QFETCH(QString, warning);
    Fixture f;
    writeFile(f.source, source);
    f.browseTo(f.source);
    f.convert(0);
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(f.messages.results().size(), std::size_t{1});
    const velkaro::dialog::ResultRow &row = f.messages.results()[0].rows.at(0);
    QCOMPARE(row.output, f.folder.filePath(QStringLiteral("ptsCass.dat")).toStdString());
    QCOMPARE(row.points, points.toStdString());
    QCOMPARE(row.notes, std::vector<std::string>{warning.toStdString()});
    QVERIFY(f.messages.results()[0].troubled);
}

// A second day's file of the same stem, or a re-conversion, asks before it replaces anything.
void PointConvertDlgCommandsTest::existingOutputIsReplacedOnlyAfterAsking() {
    Fixture f;
    const QString output = f.folder.filePath(QStringLiteral("ptsCass.dat"));
    writeFile(output, "edited by hand\r\n");
    f.browseTo(f.source);
    f.convert(0);
    QCOMPARE(f.messages.shown().size(), 1);
    // The question names when the existing file was last changed.
    QVERIFY(f.messages.last().text.startsWith(QStringLiteral("转换文件 ptsCass.dat (修改于 ")));
    QVERIFY(f.messages.last().text.endsWith(QStringLiteral(") 已存在。\n要替换它吗?")));
    QCOMPARE(f.messages.last().buttons,
             (QStringList{QStringLiteral("替换"), QStringLiteral("取消")}));
    QCOMPARE(f.messages.last().icon, QMessageBox::Question);
    QCOMPARE(f.messages.last().title, QCoreApplication::applicationName());
    QCOMPARE(readFile(output), QByteArray("edited by hand\r\n"));

    f.messages.replace = true;
    f.convert(0);
    QCOMPARE(f.messages.shown().size(), 3);
    QCOMPARE(f.messages.last().title, kConvertedTitle);
    QCOMPARE(readFile(output).size(),
             coreOutput(f.source, QStringLiteral("CASS6.0格式"), QTemporaryDir().path()).size());
    QCOMPARE(QDir::currentPath(), m_startFolder);
}

void PointConvertDlgCommandsTest::editedFieldChoosesNothing_data() {
    QTest::addColumn<int>("picked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("picked CASS, edited to CAD") << 0 << "\b\b\b\b\b\b\b\b\b\bCAD"
                                                << "CAD";
    QTest::newRow("typed CAD: no completion") << -1 << "CAD"
                                              << "CAD";
    QTest::newRow("typed a whole item, then left") << -1 << "CAD格式"
                                                   << "CAD格式";
}

// Editing the field clears the selection and keeps the text; Convert then asks for a format,
// so the field never shows one format while another is written.
void PointConvertDlgCommandsTest::editedFieldChoosesNothing() {
    QFETCH(int, picked);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Fixture f;
    f.browseTo(f.source);
    auto *const list = f.child<QComboBox>("comboFormat");
    list->setCurrentIndex(picked);
    list->lineEdit()->end(false);
    for (const QChar c : typed) {
        const bool back = c == QLatin1Char('\b');
        QTest::sendKeyEvent(QTest::Click, list->lineEdit(),
                            back ? Qt::Key_Backspace : Qt::Key_unknown,
                            back ? QString() : QString(c), Qt::NoModifier);
    }
    emit list->lineEdit()->editingFinished(); // as when the focus leaves the field
    QCOMPARE(list->currentText(), shown);
    QCOMPARE(list->currentIndex(), -1);
    f.child<QPushButton>("buttonConvert")->click();
    QCOMPARE(f.messages.last().text, QStringLiteral("请选择转换格式"));
    QCOMPARE(f.folderEntries(), QStringList{QStringLiteral("pts.txt")});
}

// Browse and a drop both take several files; one question covers every existing output, and
// the result dialog reports each output and each failure.
void PointConvertDlgCommandsTest::severalFilesConvertInOneRunWithOneSummary() {
    Fixture f;
    const QString second = f.folder.filePath(QStringLiteral("b.txt"));
    writeFile(second, sampleBytes());
    writeFile(f.folder.filePath(QStringLiteral("bCAD.dxf")), "old");
    f.chooser.answer(QStringList{f.source, second, f.folder.filePath(QStringLiteral("gone.txt"))});
    f.child<QPushButton>("buttonBrowse")->click();
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), QStringLiteral("pts.txt 等 3 个文件"));
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->toolTip().split(QLatin1Char('\n')).size(), 3);
    f.messages.replace = true;
    f.convert(2);
    QCOMPARE(f.messages.shown().size(), 1);
    QVERIFY(f.messages.last().text.startsWith(QStringLiteral("转换文件 bCAD.dxf (修改于 ")));
    QCOMPARE(f.messages.results().size(), std::size_t{1});
    const velkaro::dialog::ResultReport &report = f.messages.results()[0];
    QCOMPARE(report.headline, std::string("转换完成: 2 个文件成功，1 个失败。"));
    QCOMPARE(report.rows.size(), std::size_t{3});
    QCOMPARE(report.rows[0].output, f.folder.filePath(QStringLiteral("ptsCAD.dxf")).toStdString());
    QCOMPARE(report.rows[1].points, std::string("40 点"));
    QCOMPARE(report.rows[2].state, velkaro::dialog::RowState::Failed);
    QCOMPARE(report.folderToOpen, f.folder.path().toStdString());
    QCOMPARE(readFile(f.folder.filePath(QStringLiteral("bCAD.dxf"))),
             readFile(f.folder.filePath(QStringLiteral("ptsCAD.dxf"))));

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(second), QUrl::fromLocalFile(f.source)});
    f.drop(mime);
    QVERIFY(f.accepted);
    QCOMPARE(f.child<QLabel>("fileNameDisplay")->text(), QStringLiteral("b.txt 等 2 个文件"));
}

QTEST_MAIN(PointConvertDlgCommandsTest)
#include "point_convert_dlg_commands_test.moc"
