#include "widgets/listview/ordolistview.h"

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/formreader.h"
#include "framework/formwriter.h"
#include "widgets/listview/celllocale.h"
#include "widgets/listview/listviewclasses.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

struct TColorRow {
    const char* Name;
    int R, G, B;
};

// Part of the named-colour table, in the order of the names.
const TColorRow Colors[] = {
    {"AliceBlue", 240, 248, 255}, {"Black", 0, 0, 0},  {"DodgerBlue", 30, 144, 255}, {"Gold", 255, 247, 0},
    {"Gray", 128, 128, 128},      {"Lime", 0, 255, 0}, {"Maroon", 128, 0, 0},        {"MidNightBlue", 25, 25, 112},
    {"Navy", 0, 0, 128},          {"Red", 255, 0, 0},  {"RoyalBlue", 65, 105, 225},  {"Tomato", 255, 99, 71},
};

const QString NameCaption = QStringLiteral("Название цвета");

// The list as the program lays it out, with the rows above.
struct TListWindow {
    QWidget Window;
    TOrdoListView* List = new TOrdoListView;
    QList<int> ColumnClicks;

    TListWindow()
    {
        List->setParent(&Window);
        List->setGeometry(0, 0, 437, 149);
        List->SetFontName(QStringLiteral("Courier New"));
        List->SetFontHeight(-13);
        List->SetViewStyle(vsReport);
        List->SetGridLines(true);
        List->SetRowSelect(true);
        List->SetReadOnly(true);
        List->SetHotTrackStyles(htHandPoint);
        struct {
            QString Caption;
            TAlignment Alignment;
            int Width, Min, Max;
        } const columns[] = {{NameCaption, taLeftJustify, 150, 130, 170},
                             {QStringLiteral("Red"), taRightJustify, 60, 60, 60},
                             {QStringLiteral("Green"), taRightJustify, 60, 60, 60},
                             {QStringLiteral("Blue"), taRightJustify, 60, 60, 60},
                             {QStringLiteral("Hex"), taCenter, 65, 65, 80}};
        for (const auto& c : columns) {
            TListColumn* column = List->Columns().Add();
            column->SetCaption(c.Caption);
            column->SetAlignment(c.Alignment);
            column->SetMinWidth(c.Min);
            column->SetMaxWidth(c.Max);
            column->SetWidth(c.Width);
        }
        for (const TColorRow& c : Colors)
            List->Items().Add(QString::fromLatin1(c.Name), {QString::number(c.R), QString::number(c.G),
                                                            QString::number(c.B), hex2(c.R) + hex2(c.G) + hex2(c.B)});
        List->SetSortType(stText);
        List->OnColumnClick = [this](QObject*, TListColumn* c) { ColumnClicks << c->Index(); };
        Window.resize(437, 149);
        Window.show();
        QApplication::setActiveWindow(&Window);
        if (!QTest::qWaitForWindowExposed(&Window))
            qWarning("window not exposed");
    }

    QHeaderView* Header() const { return List->Header(); }
    QPoint SectionCenter(int column) const
    {
        return {Header()->sectionViewportPosition(column) + Header()->sectionSize(column) / 2, Header()->height() / 2};
    }
    void ClickHeader(int column) { QTest::mouseClick(Header()->viewport(), Qt::LeftButton, {}, SectionCenter(column)); }
};

QStringList ColumnTexts(const TCustomListView& list, int column)
{
    QStringList out;
    for (int i = 0; i < list.Items().Count(); ++i)
        out << list.Items().Item(i)->ColumnText(column);
    return out;
}

QStringList Captions(const TCustomListView& list)
{
    return ColumnTexts(list, 0);
}

// Counts the comparisons of every sort while it lives.
int Comparisons = 0;
int CountingCompare(TListItem* a, TListItem* b, std::intptr_t param)
{
    ++Comparisons;
    return CompareListItems(a, b, param);
}
struct TCountComparisons {
    TLVItemCompare Saved = ItemCompareProc;
    TCountComparisons()
    {
        ItemCompareProc = &CountingCompare;
        Comparisons = 0;
    }
    ~TCountComparisons() { ItemCompareProc = Saved; }
};

