// The surveyor's window beyond the template: the settings and their store, the options line,
// names Qt cannot show, and the result dialog that fits the screen.
#include "CCoreNames.h"
#include "CPointConvertDlg.h"
#include "CResultDlg.h"
#include "CSettingsDlg.h"
#include "CSettingsStore.h"
#include "test_doubles.h"
#include "test_files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace {

using velkaro::dialog::OutputPlace;
using velkaro::dialog::sourceReadingOf;
using velkaro::dialog::WindowSettings;
using velkaro::test::kSource;
using velkaro::test::writeBytes;

template <typename T> T *child(QWidget &parent, const char *name) {
    T *const found = parent.findChild<T *>(QLatin1String(name));
    if (found == nullptr) {
        qFatal("no child %s", name);
    }
    return found;
}

const std::string kGbkName = "\xB5\xE3.txt"; // 点.txt in GBK: not UTF-8
// CASS's own layout, the names in GBK (控1, 控2).
const std::string kCassPoints = "\277\3301,K,516181.7,3515102.9,42.8\r\n\277\3302,,1,2,3\r\n";

[[nodiscard]] QStringList previewRow(CSettingsDlg &dialog, int row) {
    QStringList cells;
    for (int column = 0; column < 5; ++column) {
        cells << child<QTableWidget>(dialog, "previewTable")->item(row, column)->text();
    }
    return cells;
}

[[nodiscard]] QString qtPath(const std::string &utf8) {
    return QString::fromStdString(utf8);
}

struct SettingsCase {
    const char *name;
    std::function<void(CSettingsDlg &)> act;
    std::function<void(WindowSettings &)> expect;
};

} // namespace

class SettingsAndResultsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { useTemporaryConfig(); }
    void settingsControlsSitInTheGroupBoxsFreeTop();
    void settingsDialogTakesEachOption();
    void invalidChoicesAreRefusedWithTheirReason();
    void settingsAreRememberedByteForByte();
    void previewFollowsTheSourceLayout();
    void customRolesAreCheckedAndTheDialogFitsTheScreen();
    void settingsButtonChangesTheOptionsLineAndTheOutputs();
    void dropOfUndecodableNamesConvertsTheRestAndNamesThem();
    void browseNamesWhatTheChooserCannotList();
    void coreNamesKeepTheirBytes();
    void resultDialogFitsTheScreen();

  public slots:
    void openUrl(const QUrl &url) { m_opened << url; }

  private:
    QList<QUrl> m_opened;
};

// The template's controls keep their places; the new ones fit in the group box beside them.
void SettingsAndResultsTest::settingsControlsSitInTheGroupBoxsFreeTop() {
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CPointConvertDlg dialog(chooser, messages);
    const QRect box = child<QWidget>(dialog, "groupBox")->geometry();
    for (const char *added : {"optionsLine", "buttonSettings"}) {
        const QRect place = child<QWidget>(dialog, added)->geometry();
        QVERIFY2(box.contains(place), added);
        for (const char *old : {"labelSource", "fileNameDisplay", "buttonBrowse", "buttonConvert",
                                "comboFormat", "labelFormat"}) {
            QVERIFY2(!place.intersects(child<QWidget>(dialog, old)->geometry()), old);
        }
    }
}

