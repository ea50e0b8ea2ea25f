#include "color/colorspace.h"
#include "color/contrast.h"
#include "color/passingcolor.h"

#include <QElapsedTimer>
#include <QtTest>

#include <cmath>
#include <optional>
#include <vector>

namespace {

RgbTriple ColorOf(int rgb)
{
    return {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
}
QString HtmlOf(const std::optional<RgbTriple>& c)
{
    return c ? QString::asprintf("#%02X%02X%02X", c->R, c->G, c->B) : QStringLiteral("none");
}

// One question: the colour nearest to Color that reaches Level against Other,
// and the best answer a scan has seen, by the order the search promises.
struct TQuery {
    RgbTriple Color;
    RgbTriple Other;
    double Level;
    TLab Lab;
    double Luminance;
    double OtherLuminance;
    std::optional<RgbTriple> Best;
    double BestDeltaE = INFINITY;
    double BestGap = INFINITY;

    void Consider(const RgbTriple& c, double y, const TLab& lab)
    {
        if (ContrastRatioOfLuminances(y, OtherLuminance) < Level)
            return;
        // Only the lightness term, which the full difference never falls
        // below, to skip the colours that cannot compete.
        if (Best && DeltaE2000LowerBound(Lab, lab) > BestDeltaE + 1e-6)
            return;
        const double e = DeltaE2000(Lab, lab);
        const double gap = std::abs(y - Luminance);
        const auto packed = [](const RgbTriple& t) { return t.R << 16 | t.G << 8 | t.B; };
        if (!Best || e < BestDeltaE ||
            (e == BestDeltaE && (gap < BestGap || (gap == BestGap && packed(c) < packed(*Best))))) {
            Best = c;
            BestDeltaE = e;
            BestGap = gap;
        }
    }
};

} // namespace

class TestPassingColor : public QObject {
    Q_OBJECT
private slots:
    void equalsSearchOfEveryColour();
};

// Text and background of each pair, each against the other, at 4.5:1 and 7:1.
// The scan sees the colours in a scattered order, so that good answers come
// early and most colours are turned away by the lightness term alone.
void TestPassingColor::equalsSearchOfEveryColour()
{
    const int pairs[][2] = {
        {0x888888, 0xFFFFFF}, // grey on white
        {0xFF0000, 0xFFFFFF}, // saturated on white
        {0x1E90FF, 0x0A0A40}, // blue on a dark blue: the rotation term at work
        {0x00FF00, 0xFFFF00}, // light on light
        {0x000000, 0xFFFFFF}, // already passes both
        {0xFF8800, 0x777777}, // 7:1 against #777777 cannot be reached
        {0xC8A2C8, 0xF0E68C}, // pastels
        {0x800080, 0x000080}, // dark on dark
        {0x2E8B57, 0x20B2AA}, // mid greens
    };
    std::vector<TQuery> queries;
    for (const auto& [text, back] : pairs) {
        for (const double level : {4.5, 7.0}) {
            for (const auto& [color, other] : {std::pair(text, back), std::pair(back, text)}) {
                const RgbTriple c = ColorOf(color), o = ColorOf(other);
                queries.push_back(
                    {c, o, level, LabOf(c), RelativeLuminance(c), RelativeLuminance(o), {}, INFINITY, INFINITY});
            }
        }
    }
    QElapsedTimer clock;
    clock.start();
#ifdef NDEBUG
    constexpr int Step = 1;
#else
    constexpr int Step = 7; // unoptimised builds scan every seventh colour, in about the same time
#endif
    for (int i = 0; i < 1 << 24; i += Step) {
        const RgbTriple c = ColorOf(int((std::uint32_t(i) * 0x9E3779B1u) & 0xFFFFFF));
        const double y = RelativeLuminance(c);
        const TLab lab = LabOf(c);
        for (TQuery& q : queries)
            q.Consider(c, y, lab);
    }
    qInfo("scan: %lld ms", clock.elapsed());

    bool unreachableSeen = false;
    for (const TQuery& q : queries) {
        const std::optional<TPassingColor> found = NearestPassingColor(q.Color, q.Other, q.Level);
        const QString what = QStringLiteral("%1 against %2 at %3:1: %4, scan %5")
                                 .arg(HtmlOf(q.Color), HtmlOf(q.Other))
                                 .arg(q.Level)
                                 .arg(HtmlOf(found ? std::optional(found->Color) : std::nullopt), HtmlOf(q.Best));
        unreachableSeen |= !found;
        if (!found) {
            QVERIFY2(!q.Best, qPrintable(what));
            continue;
        }
        QVERIFY2(ContrastRatioOfLuminances(RelativeLuminance(found->Color), q.OtherLuminance) >= q.Level,
                 qPrintable(what));
        QCOMPARE(found->DeltaE, DeltaE2000(q.Lab, LabOf(found->Color)));
        // Nothing the scan saw comes before it (a scan of every colour saw it).
        TQuery check = q;
        check.Consider(found->Color, RelativeLuminance(found->Color), LabOf(found->Color));
        QVERIFY2(check.Best == found->Color, qPrintable(what));
    }
    QVERIFY(unreachableSeen);
}

QTEST_GUILESS_MAIN(TestPassingColor)
#include "tst_passingcolor.moc"
