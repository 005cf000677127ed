#include "CAboutBox.h"
#include "velkaro_version.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// A shown owner, since the box centres itself on it.
struct Fixture {
    Fixture() {
        owner.setGeometry(120, 90, 513, 275);
        owner.show();
        if (!QTest::qWaitForWindowExposed(&owner)) {
            qFatal("the owner never showed");
        }
    }
    QWidget owner;
    CAboutBox box{&owner};
};

} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void showsNameVersionAndDefaultOk();
    void controlsSitWhereTheTemplatePutsThem_data();
    void controlsSitWhereTheTemplatePutsThem();
    void isModalAndCentredOnItsOwner();
    void ends_data();
    void ends();
};

void AboutBoxTest::showsNameVersionAndDefaultOk() {
    Fixture f;
    QCOMPARE(f.box.windowTitle(), QStringLiteral("关于 Velkaro"));
    const QLabel *const name = f.box.findChild<QLabel *>(QStringLiteral("aboutName"));
    QCOMPARE(name->text(), QStringLiteral("Velkaro 1.0 版"));
    QCOMPARE(name->toolTip(), QStringLiteral("版本 " VELKARO_VERSION));
    QVERIFY(!f.box.findChild<QLabel *>(QStringLiteral("aboutNotice"))->text().isEmpty());
    auto *const ok = f.box.findChild<QPushButton *>(QStringLiteral("buttonOk"));
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    QVERIFY(ok->isDefault());
    QCOMPARE(f.box.findChild<QLabel *>(QStringLiteral("aboutIcon"))->pixmap().size(),
             QSize(32, 32));
    QVERIFY(!(f.box.windowFlags() & Qt::WindowMinimizeButtonHint));
}

void AboutBoxTest::controlsSitWhereTheTemplatePutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("dialogUnits");
    QTest::newRow("name") << "aboutName" << QRect(40, 10, 119, 8);
    QTest::newRow("notice") << "aboutNotice" << QRect(40, 25, 119, 8);
    QTest::newRow("OK") << "buttonOk" << QRect(178, 7, 50, 14);
    // The icon control takes the icon's own size.
    QTest::newRow("icon") << "aboutIcon" << QRect(11, 17, 0, 0);
}

void AboutBoxTest::controlsSitWhereTheTemplatePutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, dialogUnits);
    Fixture f;
    const CDialogUnits &units = f.box.dialogUnits();
    QCOMPARE(f.box.size(), units.toPixels(QSize(235, 55)));
    const QWidget *const control = f.box.findChild<QWidget *>(name);
    QVERIFY(control != nullptr);
    const QRect expected = units.toPixels(dialogUnits);
    QCOMPARE(control->pos(), expected.topLeft());
    QCOMPARE(control->size(), dialogUnits.isEmpty() ? QSize(32, 32) : expected.size());
}

void AboutBoxTest::isModalAndCentredOnItsOwner() {
    Fixture f;
    QTimer::singleShot(0, &f.box, [&f] {
        QCOMPARE(QApplication::activeModalWidget(), &f.box);
        const QPoint offset = f.box.frameGeometry().center() - f.owner.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));
        f.box.reject();
    });
    (void)f.box.exec();
    QVERIFY(f.box.isModal());
}

void AboutBoxTest::ends_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << "click" << int(QDialog::Accepted);
    QTest::newRow("Enter") << "enter" << int(QDialog::Accepted);
    QTest::newRow("Esc") << "escape" << int(QDialog::Rejected);
    QTest::newRow("close box") << "close" << int(QDialog::Rejected);
}

void AboutBoxTest::ends() {
    QFETCH(QString, how);
    QFETCH(int, result);
    Fixture f;
    QTimer::singleShot(0, &f.box, [&f, how] {
        // The box opens with the focus on OK.
        QWidget *const focus = f.box.focusWidget();
        auto *const ok = f.box.findChild<QPushButton *>(QStringLiteral("buttonOk"));
        QCOMPARE(focus, ok);
        if (how == QLatin1String("click")) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else if (how == QLatin1String("enter")) {
            QTest::keyClick(focus, Qt::Key_Return);
        } else if (how == QLatin1String("escape")) {
            QTest::keyClick(focus, Qt::Key_Escape);
        } else {
            f.box.close();
        }
    });
    QCOMPARE(f.box.exec(), result);
}

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
