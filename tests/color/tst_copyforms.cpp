#include "color/colormodel.h"
#include "color/colorspace.h"
#include "color/colortext.h"
#include "color/copyforms.h"
#include "color/nearestcolor.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

TNearestColorFinder Names()
{
    TNearestColorFinder names;
    names.Add(u"Black"_s, {0, 0, 0});
    names.Add(u"DarkOrange"_s, {255, 140, 0});
    names.Add(u"White"_s, {255, 255, 255});
    return names;
}

RgbTriple ColorOf(int v)
{
    return {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

} // namespace

Q_DECLARE_METATYPE(TCopyForm)

class TestCopyForms : public QObject {
    Q_OBJECT
private slots:
    void writes_data();
    void writes();
    void decimalFormsReadBackEveryColour();
    void everyFormReadsBack();
};

void TestCopyForms::writes_data()
{
    QTest::addColumn<TCopyForm>("form");
    QTest::addColumn<int>("rgb");
    QTest::addColumn<QString>("text");
    const std::tuple<TCopyForm, int, const char*> rows[] = {
        {TCopyForm::Hex, 0xFF8000, "#ff8000"},
        {TCopyForm::Hex, 0x00000A, "#00000a"},
        {TCopyForm::Rgb, 0xFF8000, "rgb(255, 128, 0)"},
        {TCopyForm::Hsl, 0xFF8000, "hsl(30.1, 100%, 50%)"},
        {TCopyForm::Hsl, 0x000000, "hsl(0, 0%, 0%)"},
        {TCopyForm::Hsl, 0xFFFFFF, "hsl(0, 0%, 100%)"},
        {TCopyForm::Hsl, 0xFF0001, "hsl(359.8, 100%, 50%)"},
        {TCopyForm::Hsl, 0x010203, "hsl(210, 50%, 0.8%)"},
        {TCopyForm::Oklch, 0xFF8000, "oklch(73.19% 0.1858 52.98)"},
        {TCopyForm::Oklch, 0x000000, "oklch(0% 0 0)"},
        {TCopyForm::Oklch, 0x808080, "oklch(59.99% 0 0)"},
        // A hue of 359.999 rounds to a whole turn.
        {TCopyForm::Oklch, 0x300115, "oklch(20.21% 0.07918 0)"},
        {TCopyForm::Oklch, 0xFFFFFF, "oklch(100% 0 0)"},
        {TCopyForm::Argb, 0xFF8000, "0xFFFF8000"},
        {TCopyForm::Argb, 0x0000AB, "0xFF0000AB"},
        {TCopyForm::QtColor, 0xFF8000, "QColor(255, 128, 0)"},
        {TCopyForm::Win32, 0xFF8000, "RGB(255, 128, 0)"},
        {TCopyForm::Vec3, 0xFF8000, "vec3(1.000, 0.502, 0.000)"},
        {TCopyForm::Vec3, 0x010203, "vec3(0.004, 0.008, 0.012)"},
        {TCopyForm::Name, 0xFF8000, "DarkOrange"},
        {TCopyForm::Name, 0x101010, "Black"},
    };
    for (const auto& [form, rgb, text] : rows)
        QTest::addRow("%s %06x", qPrintable(CopyFormKey(form)), rgb) << form << rgb << QString::fromUtf8(text);
}

void TestCopyForms::writes()
{
    QFETCH(TCopyForm, form);
    QFETCH(int, rgb);
    QTEST(CopyFormText(form, ColorOf(rgb), Names()), "text");
}

// Every byte colour, through the numbers the decimal forms write and the
// conversions the reader makes of them. A decimal text reads as the double
// nearest to it, which is what dividing its digits by the power of ten gives,
// so this covers the texts too; everyFormReadsBack reads real texts.
void TestCopyForms::decimalFormsReadBackEveryColour()
{
    int failures = 0;
    RgbTriple first;
#ifdef NDEBUG
    constexpr int Step = 1;
#else
    constexpr int Step = 7; // unoptimised builds check every seventh colour, in the same time
#endif
    for (int v = 0; v < 1 << 24; v += Step) {
        const RgbTriple c = ColorOf(v);
        const THslDigits hsl = HslDigits(c);
        const TOklchDigits lch = OklchDigits(c);
        const RgbTriple fromHsl =
            ToBytes(FromHsl(hsl.Hue / 10.0, hsl.Saturation / 10.0 / 100, hsl.Lightness / 10.0 / 100));
        const RgbTriple fromOklch =
            SrgbFromOklab(OklabFromOklch(lch.Lightness / 100.0 / 100, lch.Chroma / 100'000.0, lch.Hue / 100.0));
        const RgbTriple fromVec3 =
            ToBytes({FractionDigits(c.R) / 1000.0, FractionDigits(c.G) / 1000.0, FractionDigits(c.B) / 1000.0});
        if (!(fromHsl == c && fromOklch == c && fromVec3 == c) && failures++ == 0)
            first = c;
    }
    QVERIFY2(failures == 0, qPrintable(u"%1 colours do not read back, the first %2"_s.arg(failures).arg(
                                HtmlOf(first.R, first.G, first.B))));
}

void TestCopyForms::everyFormReadsBack()
{
    const TNearestColorFinder names = Names();
    TNamedColorLookup lookup;
    lookup.Add(u"DarkOrange"_s, {255, 140, 0});
    for (int v = 0; v < 1 << 24; v += 4093) {
        const RgbTriple c = ColorOf(v);
        for (TCopyForm form : CopyForms) {
            if (form == TCopyForm::Name) // a name stands for its own colour
                continue;
            const QString text = CopyFormText(form, c, names);
            const TColorReadResult read = ReadColorText(text, lookup);
            QVERIFY2(read.IsOk() && read.Color == c, qPrintable(text + u" → "_s + read.Message));
        }
    }
    const TColorReadResult name = ReadColorText(CopyFormText(TCopyForm::Name, {250, 130, 5}, names), lookup);
    QVERIFY(name.Color == RgbTriple({255, 140, 0}));
}

QTEST_GUILESS_MAIN(TestCopyForms)
#include "tst_copyforms.moc"
