// Run in a real X server (Xvfb): windows of known colours on the screen, the
// pointer and keys driven through xdotool.
#include "picker/areamean.h"
#include "picker/magnifierimage.h"
#include "picker/magnifierlayout.h"
#include "picker/x11magnifier.h"
#include "picker/x11picker.h"
#include "tests/picker/checkerboard.h"
#include "tests/picker/windowgrab.h"

#include "framework/pixel.h"

#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <map>

namespace {

constexpr TColor Green = RGB(12, 200, 99);
constexpr TColor Pink = RGB(240, 17, 130);

void Xdotool(const QStringList& arguments)
{
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}
// The colour of the latest Hovered, or -1 before the first.
TColor LastHovered(const QSignalSpy& hovered)
{
    return hovered.isEmpty() ? -1 : hovered.constLast().at(0).value<TColor>();
}

// The centre of a window of ours in screen pixels, whatever Qt's scaling
// (the only screen starts at the origin, so its pixels are logical ones
// times the ratio).
QPoint ScreenCentre(const QWindow& w)
{
    return (QPointF(w.geometry().center()) * w.devicePixelRatio()).toPoint();
}

void MoveTo(QPoint p)
{
    Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
}

// A window of one colour that counts the presses it receives.
class TSwatch : public QRasterWindow {
public:
    TSwatch(TColor color, QRect geometry) : Color(GetRValue(color), GetGValue(color), GetBValue(color))
    {
        setFlags(Qt::FramelessWindowHint);
        setGeometry(geometry);
    }
    int Presses = 0;
    QColor Shown() const { return Color; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(QPoint(), size()), Color); }
    void mousePressEvent(QMouseEvent*) override { ++Presses; }

private:
    QColor Color;
};

// A window of the test's own connection whose background is the image: the
// server draws it at once, in screen pixels, whatever Qt's scaling.
class TPattern {
public:
    TPattern(const QImage& image, QPoint at) : X(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(X)).data;
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        const xcb_pixmap_t pixmap = xcb_generate_id(X);
        xcb_create_pixmap(X, screen->root_depth, pixmap, screen->root, rgb.width(), rgb.height());
        const xcb_gcontext_t gc = xcb_generate_id(X);
        xcb_create_gc(X, gc, pixmap, 0, nullptr);
        xcb_put_image(X, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, rgb.width(), rgb.height(), 0, 0, 0, screen->root_depth,
                      rgb.sizeInBytes(), rgb.constBits());
        Window = xcb_generate_id(X);
        const std::uint32_t values[] = {pixmap, 1};
        xcb_create_window(X, XCB_COPY_FROM_PARENT, Window, screen->root, at.x(), at.y(), rgb.width(), rgb.height(), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(X, Window);
        xcb_free_gc(X, gc);
        xcb_free_pixmap(X, pixmap);
        xcb_aux_sync();
    }
    ~TPattern() { xcb_disconnect(X); }

private:
    void xcb_aux_sync() { std::free(xcb_get_input_focus_reply(X, xcb_get_input_focus(X), nullptr)); }
    xcb_connection_t* X;
    xcb_window_t Window = 0;
};

// Whether the server still has the window.
bool Exists(std::uint32_t window)
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    auto* reply = xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr);
    const bool exists = reply != nullptr;
    std::free(reply);
    xcb_disconnect(x);
    return exists;
}

QPoint Pointer()
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    auto* reply = xcb_query_pointer_reply(
        x, xcb_query_pointer(x, xcb_setup_roots_iterator(xcb_get_setup(x)).data->root), nullptr);
    const QPoint p = reply ? QPoint(reply->root_x, reply->root_y) : QPoint(-1, -1);
    std::free(reply);
    xcb_disconnect(x);
    return p;
}

// Where the server has a window, in screen pixels.
QRect WindowRect(std::uint32_t window)
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    auto* geometry = xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
    const QRect rect = geometry ? QRect(geometry->x, geometry->y, geometry->width, geometry->height) : QRect();
    std::free(geometry);
    xcb_disconnect(x);
    return rect;
}