class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* w) { w->installEventFilter(this); }
    int Paints = 0;

    // Lets the paints already asked for happen (a change repaints the header
    // and, once the rows are laid out again, once more), then counts afresh.
    void Settle()
    {
        for (int last = -1; last != Paints;) {
            last = Paints;
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        }
        Paints = 0;
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

int ReversedCaptions(TListItem* a, TListItem* b, std::intptr_t)
{
    return QString::compare(b->Caption(), a->Caption());
}

// --- the sort sign's pixels ---------------------------------------------------

QImage HeaderImage(const TOrdoListView* list)
{
    return list->Header()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

struct TSignPlace {
    bool Drawn = false;
    int X = 0;
    int Y = 0;
};

// Where the sign belongs by the geometry rules: beside the caption, 3 pixels
// clear of the item's edges, a pixel right and down while its item is held.
TSignPlace ExpectedPlace(const TOrdoListView* list, bool held)
{
    const int column = list->SortColumn();
    const QHeaderView* header = list->Header();
    int left = 0;
    for (int i = 0; i < column; ++i)
        left += header->sectionSize(i);
    const int width = header->sectionSize(column);
    const TListColumn* c = list->Columns().Items(column);
    const QFontMetrics metrics(list->font());
    const int textWidth = metrics.horizontalAdvance(c->Caption());
    const int x = c->Alignment() == taRightJustify ? left + width - textWidth - 23 : left + textWidth + 15;
    if (x < left + 3 || x + 8 > left + width - 3)
        return {};
    const int y = (metrics.height() - 7) / 2 + 1;
    return {true, x + (held ? 1 : 0), y + (held ? 1 : 0)};
}

QImage WithSign(QImage image, const TSignPlace& p, TSortDirection direction)
{
    TCanvas canvas(&image);
    const auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas.PenColor = color;
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    const int x = p.X;
    if (direction == sdAscending) {
        const int y = p.Y;
        line(clBtnHighlight, x + 1, y + 7, x + 8, y + 7);
        line(clBtnHighlight, x + 4, y, x + 8, y + 7);
        line(clBtnShadow, x, y + 6, x + 4, y - 1);
    } else {
        const int y = p.Y + 1;
        line(clBtnShadow, x + 1, y, x + 7, y);
        line(clBtnShadow, x + 1, y, x + 4, y + 7);
        line(clBtnHighlight, x + 8, y, x + 4, y + 7);
    }
    return image;
}

bool SameImage(const QImage& actual, const QImage& expected)
{
    if (actual == expected)
        return true;
    const QString dir = qEnvironmentVariable("HUEBOX_TEST_OUTPUT");
    if (!dir.isEmpty()) {
        QString name = QStringLiteral("%1_%2").arg(QString::fromLatin1(QTest::currentTestFunction()),
                                                   QString::fromLatin1(QTest::currentDataTag()));
        name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("_"));
        actual.save(dir + QLatin1Char('/') + name + QStringLiteral("_actual.png"));
        expected.save(dir + QLatin1Char('/') + name + QStringLiteral("_expected.png"));
    }
    return false;
}

// The header as painted now against the same header without the sign, with
// the sign drawn in by the rules where it belongs.
void CheckSign(TOrdoListView* list, const TSignPlace& place)
{
    list->SetShowSortSign(false);
    const QImage bare = HeaderImage(list);
    list->SetShowSortSign(true);
    const QImage actual = HeaderImage(list);
    const QImage expected = place.Drawn ? WithSign(bare, place, list->SortDirection()) : bare;
    if (place.Drawn)
        QVERIFY(expected != bare);
    QVERIFY2(SameImage(actual, expected),
             qPrintable(QStringLiteral("sign expected %1 at %2,%3")
                            .arg(place.Drawn ? QStringLiteral("drawn") : QStringLiteral("absent"))
                            .arg(place.X)
                            .arg(place.Y)));
}

} // namespace