// Each control sets its option and nothing else; 恢复默认 undoes them all.
void SettingsAndResultsTest::settingsDialogTakesEachOption() {
    const std::vector<SettingsCase> cases = {
        {"code page",
         [](CSettingsDlg &d) { child<QComboBox>(d, "codePage")->setCurrentText("936"); },
         [](WindowSettings &s) { s.options.dxfCodePage = 936; }},
        {"axes", [](CSettingsDlg &d) { child<QComboBox>(d, "axes")->setCurrentIndex(1); },
         [](WindowSettings &s) { s.options.dxfAxes = velkaro::DxfAxes::En; }},
        {"labels",
         [](CSettingsDlg &d) {
             child<QCheckBox>(d, "labels")->setChecked(true);
             child<QLineEdit>(d, "labelHeight")->setText("2.5");
             child<QSpinBox>(d, "labelDecimals")->setValue(1);
         },
         [](WindowSettings &s) {
             s.options.dxfLabels = velkaro::DxfLabels{2.5, 1};
         }},
        {"CASS columns",
         [](CSettingsDlg &d) { child<QComboBox>(d, "cassColumns")->setCurrentIndex(1); },
         [](WindowSettings &s) { s.options.cassColumns = velkaro::CassColumns::Name; }},
        {"skip junk", [](CSettingsDlg &d) { child<QCheckBox>(d, "skipJunk")->setChecked(true); },
         [](WindowSettings &s) { s.options.leaveOutLinesWithoutCoordinates = true; }},
        {"summary", [](CSettingsDlg &d) { child<QCheckBox>(d, "summary")->setChecked(true); },
         [](WindowSettings &s) { s.options.summary = true; }},
        {"crs auto",
         [](CSettingsDlg &d) { QTest::keyClick(child<QComboBox>(d, "crs"), Qt::Key_Down); },
         [](WindowSettings &s) { s.options.crs = velkaro::CrsChoice{}; }},
        {"crs typed",
         [](CSettingsDlg &d) { QTest::keyClicks(child<QComboBox>(d, "crs"), "EPSG:4548"); },
         [](WindowSettings &s) {
             s.options.crs = velkaro::CrsChoice{velkaro::CrsChoice::Mode::Epsg, 4548};
         }},
    };
    for (const SettingsCase &c : cases) {
        CScriptedFileChooser chooser;
        CRecordingMessageBox messages;
        WindowSettings start;
        start.lastFolder = "/survey";
        CSettingsDlg dialog(start, {}, chooser, messages, nullptr);
        QVERIFY2(dialog.settings() == start, c.name);
        c.act(dialog);
        WindowSettings expected = start;
        c.expect(expected);
        QVERIFY2(dialog.settings() == expected, c.name);
        child<QPushButton>(dialog, "defaults")->click();
        QVERIFY2(dialog.settings() == start, c.name);
    }
}

// 确定 keeps the dialog open and says why while a choice is invalid.
void SettingsAndResultsTest::invalidChoicesAreRefusedWithTheirReason() {
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CSettingsDlg dialog({}, {}, chooser, messages, nullptr);
    dialog.show();
    child<QCheckBox>(dialog, "labels")->setChecked(true);
    for (const char *height : {"0", "abc", "1e7"}) {
        child<QLineEdit>(dialog, "labelHeight")->setText(QLatin1String(height));
        dialog.accept();
        QCOMPARE(messages.last().text, QStringLiteral("文字高度无效: ") + QLatin1String(height) +
                                           QStringLiteral(" (须在 0.000001 至 1000000 之间)"));
        QVERIFY2(dialog.isVisible(), height);
    }
    child<QCheckBox>(dialog, "labels")->setChecked(false);
    child<QRadioButton>(dialog, "folder")->setChecked(true);
    dialog.accept();
    QCOMPARE(messages.last().text, QStringLiteral("请选择输出文件夹。"));
    QCOMPARE(messages.last().icon, QMessageBox::Warning);
    QVERIFY(dialog.isVisible());
    QCOMPARE(messages.shown().size(), 4);

    chooser.answerFolder(QStringLiteral("/tmp"));
    child<QPushButton>(dialog, "chooseFolder")->click();
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.settings().outputPlace, OutputPlace::Folder);
    QCOMPARE(dialog.settings().outputFolder, std::string("/tmp"));
}

// A folder whose name is not UTF-8 comes back as the same bytes.
void SettingsAndResultsTest::settingsAreRememberedByteForByte() {
    WindowSettings settings;
    settings.options.dxfCodePage = 950;
    settings.options.summary = true;
    settings.outputPlace = OutputPlace::Folder;
    settings.outputFolder = "/data/" + kGbkName;
    settings.lastFolder = "/data/外业";
    settings.options.crs = velkaro::CrsChoice{velkaro::CrsChoice::Mode::Epsg, 4527};
    for (const char *layout : {"cass", "-,name,x,y,z"}) {
        settings.options.sourceReading = sourceReadingOf(layout, "gbk");
        CSettingsStore::save(settings);
        QVERIFY(CSettingsStore::load() == settings);
        CScriptedFileChooser chooser;
        CRecordingMessageBox messages;
        CSettingsDlg dialog(CSettingsStore::load(), {}, chooser, messages, nullptr);
        QVERIFY2(dialog.settings() == settings, layout);
        QCOMPARE(child<QLineEdit>(dialog, "sourceRoles")->isEnabled(), layout[0] == '-');
    }
    CSettingsStore::save({});
    QVERIFY(CSettingsStore::load() == WindowSettings{});
}