QRect RootRect()
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const QRect root(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    xcb_disconnect(x);
    return root;
}

QString Short(TColor c)
{
    return QString::number(c, 16);
}

// A magnifier on the root of Qt's own connection, as a pick makes it.
std::unique_ptr<TX11Magnifier> NewMagnifier()
{
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return std::make_unique<TX11Magnifier>(c, screen->root, RootRect().size(),
                                           TPixelFormat{0xFF0000, 0xFF00, 0xFF, 4, false, 32}, screen->root_depth,
                                           screen->root_visual);
}

} // namespace

class TestX11Picker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void noGrabInAWaylandSession_data();
    void noGrabInAWaylandSession();
    void picksTheColourUnderThePointer();
    void givingUpReleasesTheGrab_data();
    void givingUpReleasesTheGrab();
    void grabHeldElsewhere_data();
    void grabHeldElsewhere();
    void magnifierShowsThePatternAndKeysMoveByPixels();
    void magnifierAtTheScreenCorners_data();
    void magnifierAtTheScreenCorners();
    void magnifierIsNeverSampled();
    void magnifierLeavesTheAreaItReads();
    void picksTheMeanOfAnArea_data();
    void picksTheMeanOfAnArea();
    void picksOnEveryMonitor_data();
    void picksOnEveryMonitor();
    void otherButtonsDoNotEndThePick();
    void liveColourBeforeAnyMotion();
    void zoomByWheelAndKeys();
    void representableColoursComeBackExactly();

private:
    // Fails unless a click on the green window reaches it, then picks there.
    void ExpectReleasedAndPickAgain();

    TSwatch GreenWindow{Green, {100, 100, 200, 150}};
    TSwatch PinkWindow{Pink, {400, 100, 200, 150}};
};

void TestX11Picker::initTestCase()
{
    // No desktop portal on the bus, whatever session the tests run in.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    for (TSwatch* window : {&GreenWindow, &PinkWindow}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    const std::unique_ptr<TColorPicker> chosen(CreateColorPicker());
    QVERIFY(qobject_cast<TX11ColorPicker*>(chosen.get()));
}

// A pattern of the test before may have just uncovered the swatches: each
// test starts once they are drawn again.
void TestX11Picker::init()
{
    // Grab reads 32-bit pixels only; the 16-bit run has no pattern tests.
    if (QGuiApplication::primaryScreen()->depth() < 24)
        return;
    const auto centre = [](const QImage& shot) {
        return shot.isNull() ? QColor() : shot.pixelColor(shot.rect().center());
    };
    for (TSwatch* window : {&GreenWindow, &PinkWindow})
        QTRY_COMPARE(centre(Grab(window->winId())), window->Shown());
}

void TestX11Picker::noGrabInAWaylandSession_data()
{
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<bool>("grab");
    QTest::newRow("X11") << QByteArray() << QByteArray("x11") << true;
    QTest::newRow("WAYLAND_DISPLAY alone") << QByteArray("wayland-0") << QByteArray("x11") << false;
    QTest::newRow("XDG_SESSION_TYPE alone") << QByteArray() << QByteArray("wayland") << false;
}

void TestX11Picker::noGrabInAWaylandSession()
{
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, sessionType);
    QFETCH(bool, grab);
    const auto restore = qScopeGuard([] {
        qputenv("WAYLAND_DISPLAY", "");
        qputenv("XDG_SESSION_TYPE", "x11");
    });
    qputenv("WAYLAND_DISPLAY", waylandDisplay);
    qputenv("XDG_SESSION_TYPE", sessionType);
    // The X server is there, but inside a Wayland session it would read
    // black over every native window: without a portal, no pick at all.
    const std::unique_ptr<TColorPicker> picker(CreateColorPicker());
    QCOMPARE(qobject_cast<TX11ColorPicker*>(picker.get()) != nullptr, grab);
    QCOMPARE(picker != nullptr, grab);
    if (!grab)
        QVERIFY(ScreenPickUnavailableText().startsWith(QStringLiteral("Взять цвет с экрана здесь нельзя: ")));
}

