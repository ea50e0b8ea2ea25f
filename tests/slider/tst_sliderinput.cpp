// The slider's input beyond the thumb drag: the ruler press with its
// auto-repeat, the keys, and focus tracking.
#include "tests/slider/sliderfixture.h"

#include "framework/application.h"
#include "framework/exception.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QWheelEvent>
#include <QtTest>

using namespace SliderFixture;

namespace {

// Counts the events of one type that reach an object (key presses: of one key).
class TEventCount : public QObject {
public:
    TEventCount(QObject* target, QEvent::Type type, int key = 0) : type_(type), key_(key)
    {
        target->installEventFilter(this);
    }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_ && (!key_ || static_cast<QKeyEvent*>(event)->key() == key_))
            ++Count;
        return false;
    }

private:
    QEvent::Type type_;
    int key_;
};

// The channel slider at value 100: the thumb covers x 153 to 161 (its
// Right is 162), the ruler image rows 11 to 18 and columns 7 to 388.
constexpr int StartValue = 100;

} // namespace

class TestSliderInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void frameworkEvents_data();
    void frameworkEvents();
    void rulerZone_data();
    void rulerZone();
    void rulerPressRepeats();
    void stepsPauseWhileThumbCoversPoint();
    void otherSideStopsStepping();
    void otherButtonsAndDoubleClick();
    void failingHandlerEndsPress();
    void releaseElsewhereEndsPress();
    void keys_data();
    void keys();
    void wheelDoesNothing();
    void focusTracking();
    void focusMovedWhileInactive();
};

void TestSliderInput::initTestCase()
{
    InitSliderModule();
}

void TestSliderInput::rulerZone_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("changed");
    QTest::newRow("on the ruler, right of the thumb") << QPoint(300, 15) << 101 << 1;
    QTest::newRow("on the ruler, left of the thumb") << QPoint(20, 15) << 99 << 1;
    QTest::newRow("3 above the ruler image") << QPoint(300, 8) << 101 << 1;
    QTest::newRow("4 above") << QPoint(300, 7) << 100 << 0;
    QTest::newRow("3 below the ruler image") << QPoint(300, 21) << 101 << 1;
    QTest::newRow("4 below: the zone's bottom edge") << QPoint(300, 22) << 101 << 1;
    QTest::newRow("5 below") << QPoint(300, 23) << 100 << 0;
    QTest::newRow("first ruler column") << QPoint(7, 15) << 99 << 1;
    QTest::newRow("before the ruler") << QPoint(6, 15) << 100 << 0;
    QTest::newRow("last ruler column") << QPoint(388, 15) << 101 << 1;
    QTest::newRow("one past the ruler: the zone's right edge") << QPoint(389, 15) << 101 << 1;
    QTest::newRow("two past") << QPoint(390, 15) << 100 << 0;
    QTest::newRow("on the tick marks") << QPoint(300, 26) << 100 << 0;
}

void TestSliderInput::rulerZone()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    QFETCH(QPoint, press);
    QTest::mousePress(s, Qt::LeftButton, {}, press);
    // Any left press takes the focus.
    QVERIFY(s->HasFocus());
    QTEST(s->Value(), "value");
    QTest::mouseRelease(s, Qt::LeftButton, {}, press);
    QTEST(w.ChangedCount, "changed");
    QCOMPARE(w.Changes.size(), qsizetype(s->Value() != StartValue));
    QVERIFY(!s->Tracking());
    QVERIFY(!s->TimerRunning());
}

void TestSliderInput::rulerPressRepeats()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    QElapsedTimer clock;
    QList<qint64> at;
    s->OnChange = [&](QObject*) {
        w.Changes << s->Value();
        at << clock.elapsed();
    };
    clock.start();
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(300, 15));
    // One step at once, then one per 400 ms.
    QCOMPARE(w.Changes, QList<int>({101}));
    QVERIFY(s->Tracking());
    QVERIFY(s->TimerRunning());
    QTRY_COMPARE_WITH_TIMEOUT(w.Changes.size(), 3, 3000);
    QCOMPARE(w.Changes, QList<int>({101, 102, 103}));
    QVERIFY2(at[1] - at[0] >= 390, qPrintable(QString::number(at[1] - at[0])));
    QVERIFY2(at[2] - at[1] >= 390, qPrintable(QString::number(at[2] - at[1])));
    QCOMPARE(w.ChangedCount, 0);
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(300, 15));
    QCOMPARE(w.ChangedCount, 1);
    QVERIFY(!s->Tracking());
    QVERIFY(!s->TimerRunning());
}

