#include "framework/combobox.h"

#include "framework/application.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QListView>
#include <QtTest>

namespace {

struct TDrawCall {
    int Index;
    TColor Brush;
    TColor FontColor;
};

class TTestCombo : public TCustomComboBox {
public:
    using TCustomComboBox::OnBoxChange;
    using TCustomComboBox::SetItemHeight;
    using TCustomComboBox::TCustomComboBox;
    QList<TDrawCall> Draws;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override
    {
        Draws.push_back({index, Canvas()->BrushColor, Canvas()->FontColor});
        TCustomComboBox::DrawItem(index, rect, state);
    }
};

struct TWindow {
    QWidget Window;
    TTestCombo* Combo = new TTestCombo(&Window);
    QLineEdit* Other = new QLineEdit(&Window);
    QStringList Events;

    explicit TWindow(TComboBoxStyle style)
    {
        Window.resize(300, 200);
        Other->move(10, 100);
        Combo->SetBoxStyle(style);
        Combo->OnClick = [this](QObject*) { Events << QStringLiteral("click"); };
        Combo->OnBoxChange = [this](QObject*) { Events << QStringLiteral("change"); };
        Combo->OnExit = [this](QObject*) { Events << QStringLiteral("exit"); };
        for (const char* s : {"Aa", "Bb", "Cc"})
            Combo->AddItem(QString::fromLatin1(s), s[0]);
        Window.show();
        QApplication::setActiveWindow(&Window);
        if (!QTest::qWaitForWindowExposed(&Window))
            qWarning("window not exposed");
    }
};

} // namespace

class TestComboBox : public QObject {
    Q_OBJECT
private slots:
    void nativePartLifeCycle_data();
    void nativePartLifeCycle();
    void recreateWhileShown();
    void itemIndexBounds_data();
    void itemIndexBounds();
    void appendingSelectsNothing();
    void findExact_data();
    void findExact();
    void userNotifications();
    void simpleStyleShowsItsList();
    void drawRequest_data();
    void drawRequest();
    void exitOnlyWhenFocusLeaves();
    void nestedBatchUpdate();
};

void TestComboBox::nativePartLifeCycle_data()
{
    QTest::addColumn<TComboBoxStyle>("style");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("list, selection") << TComboBoxStyle::csDropDownList << 1 << "Bb";
    QTest::newRow("list, none") << TComboBoxStyle::csOwnerDrawFixed << -1 << "";
    QTest::newRow("editable, typed text") << TComboBoxStyle::csDropDown << -1 << "typed";
}

void TestComboBox::nativePartLifeCycle()
{
    QFETCH(TComboBoxStyle, style);
    QFETCH(int, index);
    QFETCH(QString, text);
    TTestCombo combo;
    combo.SetBoxStyle(style);
    QVERIFY(!combo.HandleAllocated());
    QCOMPARE(combo.ItemCount(), 0); // the first need makes it
    QVERIFY(combo.HandleAllocated());
    combo.AddItem("Aa", clRed);
    combo.AddItem("Bb", clBlue);
    combo.SetItemIndex(index);
    if (index < 0)
        combo.SetText(text);

    combo.DestroyHandle();
    QVERIFY(!combo.HandleAllocated());
    QCOMPARE(combo.count(), 0);
    combo.DestroyHandle(); // nothing to take down

    QCOMPARE(combo.ItemIndex(), index);
    QCOMPARE(combo.ItemCount(), 2);
    QCOMPARE(combo.ItemText(1), QStringLiteral("Bb"));
    QCOMPARE(combo.ItemData(0), clRed);
    QCOMPARE(combo.ItemData(1), clBlue);
    QCOMPARE(combo.Text(), text);

    // A new item height re-makes the list; the field is measured again.
    combo.SetItemHeight(0);
    // Measured from the font, or the fixed item height when owner-drawn.
    QCOMPARE(combo.NativeItemHeight(-1),
             style == TComboBoxStyle::csOwnerDrawFixed ? 16 : combo.fontMetrics().height() + 2);
    combo.SetItemHeight(20);
    QVERIFY(!combo.HandleAllocated()); // not on screen: made when needed
    QCOMPARE(combo.ItemIndex(), index);
    if (combo.OwnerDrawn())
        QCOMPARE(combo.NativeItemHeight(-1), 20);
}