// The preview shows the chosen file as the layout and the encoding chosen read it, names decoded;
// auto says why it decides nothing; before a choice it asks for a file.
void SettingsAndResultsTest::previewFollowsTheSourceLayout() {
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("cass.dat"));
    writeBytes(source.toStdString(), kCassPoints);
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CSettingsDlg dialog({}, QFile::encodeName(source).toStdString(), chooser, messages, nullptr);
    child<QComboBox>(dialog, "sourceLayout")->setCurrentIndex(2);
    QCOMPARE(child<QTableWidget>(dialog, "previewTable")->rowCount(), 2);
    QCOMPARE(previewRow(dialog, 0), (QStringList{"控1", "K", "3515102.9", "516181.7", "42.8"}));
    QCOMPARE(previewRow(dialog, 1)[0], QStringLiteral("控2"));
    child<QComboBox>(dialog, "sourceEncoding")->setCurrentText(QStringLiteral("UTF-8"));
    QVERIFY(previewRow(dialog, 0)[0] != QStringLiteral("控1"));

    writeBytes(source.toStdString(), "P1,100,200,3\n");
    CSettingsDlg undecided({}, QFile::encodeName(source).toStdString(), chooser, messages, nullptr);
    child<QComboBox>(undecided, "sourceLayout")->setCurrentIndex(1);
    QCOMPARE(child<QTableWidget>(undecided, "previewTable")->rowCount(), 0);
    QVERIFY(child<QLabel>(undecided, "previewNote")->text().startsWith(QStringLiteral("原因: ")));

    CSettingsDlg none({}, {}, chooser, messages, nullptr);
    child<QComboBox>(none, "sourceLayout")->setCurrentIndex(2);
    QCOMPARE(child<QTableWidget>(none, "previewTable")->rowCount(), 0);
    QCOMPARE(child<QLabel>(none, "previewNote")->text(), QStringLiteral("请先选择源文件"));
}

// A custom list the converter would refuse keeps the dialog open; the dialog fits 1280×800.
void SettingsAndResultsTest::customRolesAreCheckedAndTheDialogFitsTheScreen() {
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CSettingsDlg dialog({}, {}, chooser, messages, nullptr);
    QVERIFY(dialog.sizeHint().width() <= 1280 - 200 && dialog.sizeHint().height() <= 800 - 150);
    dialog.show();
    auto *const roles = child<QLineEdit>(dialog, "sourceRoles");
    child<QComboBox>(dialog, "sourceLayout")->setCurrentIndex(5);
    for (const char *invalid : {"", "name,x,x,y", "name,code,z", "a,b"}) {
        roles->setText(QLatin1String(invalid));
        dialog.accept();
        QVERIFY2(messages.last().text.startsWith(QStringLiteral("自定义各列须为")), invalid);
        QCOMPARE(child<QLabel>(dialog, "previewNote")->text(), messages.last().text);
        QVERIFY2(dialog.isVisible(), invalid);
    }
    roles->setText(QStringLiteral("-,name,y,x,z"));
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.settings().options.sourceReading == sourceReadingOf("-,name,y,x,z", ""));
}

