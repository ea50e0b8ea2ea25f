#include "framework/listview.h"

#include "framework/application.h"
#include "framework/formreader.h"
#include "framework/formwriter.h"

#include <QtTest>

namespace {

// A list whose sort requests and header calls can be watched.
class TTestList : public TListView {
public:
    int Sorts = 0;

protected:
    void SortItems(TLVItemCompare compare, std::intptr_t param) override
    {
        ++Sorts;
        TListView::SortItems(compare, param);
    }
};

QStringList Captions(const TCustomListView& list)
{
    QStringList out;
    for (int i = 0; i < list.Items().Count(); ++i)
        out << list.Items().Item(i)->Caption();
    return out;
}

void Fill(TCustomListView& list, const QStringList& captions)
{
    for (const QString& c : captions)
        list.Items().Add()->SetCaption(c);
}

// Captions in reverse order of the locale.
int Reversed(TListItem* a, TListItem* b, std::intptr_t)
{
    return QString::localeAwareCompare(b->Caption(), a->Caption());
}

// Every pair "equal": a stable sort must leave the rows alone.
int AllEqual(TListItem*, TListItem*, std::intptr_t)
{
    return 0;
}

// By the first letter only, so "a1", "a2" are equal and keep their order.
int FirstLetter(TListItem* a, TListItem* b, std::intptr_t)
{
    return a->Caption().at(0).unicode() - b->Caption().at(0).unicode();
}

// Rock, paper, scissors by the first letter: each beats another, so there is
// no order to find.
int Cyclic(TListItem* a, TListItem* b, std::intptr_t)
{
    const auto beats = [](QChar x, QChar y) {
        return QStringLiteral("rsp").indexOf(x) == (QStringLiteral("rsp").indexOf(y) + 1) % 3;
    };
    const QChar x = a->Caption().at(0), y = b->Caption().at(0);
    return beats(x, y) ? -1 : beats(y, x) ? 1 : 0;
}

int Throwing(TListItem*, TListItem*, std::intptr_t)
{
    throw Exception(QStringLiteral("no order"));
}

struct TShownList {
    QWidget Window;
    TTestList* List = new TTestList;

    TShownList()
    {
        List->setParent(&Window);
        List->setGeometry(0, 0, 300, 150);
        List->SetViewStyle(vsReport);
        for (const char* caption : {"Name", "Value"}) {
            TListColumn* c = List->Columns().Add();
            c->SetCaption(QString::fromLatin1(caption));
            c->SetWidth(100);
        }
        Window.resize(300, 150);
        Window.show();
        QApplication::setActiveWindow(&Window);
        if (!QTest::qWaitForWindowExposed(&Window))
            qWarning("window not exposed");
    }

    QPoint RowCenter(int row) const { return List->visualRect(List->model()->index(row, 0)).center(); }
};

} // namespace

