// The Qt implementations behind the dialog's file chooser and message box.
#include "CQtFileChooser.h"
#include "CQtMessageBox.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class QtServicesTest : public QObject {
    Q_OBJECT

  private slots:
    void fileChooserOffersTxtFilesAndReturnsTheChoice();
    void fileChooserCancelledChoosesNothing();
    void messageBoxHasTitleIconTextAndOneOk();
};

void QtServicesTest::fileChooserOffersTxtFilesAndReturnsTheChoice() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("点位.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QWidget owner;
    QTimer::singleShot(0, &owner, [&owner, &path] {
        auto *const dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->parentWidget(), &owner);
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("txtfile(*.txt)")});
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->setDirectory(QFileInfo(path).absolutePath());
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    CQtFileChooser chooser;
    const std::optional<QString> chosen = chooser.chooseSourceFile(&owner);
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
}

void QtServicesTest::fileChooserCancelledChoosesNothing() {
    QWidget owner;
    QTimer::singleShot(0, &owner, [] {
        auto *const dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->reject();
    });
    CQtFileChooser chooser;
    QVERIFY(!chooser.chooseSourceFile(&owner).has_value());
}

void QtServicesTest::messageBoxHasTitleIconTextAndOneOk() {
    QWidget owner;
    bool seen = false;
    QTimer::singleShot(0, &owner, [&owner, &seen] {
        auto *const box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->parentWidget(), &owner);
        QCOMPARE(box->text(), QStringLiteral("\t转换成功!\n生成转换文件:<b>ptsCass.dat"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->windowTitle(), QStringLiteral("格式转换提示："));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().constFirst()), QMessageBox::Ok);
        seen = true;
        box->buttons().constFirst()->click();
    });
    CQtMessageBox messageBox;
    messageBox.show(&owner, QStringLiteral("\t转换成功!\n生成转换文件:<b>ptsCass.dat"),
                    QStringLiteral("格式转换提示："), QMessageBox::Warning);
    QVERIFY(seen);
}

QTEST_MAIN(QtServicesTest)
#include "qt_services_test.moc"
