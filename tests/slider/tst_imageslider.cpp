// The slider's properties, value model, layout, thumb drag, images and
// their storage hooks, orientation and the guards for degenerate sizes.
#include "tests/slider/sliderfixture.h"

#include "framework/application.h"
#include "framework/exception.h"
#include "framework/stdctrls.h"

#include <QtTest>

#include <memory>

using namespace SliderFixture;

namespace {

QString Joined(const QList<int>& values)
{
    QStringList parts;
    for (int v : values)
        parts << QString::number(v);
    return parts.join(QLatin1Char(' '));
}

// Lays itself out 10 pixels inside its client area and counts the layouts.
class TInsetSlider : public TImageSlider {
public:
    int Layouts = 0;
    TRect GetInnerRect() const override { return TImageSlider::GetInnerRect().Inflated(-10, -10); }
    void RebuildLayout() override
    {
        ++Layouts;
        TImageSlider::RebuildLayout();
    }
};

} // namespace

class TestImageSlider : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitSliderModule(); }

    void defaults()
    {
        TImageSlider s;
        QCOMPARE(s.size(), QSize(150, 40));
        QCOMPARE(s.Value(), 0);
        QCOMPARE(s.MinValue(), 0);
        QCOMPARE(s.MaxValue(), 100);
        QCOMPARE(s.Increment(), 10);
        QCOMPARE(s.EdgeSize(), 2);
        QCOMPARE(s.NumThumbStates(), 2);
        QCOMPARE(s.BevelStyle(), bvNone);
        QCOMPARE(s.Orientation(), TSliderOrientation::soHorizontal);
        QVERIFY(s.Options() ==
                TSliderOptions({TSliderOption::soShowFocus, TSliderOption::soShowPoints, TSliderOption::soSmooth}));
        QCOMPARE(s.Options().Bits(), std::uint8_t(0x07));
        QVERIFY(s.TabStop());
        QVERIFY(s.ParentColor());
        QCOMPARE(s.UserImageMask(), std::uint8_t(0));
        // Without a bevel: ruler 138 x 8 from x 6, thumb 9 x 17 taller than it.
        QVERIFY(s.ThumbRect() == Bounds(6, 6, 9, 17));
        QVERIFY(s.RulerOrigin() == TPoint({6, 10}));
        QVERIFY(s.PointsOrigin() == TPoint({6, 24}));
        QCOMPARE(s.Ruler().Width(), 138);
        QCOMPARE(s.TravelLength(), 129);
    }

    void childControlsShowTheTint()
    {
        // The tint is kept off the palette until a child control needs it.
        TImageSlider s;
        s.SetColor(clMaroon);
        auto* child = new TPanel;
        child->setParent(&s);
        QCOMPARE(child->palette().color(QPalette::Window), QColor(128, 0, 0));
        s.SetColor(clTeal);
        QCOMPARE(child->palette().color(QPalette::Window), QColor(0, 128, 128));
        QCOMPARE(s.Color(), clTeal);
    }

    void builtInImages_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("map");
        QTest::newRow("HTHUMB") << int(siHThumb) << HThumbMap;
        QTest::newRow("HRULER") << int(siHRuler) << HRulerMap;
        QTest::newRow("VTHUMB") << int(siVThumb) << VThumbMap;
        QTest::newRow("VRULER") << int(siVRuler) << VRulerMap;
    }
    void builtInImages()
    {
        QFETCH(int, index);
        QFETCH(QStringList, map);
        TImageSlider s;
        const TBitmap* image = s.Image(index);
        QVERIFY(image);
        QString message;
        QVERIFY2(SameImage(image->Image(), MapImage(map), QTest::currentDataTag(), message), qPrintable(message));
        // The bottom-left pixel, magenta, is the transparent colour.
        QCOMPARE(image->TransparentColor(), RGB(255, 0, 255));
        QVERIFY(!s.IsUserImage(index));
    }

    void cursors()
    {
        struct {
            int id;
            QPoint hotSpot;
        } const cases[] = {{crSliderHand, {6, 16}}, {crSliderDrag, {15, 16}}};
        for (const auto& c : cases) {
            QVERIFY(Screen::HasCursor(c.id));
            const QCursor cursor = Screen::Cursor(c.id);
            QCOMPARE(cursor.shape(), Qt::BitmapCursor);
            QCOMPARE(cursor.hotSpot(), c.hotSpot);
            const QImage picture = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(picture.size(), QSize(32, 32));
            // The hot spot is on the hand's outline; the top half is empty.
            QCOMPARE(picture.pixel(c.hotSpot), qRgba(0, 0, 0, 255));
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 32; ++x)
                    QCOMPARE(qAlpha(picture.pixel(x, y)), 0);
        }
    }

    void workedExample_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("left");
        QTest::newRow("0") << 0 << 7;
        QTest::newRow("1") << 1 << 8;
        QTest::newRow("2") << 2 << 10;
        QTest::newRow("127") << 127 << 193;
        QTest::newRow("128") << 128 << 194;
        QTest::newRow("254") << 254 << 379;
        QTest::newRow("255") << 255 << 380;
    }
    void workedExample()
    {
        TSliderWindow w;
        TImageSlider* s = w.Slider;
        QVERIFY(s->GetInnerRect() == TRect({1, 1, 395, 31}));
        QCOMPARE(s->Ruler().Width(), 382);
        QCOMPARE(s->Ruler().Height(), 8);
        QCOMPARE(s->ThumbRect().Top, 7);
        QCOMPARE(s->ThumbRect().Bottom, 24);
        QCOMPARE(s->ThumbRect().Width(), 9);
        QVERIFY(s->RulerOrigin() == TPoint({7, 11}));
        QVERIFY(s->PointsOrigin() == TPoint({7, 25}));
        QCOMPARE(s->TravelLength(), 373);

        QFETCH(int, value);
        s->SetValue(value);
        QTEST(s->ThumbRect().Left, "left");
        QCOMPARE(s->ThumbRect().Top, 7);
    }

    void setValue_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("write");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("changes");
        QTest::newRow("300 clamps to 255") << 0 << 300 << 255 << 1;
        QTest::newRow("300 at 255: nothing") << 255 << 300 << 255 << 0;
        QTest::newRow("the current value: nothing") << 40 << 40 << 40 << 0;
        QTest::newRow("-5 clamps to 0") << 40 << -5 << 0 << 1;
        QTest::newRow("inside") << 40 << 41 << 41 << 1;
    }
    void setValue()
    {
        TSliderWindow w;
        QFETCH(int, start);
        w.Slider->SetValue(start);
        w.ClearEvents();
        QFETCH(int, write);
        w.Slider->SetValue(write);
        QTEST(w.Slider->Value(), "value");
        QTEST(int(w.Changes.size()), "changes");
        // OnChange sees the new value with the thumb already in place; never OnChanged.
        if (!w.Changes.isEmpty())
            QCOMPARE(w.Changes.first(), w.Slider->Value());
        QCOMPARE(w.Slider->ThumbRect().Left, w.Slider->ValueToPos(w.Slider->Value()));
        QCOMPARE(w.ChangedCount, 0);
    }

    void rangeWrites_data()
    {
        QTest::addColumn<QString>("writes"); // "min 300", "max 5" in order
        QTest::addColumn<int>("startValue");
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("increment");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("changes");

        // The default slider: 0 to 100, increment 10.
        QTest::newRow("MinValue above MaxValue is ignored") << "min 300" << 50 << 0 << 100 << 10 << 50 << 0;
        QTest::newRow("MinValue equal to MaxValue is ignored") << "min 100" << 50 << 0 << 100 << 10 << 50 << 0;
        QTest::newRow("MaxValue below MinValue is ignored") << "max -1" << 50 << 0 << 100 << 10 << 50 << 0;
        QTest::newRow("MaxValue 5 shrinks the increment and clamps") << "max 5" << 50 << 0 << 5 << 5 << 5 << 1;
        QTest::newRow("moving the range up: MaxValue first") << "max 500,min 300" << 50 << 300 << 500 << 10 << 300 << 1;
        QTest::newRow("moving the range up: MinValue first fails")
            << "min 300,max 500" << 50 << 0 << 500 << 10 << 50 << 0;
        QTest::newRow("MinValue raised under the value") << "min 60" << 50 << 60 << 100 << 10 << 60 << 1;
        QTest::newRow("negative range") << "min -100" << 50 << -100 << 100 << 10 << 50 << 0;
    }
    void rangeWrites()
    {
        TImageSlider s;
        QFETCH(int, startValue);
        s.SetValue(startValue);
        int changes = 0;
        s.OnChange = [&](QObject*) { ++changes; };
        QFETCH(QString, writes);
        for (const QString& w : writes.split(QLatin1Char(','))) {
            const QStringList parts = w.split(QLatin1Char(' '));
            if (parts[0] == QLatin1String("min"))
                s.SetMinValue(parts[1].toInt());
            else
                s.SetMaxValue(parts[1].toInt());
        }
        QTEST(s.MinValue(), "minValue");
        QTEST(s.MaxValue(), "maxValue");
        QTEST(s.Increment(), "increment");
        QTEST(s.Value(), "value");
        QTEST(changes, "changes");
        QVERIFY(s.MinValue() < s.MaxValue());
        QVERIFY(s.Increment() <= s.MaxValue() - s.MinValue());
    }

    void incrementErrors_data()
    {
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("write");
        QTest::addColumn<QString>("error"); // empty: accepted
        QTest::newRow("0") << 255 << 0 << "Value must be between 1 and 255";
        QTest::newRow("256") << 255 << 256 << "Value must be between 1 and 255";
        QTest::newRow("-1") << 255 << -1 << "Value must be between 1 and 255";
        QTest::newRow("101 on 0 to 100") << 100 << 101 << "Value must be between 1 and 100";
        QTest::newRow("255 is the span") << 255 << 255 << "";
        QTest::newRow("1") << 255 << 1 << "";
    }
    void incrementErrors()
    {
        TImageSlider s;
        QFETCH(int, maxValue);
        s.SetMaxValue(maxValue);
        s.SetIncrement(7);
        s.SetValue(33);
        QFETCH(int, write);
        QFETCH(QString, error);
        try {
            s.SetIncrement(write);
            QVERIFY2(error.isEmpty(), "no error raised");
            QCOMPARE(s.Increment(), write);
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), error);
            QCOMPARE(s.Increment(), 7);
        }
        // The value is re-placed, not snapped to the increment.
        QCOMPARE(s.Value(), 33);
    }

    void readingSkipsChecks()
    {
        // The order a description applies them in: increment, then the range.
        TImageSlider s;
        s.IncludeState(csLoading | csReading);
        s.SetIncrement(1);
        s.SetIncrement(0);  // ignored without an error
        s.SetMinValue(300); // crosses MaxValue 100 for a moment
        s.SetMaxValue(500);
        s.SetIncrement(400); // not checked while reading
        s.SetValue(350);
        s.Loaded();
        QVERIFY(!s.InState(csLoading | csReading));
        QCOMPARE(s.MinValue(), 300);
        QCOMPARE(s.MaxValue(), 500);
        QCOMPARE(s.Increment(), 400);
        QCOMPARE(s.Value(), 350);
        // Outside loading the checks are back.
        QVERIFY_THROWS_EXCEPTION(Exception, s.SetIncrement(0));
    }

    void edgeSize_data()
    {
        QTest::addColumn<int>("write");
        QTest::addColumn<int>("edge");
        QTest::addColumn<QString>("columns"); // source columns along the laid-out ruler, 'a' = 0
        QTest::newRow("5 is ignored") << 5 << 1 << "a" + QStringLiteral("bcdefghi").repeated(47) + "fghij";
        QTest::newRow("4 re-lays the ruler") << 4 << 4 << "abcdef" + QStringLiteral("ef").repeated(186) + "ghij";
        QTest::newRow("0 repeats the whole image") << 0 << 0 << QStringLiteral("abcdefghij").repeated(38) + "ij";
    }
    void edgeSize()
    {
        TSliderWindow w;
        QFETCH(int, write);
        w.Slider->SetEdgeSize(write);
        QTEST(w.Slider->EdgeSize(), "edge");
        QFETCH(QString, columns);
        // Each source column of the ruler image has its own pattern of rows.
        const QImage source = MapImage(HRulerMap);
        const QImage& ruler = w.Slider->Ruler().Image();
        QCOMPARE(ruler.width(), int(columns.size()));
        for (int x = 0; x < ruler.width(); ++x) {
            const int column = columns[x].toLatin1() - 'a';
            for (int y = 0; y < ruler.height(); ++y)
                QVERIFY2(ruler.pixel(x, y) == source.pixel(column, y),
                         qPrintable(QStringLiteral("ruler column %1 row %2").arg(x).arg(y)));
        }
    }

    void drag_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("wanted"); // left edges asked for by the moves
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("changes"); // the values OnChange saw

        QTest::newRow("to 9: value 1, snaps to 8") << 0 << QList<int>{9} << 8 << 1 << "1";
        QTest::newRow("to 500: the end") << 0 << QList<int>{500} << 380 << 255 << "255";
        QTest::newRow("beyond the start") << 200 << QList<int>{-100} << 7 << 0 << "0";
        QTest::newRow("there and back") << 0 << QList<int>{9, 10, 7} << 7 << 0 << "1 2 0";
        QTest::newRow("moves within one value") << 1 << QList<int>{8, 9} << 8 << 1 << "";
    }
    void drag()
    {
        TSliderWindow w;
        TImageSlider* s = w.Slider;
        QFETCH(int, start);
        s->SetValue(start);
        w.ClearEvents();
        const QPoint grip = w.ThumbCentre();
        const int offset = grip.x() - s->ThumbRect().Left;
        QTest::mousePress(s, Qt::LeftButton, {}, grip);
        QVERIFY(s->Sliding());
        QVERIFY(s->ThumbDown());
        QVERIFY(s->HasFocus());
        QFETCH(QList<int>, wanted);
        for (int left : wanted)
            QTest::mouseMove(s, QPoint(left + offset, grip.y() + 30)); // leaving the control does not matter
        QTEST(s->ThumbRect().Left, "left");
        QTEST(s->Value(), "value");
        QTEST(Joined(w.Changes), "changes");
        QCOMPARE(w.ChangedCount, 0);
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(wanted.last() + offset, grip.y()));
        QVERIFY(!s->Sliding());
        QVERIFY(!s->ThumbDown());
        QCOMPARE(w.ChangedCount, 1);
        QTEST(Joined(w.Changes), "changes");
    }

    void releaseWithoutMove()
    {
        TSliderWindow w;
        w.Slider->SetValue(77);
        w.ClearEvents();
        // The thumb's right and bottom edges still count as on it.
        const TRect t = w.Slider->ThumbRect();
        for (const QPoint p : {w.ThumbCentre(), QPoint(t.Right, t.Bottom), QPoint(t.Left, t.Top)}) {
            QTest::mousePress(w.Slider, Qt::LeftButton, {}, p);
            QVERIFY(w.Slider->Sliding());
            QTest::mouseRelease(w.Slider, Qt::LeftButton, {}, p);
        }
        QCOMPARE(w.ChangedCount, 3);
        QVERIFY(w.Changes.isEmpty());
        QCOMPARE(w.Slider->Value(), 77);
        // A right press on the thumb takes nothing; its release raises nothing.
        QTest::mousePress(w.Slider, Qt::RightButton, {}, w.ThumbCentre());
        QVERIFY(!w.Slider->Sliding());
        QTest::mouseRelease(w.Slider, Qt::RightButton, {}, w.ThumbCentre());
        QCOMPARE(w.ChangedCount, 3);
    }

    void dragSnapsToIncrementFromMinValue()
    {
        TSliderWindow w(false);
        TImageSlider* s = w.Slider;
        s->SetMaxValue(105);
        s->SetMinValue(5);
        s->SetIncrement(10);
        s->SetOptions(s->Options().Without(TSliderOption::soSmooth));
        s->SetValue(5);
        w.ClearEvents();
        const QPoint grip = w.ThumbCentre();
        QTest::mousePress(s, Qt::LeftButton, {}, grip);
        QSet<int> seen;
        for (int x = grip.x() - 20; x <= grip.x() + 160; ++x) {
            QTest::mouseMove(s, QPoint(x, grip.y()));
            seen << s->Value();
        }
        QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(grip.x() + 160, grip.y()));
        QCOMPARE(seen, QSet<int>({5, 15, 25, 35, 45, 55, 65, 75, 85, 95, 105}));
        for (int v : std::as_const(w.Changes))
            QVERIFY((v - 5) % 10 == 0);
    }

    void handCursorOverThumb()
    {
        TSliderWindow w;
        TImageSlider* s = w.Slider;
        QTest::mouseMove(s, w.ThumbCentre());
        QCOMPARE(s->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(s->cursor().hotSpot(), QPoint(6, 16));
        // Every edge is on the thumb, as for a press; one pixel beyond is not.
        QTest::mouseMove(s, QPoint(s->ThumbRect().Right + 1, w.ThumbCentre().y()));
        QCOMPARE(s->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(s, QPoint(s->ThumbRect().Right, s->ThumbRect().Bottom));
        QCOMPARE(s->cursor().shape(), Qt::BitmapCursor);
        // Off the thumb the control's own cursor comes back.
        s->SetCursorId(crIBeam);
        QTest::mouseMove(s, QPoint(300, 15));
        QCOMPARE(s->cursor().shape(), Qt::IBeamCursor);
    }

    void vertical()
    {
        TSliderWindow w(false);
        TImageSlider* s = w.Slider;
        s->SetOrientation(TSliderOrientation::soVertical);
        QCOMPARE(s->size(), QSize(40, 150));
        // VTHUMB is 38 x 9: two states of 19 x 9, wider than the 8-pixel ruler.
        QVERIFY(s->ThumbRect() == Bounds(6, 135, 19, 9)); // value 0 at the bottom
        QVERIFY(s->RulerOrigin() == TPoint({11, 6}));
        QVERIFY(s->PointsOrigin() == TPoint({26, 6}));
        QCOMPARE(s->Ruler().Width(), 8);
        QCOMPARE(s->Ruler().Height(), 138);
        QCOMPARE(s->TravelLength(), 129);
        s->SetValue(100);
        QCOMPARE(s->ThumbRect().Top, 6); // MaxValue at the top
        s->SetValue(50);
        QCOMPARE(s->ThumbRect().Top, 71);

        // Keys: Up raises, Down lowers, Left and Right do nothing.
        s->setFocus();
        QTRY_VERIFY(s->HasFocus());
        w.ClearEvents();
        QTest::keyClick(s, Qt::Key_Up);
        QCOMPARE(s->Value(), 60);
        QTest::keyClick(s, Qt::Key_Down);
        QTest::keyClick(s, Qt::Key_Down);
        QCOMPARE(s->Value(), 40);
        QTest::keyClick(s, Qt::Key_Right);
        QTest::keyClick(s, Qt::Key_Left);
        QCOMPARE(s->Value(), 40);
        QCOMPARE(w.Changes, QList<int>({60, 50, 40}));
        QCOMPARE(w.ChangedCount, 3);

        // Dragging the thumb up raises the value.
        const QPoint grip = w.ThumbCentre();
        QTest::mousePress(s, Qt::LeftButton, {}, grip);
        QTest::mouseMove(s, grip - QPoint(0, 200));
        QCOMPARE(s->Value(), 100);
        QCOMPARE(s->ThumbRect().Top, 6);
        QTest::mouseRelease(s, Qt::LeftButton, {}, grip - QPoint(0, 200));

        // The ruler press zone, x 8 to 22 and y 6 to 144, every edge inside.
        QVERIFY(s->InRulerZone(8, 6) && s->InRulerZone(22, 144));
        QVERIFY(!s->InRulerZone(23, 100) && !s->InRulerZone(16, 145));

        // EdgeSize is checked against the height of VRULER (10).
        s->SetEdgeSize(5);
        QCOMPARE(s->EdgeSize(), 2);
        s->SetEdgeSize(4);
        QCOMPARE(s->EdgeSize(), 4);
    }

    void orientationSwapsSize()
    {
        TImageSlider s;
        s.setGeometry(10, 20, 150, 40);
        s.SetOrientation(TSliderOrientation::soVertical);
        QCOMPARE(s.geometry(), QRect(10, 20, 40, 150));
        s.SetOrientation(TSliderOrientation::soVertical);
        QCOMPARE(s.geometry(), QRect(10, 20, 40, 150));
        s.SetOrientation(TSliderOrientation::soHorizontal);
        QCOMPARE(s.geometry(), QRect(10, 20, 150, 40));

        // While loading only the layout follows.
        TImageSlider loading;
        loading.IncludeState(csLoading | csReading);
        loading.SetOrientation(TSliderOrientation::soVertical);
        QCOMPARE(loading.size(), QSize(150, 40));
        loading.Loaded();
        QCOMPARE(loading.ThumbRect().Width(), 19);
    }

    void childArea()
    {
        TSliderWindow w;
        auto* child = new TPanel;
        child->setParent(w.Slider);
        child->show();
        child->SetAlign(alClient);
        w.Slider->resize(396, 33);
        QCOMPARE(child->geometry(), QRect(1, 1, 394, 31));
        w.Slider->SetBevelStyle(bvNone);
        w.Slider->resize(396, 32);
        QCOMPARE(child->geometry(), QRect(0, 0, 396, 32));
    }

    void parentColor()
    {
        TPanel parent;
        parent.SetColor(clAqua);
        auto* s = new TImageSlider(&parent);
        QVERIFY(s->ParentColor());
        QCOMPARE(s->FaceColor(), clAqua);
        s->Paint();
        QCOMPARE(PixelToColor(s->Buffer().pixel(2, 2)), clAqua);
        s->SetColor(clYellow);
        QVERIFY(!s->ParentColor());
        s->Paint();
        QCOMPARE(PixelToColor(s->Buffer().pixel(2, 2)), clYellow);
        s->SetParentColor(true);
        QCOMPARE(s->FaceColor(), clAqua);
    }

    void userImages()
    {
        TImageSlider s;
        // Only built-in images: nothing to store.
        QCOMPARE(s.UserImageMask(), std::uint8_t(0));
        QVERIFY(!s.ShouldWriteUserImages(nullptr));

        QImage thumb(20, 30, QImage::Format_RGB32);
        thumb.fill(Qt::darkGreen);
        s.SetImage(siHThumb, thumb);
        QCOMPARE(s.UserImageMask(), std::uint8_t(1));
        QCOMPARE(s.ThumbRect().Width(), 10); // two states side by side
        QCOMPARE(s.ThumbRect().Height(), 30);
        // A thumb taller than the ruler: the ruler is centred on it.
        QCOMPARE(s.RulerOrigin().Y, 6 + (30 - 8) / 2);

        QImage vruler(8, 10, QImage::Format_RGB32);
        vruler.fill(Qt::blue);
        TBitmap picture;
        picture.Assign(vruler);
        s.SetImageVRuler(&picture);
        QCOMPARE(s.UserImageMask(), std::uint8_t(1 | 8));
        s.SetImageHThumb(nullptr);
        QCOMPARE(s.UserImageMask(), std::uint8_t(8));
        QCOMPARE(s.ThumbRect().Width(), 9);
        QVERIFY(s.ShouldWriteUserImages(nullptr));
        QCOMPARE(s.WriteUserImages(), QByteArray(1, char(8)));

        // Against an ancestor: written only when the masks differ.
        TImageSlider ancestor;
        QVERIFY(s.ShouldWriteUserImages(&ancestor));
        ancestor.SetImageVRuler(&picture);
        QVERIFY(!s.ShouldWriteUserImages(&ancestor));
        QVERIFY(ancestor.ShouldWriteUserImages(&s) == false);
    }

    void userImagesRoundTrip()
    {
        // What the stored form code does: the PNG data of each marked image,
        // then the one-byte UserImages, then Loaded().
        TImageSlider original;
        original.SetOrientation(TSliderOrientation::soVertical);
        QImage ruler(8, 12, QImage::Format_RGB32);
        for (int y = 0; y < ruler.height(); ++y)
            for (int x = 0; x < ruler.width(); ++x)
                ruler.setPixel(x, y, qRgb(x * 30, y * 20, 200));
        original.SetImage(siVRuler, ruler);
        QCOMPARE(original.UserImageMask(), std::uint8_t(8));
        const QByteArray png = original.ImageVRuler()->SaveToPng();
        const QByteArray stream = original.WriteUserImages();
        QCOMPARE(stream, QByteArray("\x08", 1));

        TImageSlider copy;
        copy.IncludeState(csLoading | csReading);
        copy.SetOrientation(TSliderOrientation::soVertical);
        for (int i = 0; i < SliderImageCount; ++i)
            if (original.IsUserImage(i))
                QVERIFY(copy.Image(i)->LoadFromPng(png));
        copy.ReadUserImages(stream);
        copy.Loaded();
        QCOMPARE(copy.UserImageMask(), std::uint8_t(8));
        QCOMPARE(copy.ImageVRuler()->Image(), ruler.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(copy.Ruler().Width(), 8);
        // Edge 2 of the 12-pixel picture: its top two rows start the ruler.
        QCOMPARE(copy.Ruler().Image().pixel(3, 1), ruler.pixel(3, 1));
        QCOMPARE(copy.Ruler().Image().pixel(3, copy.Ruler().Height() - 1), ruler.pixel(3, 11));

        // Bits 4 to 7 stay clear; an empty stream changes nothing.
        copy.ReadUserImages(QByteArray("\xF8", 1));
        QCOMPARE(copy.UserImageMask(), std::uint8_t(8));
        copy.ReadUserImages(QByteArray());
        QCOMPARE(copy.UserImageMask(), std::uint8_t(8));
    }

    void restoringSwitchesOpaqueOff()
    {
        TImageSlider s;
        s.SetOptions(s.Options().With(TSliderOption::soRulerOpaque).With(TSliderOption::soThumbOpaque));
        QImage picture(10, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        s.SetImage(siHRuler, picture);
        s.SetImageHRuler(nullptr);
        QCOMPARE(s.UserImageMask(), std::uint8_t(0));
        QVERIFY(!s.Options().Contains(TSliderOption::soRulerOpaque));
        QVERIFY(s.Options().Contains(TSliderOption::soThumbOpaque));
        QCOMPARE(s.ImageHRuler()->Image(), MapImage(HRulerMap));
        s.SetImageVThumb(nullptr);
        QVERIFY(!s.Options().Contains(TSliderOption::soThumbOpaque));

        // While loading the option stays.
        TImageSlider loading;
        loading.IncludeState(csLoading | csReading);
        loading.SetOptions(loading.Options().With(TSliderOption::soRulerOpaque));
        loading.SetImageHRuler(nullptr);
        QVERIFY(loading.Options().Contains(TSliderOption::soRulerOpaque));
        loading.Loaded();
        QVERIFY(loading.Options().Contains(TSliderOption::soRulerOpaque));
    }

    void inPlaceChangeIsNotStored()
    {
        TImageSlider s;
        s.ImageHThumb()->SetSize(30, 20);
        QCOMPARE(s.ThumbRect().Width(), 15);
        QCOMPARE(s.ThumbRect().Height(), 20);
        QCOMPARE(s.UserImageMask(), std::uint8_t(0));
    }

    void degenerate_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("emptyImage"); // -1: none
        QTest::addColumn<int>("edge");       // applied after a 4-pixel user ruler, -100: none
        QTest::addColumn<TSliderOrientation>("orientation");

        QTest::newRow("travel 0") << QSize(2 + 12 + 9, 32) << -1 << -100 << TSliderOrientation::soHorizontal;
        QTest::newRow("travel -1") << QSize(2 + 12 + 8, 32) << -1 << -100 << TSliderOrientation::soHorizontal;
        QTest::newRow("narrower than the margins") << QSize(5, 32) << -1 << -100 << TSliderOrientation::soHorizontal;
        QTest::newRow("no size") << QSize(0, 0) << -1 << -100 << TSliderOrientation::soHorizontal;
        QTest::newRow("vertical, too short") << QSize(32, 10) << -1 << -100 << TSliderOrientation::soVertical;
        QTest::newRow("empty thumb") << QSize(396, 32) << int(siHThumb) << -100 << TSliderOrientation::soHorizontal;
        QTest::newRow("empty ruler") << QSize(396, 32) << int(siHRuler) << -100 << TSliderOrientation::soHorizontal;
        QTest::newRow("empty vertical ruler")
            << QSize(32, 396) << int(siVRuler) << -100 << TSliderOrientation::soVertical;
        QTest::newRow("ruler not longer than twice the edge")
            << QSize(396, 32) << -1 << 3 << TSliderOrientation::soHorizontal;
        QTest::newRow("negative edge") << QSize(396, 32) << -1 << -3 << TSliderOrientation::soHorizontal;
    }
    void degenerate()
    {
        TSliderWindow w;
        TImageSlider* s = w.Slider;
        QFETCH(TSliderOrientation, orientation);
        s->SetOrientation(orientation);
        QFETCH(QSize, size);
        s->resize(size);
        QFETCH(int, emptyImage);
        if (emptyImage >= 0)
            s->SetImage(emptyImage, QImage());
        QFETCH(int, edge);
        if (edge != -100) {
            s->SetEdgeSize(edge);
            QImage shortRuler(4, 8, QImage::Format_RGB32);
            shortRuler.fill(Qt::black);
            s->SetImage(siHRuler, shortRuler);
            QCOMPARE(s->EdgeSize(), edge);
        }
        const int travel = s->TravelLength();
        const int origin =
            orientation == TSliderOrientation::soHorizontal ? s->GetInnerRect().Left + 6 : s->GetInnerRect().Top + 6;
        const auto leading = [&] {
            return orientation == TSliderOrientation::soHorizontal ? s->ThumbRect().Left : s->ThumbRect().Top;
        };

        s->SetValue(200);
        QCOMPARE(s->Value(), 200);
        if (travel <= 0)
            QCOMPARE(leading(), origin);
        s->Paint();
        QCOMPARE(s->Buffer().size(), size.isEmpty() ? QSize(0, 0) : size);

        // A drag keeps the value in the range; without travel it keeps it at all.
        w.ClearEvents();
        const QPoint grip = w.ThumbCentre();
        QTest::mousePress(s, Qt::LeftButton, {}, grip);
        QTest::mouseMove(s, grip + QPoint(300, -300));
        QTest::mouseMove(s, grip - QPoint(300, -300));
        QTest::mouseRelease(s, Qt::LeftButton, {}, grip);
        QVERIFY(s->Value() >= s->MinValue() && s->Value() <= s->MaxValue());
        if (travel <= 0) {
            QCOMPARE(s->Value(), 200);
            QCOMPARE(leading(), origin);
        }
        QTest::keyClick(s, Qt::Key_End);
        QCOMPARE(s->Value(), 255);
        s->Paint();
        // The whole painted picture still lies inside the control.
        QVERIFY(s->PaintCopy().size() == s->Buffer().size());
    }

    void degenerateRangeFromDescription_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("loadedMin");
        QTest::addColumn<int>("loadedMax");
        QTest::addColumn<int>("loadedValue");
        // The value is clamped against the range as it stood when it was read.
        QTest::newRow("inverted: put in order") << 300 << 100 << 50 << 100 << 300 << 300;
        QTest::newRow("empty") << 40 << 40 << 90 << 40 << 40 << 40;
    }
    void degenerateRangeFromDescription()
    {
        TSliderWindow w;
        TImageSlider* s = w.Slider;
        s->IncludeState(csLoading | csReading);
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(int, value);
        s->SetMinValue(minValue);
        s->SetMaxValue(maxValue);
        s->SetValue(value);
        s->Loaded();
        QTEST(s->MinValue(), "loadedMin");
        QTEST(s->MaxValue(), "loadedMax");
        QTEST(s->Value(), "loadedValue");
        // Nothing divides by zero: an empty range keeps the thumb at the
        // origin; any position means a value in the range.
        QCOMPARE(s->ThumbRect().Left, s->MinValue() == s->MaxValue() ? 7 : s->ValueToPos(s->Value()));
        for (int p : {-50, 7, 200, 1000}) {
            const int v = s->PosToValue(p);
            QVERIFY(v >= s->MinValue() && v <= s->MaxValue());
        }
        const QPoint grip = w.ThumbCentre();
        QTest::mousePress(s, Qt::LeftButton, {}, grip);
        QTest::mouseMove(s, grip + QPoint(250, 0));
        QTest::mouseRelease(s, Qt::LeftButton, {}, grip + QPoint(250, 0));
        QVERIFY(s->Value() >= s->MinValue() && s->Value() <= s->MaxValue());
        s->Paint();
        QVERIFY(!s->Buffer().isNull());
    }

    void layoutOverrides()
    {
        TInsetSlider s;
        s.SetEdgeSize(1);
        QCOMPARE(s.Layouts, 1);
        QCOMPARE(s.Ruler().Width(), 150 - 2 * (10 + 6));
        QCOMPARE(s.ThumbRect().Top, 16);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestImageSlider test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_imageslider.moc"
