// The custom-drawn parts of the main window at a device pixel ratio of 2:
// the sliders, the sort sign and the colour swatches keep their pixel-exact
// pictures, every logical pixel a 2 x 2 block of one colour.
#include "tests/hidpi/hidpifixture.h"

#include "framework/application.h"
#include "framework/stdctrls.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/listview/sortsign.h"
#include "widgets/slider/imageslider.h"

#include <QAbstractItemView>
#include <QBackingStore>
#include <QHeaderView>
#include <QPaintEvent>
#include <QtTest>

using namespace HiDpi;

namespace {

// Empty when the ratio-1 picture shows a swatch of the colour in a frame of
// the window-text colour: the reference is what the drawing rules ask for.
QString SwatchColours(const QImage& low, const QRect& swatch, TColor colour)
{
    for (int y = swatch.top(); y <= swatch.bottom(); ++y)
        for (int x = swatch.left(); x <= swatch.right(); ++x) {
            const bool frame = x == swatch.left() || x == swatch.right() || y == swatch.top() || y == swatch.bottom();
            const QRgb expected = ColorToPixel(frame ? clWindowText : colour) & 0xFFFFFFu;
            if ((low.pixel(x, y) & 0xFFFFFFu) != expected)
                return QStringLiteral("ratio-1 swatch pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(Hex(low.pixel(x, y)))
                    .arg(Hex(expected));
        }
    return {};
}

// The areas of the paint events a widget receives.
class TPaintRects : public QObject {
public:
    explicit TPaintRects(QWidget* w) { w->installEventFilter(this); }
    QList<QRect> Rects;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            Rects << static_cast<QPaintEvent*>(e)->rect();
        return false;
    }
};

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class TestHiDpiPaint : public QObject {
    Q_OBJECT
private slots:
    void sliderIsCrisp_data();
    void sliderIsCrisp();
    void sliderRepaintedOnScreenIsCrisp();
    void sortSignIsCrisp_data();
    void sortSignIsCrisp();
    void listSwatchesAreCrisp_data();
    void listSwatchesAreCrisp();
    void fieldSwatchIsCrisp_data();
    void fieldSwatchIsCrisp();
};

void TestHiDpiPaint::sliderIsCrisp_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("min") << 0 << false << true;
    QTest::newRow("min focused") << 0 << true << true;
    QTest::newRow("odd value") << 77 << false << true;
    QTest::newRow("middle focused") << 128 << true << true;
    QTest::newRow("max focused") << 255 << true << true;
    QTest::newRow("min disabled") << 0 << false << false;
    QTest::newRow("middle disabled") << 128 << false << false;
}

void TestHiDpiPaint::sliderIsCrisp()
{
    QFETCH(int, value);
    QFETCH(bool, focused);
    QFETCH(bool, enabled);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    TImageSlider* s = f.Form.SlG;
    s->SetValue(value);
    if (focused)
        s->setFocus();
    else
        f.Form.BtnCopy->setFocus();
    QTRY_COMPARE(s->HasFocus(), focused);
    s->setEnabled(enabled);

    const QImage low = AtRatio1(s);
    // The reference is the slider's own logical picture.
    QCOMPARE(low, s->Buffer());
    const QImage high = AtRatio2(s);
    const QString error = Doubled(high, low, s->rect());
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestHiDpiPaint::sliderRepaintedOnScreenIsCrisp()
{
    // Moving the thumb repaints only its old and new places; what the screen
    // shows afterwards must have no seam at their edges.
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    TImageSlider* s = f.Form.SlR;
    // Without the window's handler, which tints the whole face.
    s->OnChange = nullptr;
    s->setFocus();
    QTRY_VERIFY(s->HasFocus());
    Settle();
    TPaintRects paints(s);
    for (int value : {200, 201, 133, 2}) {
        paints.Rects.clear();
        s->SetValue(value);
        QTRY_VERIFY(!paints.Rects.isEmpty());
        for (const QRect& r : paints.Rects)
            QVERIFY(r.width() < s->width());
        const QPaintDevice* store = f.Form.backingStore()->paintDevice();
        QCOMPARE(store->devType(), int(QInternal::Image));
        const QPoint at = s->mapTo(&f.Form, QPoint(0, 0)) * Ratio;
        const QImage shown = static_cast<const QImage*>(store)->copy(QRect(at, s->size() * Ratio));
        const QString error = Doubled(shown, AtRatio1(s), s->rect());
        QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("value %1: ").arg(value) + error));
    }
}

void TestHiDpiPaint::sortSignIsCrisp_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<TSortDirection>("direction");
    QTest::newRow("name ascending") << 0 << sdAscending;
    QTest::newRow("name descending") << 0 << sdDescending;
    QTest::newRow("red, right-justified") << 1 << sdAscending;
    QTest::newRow("blue, right-justified") << 3 << sdDescending;
    QTest::newRow("hex, centred") << 4 << sdDescending;
}