// Stops the test at the first picture that differs.
#define CHECK_SIGN(list, place)                                                                                        \
    do {                                                                                                               \
        CheckSign((list), (place));                                                                                    \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

class TestOrdoListView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void headerClicksSort();
    void sortColumnIsClamped_data();
    void sortColumnIsClamped();
    void currentValueDoesNothing_data();
    void currentValueDoesNothing();
    void sortTypeNoneKeepsRows();
    void nonReportOrdersByCaptions();
    void onCompareGetsColumnAndDirection_data();
    void onCompareGetsColumnAndDirection();
    void numbersSortByValue();
    void missingCellIsEmptyText();
    void foreignSortRequestUsesOwnOrder();
    void mixedColumnSorts();
    void signPlacement_data();
    void signPlacement();
    void signInNarrowColumn_data();
    void signInNarrowColumn();
    void signWhileItemHeld();
    void signDuringDividerDrag();
    void storedLayout();
};

void TestOrdoListView::initTestCase()
{
    TCellLocale settings;
    settings.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    settings.DateSeparator = u'.';
    settings.Collation = QLocale(QLocale::English, QLocale::UnitedStates);
    SetCellLocale(settings);
    SetCurrentYearClock([] { return 2024; });
    RegisterListViewClasses();
}

void TestOrdoListView::headerClicksSort()
{
    TListWindow w;
    QCOMPARE(Captions(*w.List), (QStringList{"AliceBlue", "Black", "DodgerBlue", "Gold", "Gray", "Lime", "Maroon",
                                             "MidNightBlue", "Navy", "Red", "RoyalBlue", "Tomato"}));
    w.ClickHeader(2);
    QCOMPARE(w.List->SortColumn(), 2);
    QCOMPARE(w.List->SortDirection(), sdAscending);
    QCOMPARE(Captions(*w.List), (QStringList{"Black", "Maroon", "Navy", "Red", "MidNightBlue", "Tomato", "RoyalBlue",
                                             "Gray", "DodgerBlue", "Gold", "AliceBlue", "Lime"}));
    w.ClickHeader(2);
    QCOMPARE(w.List->SortColumn(), 2);
    QCOMPARE(w.List->SortDirection(), sdDescending);
    // Equal greens keep the order they had.
    QCOMPARE(Captions(*w.List), (QStringList{"Lime", "AliceBlue", "Gold", "DodgerBlue", "Gray", "RoyalBlue", "Tomato",
                                             "MidNightBlue", "Black", "Maroon", "Navy", "Red"}));
    w.ClickHeader(0);
    QCOMPARE(w.List->SortColumn(), 0);
    QCOMPARE(w.List->SortDirection(), sdDescending);
    QCOMPARE(Captions(*w.List), (QStringList{"Tomato", "RoyalBlue", "Red", "Navy", "MidNightBlue", "Maroon", "Lime",
                                             "Gray", "Gold", "DodgerBlue", "Black", "AliceBlue"}));
    QCOMPARE(w.ColumnClicks, (QList<int>{2, 2, 0}));
}

void TestOrdoListView::sortColumnIsClamped_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("7 of 5") << 5 << 7 << 4;
    QTest::newRow("no columns") << 0 << 7 << 0;
    QTest::newRow("last") << 5 << 4 << 4;
    QTest::newRow("negative") << 5 << -1 << 0;
    QTest::newRow("beyond 16 bits") << 5 << 70000 << 4;
}

void TestOrdoListView::sortColumnIsClamped()
{
    QFETCH(int, columns);
    QFETCH(int, value);
    TOrdoListView list;
    for (int i = 0; i < columns; ++i)
        list.Columns().Add();
    list.SetSortColumn(value);
    QTEST(list.SortColumn(), "expected");
}

void TestOrdoListView::currentValueDoesNothing_data()
{
    QTest::addColumn<QString>("property");
    QTest::newRow("SortColumn") << "SortColumn";
    QTest::newRow("SortDirection") << "SortDirection";
    QTest::newRow("SortType") << "SortType";
}

