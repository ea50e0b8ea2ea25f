#include "widgets/colorcombo/ownerdrawcombobox.h"

#include "framework/application.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QtTest>

namespace {

QFont Font(const char* family, int pixels)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    return f;
}

class TCountingCombo : public TOwnerDrawComboBox {
public:
    using TOwnerDrawComboBox::TOwnerDrawComboBox;
    int Creations = 0;

protected:
    void CreateWnd() override
    {
        ++Creations;
        TOwnerDrawComboBox::CreateWnd();
    }
};

// A shown window in the layouts' font with a combo box of n items.
struct TWindow {
    QWidget Window;
    TCountingCombo* Combo = new TCountingCombo(&Window);

    explicit TWindow(int items = 16)
    {
        Window.setFont(Font("MS Sans Serif", 11));
        Window.resize(300, 300);
        Combo->setGeometry(10, 10, 100, 22);
        Window.show();
        if (!QTest::qWaitForWindowExposed(&Window))
            qWarning("window not exposed");
        for (int i = 0; i < items; ++i)
            Combo->AddItem(QStringLiteral("item %1").arg(i), i);
    }
};

} // namespace

class TestOwnerDrawComboBox : public QObject {
    Q_OBJECT
private slots:
    void itemHeightFollowsFont_data();
    void itemHeightFollowsFont();
    void fieldKeepsHeightOfCreation();
    void droppedList_data();
    void droppedList();
    void fontChangeRecreatesOnce();
    void styleBits_data();
    void styleBits();
};

void TestOwnerDrawComboBox::itemHeightFollowsFont_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("textRowHeight");
    QTest::addColumn<int>("itemHeight");

    // The layouts' face has an ascender of 0.905 em and a descender of
    // 0.212 em: at 11 pixels 9.96 and 2.33, so a character height of 13.
    QTest::newRow("layout font") << Font("MS Sans Serif", 11) << 14 << 14;
    // The monospaced face at 4 pixels: 3.33 and 1.2, so 6; below the floor.
    QTest::newRow("tiny font") << Font("Courier New", 4) << 7 << 9;
}

void TestOwnerDrawComboBox::itemHeightFollowsFont()
{
    QFETCH(QFont, font);
    QTEST(TOwnerDrawComboBox::TextRowHeight(font), "textRowHeight");
    TCountingCombo combo;
    combo.setFont(font);
    QTEST(combo.ComputeItemHeight(), "itemHeight");
    combo.HandleNeeded();
    QTEST(combo.NativeItemHeight(0), "itemHeight");
}

void TestOwnerDrawComboBox::fieldKeepsHeightOfCreation()
{
    // The window's font is the one a control starts from: no font change,
    // so the field is measured with the starting item height of 16, and
    // only the list rows get the font's 14.
    TWindow w;
    QCOMPARE(w.Combo->Creations, 1);
    QCOMPARE(w.Combo->NativeItemHeight(-1), 16);
    QCOMPARE(w.Combo->NativeItemHeight(0), 14);
    QCOMPARE(w.Combo->height(), 22);
    w.Combo->resize(100, 40);
    QCOMPARE(w.Combo->height(), 22);
}

void TestOwnerDrawComboBox::droppedList_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("rows");
    QTest::newRow("more than eight") << 16 << 8;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("none") << 0 << 1;
}

void TestOwnerDrawComboBox::droppedList()
{
    QFETCH(int, items);
    QFETCH(int, rows);
    TWindow w(items);
    QCOMPARE(w.Combo->DroppedHeight(), 14 * rows + 22 + 2);
    if (items == 0)
        return; // the widget opens no empty list

    w.Combo->showPopup();
    QAbstractItemView* view = w.Combo->view();
    QTRY_VERIFY(view->isVisible());
    QWidget* list = view->parentWidget();
    QCOMPARE(list->geometry(), QRect(w.Combo->mapToGlobal(QPoint(0, 22)), QSize(100, 14 * rows + 2)));
    QCOMPARE(view->visualRect(view->model()->index(0, 0)).height(), 14);
    QCOMPARE(view->viewport()->height(), 14 * rows);
    // A list, not a menu: a scroll bar when not every item fits.
    QCOMPARE(view->verticalScrollBar()->isVisible(), items > rows);
    w.Combo->hidePopup();
}

void TestOwnerDrawComboBox::fontChangeRecreatesOnce()
{
    TWindow w;
    w.Combo->SetItemIndex(3);
    w.Combo->ApplyItemHeight();
    QCOMPARE(w.Combo->Creations, 1); // storing the height does not re-make

    QFont same = Font("MS Sans Serif", 11);
    same.setStyleStrategy(QFont::NoAntialias);
    w.Combo->setFont(same);
    QCOMPARE(w.Combo->Creations, 1); // same name, height and style

    w.Combo->setFont(Font("MS Sans Serif", 20));
    QCOMPARE(w.Combo->Creations, 2);
    const int h = TOwnerDrawComboBox::TextRowHeight(Font("MS Sans Serif", 20));
    QVERIFY(h > 14);
    QCOMPARE(w.Combo->NativeItemHeight(0), h);
    QCOMPARE(w.Combo->NativeItemHeight(-1), h); // measured again when re-made
    QCOMPARE(w.Combo->height(), h + 6);
    QCOMPARE(w.Combo->ItemCount(), 16);
    QCOMPARE(w.Combo->ItemIndex(), 3);
    QCOMPARE(w.Combo->ItemData(3), TColor(3));
}

void TestOwnerDrawComboBox::styleBits_data()
{
    QTest::addColumn<TComboBoxStyle>("style");
    QTest::addColumn<unsigned>("bits");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("fixedHeight");

    QTest::newRow("drop-down list") << TComboBoxStyle::csDropDownList << 0x200253u << false << true;
    QTest::newRow("drop-down") << TComboBoxStyle::csDropDown << 0x200252u << true << true;
    QTest::newRow("simple") << TComboBoxStyle::csSimple << 0x200251u << true << false;
    QTest::newRow("owner-draw style ignored") << TComboBoxStyle::csOwnerDrawFixed << 0x200253u << false << true;
}

void TestOwnerDrawComboBox::styleBits()
{
    QFETCH(TComboBoxStyle, style);
    QFETCH(unsigned, bits);
    TWindow w;
    w.Combo->SetItemIndex(5);
    w.Combo->SetStyle(style);
    QCOMPARE(w.Combo->NativeStyle() & 0x00FFFFFFu, bits | ComboStyle::TabStop);
    QTEST(w.Combo->isEditable(), "editable");
    QCOMPARE(w.Combo->Creations, bits == 0x200253u ? 1 : 2);
    QCOMPARE(w.Combo->ItemIndex(), 5);
    w.Combo->resize(100, 60);
    // Fixed to the field measured when the list was made, or free.
    QTEST(w.Combo->height() == w.Combo->NativeItemHeight(-1) + 6, "fixedHeight");
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestOwnerDrawComboBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ownerdrawcombobox.moc"
