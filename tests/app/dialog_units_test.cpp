#include "CDialogUnits.h"

#include <QFontInfo>
#include <QTest>

class DialogUnitsTest : public QObject {
    Q_OBJECT

  private slots:
    void mulDivRoundsHalvesAwayFromZero_data();
    void mulDivRoundsHalvesAwayFromZero();
    void convertsPositionAndSizeEachOnTheirOwn();
    void templateFontIsTheNearestSongFaceAt9Points();
};

void DialogUnitsTest::mulDivRoundsHalvesAwayFromZero_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("expected");
    QTest::newRow("exact") << 342 << 6 << 4 << 513;
    QTest::newRow("half up") << 183 << 12 << 8 << 275;
    QTest::newRow("below half") << 57 << 7 << 4 << 100;
    QTest::newRow("negative half") << -3 << 5 << 2 << -8;
    QTest::newRow("negative denominator") << 3 << 5 << -2 << -8;
    QTest::newRow("product beyond 32 bits") << 100000 << 100000 << 100000 << 100000;
    QTest::newRow("zero denominator") << 7 << 1 << 0 << -1;
}

void DialogUnitsTest::mulDivRoundsHalvesAwayFromZero() {
    QFETCH(int, number);
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(int, expected);
    QCOMPARE(CDialogUnits::mulDiv(number, numerator, denominator), expected);
}

// Converting the corners instead would give the browse button a height of 22, not 23.
void DialogUnitsTest::convertsPositionAndSizeEachOnTheirOwn() {
    const CDialogUnits units(6, 12);
    QCOMPARE(units.toPixels(QRect(265, 105, 34, 15)), QRect(398, 158, 51, 23));
    QCOMPARE(units.toPixels(QSize(342, 183)), QSize(513, 275));
    QCOMPARE(units.toPixelsX(57), 86);
    QCOMPARE(units.toPixelsY(8), 12);
}

void DialogUnitsTest::templateFontIsTheNearestSongFaceAt9Points() {
    const QFont font = CDialogUnits::templateFont();
    QCOMPARE(font.pointSize(), 9);
    const QString family = QFontInfo(font).family();
    QVERIFY2(
        family.startsWith(QLatin1String("AR PL UMing")) || family == QLatin1String("SimSun"),
        qPrintable(QStringLiteral("resolved to %1; is fonts-arphic-uming installed?").arg(family)));
    // The metrics of 宋体 9 pt at 96 dots per inch, which the template was laid out in.
    const CDialogUnits units(font);
    QCOMPARE(units.baseUnitX(), 6);
    QCOMPARE(units.baseUnitY(), 12);
}

QTEST_MAIN(DialogUnitsTest)
#include "dialog_units_test.moc"