void TestOrdoListView::currentValueDoesNothing()
{
    QFETCH(QString, property);
    TListWindow w;
    TPaintCounter paints(w.Header()->viewport());
    w.List->SetSortColumn(1);
    paints.Settle();
    TCountComparisons comparisons;
    const auto set = [&](bool change) {
        if (property == QLatin1String("SortColumn"))
            w.List->SetSortColumn(change ? 3 : 1);
        else if (property == QLatin1String("SortDirection"))
            w.List->SetSortDirection(change ? sdDescending : sdAscending);
        else
            w.List->SetSortType(change ? stBoth : stText);
    };
    set(false);
    QCoreApplication::processEvents();
    QCOMPARE(Comparisons, 0);
    QCOMPARE(paints.Paints, 0);
    // The same write with a new value does both.
    set(true);
    QVERIFY(Comparisons > 0);
    QTRY_VERIFY(paints.Paints > 0);
}

void TestOrdoListView::sortTypeNoneKeepsRows()
{
    TListWindow w;
    w.List->SetSortType(stNone);
    w.List->SetSortColumn(1); // by Red, if it sorted
    const QStringList before = Captions(*w.List);
    w.ClickHeader(2);
    w.ClickHeader(2);
    w.ClickHeader(0);
    QCOMPARE(w.List->SortColumn(), 0);
    QCOMPARE(w.List->SortDirection(), sdDescending);
    QCOMPARE(w.ColumnClicks, (QList<int>{2, 2, 0}));
    QCOMPARE(Captions(*w.List), before);
    CHECK_SIGN(w.List, TSignPlace{});
}

void TestOrdoListView::nonReportOrdersByCaptions()
{
    TListWindow w;
    w.List->SetSortColumn(1);
    QCOMPARE(ColumnTexts(*w.List, 1).first(), QStringLiteral("0"));
    w.List->SetViewStyle(vsList);
    w.List->SetSortDirection(sdDescending);
    QCOMPARE(w.List->SortColumn(), 1);
    QCOMPARE(SortParamColumn(w.List->SortParam()), 0);
    QCOMPARE(Captions(*w.List).first(), QStringLiteral("Tomato"));
    QCOMPARE(Captions(*w.List).last(), QStringLiteral("AliceBlue"));
}

void TestOrdoListView::onCompareGetsColumnAndDirection_data()
{
    QTest::addColumn<int>("viewStyle");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("Green ascending") << int(vsReport) << 2 << int(sdAscending) << 2 << 1;
    QTest::newRow("Green descending") << int(vsReport) << 2 << int(sdDescending) << 2 << -1;
    QTest::newRow("Hex descending") << int(vsReport) << 4 << int(sdDescending) << 4 << -1;
    QTest::newRow("list view") << int(vsList) << 3 << int(sdDescending) << 0 << -1;
}

void TestOrdoListView::onCompareGetsColumnAndDirection()
{
    QFETCH(int, viewStyle);
    QFETCH(int, column);
    QFETCH(int, direction);
    QFETCH(int, low);
    QFETCH(int, high);
    TListWindow w;
    w.List->SetViewStyle(static_cast<TViewStyle>(viewStyle));
    QSet<std::intptr_t> data;
    // Captions in plain ascending order, whatever the direction.
    w.List->OnCompare = [&](QObject* sender, TListItem* a, TListItem* b, std::intptr_t d, int& compare) {
        QCOMPARE(sender, w.List);
        QCOMPARE(compare, 0);
        data << d;
        compare = QString::compare(a->Caption(), b->Caption());
    };
    w.List->SetSortColumn(column);
    w.List->SetSortDirection(static_cast<TSortDirection>(direction));
    data.clear();
    w.List->AlphaSort();
    QCOMPARE(data.size(), 1);
    const std::intptr_t d = *data.begin();
    QCOMPARE(d & 0xFFFF, low);
    QCOMPARE(static_cast<std::int16_t>((d >> 16) & 0xFFFF), high);
    QCOMPARE(Captions(*w.List).first(), QStringLiteral("AliceBlue"));
    QCOMPARE(Captions(*w.List).last(), QStringLiteral("Tomato"));
}

void TestOrdoListView::numbersSortByValue()
{
    TListWindow w;
    w.ClickHeader(1);
    QCOMPARE(ColumnTexts(*w.List, 1),
             (QStringList{"0", "0", "0", "25", "30", "65", "128", "128", "240", "255", "255", "255"}));
    w.ClickHeader(4); // Hex: numbers by value against each other, the rest as text
    QCOMPARE(w.List->SortColumn(), 4);
    const QStringList hex = ColumnTexts(*w.List, 4);
    QVERIFY(hex.indexOf(QStringLiteral("000000")) < hex.indexOf(QStringLiteral("000080")));
    QVERIFY(hex.indexOf(QStringLiteral("000080")) < hex.indexOf(QStringLiteral("4169E1")));
}