void TestSliderInput::stepsPauseWhileThumbCoversPoint()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    TEventCount ticks(s, QEvent::Timer);
    // Two pixels past the thumb: one step brings the thumb's Right onto the point.
    const QPoint point(s->ThumbRect().Right + 2, 15);
    QTest::mousePress(s, Qt::LeftButton, {}, point);
    QCOMPARE(w.Changes, QList<int>({101}));
    QCOMPARE(s->ThumbRect().Right, point.x());
    QTRY_VERIFY(ticks.Count >= 1);
    QCOMPARE(w.Changes, QList<int>({101}));
    QVERIFY(s->Tracking());
    QTest::mouseRelease(s, Qt::LeftButton, {}, point);
    QCOMPARE(w.ChangedCount, 1);
}

void TestSliderInput::otherSideStopsStepping()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    TEventCount ticks(s, QEvent::Timer);
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(300, 15));
    QTest::mouseMove(s, QPoint(50, 15));
    QTRY_VERIFY(ticks.Count >= 1);
    // Neither going on nor reversing.
    QCOMPARE(w.Changes, QList<int>({101}));
    QVERIFY(!s->Sliding());
    // Back on the starting side, the steps resume.
    QTest::mouseMove(s, QPoint(300, 15));
    QTRY_COMPARE(w.Changes, QList<int>({101, 102}));
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(300, 15));
    QCOMPARE(w.ChangedCount, 1);
}

void TestSliderInput::otherButtonsAndDoubleClick()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(s, b, {}, QPoint(300, 15));
        QTest::mouseRelease(s, b, {}, QPoint(300, 15));
    }
    QCOMPARE(s->Value(), StartValue);
    QVERIFY(!s->HasFocus());
    QCOMPARE(w.ChangedCount, 0);
    // The second press of a double click neither steps nor drags.
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(300, 15));
    QTest::mouseDClick(s, Qt::LeftButton, {}, QPoint(300, 15));
    QVERIFY(!s->Tracking());
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(300, 15));
    QTest::mouseDClick(s, Qt::LeftButton, {}, w.ThumbCentre());
    QVERIFY(!s->Sliding());
    QTest::mouseRelease(s, Qt::LeftButton, {}, w.ThumbCentre());
    QCOMPARE(w.Changes, QList<int>({101}));
    QCOMPARE(w.ChangedCount, 1);
    QVERIFY(!s->Tracking());
}

void TestSliderInput::failingHandlerEndsPress()
{
    QStringList messages;
    const auto previous = TApplication::SetErrorReporter([&](const QString& m) { messages << m; });
    {
        TSliderWindow w;
        TImageSlider* s = w.Slider;
        s->SetValue(StartValue);
        // Fails on the step the timer takes: the press must end, or the
        // timer would go on stepping and failing.
        s->OnChange = [&](QObject*) {
            if (s->Value() == 102)
                throw Exception(QStringLiteral("Handler failed"));
        };
        QTest::mousePress(s, Qt::LeftButton, {}, QPoint(300, 15));
        QTRY_COMPARE(messages, QStringList({QStringLiteral("Handler failed")}));
        QVERIFY(!s->Tracking());
        QVERIFY(!s->TimerRunning());
        QCOMPARE(s->Value(), 102);
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(300, 15));

        // Failing on the first step, at the press.
        s->OnChange = [&](QObject*) { throw Exception(QStringLiteral("At once")); };
        QTest::mousePress(s, Qt::LeftButton, {}, QPoint(300, 15));
        QCOMPARE(messages.size(), 2);
        QVERIFY(!s->Tracking());
        QVERIFY(!s->TimerRunning());
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(300, 15));
    }
    TApplication::SetErrorReporter(previous);
}

void TestSliderInput::releaseElsewhereEndsPress()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(300, 15));
    QCOMPARE(w.Changes, QList<int>({101}));
    // The release reaches another window, as when a handler opens one.
    QWidget elsewhere;
    elsewhere.resize(50, 50);
    elsewhere.show();
    QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
    QTest::mouseRelease(&elsewhere, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!(QGuiApplication::mouseButtons() & Qt::LeftButton));
    QTRY_VERIFY(!s->Tracking());
    QVERIFY(!s->TimerRunning());
    QCOMPARE(w.Changes, QList<int>({101}));
    QCOMPARE(w.ChangedCount, 1);
}