void TestComboBox::recreateWhileShown()
{
    TWindow w(TComboBoxStyle::csDropDownList);
    w.Combo->SetItemIndex(2);
    w.Combo->setFocus();
    QTRY_VERIFY(w.Combo->hasFocus());
    w.Combo->SetBoxStyle(TComboBoxStyle::csDropDown);
    QVERIFY(w.Combo->HandleAllocated());
    QVERIFY(w.Combo->isEditable());
    QCOMPARE(w.Combo->ItemIndex(), 2);
    QCOMPARE(w.Combo->Text(), QStringLiteral("Cc"));
    QVERIFY(w.Combo->hasFocus());
    QVERIFY(w.Events.isEmpty());
}

void TestComboBox::itemIndexBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("valid");
    QTest::newRow("first") << 0 << true;
    QTest::newRow("last") << 2 << true;
    QTest::newRow("none") << -1 << false;
    QTest::newRow("one past") << 3 << false;
    QTest::newRow("far below") << -1000 << false;
}

void TestComboBox::itemIndexBounds()
{
    QFETCH(int, index);
    QFETCH(bool, valid);
    TWindow w(TComboBoxStyle::csDropDownList);
    w.Combo->SetItemIndex(1);
    w.Combo->SetItemIndex(index);
    QCOMPARE(w.Combo->ItemIndex(), valid ? index : -1);
    const QString message = QStringLiteral("List index out of bounds (%1)").arg(index);
    for (int which = 0; which < 2; ++which) {
        try {
            if (which == 0)
                w.Combo->ItemData(index);
            else
                w.Combo->ItemText(index);
            QVERIFY(valid);
        } catch (const Exception& e) {
            QVERIFY(!valid);
            QCOMPARE(e.Message(), message);
        }
    }
}

void TestComboBox::appendingSelectsNothing()
{
    TTestCombo combo;
    combo.SetBoxStyle(TComboBoxStyle::csDropDown);
    combo.SetText("kept");
    combo.AddItem("first", 1);
    QCOMPARE(combo.ItemIndex(), -1);
    QCOMPARE(combo.Text(), QStringLiteral("kept"));
    combo.ClearItems();
    QCOMPARE(combo.ItemCount(), 0);
    QCOMPARE(combo.Text(), QString());
}

void TestComboBox::findExact_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("same") << "Bb" << 1;
    QTest::newRow("other case") << "bB" << 1;
    QTest::newRow("prefix only") << "B" << -1;
    QTest::newRow("longer") << "Bbb" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestComboBox::findExact()
{
    QFETCH(QString, text);
    TWindow w(TComboBoxStyle::csDropDownList);
    QTEST(w.Combo->FindItemExact(text), "index");
}

void TestComboBox::userNotifications()
{
    TWindow w(TComboBoxStyle::csDropDownList);
    QTest::keyClick(w.Combo, Qt::Key_Down);
    QCOMPARE(w.Combo->ItemIndex(), 0);
    QCOMPARE(w.Events, (QStringList{"click", "change"}));
    w.Combo->SetItemIndex(2); // code raises nothing
    QCOMPARE(w.Events.size(), 2);

    // Typing changes only; the field keeps its text and leaves the item.
    w.Combo->SetBoxStyle(TComboBoxStyle::csDropDown);
    w.Events.clear();
    w.Combo->setFocus();
    w.Combo->lineEdit()->end(false);
    QTest::keyClicks(w.Combo, "x");
    QCOMPARE(w.Events, QStringList{"change"});
    QCOMPARE(w.Combo->Text(), QStringLiteral("Ccx"));
    QCOMPARE(w.Combo->ItemIndex(), -1);
}

