// The slider in a stored form description: what is written, what reading
// restores, and what a broken description does.
#include "framework/application.h"
#include "framework/formreader.h"
#include "framework/formwriter.h"
#include "framework/stdctrls.h"
#include "widgets/slider/imageslider.h"
#include "widgets/slider/sliderclass.h"
#include "widgets/slider/sliderimages.h"

#include <QtTest>

namespace {

std::unique_ptr<TImageSlider> NewSlider()
{
    auto s = std::make_unique<TImageSlider>();
    SetClassName(s.get(), QStringLiteral("TImageSlider"));
    s->SetName(QStringLiteral("Sl"));
    return s;
}

// A picture whose pixels differ from every built-in one.
QImage Stripes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x + y) % 3 ? qRgb(10 * x, 5 * y, 200) : qRgb(0, 0, 0));
    return image;
}

std::unique_ptr<TImageSlider> Read(const QString& text, const THandlerTable& handlers = {})
{
    std::unique_ptr<QWidget> w = TFormReader::ReadComponent(text, handlers);
    auto* s = qobject_cast<TImageSlider*>(w.get());
    if (!s)
        return nullptr;
    w.release();
    return std::unique_ptr<TImageSlider>(s);
}

} // namespace

class TestSliderStorage : public QObject {
    Q_OBJECT
private slots:
    void builtInImagesAreNeverWritten()
    {
        auto s = NewSlider();
        QCOMPARE(TFormWriter::Write(s.get()), QStringLiteral("object Sl: TImageSlider\nend\n"));

        // Drawing into a holder changes the picture but is not a user image.
        s->ImageHThumb()->Canvas().SetPixel(0, 0, clRed);
        s->SetImage(siHRuler, Stripes(12, 8));
        s->SetImage(siHRuler, static_cast<const TBitmap*>(nullptr));
        const QString text = TFormWriter::Write(s.get());
        QVERIFY2(!text.contains(QStringLiteral(".Data")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("UserImages")), qPrintable(text));
    }

    void userImageIsWrittenWithItsMask()
    {
        auto s = NewSlider();
        s->SetImage(siVRuler, Stripes(8, 12));
        const QString text = TFormWriter::Write(s.get());
        QVERIFY2(text.contains(QStringLiteral("ImageVRuler.Data = {")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("ImageHThumb")));
        QVERIFY(!text.contains(QStringLiteral("ImageHRuler")));
        QVERIFY(!text.contains(QStringLiteral("ImageVThumb")));
        QVERIFY2(text.contains(QStringLiteral("UserImages = {08}")), qPrintable(text));
        QVERIFY(text.indexOf(QStringLiteral("ImageVRuler")) < text.indexOf(QStringLiteral("UserImages")));
    }

    void roundTripRestoresTheSlider()
    {
        auto s = NewSlider();
        s->resize(396, 32);
        s->SetBevelStyle(bvLowered);
        s->SetEdgeSize(1);
        s->SetRange(0, 255);
        s->SetIncrement(1);
        s->SetValue(128);
        s->SetOptions({TSliderOption::soShowFocus, TSliderOption::soThumbOpaque});
        s->SetColor(RGB(128, 0, 0));
        s->SetTabOrder(2);
        s->SetImage(siHThumb, Stripes(20, 30));
        const QString text = TFormWriter::Write(s.get());
        // The range and the increment come before the value they bound.
        QVERIFY(text.indexOf(QStringLiteral("Increment")) < text.indexOf(QStringLiteral("Value")));
        QVERIFY(text.indexOf(QStringLiteral("MaxValue")) < text.indexOf(QStringLiteral("Value =")));

        auto b = Read(text);
        QVERIFY(b);
        QCOMPARE(b->size(), QSize(396, 32));
        QCOMPARE(b->BevelStyle(), bvLowered);
        QCOMPARE(b->EdgeSize(), 1);
        QCOMPARE(b->MinValue(), 0);
        QCOMPARE(b->MaxValue(), 255);
        QCOMPARE(b->Increment(), 1);
        QCOMPARE(b->Value(), 128);
        QVERIFY(b->Options() == (TSliderOptions{TSliderOption::soShowFocus, TSliderOption::soThumbOpaque}));
        QCOMPARE(b->Color(), RGB(128, 0, 0));
        QVERIFY(!b->ParentColor());
        QCOMPARE(b->TabOrder(), 2);
        QCOMPARE(int(b->UserImageMask()), 1);
        QCOMPARE(b->ImageHThumb()->Image(), s->ImageHThumb()->Image());
        QCOMPARE(b->ImageHRuler()->Image(), s->ImageHRuler()->Image());
        // The loaded picture was re-applied: a 10 × 30 thumb in the same place.
        QCOMPARE(b->ThumbRect(), s->ThumbRect());
        QCOMPARE(b->ThumbRect().Right - b->ThumbRect().Left, 10);
        QCOMPARE(TFormWriter::Write(b.get()), text);
    }