void TestOrdoListView::missingCellIsEmptyText()
{
    TListWindow w;
    w.List->Items().Add(QStringLiteral("Bare"), {QStringLiteral("7")}); // no Green
    w.List->SetSortColumn(2);
    QCOMPARE(Captions(*w.List).last(), QStringLiteral("Bare"));
    w.List->SetSortDirection(sdDescending);
    QCOMPARE(Captions(*w.List).first(), QStringLiteral("Bare"));
}

void TestOrdoListView::foreignSortRequestUsesOwnOrder()
{
    TListWindow w;
    w.List->SetSortColumn(1);
    const QStringList sorted = Captions(*w.List);
    QVERIFY(w.List->CustomSort(&ReversedCaptions, 12345));
    QCOMPARE(Captions(*w.List), sorted);
    // With the item comparison taken away, a request keeps its own.
    const TLVItemCompare saved = ItemCompareProc;
    ItemCompareProc = nullptr;
    w.List->CustomSort(&ReversedCaptions, 0);
    ItemCompareProc = saved;
    QCOMPARE(Captions(*w.List).first(), QStringLiteral("Tomato"));
}

void TestOrdoListView::mixedColumnSorts()
{
    TOrdoListView list;
    list.SetViewStyle(vsReport);
    list.Columns().Add();
    list.Columns().Add();
    QRandomGenerator rng(20240601);
    static const QStringList Words = {"Red", "red", "Abc", "abc", "",       " 12",
                                      "12 ", "1,5", "E3",  "-.5", "4169E1", "F0F8FF"};
    QStringList captions;
    for (int i = 0; i < 600; ++i) {
        QString cell;
        switch (rng.bounded(6)) {
        case 0:
            cell = QString::number(rng.bounded(-500, 500)) + (rng.bounded(2) ? QStringLiteral(".5") : QString());
            break;
        case 1:
            cell =
                QStringLiteral("%1.%2.%3").arg(rng.bounded(1, 32)).arg(rng.bounded(1, 14)).arg(rng.bounded(1990, 2030));
            break;
        case 2:
            cell = QStringLiteral("%1:%2").arg(rng.bounded(0, 25)).arg(rng.bounded(0, 61));
            break;
        case 3:
            cell = QString::number(rng.bounded(1, 24));
            break;
        default:
            cell = Words.at(rng.bounded(int(Words.size())));
        }
        const QString caption = QString::number(i);
        captions << caption;
        if (rng.bounded(10) == 0)
            list.Items().Add(caption, {});
        else
            list.Items().Add(caption, {cell});
    }
    list.SetSortType(stText);
    list.SetSortColumn(1);
    for (TSortDirection d : {sdDescending, sdAscending, sdDescending}) {
        list.SetSortDirection(d);
        QStringList now = Captions(list);
        QCOMPARE(now.size(), captions.size());
        now.sort();
        QStringList all = captions;
        all.sort();
        QCOMPARE(now, all);
        for (int i = 0; i < list.Items().Count(); ++i)
            QCOMPARE(list.Items().Item(i)->Index(), i);
    }
}

void TestOrdoListView::signPlacement_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("direction");
    QTest::newRow("caption, left, ascending") << 0 << int(sdAscending);
    QTest::newRow("caption, left, descending") << 0 << int(sdDescending);
    QTest::newRow("Red, right, ascending") << 1 << int(sdAscending);
    QTest::newRow("Red, right, descending") << 1 << int(sdDescending);
    QTest::newRow("Blue, right") << 3 << int(sdDescending);
    QTest::newRow("Hex, centred") << 4 << int(sdAscending);
}