// 设置... opens the settings, with the chosen file's preview; what 确定 takes shows in the options
// line, is saved, and decides where the next conversion writes.
void SettingsAndResultsTest::settingsButtonChangesTheOptionsLineAndTheOutputs() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));
    const QString source = folder.filePath(QStringLiteral("pts.txt"));
    writeBytes(source.toStdString(), kSource);
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CPointConvertDlg dialog(chooser, messages);
    auto *const line = child<QLabel>(dialog, "optionsLine");
    QCOMPARE(line->text(), QStringLiteral("选项: 与原程序相同"));
    QCOMPARE(line->accessibleName(), QStringLiteral("转换选项"));
    QCOMPARE(child<QComboBox>(dialog, "comboFormat")->accessibleName(), QStringLiteral("转换格式"));
    QCOMPARE(child<QLabel>(dialog, "fileNameDisplay")->accessibleName(),
             QStringLiteral("源文件名"));

    chooser.answer(source);
    child<QPushButton>(dialog, "buttonBrowse")->click();
    chooser.answerFolder(folder.filePath(QStringLiteral("out")));
    QTimer::singleShot(0, &dialog, [] {
        auto *const settings = qobject_cast<CSettingsDlg *>(QApplication::activeModalWidget());
        QVERIFY(settings != nullptr);
        QCOMPARE(child<QTableWidget>(*settings, "previewTable")->rowCount(), 2);
        child<QCheckBox>(*settings, "summary")->setChecked(true);
        auto *const crs = child<QComboBox>(*settings, "crs");
        QCOMPARE(crs->count(), 66);
        QCOMPARE(crs->itemText(2),
                 QStringLiteral("EPSG:4491 CGCS2000 6° 带 13 (75°E, 东坐标带带号)"));
        QTest::keyClicks(crs, QStringLiteral("EPSG:4548"));
        QCOMPARE(crs->currentText(), QStringLiteral("EPSG:4548 CGCS2000 3° 带 39 (117°E)"));
        child<QPushButton>(*settings, "chooseFolder")->click();
        settings->accept();
    });
    child<QPushButton>(dialog, "buttonSettings")->click();
    QVERIFY(line->text().contains(QStringLiteral("; 坐标系 EPSG:4548; 输出到 ")));
    QCOMPARE(line->accessibleDescription(), line->text());
    QVERIFY(CSettingsStore::load() == dialog.settings());
    QVERIFY(dialog.settings().options.summary);

    child<QComboBox>(dialog, "comboFormat")->setCurrentIndex(0);
    child<QPushButton>(dialog, "buttonConvert")->click();
    QCOMPARE(messages.results().size(), std::size_t{1}); // the summary asks for the dialog
    QCOMPARE(messages.results()[0].rows[0].output,
             folder.filePath(QStringLiteral("out/ptsCass.dat")).toStdString());
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("out/ptsCass.dat"))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("ptsCass.dat"))));
    // A GIS format: this test links no writers, and the row names the output they would write.
    child<QComboBox>(dialog, "comboFormat")->setCurrentIndex(3);
    child<QPushButton>(dialog, "buttonConvert")->click();
    QCOMPARE(messages.results().size(), std::size_t{2});
    QCOMPARE(messages.results()[1].rows[0].notes,
             std::vector<std::string>{"本程序不能写 GIS 格式:pts.gpkg"});
    CSettingsStore::save({});
}

// The good names are chosen and converted; the others, and a folder of such a name, are named in
// one box, escaped, with what to do.
void SettingsAndResultsTest::dropOfUndecodableNamesConvertsTheRestAndNamesThem() {
    QTemporaryDir folder;
    const std::string base = QFile::encodeName(folder.path()).toStdString() + "/";
    writeBytes(base + kGbkName, kSource);
    writeBytes(base + "good.txt", kSource);
    std::filesystem::create_directory(base + "\xB5");
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CPointConvertDlg dialog(chooser, messages);
    QMimeData mime;
    mime.setUrls({CCoreNames::fileUrl(base + kGbkName), CCoreNames::fileUrl(base + "good.txt"),
                  CCoreNames::fileUrl(base + "\xB5")});
    const velkaro::dialog::ChosenNames items = CPointConvertDlg::droppedItems(&mime);
    QCOMPARE(items.coreNames, std::vector<std::string>{base + "good.txt"});
    QCOMPARE(items.refused, std::vector<std::string>{CCoreNames::escaped(base + kGbkName)});
    QDragEnterEvent enter(QPoint(40, 30), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(40, 30), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &drop);
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.last().text.contains(qtPath(base) + QStringLiteral("\\xB5\\xE3.txt\n")));
    QVERIFY(messages.last().text.contains(QStringLiteral("没有选择:\n") + qtPath(base) +
                                          QStringLiteral("\\xB5\n")));
    QVERIFY(messages.last().text.contains(QStringLiteral("velkaro-convert")));
    QCOMPARE(dialog.sourceName(), QStringLiteral("good.txt"));
    child<QComboBox>(dialog, "comboFormat")->setCurrentIndex(1);
    child<QPushButton>(dialog, "buttonConvert")->click();
    QVERIFY(
        messages.last().text.startsWith(QStringLiteral("\t转换成功!\n生成转换文件:goodKaisi.txt")));
    std::filesystem::remove(base + kGbkName); // QTemporaryDir cannot name them
    std::filesystem::remove(base + "\xB5");
}