void TestHiDpiPaint::sortSignIsCrisp()
{
    QFETCH(int, column);
    QFETCH(TSortDirection, direction);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    f.Form.PageControl1->SetActivePageName(QStringLiteral("TabSheet2"));
    TOrdoListView* list = f.Form.ListV;
    list->SetSortColumn(column);
    list->SetSortDirection(direction);
    QTRY_VERIFY(list->isVisible());
    Settle();

    // Where the sign goes by the layout rules, in the header's viewport.
    const TListHeader* header = list->Header();
    const TListColumn* c = list->Columns().Items(column);
    const QFontMetrics metrics(list->font());
    const std::optional<TPoint> origin =
        SortSignOrigin(header->sectionPosition(column), header->sectionSize(column),
                       metrics.horizontalAdvance(c->Caption()), metrics.height(), c->Alignment());
    QVERIFY(origin);
    const QPoint at(origin->X - header->offset(), origin->Y);

    // Which of the 9 x 9 pixels from the origin the sign covers.
    constexpr QRgb key = 0xFFFF00FF;
    QImage sign(9, 9, QImage::Format_RGB32);
    sign.fill(key);
    TCanvas canvas(&sign);
    DrawSortSign(canvas, 0, 0, direction == sdDescending);
    const auto isSign = [&](int x, int y) {
        const QPoint p = QPoint(x, y) - at;
        return sign.valid(p) && sign.pixel(p) != key;
    };

    QWidget* viewport = header->viewport();
    const QImage low = AtRatio1(viewport);
    const QImage high = AtRatio2(viewport);
    list->SetShowSortSign(false);
    const QImage bare = AtRatio2(viewport);
    list->SetShowSortSign(true);

    const QRect area(at, QSize(9, 9));
    int signPixels = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isSign(x, y)) {
                ++signPixels;
                QCOMPARE(Hex(low.pixel(x, y)), Hex(sign.pixel(QPoint(x, y) - at)));
            }
    QVERIFY(signPixels >= 15);
    // The sign's own pixels are whole blocks of its colours ...
    QString error = Doubled(high, low, area, isSign);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // ... and around them the header shows through untouched.
    const QRect around = area.adjusted(-2, -2, 2, 2);
    for (int y = Ratio * around.top(); y < Ratio * (around.bottom() + 1); ++y)
        for (int x = Ratio * around.left(); x < Ratio * (around.right() + 1); ++x)
            if (!isSign(x / Ratio, y / Ratio) && high.pixel(x, y) != bare.pixel(x, y)) {
                error = QStringLiteral("device pixel (%1, %2) beside the sign is %3, without it %4; saved as %5")
                            .arg(x)
                            .arg(y)
                            .arg(Hex(high.pixel(x, y)))
                            .arg(Hex(bare.pixel(x, y)))
                            .arg(SaveOnFailure(high, QStringLiteral("header")));
                QFAIL(qPrintable(error));
            }
}

void TestHiDpiPaint::listSwatchesAreCrisp_data()
{
    QTest::addColumn<TColor>("chosen");
    QTest::newRow("white chosen") << clWhite;
    QTest::newRow("red chosen") << clRed;
    QTest::newRow("black chosen") << clBlack;
}

void TestHiDpiPaint::listSwatchesAreCrisp()
{
    QFETCH(TColor, chosen);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    TColorComboBox* combo = f.Form.ClrCmbBox;
    combo->SetColorValue(chosen);
    combo->setFocus();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    QCOMPARE(view->window()->devicePixelRatio(), 2.0);
    Settle();

    QWidget* viewport = view->viewport();
    const QImage low = AtRatio1(viewport);
    const QImage high = AtRatio2(viewport);
    int checked = 0;
    for (int row = 0; row < combo->count(); ++row) {
        const QRect r = view->visualRect(view->model()->index(row, 0));
        const QRect swatch = Swatch(TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        if (!viewport->rect().contains(swatch))
            continue;
        ++checked;
        QString error = SwatchColours(low, swatch, TColorComboBox::StandardColors[row]);
        if (error.isEmpty())
            error = Doubled(high, low, swatch);
        QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("row %1: ").arg(row) + error));
    }
    QVERIFY(checked >= 2);
    combo->hidePopup();
}

void TestHiDpiPaint::fieldSwatchIsCrisp_data()
{
    QTest::addColumn<TColor>("colour");
    QTest::addColumn<bool>("focused");
    QTest::newRow("white") << clWhite << false;
    QTest::newRow("white focused") << clWhite << true;
    QTest::newRow("navy focused") << clNavy << true;
    QTest::newRow("olive") << clOlive << false;
}

void TestHiDpiPaint::fieldSwatchIsCrisp()
{
    QFETCH(TColor, colour);
    QFETCH(bool, focused);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    TColorComboBox* combo = f.Form.ClrCmbBox;
    combo->SetColorValue(colour);
    if (focused)
        combo->setFocus();
    else
        f.Form.BtnCopy->setFocus();
    QTRY_COMPARE(combo->hasFocus(), focused);

    const QRect swatch = Swatch(combo->FieldRect());
    const QImage low = AtRatio1(combo);
    const QImage high = AtRatio2(combo);
    QString error = SwatchColours(low, swatch, colour);
    if (error.isEmpty())
        error = Doubled(high, low, swatch);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestHiDpiPaint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpipaint.moc"