void TestOrdoListView::signPlacement()
{
    QFETCH(int, column);
    QFETCH(int, direction);
    TListWindow w;
    w.List->SetSortColumn(column);
    w.List->SetSortDirection(static_cast<TSortDirection>(direction));
    const TSignPlace place = ExpectedPlace(w.List, false);
    QVERIFY(place.Drawn);
    // The rules' own examples: beside a caption at 0, and in a right-aligned
    // column 60 wide starting at 150.
    const int textWidth = QFontMetrics(w.List->font()).horizontalAdvance(w.List->Columns().Items(column)->Caption());
    if (column == 0)
        QCOMPARE(place.X, textWidth + 15);
    if (column == 1)
        QCOMPARE(place.X, 187 - textWidth);
    CHECK_SIGN(w.List, place);
}

void TestOrdoListView::signInNarrowColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("spare");
    QTest::newRow("right, just fits") << 1 << 0;
    QTest::newRow("right, a pixel short") << 1 << -1;
    QTest::newRow("centred, just fits") << 4 << 0;
    QTest::newRow("centred, a pixel short") << 4 << -1;
}

void TestOrdoListView::signInNarrowColumn()
{
    QFETCH(int, column);
    QFETCH(int, spare);
    TListWindow w;
    TListColumn* c = w.List->Columns().Items(column);
    c->SetMinWidth(0);
    c->SetMaxWidth(0);
    // The sign and 3 pixels each side of it, beside the caption.
    c->SetWidth(QFontMetrics(w.List->font()).horizontalAdvance(c->Caption()) + 26 + spare);
    w.List->SetSortColumn(column);
    const TSignPlace place = ExpectedPlace(w.List, false);
    QCOMPARE(place.Drawn, spare >= 0);
    CHECK_SIGN(w.List, place);
}

void TestOrdoListView::signWhileItemHeld()
{
    TListWindow w;
    w.List->SetSortColumn(1);
    QWidget* viewport = w.Header()->viewport();

    // Held on the sort column's item: one pixel right and down.
    QTest::mousePress(viewport, Qt::LeftButton, {}, w.SectionCenter(1));
    CHECK_SIGN(w.List, ExpectedPlace(w.List, true));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, w.SectionCenter(1));
    QCOMPARE(w.List->SortDirection(), sdDescending);
    CHECK_SIGN(w.List, ExpectedPlace(w.List, false));

    // Held on another item: no sign until the click lands.
    QTest::mousePress(viewport, Qt::LeftButton, {}, w.SectionCenter(3));
    CHECK_SIGN(w.List, TSignPlace{});
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, w.SectionCenter(3));
    QCOMPARE(w.List->SortColumn(), 3);
    CHECK_SIGN(w.List, ExpectedPlace(w.List, false));
}

void TestOrdoListView::signDuringDividerDrag()
{
    TListWindow w;
    w.List->SetSortColumn(1); // right of the divider that moves
    QWidget* viewport = w.Header()->viewport();
    const QPoint divider(w.Header()->sectionSize(0) - 1, w.Header()->height() / 2);
    const auto moveTo = [&](int x) {
        const QPoint p(x, divider.y());
        QMouseEvent move(QEvent::MouseMove, p, viewport->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    };
    QTest::mousePress(viewport, Qt::LeftButton, {}, divider);
    moveTo(divider.x() + 12);
    QCOMPARE(w.List->Columns().Items(0)->Width(), 162);
    CHECK_SIGN(w.List, ExpectedPlace(w.List, false));
    moveTo(divider.x() + 40); // past the column's maximum
    QCOMPARE(w.List->Columns().Items(0)->Width(), 170);
    CHECK_SIGN(w.List, ExpectedPlace(w.List, false));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(divider.x() + 40, divider.y()));
    QCOMPARE(w.List->SortColumn(), 1); // a drag is no click
    QVERIFY(w.ColumnClicks.isEmpty());
    CHECK_SIGN(w.List, ExpectedPlace(w.List, false));
}