    void loadingRaisesNoChange()
    {
        int changes = 0;
        const TNotifyEvent count = [&changes](QObject*) { ++changes; };
        auto s = Read(QStringLiteral("object Sl: TImageSlider\n"
                                     "  MaxValue = 255\n"
                                     "  Value = 200\n"
                                     "  OnChange = SlChange\n"
                                     "end\n"),
                      {{QStringLiteral("SlChange"), count}});
        QVERIFY(s);
        QCOMPARE(s->Value(), 200);
        QCOMPARE(changes, 0);
        s->SetValue(201);
        QCOMPARE(changes, 1);
    }

    void invertedRangeIsPutInOrder()
    {
        auto s = Read(QStringLiteral("object Sl: TImageSlider\n"
                                     "  MinValue = 50\n"
                                     "  MaxValue = 10\n"
                                     "  Value = 70\n"
                                     "end\n"));
        QVERIFY(s);
        QVERIFY(s->MinValue() < s->MaxValue());
        QVERIFY(s->Value() >= s->MinValue() && s->Value() <= s->MaxValue());
        const TRect r = s->ThumbRect();
        QVERIFY(r.Left >= 0 && r.Top >= 0 && r.Right <= s->width() && r.Bottom <= s->height());
    }

    void verticalSizeIsKeptWhileLoading()
    {
        auto s = Read(QStringLiteral("object Sl: TImageSlider\n"
                                     "  Width = 40\n"
                                     "  Height = 150\n"
                                     "  Orientation = soVertical\n"
                                     "end\n"));
        QVERIFY(s);
        QCOMPARE(s->Orientation(), TSliderOrientation::soVertical);
        QCOMPARE(s->size(), QSize(40, 150));
    }

    void ancestorWithTheSameImagesWritesNoMask()
    {
        auto ancestor = NewSlider();
        ancestor->SetImage(siHRuler, Stripes(10, 8));
        auto s = NewSlider();
        s->SetImage(siHRuler, Stripes(10, 8));
        QVERIFY(!TFormWriter::Write(s.get(), ancestor.get()).contains(QStringLiteral("UserImages")));
        // Going back to the built-in ruler differs from the ancestor: mask 0.
        s->SetImage(siHRuler, static_cast<const TBitmap*>(nullptr));
        QVERIFY(TFormWriter::Write(s.get(), ancestor.get()).contains(QStringLiteral("UserImages = {00}")));
    }

    void enabledIsTheSlidersOwnFlag()
    {
        QWidget parent;
        auto* s = new TImageSlider(&parent);
        SetClassName(s, QStringLiteral("TImageSlider"));
        parent.setEnabled(false);
        QVERIFY(!TFormWriter::Write(s).contains(QStringLiteral("Enabled")));
        // Its thumb shows the first state: silver at (2, 2), where the second has white.
        s->Paint();
        QCOMPARE(PixelToColor(s->Buffer().pixel(6 + 2, 6 + 2)), RGB(192, 192, 192));
        QCOMPARE(PixelToColor(s->PaintCopy().pixel(6 + 2, 6 + 2)), RGB(192, 192, 192));
        s->setEnabled(false);
        QVERIFY(TFormWriter::Write(s).contains(QStringLiteral("Enabled = False")));
    }