void TestSliderInput::keys_data()
{
    QTest::addColumn<TSliderOrientation>("orientation");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("increment");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("changed");

    const int none = Qt::NoModifier;
    const auto h = TSliderOrientation::soHorizontal;
    const auto v = TSliderOrientation::soVertical;
    QTest::newRow("Right") << h << 255 << 1 << 100 << int(Qt::Key_Right) << none << 101 << 1 << 1;
    QTest::newRow("Left") << h << 255 << 1 << 100 << int(Qt::Key_Left) << none << 99 << 1 << 1;
    QTest::newRow("keypad Right") << h << 255 << 1 << 100 << int(Qt::Key_Right) << int(Qt::KeypadModifier) << 101 << 1
                                  << 1;
    QTest::newRow("Right from 15 by 10") << h << 100 << 10 << 15 << int(Qt::Key_Right) << none << 30 << 1 << 1;
    QTest::newRow("Left from 15 by 10") << h << 100 << 10 << 15 << int(Qt::Key_Left) << none << 10 << 1 << 1;
    QTest::newRow("Right from 25 by 10") << h << 100 << 10 << 25 << int(Qt::Key_Right) << none << 30 << 1 << 1;
    QTest::newRow("Left from 25 by 10") << h << 100 << 10 << 25 << int(Qt::Key_Left) << none << 10 << 1 << 1;
    QTest::newRow("Left from 5 by 10") << h << 100 << 10 << 5 << int(Qt::Key_Left) << none << 0 << 1 << 1;
    QTest::newRow("Home") << h << 255 << 1 << 100 << int(Qt::Key_Home) << none << 0 << 1 << 1;
    QTest::newRow("Home at MinValue") << h << 255 << 1 << 0 << int(Qt::Key_Home) << none << 0 << 0 << 1;
    QTest::newRow("End") << h << 255 << 1 << 100 << int(Qt::Key_End) << none << 255 << 1 << 1;
    QTest::newRow("Right at MaxValue") << h << 255 << 1 << 255 << int(Qt::Key_Right) << none << 255 << 0 << 1;
    QTest::newRow("Shift+Right") << h << 255 << 1 << 100 << int(Qt::Key_Right) << int(Qt::ShiftModifier) << 100 << 0
                                 << 0;
    QTest::newRow("Ctrl+Left") << h << 255 << 1 << 100 << int(Qt::Key_Left) << int(Qt::ControlModifier) << 100 << 0
                               << 0;
    QTest::newRow("Alt+Home") << h << 255 << 1 << 100 << int(Qt::Key_Home) << int(Qt::AltModifier) << 100 << 0 << 0;
    QTest::newRow("Up on a horizontal slider") << h << 255 << 1 << 100 << int(Qt::Key_Up) << none << 100 << 0 << 0;
    QTest::newRow("Down on a horizontal slider") << h << 255 << 1 << 100 << int(Qt::Key_Down) << none << 100 << 0 << 0;
    QTest::newRow("Page Up") << h << 255 << 1 << 100 << int(Qt::Key_PageUp) << none << 100 << 0 << 0;
    QTest::newRow("Up on a vertical slider") << v << 255 << 1 << 100 << int(Qt::Key_Up) << none << 101 << 1 << 1;
    QTest::newRow("Down on a vertical slider") << v << 255 << 1 << 100 << int(Qt::Key_Down) << none << 99 << 1 << 1;
    QTest::newRow("Right on a vertical slider") << v << 255 << 1 << 100 << int(Qt::Key_Right) << none << 100 << 0 << 0;
    QTest::newRow("End on a vertical slider") << v << 255 << 1 << 100 << int(Qt::Key_End) << none << 255 << 1 << 1;
}

void TestSliderInput::keys()
{
    TSliderWindow w(false);
    TImageSlider* s = w.Slider;
    QFETCH(TSliderOrientation, orientation);
    QFETCH(int, maxValue);
    QFETCH(int, increment);
    QFETCH(int, start);
    s->SetOrientation(orientation);
    s->SetMaxValue(maxValue);
    s->SetIncrement(increment);
    s->SetValue(start);
    s->setFocus();
    QTRY_VERIFY(s->HasFocus());
    w.ClearEvents();
    // A key the slider takes does not travel on to its parent.
    QFETCH(int, key);
    TEventCount parentKeys(&w.Window, QEvent::KeyPress, key);
    QFETCH(int, modifiers);
    QTest::keyClick(s, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(s->Value(), "value");
    QTEST(int(w.Changes.size()), "changes");
    QFETCH(int, changed);
    QCOMPARE(w.ChangedCount, changed);
    QCOMPARE(parentKeys.Count, changed ? 0 : 1);
}

void TestSliderInput::wheelDoesNothing()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->SetValue(StartValue);
    w.ClearEvents();
    QWheelEvent wheel(QPointF(300, 15), s->mapToGlobal(QPointF(300, 15)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s, &wheel);
    QCOMPARE(s->Value(), StartValue);
    QVERIFY(w.Changes.isEmpty());
}

void TestSliderInput::focusTracking()
{
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    int entered = 0;
    int exited = 0;
    s->OnEnter = [&](QObject*) { ++entered; };
    s->OnExit = [&](QObject*) { ++exited; };
    QVERIFY(!s->HasFocus());
    s->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(s->HasFocus());
    QCOMPARE(entered, 1);
    // Tab still moves the focus on.
    QTest::keyClick(s, Qt::Key_Tab);
    QTRY_VERIFY(!s->HasFocus());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Other));
    QCOMPARE(exited, 1);
    // Without TabStop a click still focuses the slider.
    s->SetTabStop(false);
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(300, 26));
    QVERIFY(s->HasFocus());
}

