// The named-colour list of the main window: its rows and columns as the
// layout stores them, and picking a colour with the mouse and the keys.
#include "app/form1.h"
#include "app/listcolors.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "tests/app/formprobe.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/slider/imageslider.h"

#include <QtTest>

namespace {

// A window showing the list page, ready for input.
struct TListPage {
    TForm1 Form;
    TOrdoListView* List = Form.ListV;

    TListPage()
    {
        Form.PageControl1->SetActivePageName(QStringLiteral("TabSheet2"));
        Form.show();
        QApplication::setActiveWindow(&Form);
        if (!QTest::qWaitForWindowExposed(&Form))
            qWarning("window not exposed");
    }

    int RowOf(const QString& name) const
    {
        for (int i = 0; i < List->Items().Count(); ++i)
            if (List->Items().Item(i)->Caption() == name)
                return i;
        return -1;
    }

    void ClickRow(int row)
    {
        const QModelIndex index = List->model()->index(row, 1);
        List->scrollTo(index);
        QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualRect(index).center());
    }

    void ClickHeader(int column)
    {
        QHeaderView* h = List->Header();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          {h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2});
    }

    QString Sliders() const { return SliderValues(Form); }

    // Neighbouring rows with the same cell in the column, and among them
    // those whose names do not stand in name order.
    void CountTies(int column, int& ties, QStringList& unordered) const
    {
        ties = 0;
        for (int i = 1; i < List->Items().Count(); ++i) {
            const TListItem* a = List->Items().Item(i - 1);
            const TListItem* b = List->Items().Item(i);
            if (a->ColumnText(column) != b->ColumnText(column))
                continue;
            ++ties;
            if (a->Caption().compare(b->Caption(), Qt::CaseInsensitive) > 0)
                unordered << a->Caption() + QLatin1String(" > ") + b->Caption();
        }
    }

    QString RowColour(int row) const
    {
        const TListItem* item = List->Items().Item(row);
        return item->SubItem(0) + QLatin1Char(',') + item->SubItem(1) + QLatin1Char(',') + item->SubItem(2);
    }
};

} // namespace

class TestNamedColours : public QObject {
    Q_OBJECT
private slots:
    void listAsStored();
    void coloursReadWithoutTheWindow();
    void columns_data();
    void columns();
    void rows_data();
    void rows();
    void rowsAreInNameOrder();
    void clickingAliceBlue();
    void arrowKeysLoadOnRelease();
    void clickingTheLoadedRowSetsThePreviewAgain();
    void textTargetColoursTheFont();
    void afterResortARowLoadsItsOwnColour();
    void nothingSelectedLoadsNothing();
};

void TestNamedColours::listAsStored()
{
    TForm1 form;
    TOrdoListView* l = form.ListV;
    QCOMPARE(l->parentWidget()->objectName(), QStringLiteral("TabSheet2"));
    QCOMPARE(l->Align(), alClient);
    QCOMPARE(l->ViewStyle(), vsReport);
    QVERIFY(l->GridLines());
    QVERIFY(l->RowSelect());
    QVERIFY(l->ReadOnly());
    QCOMPARE(l->HotTrackStyles(), TListHotTrackStyles(htHandPoint));
    QCOMPARE(l->SortType(), stText);
    QCOMPARE(l->SortColumn(), 0);
    QCOMPARE(l->SortDirection(), sdAscending);
    QCOMPARE(l->FontName(), QStringLiteral("Courier New"));
    QCOMPARE(l->FontHeight(), -13);
    QCOMPARE(l->FontStyle(), 0u);
    QCOMPARE(l->Items().Count(), 139);
    QCOMPARE(l->ItemIndex(), -1);
}

// What the lookups read from the layout, with no window, is the list's own
// rows: names, colours and order.
void TestNamedColours::coloursReadWithoutTheWindow()
{
    const std::vector<TListColor> colors = ListColorsOf(TForm1::StoredLayout());
    TForm1 form;
    const auto& items = form.ListV->Items();
    QCOMPARE(int(colors.size()), items.Count());
    for (int i = 0; i < items.Count(); ++i) {
        const TListItem* row = items.Item(i);
        QCOMPARE(colors[size_t(i)].Name, row->Caption());
        QCOMPARE(TripleFromTexts(row->SubItem(0), row->SubItem(1), row->SubItem(2)),
                 std::optional(colors[size_t(i)].Color));
    }
}