void TestX11Picker::picksTheColourUnderThePointer()
{
    TX11ColorPicker picker;
    QSignalSpy started(&picker, &TColorPicker::Started), hovered(&picker, &TColorPicker::Hovered),
        picked(&picker, &TColorPicker::Picked), cancelled(&picker, &TColorPicker::Cancelled),
        failed(&picker, &TColorPicker::Failed);
    picker.Start();
    QCOMPARE(started.size(), 1);
    QVERIFY(picker.IsActive());
    MoveTo(ScreenCentre(GreenWindow));
    QTRY_COMPARE(LastHovered(hovered), Green);
    MoveTo(ScreenCentre(PinkWindow));
    QTRY_COMPARE(LastHovered(hovered), Pink);
    Xdotool({"click", "1"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), Pink);
    QCOMPARE(cancelled.size() + failed.size(), 0);
    QVERIFY(!picker.IsActive());
    // The click was the picker's alone.
    QCOMPARE(PinkWindow.Presses, 0);
    ExpectReleasedAndPickAgain();
}

void TestX11Picker::givingUpReleasesTheGrab_data()
{
    QTest::addColumn<QStringList>("action"); // xdotool's arguments; none: the picker is destroyed
    QTest::addColumn<int>("cancels");
    QTest::newRow("Escape") << QStringList{"key", "Escape"} << 1;
    QTest::newRow("right click") << QStringList{"click", "3"} << 1;
    QTest::newRow("picker destroyed") << QStringList() << 0;
    QTest::newRow("grab ended elsewhere") << QStringList{"end the grab"} << 1;
}

void TestX11Picker::givingUpReleasesTheGrab()
{
    QFETCH(QStringList, action);
    QFETCH(int, cancels);
    auto picker = std::make_unique<TX11ColorPicker>();
    QSignalSpy picked(picker.get(), &TColorPicker::Picked), cancelled(picker.get(), &TColorPicker::Cancelled),
        failed(picker.get(), &TColorPicker::Failed);
    picker->Start();
    MoveTo(ScreenCentre(GreenWindow));
    const std::uint32_t magnifier = picker->MagnifierWindow();
    QVERIFY(magnifier != 0 && Exists(magnifier));
    if (action.isEmpty()) {
        picker.reset();
    } else {
        if (action == QStringList{"end the grab"}) {
            // Let go elsewhere, as the server does when a grab is broken.
            xcb_connection_t* qt = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
            xcb_ungrab_pointer(qt, XCB_CURRENT_TIME);
            xcb_flush(qt);
        } else {
            Xdotool(action);
        }
        QTRY_COMPARE(cancelled.size(), cancels);
        QVERIFY(!picker->IsActive());
        QCOMPARE(picked.size() + failed.size(), 0);
    }
    QVERIFY(!Exists(magnifier));
    ExpectReleasedAndPickAgain();
}

void TestX11Picker::grabHeldElsewhere_data()
{
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<QString>("message");
    QTest::newRow("pointer") << false << "Не удалось взять цвет с экрана: мышь захвачена другой программой";
    QTest::newRow("keyboard") << true << "Не удалось взять цвет с экрана: клавиатура захвачена другой программой";
}