void TestOrdoListView::storedLayout()
{
    QString rows;
    for (const TColorRow& c : Colors)
        rows += QStringLiteral("    ('%1' '%2' '%3' '%4' '%5')\n")
                    .arg(QString::fromLatin1(c.Name))
                    .arg(c.R)
                    .arg(c.G)
                    .arg(c.B)
                    .arg(hex2(c.R) + hex2(c.G) + hex2(c.B));
    const QString layout = QStringLiteral("object ListV: TOrdoListView\n"
                                          "  Left = 0\n  Top = 0\n  Width = 437\n  Height = 149\n"
                                          "  SortColumn = 2\n"
                                          "  SortDirection = sdDescending\n"
                                          "  Font.Name = 'Courier New'\n  Font.Height = -13\n"
                                          "  Columns = (\n"
                                          "    ('Название цвета' taLeftJustify 150 130 170)\n"
                                          "    ('Red' taRightJustify 60 60 60)\n"
                                          "    ('Green' taRightJustify 60 60 60)\n"
                                          "    ('Blue' taRightJustify 60 60 60)\n"
                                          "    ('Hex' taCenter 65 65 80))\n"
                                          "  GridLines = True\n  RowSelect = True\n  ReadOnly = True\n"
                                          "  HotTrackStyles = [htHandPoint]\n"
                                          "  ViewStyle = vsReport\n"
                                          "  SortType = stText\n"
                                          "  ShowSortSign = False\n"
                                          "  TabOrder = 0\n"
                                          "  Items.Data = (\n") +
                           rows +
                           QStringLiteral("  )\n"
                                          "  OnClick = ListVClick\n"
                                          "  OnKeyUp = ListVKeyUp\n"
                                          "  OnColumnClick = ListVColumnClick\n"
                                          "end\n");
    int clicks = 0, keys = 0, columnClicks = 0;
    const THandlerTable handlers = {
        {QStringLiteral("ListVClick"), TNotifyEvent([&](QObject*) { ++clicks; })},
        {QStringLiteral("ListVKeyUp"), TKeyEvent([&](QObject*, int&, Qt::KeyboardModifiers) { ++keys; })},
        {QStringLiteral("ListVColumnClick"), TLVColumnClickEvent([&](QObject*, TListColumn*) { ++columnClicks; })},
    };
    std::unique_ptr<QWidget> w = TFormReader::ReadComponent(layout, handlers);
    auto* list = dynamic_cast<TOrdoListView*>(w.get());
    QVERIFY(list);
    // The sort column was read before the columns and still holds.
    QCOMPARE(list->SortColumn(), 2);
    QCOMPARE(list->SortDirection(), sdDescending);
    QCOMPARE(list->SortType(), stText);
    QVERIFY(!list->ShowSortSign());
    QCOMPARE(list->Columns().Count(), 5);
    QCOMPARE(list->Columns().Items(4)->MaxWidth(), 80);
    QCOMPARE(list->Items().Count(), int(std::size(Colors)));
    QCOMPARE(ColumnTexts(*list, 2).first(), QStringLiteral("255"));
    QCOMPARE(Captions(*list).first(), QStringLiteral("Lime"));
    QCOMPARE(list->FontHeight(), -13);
    QVERIFY(list->OnClick && list->OnKeyUp && list->OnColumnClick);

    // Written and read again: the same list.
    const QString written = TFormWriter::Write(list);
    QVERIFY(written.contains(QStringLiteral("SortColumn = 2")));
    QVERIFY(written.contains(QStringLiteral("ShowSortSign = False")));
    std::unique_ptr<QWidget> again = TFormReader::ReadComponent(written, handlers);
    auto* copy = dynamic_cast<TOrdoListView*>(again.get());
    QVERIFY(copy);
    QCOMPARE(Captions(*copy), Captions(*list));
    QCOMPARE(copy->SortColumn(), 2);
    QCOMPARE(copy->SortDirection(), sdDescending);

    // A sort column past the columns is held to the last one once read.
    std::unique_ptr<QWidget> clamped = TFormReader::ReadComponent(
        QStringLiteral("object L: TOrdoListView\n  SortColumn = 9\n  Columns = (('a') ('b'))\nend\n"));
    QCOMPARE(static_cast<TOrdoListView*>(clamped.get())->SortColumn(), 1);

    // The sort state is written also at its defaults.
    TOrdoListView fresh;
    SetClassName(&fresh, QStringLiteral("TOrdoListView"));
    QVERIFY(TFormWriter::Write(&fresh).contains(QStringLiteral("  SortColumn = 0\n  SortDirection = sdAscending\n")));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestOrdoListView t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_ordolistview.moc"