void TestNamedColours::columns_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("minWidth");
    QTest::addColumn<int>("maxWidth");
    QTest::newRow("name") << 0 << "Название цвета" << int(taLeftJustify) << 150 << 130 << 170;
    QTest::newRow("red") << 1 << "Red" << int(taRightJustify) << 60 << 60 << 60;
    QTest::newRow("green") << 2 << "Green" << int(taRightJustify) << 60 << 60 << 60;
    QTest::newRow("blue") << 3 << "Blue" << int(taRightJustify) << 60 << 60 << 60;
    QTest::newRow("hex") << 4 << "Hex" << int(taCenter) << 65 << 65 << 80;
}

void TestNamedColours::columns()
{
    QFETCH(int, index);
    TForm1 form;
    QCOMPARE(form.ListV->Columns().Count(), 5);
    const TListColumn* c = form.ListV->Columns().Items(index);
    QTEST(c->Caption(), "caption");
    QTEST(int(c->Alignment()), "alignment");
    QTEST(c->Width(), "width");
    QTEST(c->MinWidth(), "minWidth");
    QTEST(c->MaxWidth(), "maxWidth");
}

void TestNamedColours::rows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("first") << "AliceBlue" << QStringList{"240", "248", "255", "F0F8FF"};
    QTest::newRow("black") << "Black" << QStringList{"0", "0", "0", "000000"};
    QTest::newRow("last") << "YellowGreen" << QStringList{"154", "205", "50", "9ACD32"};
    // The standard names and values of the colours a style sheet knows.
    QTest::newRow("Gainsboro") << "Gainsboro" << QStringList{"220", "220", "220", "DCDCDC"};
    QTest::newRow("GhostWhite") << "GhostWhite" << QStringList{"248", "248", "255", "F8F8FF"};
    QTest::newRow("Honeydew") << "Honeydew" << QStringList{"240", "255", "240", "F0FFF0"};
    QTest::newRow("MediumTurquoise") << "MediumTurquoise" << QStringList{"72", "209", "204", "48D1CC"};
    QTest::newRow("MediumVioletRed") << "MediumVioletRed" << QStringList{"199", "21", "133", "C71585"};
    QTest::newRow("Gold") << "Gold" << QStringList{"255", "215", "0", "FFD700"};
    QTest::newRow("LimeGreen") << "LimeGreen" << QStringList{"50", "205", "50", "32CD32"};
    QTest::newRow("MistyRose") << "MistyRose" << QStringList{"255", "228", "225", "FFE4E1"};
    QTest::newRow("PowderBlue") << "PowderBlue" << QStringList{"176", "224", "230", "B0E0E6"};
    QTest::newRow("RosyBrown") << "RosyBrown" << QStringList{"188", "143", "143", "BC8F8F"};
    QTest::newRow("capitals kept") << "BlancheDalmond" << QStringList{"255", "235", "205", "FFEBCD"};
}

void TestNamedColours::rows()
{
    QFETCH(QString, name);
    TForm1 form;
    const TListItems& items = form.ListV->Items();
    const TListItem* found = nullptr;
    for (int i = 0; i < items.Count(); ++i)
        if (items.Item(i)->Caption() == name)
            found = items.Item(i);
    QVERIFY2(found, qPrintable(name));
    QTEST(found->SubItems(), "cells");
}

void TestNamedColours::rowsAreInNameOrder()
{
    TForm1 form;
    const TListItems& items = form.ListV->Items();
    QStringList names;
    for (int i = 0; i < items.Count(); ++i)
        names << items.Item(i)->Caption();
    QCOMPARE(names.first(), QStringLiteral("AliceBlue"));
    QCOMPARE(names.indexOf(QStringLiteral("Gainsboro")), names.indexOf(QStringLiteral("Fuchsia")) + 1);
    QCOMPARE(names.indexOf(QStringLiteral("GhostWhite")), names.indexOf(QStringLiteral("Fuchsia")) + 2);
    for (const char* misspelt : {"Fainsboro", "GostWhite", "Honeydev", "MediumTurqoise", "MediumVioledRed"})
        QVERIFY2(!names.contains(QLatin1String(misspelt)), misspelt);
    for (int i = 1; i < names.size(); ++i)
        QVERIFY2(names[i - 1].compare(names[i], Qt::CaseInsensitive) < 0, qPrintable(names[i]));
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 139);
}