void TestComboBox::simpleStyleShowsItsList()
{
    TWindow w(TComboBoxStyle::csSimple);
    w.Combo->resize(100, 120);
    QCOMPARE(w.Combo->height(), 120);
    QListView* list = nullptr;
    for (QListView* l : w.Combo->findChildren<QListView*>())
        if (l->parentWidget() == w.Combo)
            list = l;
    QVERIFY(list);
    QVERIFY(list->isVisible());
    const int fieldBox = w.Combo->NativeItemHeight(-1) + 6;
    QCOMPARE(list->geometry(), QRect(0, fieldBox, 100, 120 - fieldBox));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(w.Events, (QStringList{"click", "change"}));
    QCOMPARE(w.Combo->ItemIndex(), 1);
    QCOMPARE(w.Combo->Text(), QStringLiteral("Bb"));
    QCOMPARE(list->currentIndex().row(), 1);
    // The field stays on top after the choice.
    QCOMPARE(w.Combo->lineEdit()->geometry(), QRect(3, 3, 94, fieldBox - 6));
    w.Combo->showPopup();
    QVERIFY(!w.Combo->view()->isVisible());

    const QPointer<QListView> guard(list);
    w.Combo->SetBoxStyle(TComboBoxStyle::csDropDownList);
    QVERIFY(guard.isNull());
}

void TestComboBox::drawRequest_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<unsigned>("state");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<TColor>("brush");
    QTest::addColumn<TColor>("fontColor");

    QTest::newRow("item") << 1 << 0u << true << clYellow << clWindowText;
    QTest::newRow("selected item") << 1 << unsigned(odSelected) << true << clHighlight << clHighlightText;
    QTest::newRow("selected field") << 0 << unsigned(odSelected | odFocused | odComboBoxEdit) << true << clHighlight
                                    << clHighlightText;
    QTest::newRow("empty field") << -1 << unsigned(odSelected | odComboBoxEdit) << false << clYellow << clWindowText;
    QTest::newRow("index past the list") << 7 << unsigned(odFocused) << false << clYellow << clWindowText;
}

void TestComboBox::drawRequest()
{
    QFETCH(int, index);
    QFETCH(unsigned, state);
    QFETCH(bool, drawn);
    QFETCH(TColor, brush);
    TWindow w(TComboBoxStyle::csOwnerDrawFixed);
    w.Combo->SetColor(clYellow);
    w.Combo->Draws.clear();

    QImage image(40, 12, QImage::Format_RGB32);
    image.fill(Qt::black);
    w.Combo->PaintItem(image, index, Rect(0, 0, 40, 12), state);
    QVERIFY(!w.Combo->Canvas());
    QCOMPARE(w.Combo->Draws.size(), drawn ? 1 : 0);
    if (drawn) {
        QCOMPARE(w.Combo->Draws[0].Index, index);
        QCOMPARE(w.Combo->Draws[0].Brush, brush);
        QTEST(w.Combo->Draws[0].FontColor, "fontColor");
    }
    // The background, with an inverted dotted frame when focused.
    const QRgb back = ColorToPixel(brush);
    const bool focused = state & odFocused;
    const QRgb dot = focused ? (back ^ 0xFFFFFFu) : back;
    QCOMPARE(image.pixel(0, 0), dot);
    QCOMPARE(image.pixel(39, 5), dot);
    QCOMPARE(image.pixel(1, 0), back);
    QCOMPARE(image.pixel(38, 5), back);
}

void TestComboBox::exitOnlyWhenFocusLeaves()
{
    TWindow w(TComboBoxStyle::csDropDownList);
    w.Combo->setFocus();
    QTRY_VERIFY(w.Combo->hasFocus());
    w.Combo->showPopup();
    QTRY_VERIFY(w.Combo->view()->isVisible());
    w.Combo->hidePopup();
    QTRY_VERIFY(!w.Combo->view()->isVisible());
    QVERIFY(!w.Events.contains("exit"));
    w.Other->setFocus();
    QTRY_VERIFY(w.Other->hasFocus());
    QCOMPARE(w.Events.count("exit"), 1);
}

void TestComboBox::nestedBatchUpdate()
{
    TTestCombo combo;
    combo.BeginUpdate();
    combo.BeginUpdate();
    combo.EndUpdate();
    QVERIFY(!combo.updatesEnabled());
    combo.EndUpdate();
    QVERIFY(combo.updatesEnabled());
    combo.EndUpdate(); // unbalanced: ignored
    combo.BeginUpdate();
    QVERIFY(!combo.updatesEnabled());
    combo.EndUpdate();
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestComboBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_combobox.moc"