// The chooser cannot list such names; after it closes, chosen or cancelled, the window names
// those of the folder it showed, and the next Browse starts there.
void SettingsAndResultsTest::browseNamesWhatTheChooserCannotList() {
    QTemporaryDir folder;
    const std::string undecodable = QFile::encodeName(folder.path()).toStdString() + "/" + kGbkName;
    writeBytes(undecodable, kSource);
    CScriptedFileChooser chooser;
    CRecordingMessageBox messages;
    CPointConvertDlg dialog(chooser, messages);
    chooser.showFolder(folder.path());
    chooser.cancel();
    child<QPushButton>(dialog, "buttonBrowse")->click();
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.last().text.contains(QStringLiteral("\\xB5\\xE3.txt")));
    QCOMPARE(dialog.settings().lastFolder, QFile::encodeName(folder.path()).toStdString());
    child<QPushButton>(dialog, "buttonBrowse")->click();
    QCOMPARE(chooser.lastStart(), folder.path());
    CSettingsStore::save({});
    std::filesystem::remove(undecodable);
}

void SettingsAndResultsTest::coreNamesKeepTheirBytes() {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/data/pts.txt", "/data/pts.txt"},
        {"/外业/控制点.txt", "/外业/控制点.txt"},
        {"/data/" + kGbkName, "/data/\\xB5\\xE3.txt"},
        {"/a/\xE6\x8E", "/a/\\xE6\\x8E"}, // a cut sequence
    };
    for (const auto &[name, shown] : cases) {
        QCOMPARE(CCoreNames::escaped(name), shown);
        QCOMPARE(CCoreNames::fromFileUrl(CCoreNames::fileUrl(name)), name);
        QCOMPARE(CCoreNames::isRepresentable(name), name == shown);
    }
    QCOMPARE(CCoreNames::fromFileUrl(QUrl(QStringLiteral("https://example.com/a.txt"))),
             std::string());
}

// Forty rows scroll inside a dialog no taller than the screen's available area.
void SettingsAndResultsTest::resultDialogFitsTheScreen() {
    velkaro::dialog::ResultReport report;
    report.headline = "转换完成: 40 个文件成功，0 个失败。";
    for (int i = 0; i < 40; ++i) {
        report.rows.push_back({"day" + std::to_string(i) + ".txt",
                               "/data/day" + std::to_string(i) + "Cass.dat",
                               "40 点",
                               {},
                               velkaro::dialog::RowState::Converted,
                               {}});
    }
    report.folderToOpen = "/data";
    QWidget owner;
    CResultDlg dialog(report, &owner);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(area.contains(dialog.frameGeometry()), "the dialog leaves the screen");
    QCOMPARE(dialog.table()->rowCount(), 40);
    QVERIFY(dialog.table()->verticalScrollBar()->isVisible());
    QCOMPARE(dialog.headline()->text(), QStringLiteral("转换完成: 40 个文件成功，0 个失败。"));
    QCOMPARE(dialog.table()->item(39, 1)->text(), QStringLiteral("/data/day39Cass.dat"));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    QVERIFY(dialog.openFolderButton()->isEnabled());
    dialog.openFolderButton()->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/data"))});
    QVERIFY(dialog.okButton()->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(SettingsAndResultsTest)
#include "settings_and_results_test.moc"