void TestSliderInput::focusMovedWhileInactive()
{
    TSliderWindow w;
    QWidget other;
    other.show();
    w.Slider->setFocus();
    // Away from the slider, then back onto it, each time in the inactive window.
    for (QWidget* to : {static_cast<QWidget*>(w.Other), static_cast<QWidget*>(w.Slider)}) {
        QApplication::setActiveWindow(&other);
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        to->setFocus();
        // Told at once; once the window is active again only one control has the focus.
        QCOMPARE(w.Slider->HasFocus(), to == w.Slider);
        QApplication::setActiveWindow(&w.Window);
        QTRY_COMPARE(QApplication::focusWidget(), to);
        QCOMPARE(w.Slider->HasFocus(), to == w.Slider);
    }
}

void TestSliderInput::frameworkEvents_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("raised");
    QTest::newRow("click") << "click" << QStringList{"MouseDown 1", "Click", "MouseUp 1"};
    QTest::newRow("double click") << "double click" << QStringList{"MouseDown 1", "Click",       "MouseUp 1",
                                                                   "DblClick",    "MouseDown 1", "MouseUp 1"};
    QTest::newRow("right click") << "right click" << QStringList{"MouseDown 2", "MouseUp 2"};
    QTest::newRow("move") << "move" << QStringList{"MouseMove"};
    QTest::newRow("a character key") << "A" << QStringList{"KeyDown A", "KeyPress a", "KeyUp A"};
    QTest::newRow("a key the slider takes") << "Right" << QStringList{"KeyDown ", "KeyUp Right"};
    QTest::newRow("context request") << "context" << QStringList{"ContextPopup -1,-1"};
}

void TestSliderInput::frameworkEvents()
{
    QFETCH(QString, input);
    TSliderWindow w;
    TImageSlider* s = w.Slider;
    s->setFocus();
    QStringList seen;
    const auto mouse = [&](const char* name) {
        return [&seen, name](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
            seen << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(int(b));
        };
    };
    const auto key = [&](const char* name) {
        return [&seen, name](QObject*, int& k, Qt::KeyboardModifiers) {
            seen << QLatin1String(name) + QKeySequence(k).toString();
        };
    };
    s->OnClick = [&](QObject*) { seen << QStringLiteral("Click"); };
    s->OnDblClick = [&](QObject*) { seen << QStringLiteral("DblClick"); };
    s->OnMouseDown = mouse("MouseDown");
    s->OnMouseUp = mouse("MouseUp");
    s->OnMouseMove = [&](QObject*, Qt::MouseButtons, Qt::KeyboardModifiers, int, int) {
        seen << QStringLiteral("MouseMove");
    };
    s->OnKeyDown = key("KeyDown ");
    s->OnKeyUp = key("KeyUp ");
    s->OnKeyPress = [&](QObject*, QChar& c) { seen << QStringLiteral("KeyPress ") + c; };
    s->OnContextPopup = [&](QObject*, TPoint p, bool&) {
        seen << QStringLiteral("ContextPopup %1,%2").arg(p.X).arg(p.Y);
    };

    const QPoint face(200, 28); // below the ruler, off the thumb
    const auto send = [&](QEvent::Type type, Qt::MouseButton button) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, face, s->mapToGlobal(face), button, held, Qt::NoModifier);
        QApplication::sendEvent(s, &e);
    };
    if (input == "click" || input == "double click") {
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::LeftButton);
        if (input == "double click") {
            send(QEvent::MouseButtonDblClick, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, Qt::LeftButton);
        }
    } else if (input == "right click") {
        send(QEvent::MouseButtonPress, Qt::RightButton);
        send(QEvent::MouseButtonRelease, Qt::RightButton);
    } else if (input == "move") {
        send(QEvent::MouseMove, Qt::NoButton);
    } else if (input == "context") {
        QContextMenuEvent e(QContextMenuEvent::Keyboard, face, s->mapToGlobal(face));
        QApplication::sendEvent(s, &e);
    } else {
        QTest::keyClick(s, input == "A" ? Qt::Key_A : Qt::Key_Right);
    }
    QTEST(seen, "raised");
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestSliderInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sliderinput.moc"