    void inheritedPropertiesInPublishedOrder()
    {
        RegisterStandardClasses();
        RegisterMenuClasses();
        RegisterSliderClasses();
        const TNotifyEvent notify = [](QObject*) {};
        const THandlerTable handlers = {
            {QStringLiteral("N"), notify},
            {QStringLiteral("M"), TMouseEvent([](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {})},
            {QStringLiteral("V"), TMouseMoveEvent([](QObject*, Qt::MouseButtons, Qt::KeyboardModifiers, int, int) {})},
            {QStringLiteral("K"), TKeyEvent([](QObject*, int&, Qt::KeyboardModifiers) {})},
            {QStringLiteral("P"), TKeyPressEvent([](QObject*, QChar&) {})},
            {QStringLiteral("C"), TContextPopupEvent([](QObject*, TPoint, bool&) {})},
        };
        const QString text =
            QStringLiteral("object Root: TPanel\n"
                           "  object Menu: TPopupMenu\n  end\n"
                           "  object Sl: TImageSlider\n"
                           "    OnContextPopup = C\n    OnKeyPress = P\n    OnKeyUp = K\n    OnKeyDown = K\n"
                           "    OnMouseUp = M\n    OnMouseDown = M\n    OnMouseMove = V\n"
                           "    OnDblClick = N\n    OnClick = N\n    OnChange = N\n"
                           "    Constraints.MinHeight = 20\n    Constraints.MaxWidth = 400\n"
                           "    Anchors = [akLeft, akRight]\n    Value = 5\n    ShowHint = True\n"
                           "    PopupMenu = Menu\n    ParentShowHint = False\n    Hint = 'Red'\n"
                           "    Tag = 3\n"
                           "  end\n"
                           "end\n");
        std::unique_ptr<QWidget> root = TFormReader::ReadComponent(text, handlers);
        auto* slider = root->findChild<TImageSlider*>(QStringLiteral("Sl"));
        QVERIFY(slider);
        QStringList names;
        for (const TFormProperty& p : ParseFormText(TFormWriter::Write(slider)).Properties)
            names << p.Name;
        QCOMPARE(names,
                 QStringLiteral("Tag Hint ParentShowHint PopupMenu ShowHint Value Visible Anchors "
                                "Constraints.MaxWidth Constraints.MinHeight OnChange OnClick OnDblClick OnMouseMove "
                                "OnMouseDown OnMouseUp OnKeyDown OnKeyUp OnKeyPress OnContextPopup")
                     .split(u' '));
        const QString written = TFormWriter::Write(root.get());
        QCOMPARE(TFormWriter::Write(TFormReader::ReadComponent(written, handlers).get()), written);
    }

    void brokenDescriptions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("unknown property")
            << "object Sl: TImageSlider\n  Thickness = 3\nend" << QStringLiteral("Line 2:");
        QTest::newRow("bad bevel") << "object Sl: TImageSlider\n  Value = 3\n  BevelStyle = bvDeep\nend"
                                   << QStringLiteral("Line 3:");
        QTest::newRow("bad option") << "object Sl: TImageSlider\n  Options = [soShowFocus, soGlow]\nend"
                                    << QStringLiteral("Line 2:");
        QTest::newRow("text for a number")
            << "object Sl: TImageSlider\n  Increment = 'ten'\nend" << QStringLiteral("Line 2:");
        QTest::newRow("picture not a picture")
            << "object Sl: TImageSlider\n  ImageHThumb.Data = {0102}\nend" << QStringLiteral("Line 2:");
        QTest::newRow("mask too long") << "object Sl: TImageSlider\n  UserImages = {0102}\nend"
                                       << QStringLiteral("Line 2:");
        QTest::newRow("mask empty") << "object Sl: TImageSlider\n\n  UserImages = {}\nend" << QStringLiteral("Line 3:");
        QTest::newRow("truncated") << "object Sl: TImageSlider\n  Value = 3\n" << QStringLiteral("Line 3:");
        QTest::newRow("truncated picture")
            << "object Sl: TImageSlider\n  ImageHThumb.Data = {8950" << QStringLiteral("Line 2:");
    }
    void brokenDescriptions()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        bool raised = false;
        try {
            Read(text);
        } catch (const EFormError& e) {
            raised = true;
            QVERIFY2(e.Message().startsWith(line), qPrintable(e.Message()));
        }
        QVERIFY(raised);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    InitSliderModule();
    RegisterSliderClasses();
    TestSliderStorage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sliderstorage.moc"