void TestX11Picker::grabHeldElsewhere()
{
    QFETCH(bool, keyboard);
    // Another client of the same server holds the grab.
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    QVERIFY(!xcb_connection_has_error(other));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    const auto status = [](auto* reply) {
        const int value = reply ? reply->status : -1;
        std::free(reply);
        return value;
    };
    const int grab =
        keyboard
            ? status(xcb_grab_keyboard_reply(
                  other, xcb_grab_keyboard(other, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                  nullptr))
            : status(xcb_grab_pointer_reply(other,
                                            xcb_grab_pointer(other, 0, root, 0, XCB_GRAB_MODE_ASYNC,
                                                             XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
                                            nullptr));
    QCOMPARE(grab, int(XCB_GRAB_STATUS_SUCCESS));

    TX11ColorPicker picker;
    QSignalSpy started(&picker, &TColorPicker::Started), failed(&picker, &TColorPicker::Failed);
    picker.Start();
    xcb_disconnect(other);
    QCOMPARE(failed.size(), 1);
    QTEST(failed.at(0).at(0).toString(), "message");
    QCOMPARE(started.size(), 0);
    QVERIFY(!picker.IsActive());
    ExpectReleasedAndPickAgain();
}

void TestX11Picker::magnifierShowsThePatternAndKeysMoveByPixels()
{
    const QImage board = Checkerboard(41);
    const QPoint origin(500, 350), odd = origin + QPoint(20, 20);
    const TPattern pattern(board, origin);
    MoveTo(odd);
    QTRY_COMPARE(Pointer(), odd);
    TX11ColorPicker picker;
    picker.SetFormatter(Short);
    QSignalSpy hovered(&picker, &TColorPicker::Hovered), picked(&picker, &TColorPicker::Picked);
    picker.Start();
    QCOMPARE(LastHovered(hovered), Odd);
    // Exactly the pattern's pixels, magnified, with the grid and the frame.
    // Drawn at the screen's ratio; the pixels it shows are screen pixels.
    const TMagnifierView view{board.copy(QRect(QPoint(13, 13), QSize(15, 15))),
                              QRegion(0, 0, 15, 15),
                              10,
                              qGuiApp->primaryScreen()->devicePixelRatio(),
                              Short(Odd),
                              odd};
    const QImage expected = DrawMagnifier(view);
    QImage shown;
    QTRY_COMPARE((shown = Grab(picker.MagnifierWindow())).size(), expected.size());
    if (shown != expected)
        shown.save(QStringLiteral("magnifier-shown.png"));
    QVERIFY(shown == expected);

    const struct {
        const char* keys;
        QPoint to;
    } moves[] = {{"Right", odd + QPoint(1, 0)},
                 {"shift+Down", odd + QPoint(1, 10)},
                 {"Left", odd + QPoint(0, 10)},
                 {"shift+Up", odd}};
    for (const auto& move : moves) {
        Xdotool({"key", move.keys});
        QTRY_COMPARE(Pointer(), move.to);
    }
    QTRY_COMPARE(LastHovered(hovered), Odd);
    Xdotool({"key", "Return"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), Odd);
}

void TestX11Picker::magnifierAtTheScreenCorners_data()
{
    const QRect root = RootRect();
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<QPoint>("offScreen"); // a device pixel of the view, beyond the edge
    QTest::newRow("top left") << root.topLeft() << QPoint(0, 0);
    QTest::newRow("top right") << root.topRight() << QPoint(149, 0);
    QTest::newRow("bottom left") << root.bottomLeft() << QPoint(0, 149);
    QTest::newRow("bottom right") << root.bottomRight() << QPoint(149, 149);
}

void TestX11Picker::magnifierAtTheScreenCorners()
{
    QFETCH(QPoint, corner);
    QFETCH(QPoint, offScreen);
    // The odd pixel at the corner: what is read lies on the screen, in place.
    const QImage board = Checkerboard(41);
    const TPattern pattern(board, corner - QPoint(20, 20));
    MoveTo(corner);
    QTRY_COMPARE(Pointer(), corner);
    TX11ColorPicker picker;
    picker.SetFormatter(Short);
    QSignalSpy hovered(&picker, &TColorPicker::Hovered), picked(&picker, &TColorPicker::Picked);
    picker.Start();
    QCOMPARE(LastHovered(hovered), Odd);
    const QRect area = MagnifierArea(corner, 15);
    const TMagnifierView view{board.copy(QRect(QPoint(13, 13), QSize(15, 15))),
                              QRegion((area & RootRect()).translated(-area.topLeft())),
                              10,
                              qGuiApp->primaryScreen()->devicePixelRatio(),
                              Short(Odd),
                              corner};
    const QImage expected = DrawMagnifier(view);
    QTRY_VERIFY(Grab(picker.MagnifierWindow()) == expected);
    const TMagnifierGeometry g = MagnifierGeometry(view);
    // The view's corner beyond the screen's corner.
    const QPoint beyond(offScreen.x() ? g.View.width() - 1 : 0, offScreen.y() ? g.View.height() - 1 : 0);
    QImage shown;
    QTRY_VERIFY(!(shown = Grab(picker.MagnifierWindow())).isNull() &&
                shown.pixel(g.View.topLeft() + beyond) == MagnifierBeyondEdge(beyond, g.Line));
    const QRect window = WindowRect(picker.MagnifierWindow());
    QVERIFY(RootRect().contains(window));
    QVERIFY(!window.intersects(area));
    Xdotool({"key", "Return"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), Odd);
}

void TestX11Picker::magnifierIsNeverSampled()
{
    // Straight into the magnifier's text (white) and a click at once: the
    // colour is the pattern's below it (black there), never the magnifier's.
    const QImage board = Checkerboard(301);
    const QPoint origin(300, 150);
    const TPattern pattern(board, origin);
    TX11ColorPicker picker;
    QSignalSpy picked(&picker, &TColorPicker::Picked);
    const QPoint start = origin + QPoint(5, 5);
    MoveTo(start);
    QTRY_COMPARE(Pointer(), start);
    picker.Start();
    const QPoint inside = start + QPoint(7 + MagnifierGap + 1 + 60, 7 + MagnifierGap + 1 + 160);
    QCOMPARE(board.pixel(inside - origin), qRgb(0, 0, 0));
    Xdotool({"mousemove", QString::number(inside.x()), QString::number(inside.y()), "click", "1"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), clBlack);
}

void TestX11Picker::magnifierLeavesTheAreaItReads()
{
    // The hotspot onto the magnifier's own corner: only part of the area is
    // under it, and still it moves away before the area is read, and the
    // place it left is not trusted until the settling time is over.
    const QImage board = Checkerboard(301);
    const QPoint origin(300, 150);
    const TPattern pattern(board, origin);
    const auto magnifier = NewMagnifier();
    magnifier->ShowAt(origin + QPoint(20, 20), 10, 1, Short);
    const QPoint corner = magnifier->Geometry().topLeft();
    const QRect area = MagnifierArea(corner, MagnifierCells(10));
    QVERIFY(!magnifier->Geometry().contains(area));
    QElapsedTimer since;
    since.start();
    TX11Magnifier::TShown shown = magnifier->ShowAt(corner, 10, 1, Short);
    QVERIFY(!magnifier->Geometry().intersects(area));
    QVERIFY(!shown.Settled);
    QVERIFY(!shown.Color);
    // Past half the settling time, not yet all of it.
    QThread::msleep(TX11Magnifier::SettleMs * 6 / 10);
    shown = magnifier->ShowAt(corner, 10, 1, Short);
    if (since.elapsed() < TX11Magnifier::SettleMs)
        QVERIFY(!shown.Settled && !shown.Color);
    QTRY_VERIFY((shown = magnifier->ShowAt(corner, 10, 1, Short)).Settled);
    QCOMPARE(shown.Color, PixelToColor(board.pixel(corner - origin)));
}

void TestX11Picker::picksTheMeanOfAnArea_data()
{
    QTest::addColumn<int>("average"); // set before the pick, as --average does
    QTest::addColumn<QString>("key"); // pressed during it; empty: none
    QTest::addColumn<int>("side");    // of the square taken
    QTest::newRow("3x3 set before") << 3 << QString() << 3;
    QTest::newRow("A after one pixel") << 1 << "a" << 3;
    QTest::newRow("A after 9x9") << 9 << "a" << 1;
    QTest::newRow("digit 5") << 1 << "5" << 5;
    QTest::newRow("digit 9") << 3 << "9" << 9;
}

void TestX11Picker::picksTheMeanOfAnArea()
{
    QFETCH(int, average);
    QFETCH(QString, key);
    QFETCH(int, side);
    // Beside the odd pixel: black, and its 3x3 square holds the odd pixel.
    const QImage board = Checkerboard(41);
    const QPoint origin(500, 350), at = origin + QPoint(21, 21);
    const TPattern pattern(board, origin);
    MoveTo(at);
    QTRY_COMPARE(Pointer(), at);
    TX11ColorPicker picker;
    picker.SetFormatter(Short);
    picker.SetAverage(average);
    QSignalSpy hovered(&picker, &TColorPicker::Hovered), picked(&picker, &TColorPicker::Picked);
    picker.Start();
    if (!key.isEmpty())
        Xdotool({"key", key});
    const TColor mean = *AreaMean(board, at - origin, side, QRegion(board.rect()));
    QTRY_COMPARE(LastHovered(hovered), mean);
    // The square framed, its size beside the coordinates.
    TMagnifierView view{board.copy(QRect(QPoint(14, 14), QSize(15, 15))),
                        QRegion(0, 0, 15, 15),
                        10,
                        qGuiApp->primaryScreen()->devicePixelRatio(),
                        Short(mean),
                        at,
                        side};
    QTRY_VERIFY(Grab(picker.MagnifierWindow()) == DrawMagnifier(view));
    Xdotool({"key", "Return"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), mean);
}

// The two monitors that tests/picker/monitors.sh sets up, in screen pixels.
const std::map<QString, QRect> Monitors = {{"DUMMY0", {0, 0, 1600, 900}}, {"DUMMY1", {1600, 200, 800, 600}}};

void TestX11Picker::picksOnEveryMonitor_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("monitor");
    QTest::newRow("first, right edge") << QPoint(1599, 450) << "DUMMY0";
    QTest::newRow("first, beside the corner no monitor shows") << QPoint(1599, 899) << "DUMMY0";
    QTest::newRow("second, left edge") << QPoint(1600, 450) << "DUMMY1";
    QTest::newRow("second, top left") << QPoint(1600, 200) << "DUMMY1";
    QTest::newRow("second, bottom right") << QPoint(2399, 799) << "DUMMY1";
}

void TestX11Picker::picksOnEveryMonitor()
{
    QFETCH(QPoint, at);
    QFETCH(QString, monitor);
    const auto screens = QGuiApplication::screens();
    const auto screen = std::find_if(screens.begin(), screens.end(), [&](QScreen* s) { return s->name() == monitor; });
    if (screens.size() != 2 || screen == screens.end())
        QSKIP("needs the two monitors of tests/picker/monitors.sh");
    if (qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"))
        QVERIFY(screens.at(0)->devicePixelRatio() != screens.at(1)->devicePixelRatio());
    const QImage board = Checkerboard(41);
    const TPattern pattern(board, at - QPoint(20, 20));
    MoveTo(at);
    QTRY_COMPARE(Pointer(), at);
    TX11ColorPicker picker;
    picker.SetFormatter(Short);
    QSignalSpy hovered(&picker, &TColorPicker::Hovered), picked(&picker, &TColorPicker::Picked);
    picker.Start();
    QCOMPARE(LastHovered(hovered), Odd);

    // The pattern's pixels where a monitor shows them, the neutral pattern in
    // the corner none shows; drawn at the ratio of the pointer's monitor.
    const QRect area = MagnifierArea(at, 15);
    QRegion shownByMonitors;
    for (const auto& [name, rect] : Monitors)
        shownByMonitors += (rect & area).translated(-area.topLeft());
    const QImage expected = DrawMagnifier({board.copy(QRect(QPoint(13, 13), QSize(15, 15))), shownByMonitors, 10,
                                           (*screen)->devicePixelRatio(), Short(Odd), at});
    QImage shown;
    QTRY_COMPARE((shown = Grab(picker.MagnifierWindow())).size(), expected.size());
    QVERIFY(shown == expected);
    const QRect window = WindowRect(picker.MagnifierWindow());
    QVERIFY2(
        Monitors.at(monitor).contains(window),
        qPrintable(
            QStringLiteral("%1,%2 %3x%4").arg(window.x()).arg(window.y()).arg(window.width()).arg(window.height())));
    QVERIFY(!window.intersects(area));

    Xdotool({"key", "Return"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), Odd);
}

void TestX11Picker::otherButtonsDoNotEndThePick()
{
    TX11ColorPicker picker;
    QSignalSpy picked(&picker, &TColorPicker::Picked), cancelled(&picker, &TColorPicker::Cancelled);
    QSignalSpy hovered(&picker, &TColorPicker::Hovered);
    MoveTo(ScreenCentre(PinkWindow));
    picker.Start();
    Xdotool({"mousedown", "1"});
    // While the button is held the preview keeps the colour it was pressed on.
    const QRect before = WindowRect(picker.MagnifierWindow());
    MoveTo(ScreenCentre(GreenWindow));
    QTRY_VERIFY(WindowRect(picker.MagnifierWindow()) != before);
    QCOMPARE(LastHovered(hovered), Pink);
    Xdotool({"click", "3"});
    Xdotool({"click", "2"});
    QTest::qWait(100); // nothing is to come: a short look
    QVERIFY(picker.IsActive());
    QCOMPARE(picked.size() + cancelled.size(), 0);
    Xdotool({"mouseup", "1"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), Pink);
}

void TestX11Picker::liveColourBeforeAnyMotion()
{
    MoveTo(ScreenCentre(PinkWindow));
    QTRY_COMPARE(Pointer(), ScreenCentre(PinkWindow));
    TX11ColorPicker picker;
    QSignalSpy hovered(&picker, &TColorPicker::Hovered);
    picker.Start();
    QCOMPARE(LastHovered(hovered), Pink);
    picker.Cancel();
}

void TestX11Picker::zoomByWheelAndKeys()
{
    TX11ColorPicker picker;
    picker.Start();
    const struct {
        QStringList action;
        int zoom;
    } steps[] = {{{"click", "4"}, 12},  {{"key", "plus"}, 15}, {{"key", "KP_Add"}, 20},
                 {{"key", "plus"}, 20}, {{"click", "5"}, 15},  {{"key", "minus"}, 12}};
    for (const auto& step : steps) {
        Xdotool(step.action);
        QTRY_COMPARE(picker.Zoom(), step.zoom);
    }
    // The magnifier keeps its size: fewer pixels, each larger.
    const QSize size = Grab(picker.MagnifierWindow()).size();
    Xdotool({"key", "minus"});
    QTRY_COMPARE(picker.Zoom(), 10);
    QTRY_COMPARE(Grab(picker.MagnifierWindow()).size(), size);
    picker.Cancel();
}

void TestX11Picker::representableColoursComeBackExactly()
{
    // On a screen of 16 bits, 5-bit 3 and 6-bit 11 are 24.7 and 44.5 of 255:
    // rounded, they read back as the 25 and 45 that were drawn.
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    if (screen->root_depth != 16) {
        xcb_disconnect(x);
        QSKIP("needs a screen of depth 16");
    }
    const xcb_window_t window = xcb_generate_id(x);
    const std::uint32_t values[] = {3u << 11 | 11u << 5 | 3u, 1};
    xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 700, 500, 40, 40, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(x, window);
    xcb_flush(x);
    MoveTo({720, 520});
    TX11ColorPicker picker;
    QSignalSpy hovered(&picker, &TColorPicker::Hovered), picked(&picker, &TColorPicker::Picked);
    picker.Start();
    QTRY_COMPARE(LastHovered(hovered), RGB(25, 45, 25));
    Xdotool({"click", "1"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), RGB(25, 45, 25));
    xcb_disconnect(x);
}

void TestX11Picker::ExpectReleasedAndPickAgain()
{
    const int presses = GreenWindow.Presses;
    MoveTo(ScreenCentre(GreenWindow));
    Xdotool({"click", "1"});
    QTRY_COMPARE(GreenWindow.Presses, presses + 1);

    TX11ColorPicker again;
    QSignalSpy picked(&again, &TColorPicker::Picked);
    again.Start();
    Xdotool({"click", "1"});
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).value<TColor>(), Green);
}

QTEST_MAIN(TestX11Picker)
#include "tst_x11picker.moc"
