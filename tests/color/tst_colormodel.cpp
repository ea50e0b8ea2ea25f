#include "color/basicpalette.h"
#include "color/colormodel.h"

#include <QtTest>

namespace {

// A window stand-in with the slider semantics the model relies on: writes
// clamp and raise a change only when the value really changes, and the
// change handler recomputes the preview as the real window's does.
class FakeView : public IColorView {
public:
    TColorModel Model{*this};
    int Slider[3] = {255, 255, 255};
    bool TextTarget = false;
    TLiteralFormat Format = TLiteralFormat::Delphi;
    QString PreviewText = QStringLiteral("$00FFFFFF");
    TColor FontColor = clWindowText;
    TColor BackColor = clWindow;
    QStringList Log;

    int SliderValue(TChannel ch) const override { return Slider[int(ch)]; }
    void SetSliderValue(TChannel ch, int v) override
    {
        v = std::clamp(v, 0, 255);
        Log << QStringLiteral("slider %1=%2").arg(int(ch)).arg(v);
        if (Slider[int(ch)] == v)
            return;
        Slider[int(ch)] = v;
        Model.ChangeColor();
    }
    bool IsTextTarget() const override { return TextTarget; }
    bool IsFormatChecked(TLiteralFormat f) const override { return f == Format; }
    void SetPreviewText(const QString& t) override
    {
        Log << QStringLiteral("text ") + t;
        PreviewText = t;
    }
    void SetPreviewFontColor(TColor c) override
    {
        Log << QStringLiteral("font %1").arg(c, 6, 16, QLatin1Char('0'));
        FontColor = c;
    }
    void SetPreviewBackColor(TColor c) override
    {
        Log << QStringLiteral("back %1").arg(c, 6, 16, QLatin1Char('0'));
        BackColor = c;
    }

    // A radio click runs its handler only when the button becomes checked.
    void CheckText(bool text)
    {
        if (TextTarget == text)
            return;
        TextTarget = text;
        text ? Model.RBtn1Click() : Model.RBtn2Click();
    }
    void CheckFormat(TLiteralFormat f)
    {
        if (Format == f)
            return;
        Format = f;
        Model.RdBtn1Click();
    }
    void SetRgb(int r, int g, int b)
    {
        SetSliderValue(TChannel::Red, r);
        SetSliderValue(TChannel::Green, g);
        SetSliderValue(TChannel::Blue, b);
    }
};

} // namespace