void TestNamedColours::clickingAliceBlue()
{
    TListPage page;
    page.ClickRow(page.RowOf(QStringLiteral("AliceBlue")));
    QCOMPARE(page.Sliders(), QStringLiteral("240,248,255"));
    QCOMPARE(page.Form.TxtR->Caption(), QStringLiteral("240"));
    QCOMPARE(page.Form.TxtG->Caption(), QStringLiteral("248"));
    QCOMPARE(page.Form.TxtB->Caption(), QStringLiteral("255"));
    QCOMPARE(page.Form.Panel1->Color(), RGB(240, 248, 255));
    QCOMPARE(page.Form.Panel1->Text(), QStringLiteral("$00FFF8F0"));
}

void TestNamedColours::arrowKeysLoadOnRelease()
{
    TListPage page;
    page.ClickRow(0);
    QCOMPARE(page.Sliders(), page.RowColour(0));
    page.List->setFocus();
    for (int row = 1; row <= 3; ++row) {
        QTest::keyClick(page.List, Qt::Key_Down);
        QCOMPARE(page.List->ItemIndex(), row);
        QCOMPARE(page.Sliders(), page.RowColour(row));
    }
    QTest::keyClick(page.List, Qt::Key_Up);
    QCOMPARE(page.Sliders(), page.RowColour(2));
    QCOMPARE(page.Form.Panel1->Color(), RGB(0, 255, 255)); // Aqua
}

void TestNamedColours::clickingTheLoadedRowSetsThePreviewAgain()
{
    TListPage page;
    const int gold = page.RowOf(QStringLiteral("Gold"));
    page.ClickRow(gold);
    QCOMPARE(page.Sliders(), QStringLiteral("255,215,0"));
    QStringList changes;
    RecordSliderChanges(page.Form, changes);
    page.Form.Panel1->SetColor(clWindow);
    page.ClickRow(gold);
    QVERIFY(changes.isEmpty());
    QCOMPARE(page.Form.Panel1->Color(), RGB(255, 215, 0));
}

void TestNamedColours::textTargetColoursTheFont()
{
    TListPage page;
    QTest::mouseClick(page.Form.RBtn1, Qt::LeftButton);
    page.ClickRow(page.RowOf(QStringLiteral("RosyBrown")));
    QCOMPARE(page.Sliders(), QStringLiteral("188,143,143"));
    QCOMPARE(page.Form.Panel1->FontColor(), RGB(188, 143, 143));
    QCOMPARE(page.Form.ColorState().TextHtml, QStringLiteral("#BC8F8F"));
    // The background was never edited: it keeps the system colour.
    QCOMPARE(page.Form.Panel1->Color(), clWindow);
}

void TestNamedColours::afterResortARowLoadsItsOwnColour()
{
    TListPage page;
    // All 139 rows, far more than a short range that any sort keeps in
    // order: rows of equal red keep the name order they had, both ways.
    int ties = 0;
    QStringList unordered;
    page.ClickHeader(1); // by Red, ascending
    QCOMPARE(page.List->SortColumn(), 1);
    QCOMPARE(page.List->Items().Item(0)->SubItem(0), QStringLiteral("0"));
    page.CountTies(1, ties, unordered);
    QVERIFY(ties > 20);
    QCOMPARE(unordered, QStringList());
    page.ClickHeader(1); // by Red, descending
    QCOMPARE(page.List->SortDirection(), sdDescending);
    page.CountTies(1, ties, unordered);
    QVERIFY(ties > 20);
    QCOMPARE(unordered, QStringList());
    for (int row : {0, 5, 70, 138}) {
        page.ClickRow(row);
        QCOMPARE(page.Sliders(), page.RowColour(row));
    }
}

void TestNamedColours::nothingSelectedLoadsNothing()
{
    TListPage page;
    page.List->setFocus();
    page.List->SetItemIndex(-1);
    QTest::keyClick(page.List, Qt::Key_Shift);
    QCOMPARE(page.Sliders(), QStringLiteral("255,255,255"));

    // A click right of the last column hits no row.
    const QModelIndex first = page.List->model()->index(0, 4);
    const QPoint beside(page.List->visualRect(first).right() + 10, page.List->visualRect(first).center().y());
    QVERIFY(!page.List->indexAt(beside).isValid());
    QTest::mouseClick(page.List->viewport(), Qt::LeftButton, {}, beside);
    QCOMPARE(page.List->ItemIndex(), -1);
    QCOMPARE(page.Sliders(), QStringLiteral("255,255,255"));
    QCOMPARE(page.Form.Panel1->Text(), QStringLiteral("$00FFFFFF"));
    QCOMPARE(page.Form.Panel1->Color(), clWindow);
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestNamedColours test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_namedcolours.moc"
