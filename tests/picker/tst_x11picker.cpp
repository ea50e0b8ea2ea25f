// Run in a real X server (Xvfb): windows of known colours on the screen, the
// pointer and keys driven through xdotool.
#include "picker/x11picker.h"

#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>

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

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(QPoint(), size()), Color); }
    void mousePressEvent(QMouseEvent*) override { ++Presses; }

private:
    QColor Color;
};

} // namespace

class TestX11Picker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void picksTheColourUnderThePointer();
    void givingUpReleasesTheGrab_data();
    void givingUpReleasesTheGrab();
    void grabHeldElsewhere_data();
    void grabHeldElsewhere();

private:
    // Fails unless a click on the green window reaches it, then picks there.
    void ExpectReleasedAndPickAgain();

    TSwatch GreenWindow{Green, {100, 100, 200, 150}};
    TSwatch PinkWindow{Pink, {400, 100, 200, 150}};
};

void TestX11Picker::initTestCase()
{
    for (TSwatch* window : {&GreenWindow, &PinkWindow}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    const std::unique_ptr<TColorPicker> chosen(CreateColorPicker());
    QVERIFY(qobject_cast<TX11ColorPicker*>(chosen.get()));
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
    MoveTo(GreenWindow.geometry().center());
    QTRY_COMPARE(LastHovered(hovered), Green);
    MoveTo(PinkWindow.geometry().center());
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
}

void TestX11Picker::givingUpReleasesTheGrab()
{
    QFETCH(QStringList, action);
    QFETCH(int, cancels);
    auto picker = std::make_unique<TX11ColorPicker>();
    QSignalSpy picked(picker.get(), &TColorPicker::Picked), cancelled(picker.get(), &TColorPicker::Cancelled),
        failed(picker.get(), &TColorPicker::Failed);
    picker->Start();
    MoveTo(GreenWindow.geometry().center());
    if (action.isEmpty()) {
        picker.reset();
    } else {
        Xdotool(action);
        QTRY_COMPARE(cancelled.size(), cancels);
        QVERIFY(!picker->IsActive());
        QCOMPARE(picked.size() + failed.size(), 0);
    }
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

void TestX11Picker::ExpectReleasedAndPickAgain()
{
    const int presses = GreenWindow.Presses;
    MoveTo(GreenWindow.geometry().center());
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