class TestColorModel : public QObject {
    Q_OBJECT
private slots:
    void literals_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<QString>("expected");
        using F = TLiteralFormat;
        QTest::newRow("delphi orange") << int(F::Delphi) << 255 << 128 << 0 << "$000080FF";
        QTest::newRow("c++ orange") << int(F::VisualCpp) << 255 << 128 << 0 << "0x000080FF";
        QTest::newRow("basic orange") << int(F::VisualBasic) << 255 << 128 << 0 << "&H000080FF&";
        QTest::newRow("html orange") << int(F::Html) << 255 << 128 << 0 << "#FF8000";
        QTest::newRow("delphi 1,2,3") << int(F::Delphi) << 1 << 2 << 3 << "$00030201";
        QTest::newRow("c++ 1,2,3") << int(F::VisualCpp) << 1 << 2 << 3 << "0x00030201";
        QTest::newRow("basic 1,2,3") << int(F::VisualBasic) << 1 << 2 << 3 << "&H00030201&";
        QTest::newRow("html 1,2,3") << int(F::Html) << 1 << 2 << 3 << "#010203";
        QTest::newRow("delphi black") << int(F::Delphi) << 0 << 0 << 0 << "$00000000";
        QTest::newRow("html black") << int(F::Html) << 0 << 0 << 0 << "#000000";
        QTest::newRow("basic white") << int(F::VisualBasic) << 255 << 255 << 255 << "&H00FFFFFF&";
        QTest::newRow("c++ mixed hex digits") << int(F::VisualCpp) << 0xAB << 0x0C << 0xF1 << "0x00F10CAB";
    }
    void literals()
    {
        QFETCH(int, format);
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QTEST(FormatLiteral(TLiteralFormat(format), r, g, b, {}, {}), "expected");

        // Through the model as well: the sliders drive the preview.
        FakeView view;
        view.Model.FormCreate();
        view.Format = TLiteralFormat(format);
        view.SetRgb(r, g, b);
        view.Model.ChangeColor();
        QTEST(view.PreviewText, "expected");
    }

    void conversions_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<TColor>("color");
        QTest::addColumn<QString>("html");
        QTest::newRow("black") << 0 << 0 << 0 << TColor(0x000000) << "#000000";
        QTest::newRow("white") << 255 << 255 << 255 << TColor(0xFFFFFF) << "#FFFFFF";
        QTest::newRow("1,2,3") << 1 << 2 << 3 << TColor(0x030201) << "#010203";
        QTest::newRow("orange") << 255 << 128 << 0 << TColor(0x0080FF) << "#FF8000";
        QTest::newRow("mixed digits") << 0x12 << 0xAB << 0xF0 << TColor(0xF0AB12) << "#12ABF0";
    }
    void conversions()
    {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(TColor, color);
        QCOMPARE(RGB(r, g, b), color);
        QTEST(HtmlOf(r, g, b), "html");
        // Each tint is the colour's own byte of that channel alone.
        QCOMPARE(ChannelTint(TChannel::Red, r), TColor(color & 0x0000FF));
        QCOMPARE(ChannelTint(TChannel::Green, g), TColor(color & 0x00FF00));
        QCOMPARE(ChannelTint(TChannel::Blue, b), TColor(color & 0xFF0000));
    }

    void startUpState()
    {
        FakeView view;
        view.Model.FormCreate();
        const TColorState& s = view.Model.State();
        QCOMPARE(s.TextColor, (RgbTriple{0, 0, 0}));
        QCOMPARE(s.BackColor, (RgbTriple{255, 255, 255}));
        QCOMPARE(s.TextHtml, QStringLiteral("#000000"));
        QCOMPARE(s.BackHtml, QStringLiteral("#FFFFFF"));
        QVERIFY2(view.Log.isEmpty(), "creating the state must not touch the preview");
        QCOMPARE(FormatLiteral(TLiteralFormat::HtmlBody, 255, 255, 255, s.BackHtml, s.TextHtml),
                 QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">"));
    }

    void visualCppAtStartColoursOnlyTheBackground()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckFormat(TLiteralFormat::VisualCpp);
        QCOMPARE(view.PreviewText, QStringLiteral("0x00FFFFFF"));
        QCOMPARE(view.BackColor, TColor(0xFFFFFF));
        QCOMPARE(view.FontColor, clWindowText);
    }

    void switchToTextWithInitialState()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckText(true);
        QCOMPARE(view.Slider[0], 0);
        QCOMPARE(view.Slider[1], 0);
        QCOMPARE(view.Slider[2], 0);
        QCOMPARE(view.Model.State().BackColor, (RgbTriple{255, 255, 255}));
        QCOMPARE(view.Model.State().BackHtml, QStringLiteral("#FFFFFF"));
        QCOMPARE(view.FontColor, clBlack);
        QCOMPARE(view.PreviewText, QStringLiteral("$00000000"));
    }

    void bodyTagChangesOnlyTheEditedHalf()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckFormat(TLiteralFormat::HtmlBody);
        QCOMPARE(view.PreviewText, QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">"));

        view.SetRgb(0x10, 0x20, 0x30); // background
        QCOMPARE(view.PreviewText, QStringLiteral("<BODY BGCOLOR=\"#102030\" TEXT=\"#000000\">"));

        view.CheckText(true); // loads the text colour: black
        view.SetSliderValue(TChannel::Green, 0x99);
        QCOMPARE(view.PreviewText, QStringLiteral("<BODY BGCOLOR=\"#102030\" TEXT=\"#009900\">"));
        QCOMPARE(view.FontColor, RGB(0, 0x99, 0));
        QCOMPARE(view.BackColor, RGB(0x10, 0x20, 0x30));

        view.CheckText(false); // back to the stored background
        QCOMPARE(view.Slider[0], 0x10);
        QCOMPARE(view.Slider[1], 0x20);
        QCOMPARE(view.Slider[2], 0x30);
        QCOMPARE(view.Model.State().TextColor, (RgbTriple{0, 0x99, 0}));
    }

    void switchingBetweenEqualColoursChangesNothing()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckText(true);
        view.SetRgb(255, 255, 255); // text colour now equals the background
        const QString text = view.PreviewText;
        const TColor font = view.FontColor, back = view.BackColor;
        view.Log.clear();
        view.CheckText(false);
        view.CheckText(true);
        QCOMPARE(view.PreviewText, text);
        QCOMPARE(view.FontColor, font);
        QCOMPARE(view.BackColor, back);
        for (const QString& entry : std::as_const(view.Log))
            QVERIFY2(entry.startsWith(QLatin1String("slider")), qPrintable(entry));
    }

    void checkedFormatClickedAgainRecomputesNothing()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckFormat(TLiteralFormat::Html);
        view.Log.clear();
        view.CheckFormat(TLiteralFormat::Html);
        QVERIFY(view.Log.isEmpty());
    }

    void reloadWritesSlidersInOrderAndEndsOnTarget()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckText(true);
        view.SetRgb(0x11, 0x22, 0x33);
        view.Log.clear();

        view.CheckText(false); // reload the white background
        const QStringList expected = {
            "slider 0=255",
            QStringLiteral("back %1").arg(RGB(255, 0x22, 0x33), 6, 16, QLatin1Char('0')),
            QStringLiteral("text $003322FF"),
            "slider 1=255",
            QStringLiteral("back %1").arg(RGB(255, 255, 0x33), 6, 16, QLatin1Char('0')),
            QStringLiteral("text $0033FFFF"),
            "slider 2=255",
            QStringLiteral("back %1").arg(RGB(255, 255, 255), 6, 16, QLatin1Char('0')),
            QStringLiteral("text $00FFFFFF"),
        };
        QCOMPARE(view.Log, expected);
        QCOMPARE(view.Model.State().TextColor, (RgbTriple{0x11, 0x22, 0x33}));
        QCOMPARE(view.Model.State().BackHtml, QStringLiteral("#FFFFFF"));
    }

    void pickedColourAlwaysRepaintsTheTarget()
    {
        FakeView view;
        view.Model.FormCreate();
        view.Model.LoadColor({240, 248, 255});
        QCOMPARE(view.PreviewText, QStringLiteral("$00FFF8F0"));
        QCOMPARE(view.BackColor, RGB(240, 248, 255));

        // The same colour again changes no slider, yet the target colour is set.
        view.BackColor = clWindow;
        view.Log.clear();
        view.Model.LoadColor({240, 248, 255});
        QCOMPARE(view.Log, QStringList({"slider 0=240", "slider 1=248", "slider 2=255",
                                        QStringLiteral("back %1").arg(RGB(240, 248, 255), 6, 16, QLatin1Char('0'))}));
        QCOMPARE(view.BackColor, RGB(240, 248, 255));

        view.CheckText(true);
        view.Model.LoadColor({1, 2, 3});
        QCOMPARE(view.FontColor, RGB(1, 2, 3));
        QCOMPARE(view.BackColor, RGB(240, 248, 255));
    }

    void bodyPair_data()
    {
        QTest::addColumn<bool>("textTarget");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<bool>("hasBack");
        QTest::addColumn<QString>("literal");
        QTest::addColumn<QString>("textHtml");
        QTest::addColumn<QString>("backHtml");
        // Text #102030, background #405060; the sliders edit the background at
        // start and the text after a switch (which loads black).
        QTest::newRow("both, editing back") << false << true << true << "<BODY BGCOLOR=\"#405060\" TEXT=\"#102030\">"
                                            << QStringLiteral("#102030") << "#405060";
        QTest::newRow("both, editing text") << true << true << true << "<BODY BGCOLOR=\"#405060\" TEXT=\"#102030\">"
                                            << QStringLiteral("#102030") << "#405060";
        QTest::newRow("text only, editing back")
            << false << true << false << "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#102030\">" << QStringLiteral("#102030")
            << "#FFFFFF";
        QTest::newRow("back only, editing text")
            << true << false << true << "<BODY BGCOLOR=\"#405060\" TEXT=\"#000000\">" << QStringLiteral("#000000")
            << "#405060";
    }
    void bodyPair()
    {
        QFETCH(bool, textTarget);
        QFETCH(bool, hasText);
        QFETCH(bool, hasBack);
        FakeView view;
        view.Model.FormCreate();
        view.CheckFormat(TLiteralFormat::HtmlBody);
        view.CheckText(textTarget);
        const RgbTriple text{0x10, 0x20, 0x30}, back{0x40, 0x50, 0x60};
        view.Model.LoadPair(hasText ? std::optional(text) : std::nullopt, hasBack ? std::optional(back) : std::nullopt);
        QTEST(view.PreviewText, "literal");
        QTEST(view.Model.State().TextHtml, "textHtml");
        QTEST(view.Model.State().BackHtml, "backHtml");
        if (hasText)
            QCOMPARE(view.FontColor, RGB(0x10, 0x20, 0x30));
        if (hasBack)
            QCOMPARE(view.BackColor, RGB(0x40, 0x50, 0x60));
        // Switching the target brings the other colour into the sliders.
        const RgbTriple& edited = textTarget ? text : back;
        const RgbTriple& other = textTarget ? back : text;
        if (hasText && hasBack) {
            QCOMPARE(
                (RgbTriple{std::uint8_t(view.Slider[0]), std::uint8_t(view.Slider[1]), std::uint8_t(view.Slider[2])}),
                edited);
            view.CheckText(!textTarget);
            QCOMPARE(
                (RgbTriple{std::uint8_t(view.Slider[0]), std::uint8_t(view.Slider[1]), std::uint8_t(view.Slider[2])}),
                other);
        }
    }

    void literalFor()
    {
        FakeView view;
        view.Model.FormCreate();
        view.CheckFormat(TLiteralFormat::HtmlBody);
        QCOMPARE(view.Model.LiteralFor({1, 2, 3}), QStringLiteral("<BODY BGCOLOR=\"#010203\" TEXT=\"#000000\">"));
        view.CheckText(true);
        QCOMPARE(view.Model.LiteralFor({1, 2, 3}), QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#010203\">"));
        view.CheckFormat(TLiteralFormat::VisualBasic);
        QCOMPARE(view.Model.LiteralFor({1, 2, 3}), QStringLiteral("&H00030201&"));
        // A preview changes nothing.
        QCOMPARE(view.Slider[0], 0);
        QCOMPARE(view.PreviewText, QStringLiteral("&H00000000&"));
    }

    void tripleFromTexts_data()
    {
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("g");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("valid");
        QTest::newRow("row") << "240" << QStringLiteral("248") << "255" << true;
        QTest::newRow("zeros") << "0" << QStringLiteral("0") << "0" << true;
        QTest::newRow("above a byte") << "256" << QStringLiteral("0") << "0" << false;
        QTest::newRow("negative") << "0" << QStringLiteral("-1") << "0" << false;
        QTest::newRow("empty") << "0" << QStringLiteral("0") << "" << false;
        QTest::newRow("hex") << "FF" << QStringLiteral("0") << "0" << false;
    }
    void tripleFromTexts()
    {
        QFETCH(QString, r);
        QFETCH(QString, g);
        QFETCH(QString, b);
        QFETCH(bool, valid);
        const std::optional<RgbTriple> t = TripleFromTexts(r, g, b);
        QCOMPARE(t.has_value(), valid);
        if (valid)
            QCOMPARE(*t, (RgbTriple{std::uint8_t(r.toInt()), std::uint8_t(g.toInt()), std::uint8_t(b.toInt())}));
    }

    void basicPalette_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<TColor>("color");
        QTest::newRow("none selected") << -1 << false << TColor(0);
        QTest::newRow("black") << 0 << true << clBlack;
        QTest::newRow("maroon") << 1 << true << clMaroon;
        QTest::newRow("olive") << 3 << true << clOlive;
        QTest::newRow("silver") << 8 << true << clSilver;
        QTest::newRow("red") << 9 << true << clRed;
        QTest::newRow("teal") << 6 << true << clTeal;
        QTest::newRow("white") << 15 << true << clWhite;
        QTest::newRow("past the list") << 16 << false << TColor(0);
    }
    void basicPalette()
    {
        QFETCH(int, index);
        QFETCH(bool, valid);
        const std::optional<RgbTriple> c = BasicPaletteColor(index);
        QCOMPARE(c.has_value(), valid);
        if (valid)
            QTEST(RGB(c->R, c->G, c->B), "color");
    }
};

QTEST_GUILESS_MAIN(TestColorModel)
#include "tst_colormodel.moc"
