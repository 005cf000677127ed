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
    void questionAnswersYesOnlyByItsFirstButton_data();
    void questionAnswersYesOnlyByItsFirstButton();
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
        QCOMPARE(dialog->nameFilters(), (QStringList{QStringLiteral("txtfile(*.txt) (*.txt)"),
                                                     QStringLiteral("所有文件(*.*) (*)")}));
        // With the details hidden the filter shows, and is selected as, its label alone.
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("txtfile(*.txt)"));
        QVERIFY(dialog->testOption(QFileDialog::HideNameFilterDetails));
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->directory().absolutePath(), QFileInfo(path).absolutePath());
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    CQtFileChooser chooser;
    const QStringList chosen = chooser.chooseSourceFiles(&owner, QFileInfo(path).absolutePath());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chooser.shownFolder(), QFileInfo(path).absolutePath());
    QCOMPARE(QFileInfo(chosen.constFirst()).canonicalFilePath(),
             QFileInfo(path).canonicalFilePath());
}

void QtServicesTest::fileChooserCancelledChoosesNothing() {
    QWidget owner;
    QTimer::singleShot(0, &owner, [] {
        auto *const dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->reject();
    });
    CQtFileChooser chooser;
    QVERIFY(chooser.chooseSourceFiles(&owner, QString()).isEmpty());
    QVERIFY(!chooser.shownFolder().isEmpty());
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
        QCOMPARE(box->buttons().constFirst()->text(), QStringLiteral("确定"));
        seen = true;
        box->buttons().constFirst()->click();
    });
    CQtMessageBox messageBox;
    messageBox.show(&owner, QStringLiteral("\t转换成功!\n生成转换文件:<b>ptsCass.dat"),
                    QStringLiteral("格式转换提示："), QMessageBox::Warning);
    QVERIFY(seen);
}

void QtServicesTest::questionAnswersYesOnlyByItsFirstButton_data() {
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("yes");
    QTest::newRow("替换") << "替换" << true;
    QTest::newRow("取消") << "取消" << false;
    QTest::newRow("Enter") << "Enter" << false;
    QTest::newRow("Esc") << "Esc" << false;
}

void QtServicesTest::questionAnswersYesOnlyByItsFirstButton() {
    QFETCH(QString, press);
    QFETCH(bool, yes);
    QWidget owner;
    QTimer::singleShot(0, &owner, [&owner, &press] {
        auto *const box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        QCOMPARE(box->parentWidget(), &owner);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->windowTitle(), QStringLiteral("Velkaro"));
        QCOMPARE(box->buttons().size(), 2);
        for (QAbstractButton *const button : box->buttons()) {
            if (button->text() == press) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, press == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_Return);
    });
    CQtMessageBox messageBox;
    QCOMPARE(messageBox.ask(&owner, QStringLiteral("转换文件 ptsCass.dat 已存在。\n要替换它吗?"),
                            QStringLiteral("Velkaro"), QStringLiteral("替换"),
                            QStringLiteral("取消")),
             yes);
}

QTEST_MAIN(QtServicesTest)
#include "qt_services_test.moc"
