#include "CColorLabel.h"
#include "CDialogUnits.h"

#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QWidget>

namespace {

const QColor kPaper(250, 240, 200);

// A parent painted in one colour, so that whatever the label draws stands out.
struct Scene {
    Scene() : parent(), label(QStringLiteral("TEMPLATE TEXT"), &parent) {
        parent.resize(200, 60);
        parent.setFont(CDialogUnits::templateFont());
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, kPaper);
        parent.setPalette(palette);
        label.setGeometry(20, 10, 150, 30);
    }
    [[nodiscard]] QImage labelImage() {
        return parent.grab(label.geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QWidget parent;
    CColorLabel label;
};

// The bounding box of every pixel that differs from the paper; null when there is none.
QRect inkBox(const QImage &image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != kPaper) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

int countPixels(const QImage &image, bool (*test)(const QColor &)) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += test(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class ColorLabelTest : public QObject {
    Q_OBJECT

  private slots:
    void emptyTextDrawsNothingEvenWithATemplateText();
    void drawsItsOwnTextCentredFromTheTopInBlackOverTheParent();
    void followsTheParentsFont();
    void setTextDoesNotRepaint();
};

void ColorLabelTest::emptyTextDrawsNothingEvenWithATemplateText() {
    Scene scene;
    QVERIFY(inkBox(scene.labelImage()).isNull());
}

// The back colour is stored but never shows: the text is drawn in transparent mode.
void ColorLabelTest::drawsItsOwnTextCentredFromTheTopInBlackOverTheParent() {
    Scene scene;
    const QString text = QStringLiteral("选择源文件:");
    scene.label.SetText(text);
    scene.label.SetBackColor(Qt::red);
    const QRect ink = inkBox(scene.labelImage());
    QVERIFY(!ink.isNull());

    // Only the label's own text fits: the wider template text would reach further out.
    const QFontMetrics metrics(scene.parent.font());
    const int advance = metrics.horizontalAdvance(text);
    const int left = (scene.label.width() - advance) / 2;
    QVERIFY2(ink.left() >= left - 1 && ink.right() <= left + advance,
             qPrintable(QStringLiteral("ink %1..%2, text %3..%4")
                            .arg(ink.left())
                            .arg(ink.right())
                            .arg(left)
                            .arg(left + advance)));
    // From the top edge of the 30-pixel label, not centred in it (antialiasing may add a row).
    QVERIFY(ink.top() <= 2);
    QVERIFY(ink.bottom() <= metrics.height());
    QVERIFY(countPixels(scene.labelImage(), [](const QColor &c) { return c.value() < 60; }) > 0);
    QCOMPARE(
        countPixels(scene.labelImage(), [](const QColor &c) { return c.red() > c.green() + 60; }),
        0);
}

void ColorLabelTest::followsTheParentsFont() {
    Scene scene;
    scene.label.SetText(QStringLiteral("选择"));
    const int smallHeight = inkBox(scene.labelImage()).height();
    QFont larger = scene.parent.font();
    larger.setPixelSize(24);
    scene.parent.setFont(larger);
    QVERIFY(inkBox(scene.labelImage()).height() > smallHeight + 6);
}

void ColorLabelTest::setTextDoesNotRepaint() {
    Scene scene;
    scene.parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scene.parent));
    int paints = 0;
    struct Counter : QObject {
        int *count;
        explicit Counter(int *c) : count(c) {}
        bool eventFilter(QObject *, QEvent *event) override {
            *count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(&paints);
    scene.label.installEventFilter(&counter);
    scene.label.SetText(QStringLiteral("选择源文件:"));
    QTest::qWait(50);
    QCOMPARE(paints, 0);
    scene.label.update();
    QTRY_VERIFY(paints > 0);
}

QTEST_MAIN(ColorLabelTest)
#include "color_label_test.moc"