class TestListView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        TClassBuilder<TListView> b(QStringLiteral("TListView"));
        AddListViewProperties(b).Register();
    }

    void columnWidthIsHeldWithinLimits_data()
    {
        QTest::addColumn<int>("minWidth");
        QTest::addColumn<int>("maxWidth");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside") << 130 << 170 << 150 << 150;
        QTest::newRow("below") << 130 << 170 << 20 << 130;
        QTest::newRow("above") << 130 << 170 << 400 << 170;
        QTest::newRow("fixed") << 60 << 60 << 10 << 60;
        QTest::newRow("no maximum") << 10 << 0 << 900 << 900;
        QTest::newRow("negative") << 0 << 0 << -5 << 0;
    }
    void columnWidthIsHeldWithinLimits()
    {
        QFETCH(int, minWidth);
        QFETCH(int, maxWidth);
        QFETCH(int, width);
        TListView list;
        list.SetViewStyle(vsReport);
        TListColumn* c = list.Columns().Add();
        c->SetMinWidth(minWidth);
        c->SetMaxWidth(maxWidth);
        c->SetWidth(width);
        QTEST(c->Width(), "expected");
        QTEST(list.Header()->sectionSize(0), "expected");
    }

    void userResizeIsHeldWithinLimits_data()
    {
        QTest::addColumn<int>("drag");
        QTest::addColumn<int>("expected");
        QTest::newRow("wider within") << 12 << 112;
        QTest::newRow("past maximum") << 60 << 120;
        QTest::newRow("past minimum") << -50 << 90;
    }
    void userResizeIsHeldWithinLimits()
    {
        QFETCH(int, drag);
        TShownList w;
        TListColumn* c = w.List->Columns().Items(0);
        c->SetMinWidth(90);
        c->SetMaxWidth(120);
        QHeaderView* header = w.List->Header();
        const QPoint divider(c->Width() - 1, header->height() / 2);
        QVERIFY(w.List->Header()->OnDivider(divider.x()));
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, divider);
        QMouseEvent move(QEvent::MouseMove, divider + QPoint(drag, 0),
                         header->viewport()->mapToGlobal(divider + QPoint(drag, 0)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &move);
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, divider + QPoint(drag, 0));
        QTEST(c->Width(), "expected");
        QTEST(header->sectionSize(0), "expected");
    }

    void cellsShowSubItemsWithColumnAlignment()
    {
        TListView list;
        list.SetViewStyle(vsReport);
        for (TAlignment a : {taLeftJustify, taRightJustify, taCenter})
            list.Columns().Add()->SetAlignment(a);
        TListItem* item = list.Items().Add(QStringLiteral("Red"), {QStringLiteral("255")});
        QAbstractItemModel* m = list.model();
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Red"));
        QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("255"));
        QCOMPARE(m->index(0, 2).data().toString(), QString()); // no such sub-item
        QCOMPARE(m->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(m->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        item->SetSubItem(1, QStringLiteral("x"));
        QCOMPARE(m->index(0, 2).data().toString(), QStringLiteral("x"));
        TListItem* bare = list.Items().Add();
        bare->SetSubItem(2, QStringLiteral("y"));
        QCOMPARE(bare->SubItems(), (QStringList{QString(), QString(), QStringLiteral("y")}));
        QVERIFY_THROWS_EXCEPTION(Exception, bare->SetSubItem(-1, QString()));
    }

    void ownSortRequests_data()
    {
        QTest::addColumn<int>("sortType");
        QTest::addColumn<bool>("withOnCompare");
        QTest::addColumn<bool>("sortsOnSet");
        QTest::addColumn<bool>("sortsOnCaption");
        QTest::addColumn<bool>("sortsOnData");
        QTest::newRow("stText") << int(stText) << false << true << true << false;
        QTest::newRow("stData") << int(stData) << false << false << false << true;
        QTest::newRow("stData, OnCompare") << int(stData) << true << true << false << true;
        QTest::newRow("stBoth") << int(stBoth) << false << true << true << true;
    }
    void ownSortRequests()
    {
        QFETCH(int, sortType);
        QFETCH(bool, withOnCompare);
        QFETCH(bool, sortsOnSet);
        QFETCH(bool, sortsOnCaption);
        QFETCH(bool, sortsOnData);
        TTestList list;
        Fill(list, {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")});
        if (withOnCompare)
            list.OnCompare = [](QObject*, TListItem* a, TListItem* b, std::intptr_t, int& compare) {
                compare = QString::compare(a->Caption(), b->Caption());
            };
        QCOMPARE(list.Sorts, 0); // stNone sorts nothing
        list.SetSortType(static_cast<TSortType>(sortType));
        QCOMPARE(list.Sorts, sortsOnSet ? 1 : 0);
        list.SetSortType(static_cast<TSortType>(sortType));
        QCOMPARE(list.Sorts, sortsOnSet ? 1 : 0); // unchanged value

        list.Sorts = 0;
        list.Items().Item(0)->SetCaption(QStringLiteral("d"));
        QCOMPARE(list.Sorts, sortsOnCaption ? 1 : 0);
        list.Sorts = 0;
        list.Items().Item(0)->SetData(7);
        QCOMPARE(list.Sorts, sortsOnData ? 1 : 0);
        // "a" became "d" after the first sort.
        if (sortsOnSet)
            QCOMPARE(Captions(list), (QStringList{"b", "c", "d"}));
    }

    void sortIsStableAndKeepsSelection()
    {
        TListView list;
        Fill(list, {"b1", "a1", "b2", "a2", "c1"});
        list.SetItemIndex(2); // b2
        list.CustomSort(&FirstLetter, 0);
        QCOMPARE(Captions(list), (QStringList{"a1", "a2", "b1", "b2", "c1"}));
        QCOMPARE(list.Selected()->Caption(), QStringLiteral("b2"));
        QCOMPARE(list.ItemIndex(), 3);
        QCOMPARE(list.Items().Item(3)->Index(), 3);
        QCOMPARE(list.currentIndex().row(), 3);

        list.CustomSort(&AllEqual, 0);
        QCOMPARE(Captions(list), (QStringList{"a1", "a2", "b1", "b2", "c1"}));
        list.CustomSort(&Reversed, 0);
        QCOMPARE(Captions(list), (QStringList{"c1", "b2", "b1", "a2", "a1"}));
        QCOMPARE(list.Selected()->Caption(), QStringLiteral("b2"));

        // Without an order every row still stays, once.
        const QStringList cycle = {"r1", "p1", "s1", "r2", "s2", "p2", "r3"};
        TListView cyclic;
        Fill(cyclic, cycle);
        cyclic.CustomSort(&Cyclic, 0);
        QStringList kept = Captions(cyclic), expected = cycle;
        std::sort(kept.begin(), kept.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(kept, expected);
    }

    void raisingComparisonLeavesRowsAlone()
    {
        TListView list;
        Fill(list, {"c", "a", "b"});
        QVERIFY_THROWS_EXCEPTION(Exception, list.CustomSort(&Throwing, 0));
        QCOMPARE(Captions(list), (QStringList{"c", "a", "b"}));
        // The list still sorts afterwards.
        list.AlphaSort();
        QCOMPARE(Captions(list), (QStringList{"a", "b", "c"}));
    }

    void rowsCannotChangeDuringSort()
    {
        TListView list;
        Fill(list, {"c", "a", "b"});
        list.OnCompare = [&list](QObject*, TListItem*, TListItem*, std::intptr_t, int&) { list.Items().Delete(0); };
        QVERIFY_THROWS_EXCEPTION(Exception, list.AlphaSort());
        QCOMPARE(Captions(list), (QStringList{"c", "a", "b"}));
    }

    void itemIndexBounds_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << 0 << 0;
        QTest::newRow("last") << 2 << 2;
        QTest::newRow("past the end") << 3 << -1;
        QTest::newRow("negative") << -1 << -1;
    }
    void itemIndexBounds()
    {
        QFETCH(int, index);
        QFETCH(int, expected);
        TListView list;
        Fill(list, {"a", "b", "c"});
        list.SetItemIndex(1);
        list.SetItemIndex(index);
        QCOMPARE(list.ItemIndex(), expected);
        QCOMPARE(list.Selected() != nullptr, expected >= 0);
        if (expected >= 0)
            QVERIFY(list.Items().Item(expected)->Selected());
        QVERIFY_THROWS_EXCEPTION(Exception, list.Items().Item(3));
        QVERIFY_THROWS_EXCEPTION(Exception, list.Columns().Items(0));
    }

    void clickSelectsThenRaisesOnClick()
    {
        TShownList w;
        w.List->SetRowSelect(true);
        Fill(*w.List, {"a", "b", "c"});
        QStringList seen;
        w.List->OnClick = [&](QObject* sender) {
            QCOMPARE(sender, w.List);
            TListItem* item = w.List->Selected();
            seen << (item ? item->Caption() : QStringLiteral("none"));
        };
        QTest::mouseClick(w.List->viewport(), Qt::LeftButton, {}, w.RowCenter(1));
        QTest::mouseClick(w.List->viewport(), Qt::LeftButton, {}, QPoint(150, 140)); // below the rows
        QCOMPARE(seen.value(0), QStringLiteral("b"));
        QCOMPARE(seen.size(), 2);
        // A handler that raises shows its message and the list goes on.
        QStringList messages;
        auto previous = TApplication::SetErrorReporter([&](const QString& m) { messages << m; });
        w.List->OnClick = [](QObject*) { throw Exception(QStringLiteral("boom")); };
        QTest::mouseClick(w.List->viewport(), Qt::LeftButton, {}, w.RowCenter(2));
        TApplication::SetErrorReporter(previous);
        QCOMPARE(messages, QStringList{QStringLiteral("boom")});
        QCOMPARE(w.List->ItemIndex(), 2);
    }

    void keyUpReportsKeyAfterSelectionMoved()
    {
        TShownList w;
        Fill(*w.List, {"a", "b", "c"});
        w.List->setFocus();
        w.List->SetItemIndex(0);
        QStringList seen;
        w.List->OnKeyUp = [&](QObject*, int& key, Qt::KeyboardModifiers shift) {
            seen << QStringLiteral("%1 %2 %3")
                        .arg(QKeySequence(key).toString())
                        .arg(shift & Qt::ShiftModifier ? QStringLiteral("shift") : QStringLiteral("-"))
                        .arg(w.List->Selected() ? w.List->Selected()->Caption() : QString());
        };
        QTest::keyClick(w.List, Qt::Key_Down);
        QTest::keyClick(w.List, Qt::Key_Down, Qt::ShiftModifier);
        // Every release is reported, the shift key's own too.
        QCOMPARE(seen, (QStringList{"Down - b", "Down shift c", "Shift - c"}));
        // An auto-repeated key reports its release only once, when let go.
        seen.clear();
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(w.List, &repeated);
        QVERIFY(seen.isEmpty());
    }

    void typeAheadMatchesCaptions_data()
    {
        QTest::addColumn<int>("clickedColumn");
        QTest::newRow("after a click on the caption") << 0;
        QTest::newRow("after a click on another cell") << 1;
    }
    void typeAheadMatchesCaptions()
    {
        QFETCH(int, clickedColumn);
        TShownList w;
        w.List->SetRowSelect(true);
        for (const char* caption : {"Aqua", "Gold", "Navy"})
            w.List->Items().Add(QString::fromLatin1(caption), {QStringLiteral("255")});
        const QModelIndex cell = w.List->model()->index(0, clickedColumn);
        QTest::mouseClick(w.List->viewport(), Qt::LeftButton, {}, w.List->visualRect(cell).center());
        QCOMPARE(w.List->ItemIndex(), 0);
        QTest::keyClicks(w.List, QStringLiteral("go"));
        QCOMPARE(w.List->ItemIndex(), 1);
    }

    void columnClickRaisesOnColumnClick()
    {
        TShownList w;
        QList<int> clicked;
        w.List->OnColumnClick = [&](QObject*, TListColumn* c) { clicked << c->Index(); };
        QHeaderView* header = w.List->Header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(150, header->height() / 2));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(50, header->height() / 2));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(250, header->height() / 2)); // past the columns
        QCOMPARE(clicked, (QList<int>{1, 0}));
    }

    void handPointerOverRows()
    {
        TShownList w;
        Fill(*w.List, {"a", "b"});
        QWidget* viewport = w.List->viewport();
        QTest::mouseMove(viewport, w.RowCenter(1));
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor); // no hot tracking yet
        w.List->SetHotTrackStyles(htHandPoint);
        QTest::mouseMove(viewport, w.RowCenter(0));
        QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(viewport, QPoint(150, 120));
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
    }

    void nonReportShowsCaptionsOnly()
    {
        TShownList w;
        Fill(*w.List, {"a"});
        QVERIFY(!w.List->Header()->isHidden());
        QVERIFY(!w.List->isColumnHidden(1));
        w.List->SetViewStyle(vsList);
        QVERIFY(w.List->Header()->isHidden());
        QVERIFY(!w.List->isColumnHidden(0));
        QVERIFY(w.List->isColumnHidden(1));
        w.List->SetViewStyle(vsReport);
        QVERIFY(!w.List->isColumnHidden(1));
        QCOMPARE(w.List->Columns().Items(1)->Width(), 100);
        QCOMPARE(w.List->Header()->sectionSize(1), 100);
    }

    void readOnlyStopsCaptionEdits()
    {
        TListView list;
        list.SetSortType(stText);
        Fill(list, {"b", "c"});
        QAbstractItemModel* m = list.model();
        QVERIFY(m->flags(m->index(1, 0)) & Qt::ItemIsEditable);
        // An edit in place is a caption change, and the list sorts by text.
        QVERIFY(m->setData(m->index(1, 0), QStringLiteral("a")));
        QCOMPARE(Captions(list), (QStringList{"a", "b"}));
        list.SetReadOnly(true);
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!m->setData(m->index(0, 0), QStringLiteral("z")));
        QCOMPARE(Captions(list), (QStringList{"a", "b"}));
    }

    void storedLayoutReadsColumnsAndRows()
    {
        const QString layout = QStringLiteral("object L: TListView\n"
                                              "  Width = 300\n"
                                              "  Height = 100\n"
                                              "  SortType = stText\n"
                                              "  Columns = (\n"
                                              "    ('Название' taLeftJustify 150 130 170)\n"
                                              "    ('Red' taRightJustify 60)\n"
                                              "    ('Hex' taCenter))\n"
                                              "  Items.Data = (\n"
                                              "    ('Navy' '0' '000080')\n"
                                              "    ('Aqua' '0' '00FFFF')\n"
                                              "    ('Lime'))\n"
                                              "  RowSelect = True\n"
                                              "  ViewStyle = vsReport\n"
                                              "  HotTrackStyles = [htHandPoint]\n"
                                              "  OnClick = Clicked\n"
                                              "end\n");
        int clicks = 0;
        const THandlerTable handlers = {{QStringLiteral("Clicked"), TNotifyEvent([&](QObject*) { ++clicks; })}};
        std::unique_ptr<QWidget> w = TFormReader::ReadComponent(layout, handlers);
        auto* list = dynamic_cast<TListView*>(w.get());
        QVERIFY(list);
        QCOMPARE(list->Columns().Count(), 3);
        const TListColumn* c0 = list->Columns().Items(0);
        QCOMPARE(c0->Caption(), QStringLiteral("Название"));
        QCOMPARE(c0->Width(), 150);
        QCOMPARE(c0->MinWidth(), 130);
        QCOMPARE(c0->MaxWidth(), 170);
        QCOMPARE(list->Columns().Items(1)->Alignment(), taRightJustify);
        QCOMPARE(list->Columns().Items(1)->Width(), 60);
        QCOMPARE(list->Columns().Items(2)->Alignment(), taCenter);
        // Sorted once the layout was read, not while it was.
        QCOMPARE(Captions(*list), (QStringList{"Aqua", "Lime", "Navy"}));
        QCOMPARE(list->Items().Item(0)->SubItems(), (QStringList{"0", "00FFFF"}));
        QCOMPARE(list->Items().Item(1)->SubItemCount(), 0);
        QVERIFY(list->RowSelect());
        QCOMPARE(list->HotTrackStyles(), TListHotTrackStyles(htHandPoint));
        QVERIFY(list->OnClick);

        // Written back and read again, the list is the same.
        const QString written = TFormWriter::Write(list);
        std::unique_ptr<QWidget> again = TFormReader::ReadComponent(written, handlers);
        auto* copy = dynamic_cast<TListView*>(again.get());
        QVERIFY(copy);
        QCOMPARE(ListColumnsToFormValue(copy), ListColumnsToFormValue(list));
        QCOMPARE(ListItemsToFormValue(copy), ListItemsToFormValue(list));
        QCOMPARE(copy->SortType(), stText);
    }

    void storedLayoutRejectsBadLists_data()
    {
        QTest::addColumn<QString>("property");
        QTest::newRow("columns not a list") << "Columns = 'x'";
        QTest::newRow("column without caption") << "Columns = ((taLeftJustify 10))";
        QTest::newRow("unknown alignment") << "Columns = (('a' taMiddle 10))";
        QTest::newRow("negative width") << "Columns = (('a' taLeftJustify -10))";
        QTest::newRow("too many numbers") << "Columns = (('a' taLeftJustify 1 2 3 4))";
        QTest::newRow("empty column") << "Columns = (())";
        QTest::newRow("row of numbers") << "Items.Data = (('a' 1))";
        QTest::newRow("empty row") << "Items.Data = (())";
        QTest::newRow("row not a list") << "Items.Data = ('a')";
    }
    void storedLayoutRejectsBadLists()
    {
        QFETCH(QString, property);
        const QString layout = QStringLiteral("object L: TListView\n  Columns = (('Keep'))\n  %1\nend\n").arg(property);
        try {
            TFormReader::ReadComponent(layout);
            QFAIL("a malformed list was accepted");
        } catch (const EFormError& e) {
            QCOMPARE(e.Line(), 3);
        }
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestListView t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_listview.moc"
