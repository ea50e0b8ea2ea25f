// The frozen desktop's windows in a real X server (Xvfb), at device pixel
// ratios 1 and 2: the desktop at the screen's device pixels, the magnifier
// drawn over it, and the pointer, buttons and keys. The server hands out
// what the windows show in device pixels.
#include "picker/frozenscreen.h"
#include "picker/magnifierimage.h"
#include "picker/magnifierlayout.h"
#include "tests/picker/checkerboard.h"
#include "tests/picker/windowgrab.h"

#include <QScreen>
#include <QtTest>

namespace {

QString Short(TColor c)
{
    return QString::number(c, 16);
}

// The screen in grey at its device pixels, the checkerboard's top left at
// (100, 100), so the odd pixel is at (120, 120).
QImage Desktop()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(90, 90, 90));
    const QImage board = Checkerboard(41);
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            image.setPixel(100 + x, 100 + y, board.pixel(x, y));
    return image;
}

qreal Ratio()
{
    return QGuiApplication::primaryScreen()->devicePixelRatio();
}

// A logical point of the window whose device pixel is p.
QPoint Logical(QPoint device)
{
    return (QPointF(device) / Ratio()).toPoint();
}

} // namespace

class TestFrozenScreen : public QObject {
    Q_OBJECT
private slots:
    void showsTheDesktopAndTheMagnifier()
    {
        const QImage desktop = Desktop();
        TFrozenScreen frozen(desktop, nullptr, 1, Short);
        QSignalSpy hovered(&frozen, &TFrozenScreen::Hovered);
        frozen.Show();
        QWindow* window = frozen.Window(0);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The hotspot starts at the screen's centre.
        QCOMPARE(frozen.Hotspot().Device, QPoint(desktop.width() / 2, desktop.height() / 2));
        QCOMPARE(hovered.size(), 1);
        const QPoint odd(120, 120);
        QTest::mouseMove(window, Logical(odd));
        QCOMPARE(frozen.Hotspot().Device, odd);
        QCOMPARE(hovered.constLast().at(0).value<TColor>(), Odd);

        // Device pixels: the desktop unscaled, the magnifier the X11 pick's.
        const QRect area = MagnifierArea(odd, MagnifierCells(MagnifierDefaultZoom));
        TMagnifierView view{desktop.copy(area),   QRegion(0, 0, area.width(), area.height()),
                            MagnifierDefaultZoom, Ratio(),
                            Short(Odd),           odd};
        const QImage magnifier = DrawMagnifier(view);
        const QPoint at = PlaceMagnifier(area, magnifier.size(), desktop.rect());
        QImage shown;
        QTRY_VERIFY((shown = Grab(window->winId())).size() == desktop.size() &&
                    shown.copy(QRect(at, magnifier.size())) == magnifier);
        QCOMPARE(shown.copy(QRect(700, 600, 50, 50)), desktop.copy(QRect(700, 600, 50, 50)));
    }

    void buttonsAndKeys_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("left click") << "click"
                                    << "picked";
        QTest::newRow("held and moved: the pressed colour") << "drag"
                                                            << "picked";
        QTest::newRow("right click") << "right"
                                     << "cancelled";
        QTest::newRow("Escape") << "escape"
                                << "cancelled";
        QTest::newRow("keys onto it, Enter") << "keys"
                                             << "picked";
    }
    void buttonsAndKeys()
    {
        QFETCH(QString, action);
        TFrozenScreen frozen(Desktop(), nullptr, 1, Short);
        QSignalSpy hovered(&frozen, &TFrozenScreen::Hovered), picked(&frozen, &TFrozenScreen::Picked),
            cancelled(&frozen, &TFrozenScreen::Cancelled);
        frozen.Show();
        QWindow* window = frozen.Window(0);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QPoint odd = Logical({120, 120});
        if (action == QLatin1String("click")) {
            QTest::mouseClick(window, Qt::LeftButton, {}, odd);
        } else if (action == QLatin1String("drag")) {
            QTest::mousePress(window, Qt::LeftButton, {}, odd);
            QTest::mouseMove(window, odd + QPoint(50, 50));
            QCOMPARE(hovered.constLast().at(0).value<TColor>(), Odd);
            QTest::mouseRelease(window, Qt::LeftButton, {}, odd + QPoint(50, 50));
        } else if (action == QLatin1String("right")) {
            QTest::mouseClick(window, Qt::RightButton, {}, odd);
        } else if (action == QLatin1String("escape")) {
            QTest::keyClick(window, Qt::Key_Escape);
        } else {
            QTest::mouseMove(window, Logical({130, 110}));
            for (int i = 0; i < 10; ++i)
                QTest::keyClick(window, Qt::Key_Left);
            QTest::keyClick(window, Qt::Key_Down, Qt::ShiftModifier);
            QTest::keyClick(window, Qt::Key_Plus);
            QCOMPARE(frozen.Zoom(), 12);
            QTest::keyClick(window, Qt::Key_Return);
        }
        QTEST(picked.size()      ? QStringLiteral("picked")
              : cancelled.size() ? QStringLiteral("cancelled")
                                 : QString(),
              "outcome");
        QCOMPARE(picked.size() + cancelled.size(), 1);
        if (!picked.isEmpty())
            QCOMPARE(picked.at(0).at(0).value<TColor>(), Odd);
    }
};

QTEST_MAIN(TestFrozenScreen)
#include "tst_frozenscreen.moc"
