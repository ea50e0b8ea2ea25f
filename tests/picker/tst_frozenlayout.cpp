// The screens' places in a desktop's screenshot and the hotspot's moves
// over them, without a display.
#include "picker/frozenlayout.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<TScreenPlace>)
Q_DECLARE_METATYPE(std::vector<QRect>)
Q_DECLARE_METATYPE(THotspot)

namespace {

// The screens a desktop of a panel at scale 1 and a smaller display at
// scale 2 beside it gives: 1280×1024 and, of 800×600 device pixels, 400×300
// logical ones; the screenshot at scale 2 is 3360×2048.
const std::vector<TScreenPlace> Mixed = {{{0, 0, 1280, 1024}, 1}, {{1280, 0, 400, 300}, 2}};

} // namespace

class TestFrozenLayout : public QObject {
    Q_OBJECT
private slots:
    void screensInImage_data()
    {
        QTest::addColumn<std::vector<TScreenPlace>>("screens");
        QTest::addColumn<QSize>("image");
        QTest::addColumn<std::vector<QRect>>("expected");
        QTest::newRow("one screen, scale 1") << std::vector<TScreenPlace>{{{0, 0, 1280, 1024}, 1}} << QSize(1280, 1024)
                                             << std::vector<QRect>{{0, 0, 1280, 1024}};
        QTest::newRow("scales 1 and 2") << Mixed << QSize(3360, 2048)
                                        << std::vector<QRect>{{0, 0, 2560, 2048}, {2560, 0, 800, 600}};
        QTest::newRow("both at scale 2, one below, off the origin")
            << std::vector<TScreenPlace>{{{-100, 50, 640, 480}, 2}, {{-100, 530, 320, 200}, 2}} << QSize(1280, 1360)
            << std::vector<QRect>{{0, 0, 1280, 960}, {0, 960, 640, 400}};
        QTest::newRow("scale 1.5") << std::vector<TScreenPlace>{{{0, 0, 800, 600}, 1.5}, {{800, 100, 200, 100}, 1}}
                                   << QSize(1500, 900) << std::vector<QRect>{{0, 0, 1200, 900}, {1200, 150, 300, 150}};
        QTest::newRow("no image") << Mixed << QSize() << std::vector<QRect>{{}, {}};
        QTest::newRow("no screens") << std::vector<TScreenPlace>{} << QSize(10, 10) << std::vector<QRect>{};
    }
    void screensInImage()
    {
        QFETCH(std::vector<TScreenPlace>, screens);
        QFETCH(QSize, image);
        QFETCH(std::vector<QRect>, expected);
        const std::vector<QRect> parts = ScreensInImage(screens, image);
        QCOMPARE(parts.size(), expected.size());
        for (std::size_t i = 0; i < parts.size(); ++i)
            QCOMPARE(parts[i], expected[i]);
    }

    void imagePixel_data()
    {
        QTest::addColumn<QRect>("inImage");
        QTest::addColumn<QSize>("device");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("scales agree") << QRect(2560, 0, 800, 600) << QSize(800, 600) << QPoint(799, 1)
                                      << QPoint(3359, 1);
        QTest::newRow("image at twice the screen")
            << QRect(0, 0, 2560, 2048) << QSize(1280, 1024) << QPoint(3, 5) << QPoint(6, 10);
        QTest::newRow("beyond the screen, kept on it")
            << QRect(0, 0, 2560, 2048) << QSize(1280, 1024) << QPoint(1280, -4) << QPoint(2558, 0);
        QTest::newRow("no device pixels") << QRect(5, 6, 10, 10) << QSize() << QPoint(3, 3) << QPoint(5, 6);
    }
    void imagePixel()
    {
        QFETCH(QRect, inImage);
        QFETCH(QSize, device);
        QFETCH(QPoint, point);
        QTEST(ImagePixel(inImage, device, point), "expected");
    }

    void moves_data()
    {
        QTest::addColumn<THotspot>("from");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<THotspot>("expected");
        QTest::newRow("within a screen") << THotspot{0, {10, 10}} << QPoint(1, 0) << THotspot{0, {11, 10}};
        QTest::newRow("across the shared edge") << THotspot{0, {1279, 100}} << QPoint(1, 0) << THotspot{1, {0, 200}};
        QTest::newRow("back across it") << THotspot{1, {0, 200}} << QPoint(-1, 0) << THotspot{0, {1279, 100}};
        QTest::newRow("by ten, into the other screen")
            << THotspot{0, {1275, 7}} << QPoint(10, 0) << THotspot{1, {10, 14}};
        QTest::newRow("the edge where no screen lies beyond")
            << THotspot{0, {1279, 500}} << QPoint(1, 0) << THotspot{0, {1279, 500}};
        QTest::newRow("below the smaller screen")
            << THotspot{1, {400, 599}} << QPoint(0, 10) << THotspot{1, {400, 599}};
        QTest::newRow("the top left corner") << THotspot{0, {0, 3}} << QPoint(-10, -10) << THotspot{0, {0, 0}};
        QTest::newRow("right edge of the last") << THotspot{1, {799, 0}} << QPoint(1, 0) << THotspot{1, {799, 0}};
        QTest::newRow("a screen that is not there") << THotspot{5, {1, 1}} << QPoint(1, 0) << THotspot{5, {1, 1}};
    }
    void moves()
    {
        QFETCH(THotspot, from);
        QFETCH(QPoint, delta);
        QFETCH(THotspot, expected);
        const THotspot to = MoveHotspot(Mixed, from, delta);
        QVERIFY2(
            to == expected,
            qPrintable(QStringLiteral("screen %1 at %2, %3").arg(to.Screen).arg(to.Device.x()).arg(to.Device.y())));
    }
};

QTEST_APPLESS_MAIN(TestFrozenLayout)
#include "tst_frozenlayout.moc"
