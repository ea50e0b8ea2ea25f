#include "tests/colorcombo/chooserow.h"
#include "widgets/colorcombo/colorcombobox.h"

#include "framework/application.h"
#include "framework/formreader.h"
#include "framework/formwriter.h"
#include "framework/stdctrls.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QtTest>

#include <memory>

namespace {

// The layouts' font; without antialiasing every text pixel is exactly the
// font colour, so the pixel checks below can be exact.
QFont FormFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

const QStringList DefaultNames = {"Black",  "Maroon", "Green", "Olive",  "Navy", "Purple",  "Teal", "Gray",
                                  "Silver", "Red",    "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};

// A window holding the combo box where the main window has it, and a
// second control to move the focus to.
struct TWindow {
    QWidget Window;
    TColorComboBox* Combo = new TColorComboBox(&Window);
    QLineEdit* Other = new QLineEdit(&Window);
    QList<TColor> Values; // ColorValue seen by each OnChange
    QList<int> Indexes;   // ItemIndex seen by each OnChange
    QStringList Order;

    explicit TWindow(TOwnerDrawComboStyle style = TComboBoxStyle::csDropDownList, bool show = true)
    {
        Window.setFont(FormFont());
        Window.resize(600, 200);
        Combo->setGeometry(454, 4, 100, 22);
        Combo->SetStyle(style);
        Other->move(10, 100);
        Combo->OnChange = [this](QObject* sender) {
            QCOMPARE(sender, static_cast<QObject*>(Combo));
            Values << Combo->ColorValue();
            Indexes << Combo->ItemIndex();
            Order << QStringLiteral("change");
        };
        Combo->OnClick = [this](QObject*) { Order << QStringLiteral("click"); };
        if (show) {
            Window.show();
            QApplication::setActiveWindow(&Window);
            if (!QTest::qWaitForWindowExposed(&Window))
                qWarning("window not exposed");
        }
        // Making the list raises OnChange once; the cases start after that.
        Combo->HandleNeeded();
        Forget();
    }
    void Forget()
    {
        Values.clear();
        Indexes.clear();
        Order.clear();
    }
};

QRgb Px(TColor c)
{
    return ColorToPixel(c) & 0xFFFFFFu;
}

void SaveOnFailure(const QImage& image, const QString& name)
{
    const QByteArray dir = qgetenv("HUEBOX_TEST_OUTPUT");
    if (!dir.isEmpty())
        image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Checks one drawn item, H pixels high and W wide, against the drawing
// rules: background, a 22-pixel frame in the window-text colour two pixels
// in, the item colour inside it, the name from 28 pixels on in the text
// colour, and with the focus an inverted dotted frame on the outer pixels.
QString CheckItem(const QImage& shot, const TRect& r, TColor back, TColor swatch, TColor text, bool names, bool focus)
{
    const int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom;
    const TRect frame = names ? Rect(L + 2, T + 2, L + 24, B - 2) : Rect(L + 2, T + 2, Rt - 3, B - 2);
    const TRect inside = frame.Inflated(-1, -1);
    const TRect textArea = Rect(L + 28, T + 1, Rt - 1, B - 1);
    int firstTextColumn = INT_MAX;
    for (int y = T; y < B; ++y) {
        for (int x = L; x < Rt; ++x) {
            const QRgb actual = shot.pixel(x, y) & 0xFFFFFFu;
            QRgb expected = Px(back);
            if (inside.Contains({x, y}))
                expected = Px(swatch);
            else if (frame.Contains({x, y}))
                expected = Px(clWindowText);
            const bool edge = x == L || x == Rt - 1 || y == T || y == B - 1;
            if (focus && edge && (x - L + y - T) % 2 == 0)
                expected ^= 0xFFFFFFu;
            if (names && textArea.Contains({x, y}) && actual == Px(text) && actual != expected) {
                firstTextColumn = std::min(firstTextColumn, x);
                continue;
            }
            if (actual != expected)
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x - L)
                    .arg(y - T)
                    .arg(actual, 6, 16, QLatin1Char('0'))
                    .arg(expected, 6, 16, QLatin1Char('0'));
        }
    }
    if (names && (firstTextColumn < L + 28 || firstTextColumn > L + 30))
        return QStringLiteral("text starts at column %1").arg(firstTextColumn == INT_MAX ? -1 : firstTextColumn - L);
    return {};
}

// A list row drawn by the popup's delegate into its own image.
QImage PaintRow(TColorComboBox* combo, int row, int width, int height, QStyle::State state)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, width, height);
    option.state = QStyle::State_Enabled | state;
    combo->ListView()->itemDelegate()->paint(&painter, option, combo->model()->index(row, 0));
    return image;
}

} // namespace

class TestColorComboBox : public QObject {
    Q_OBJECT
private slots:
    void itemNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("afterCreation");
        QTest::addColumn<QStringList>("expected");

        QStringList abc = DefaultNames;
        abc[0] = "A";
        abc[2] = "C";
        QStringList twenty;
        for (int i = 0; i < 20; ++i)
            twenty << QStringLiteral("n%1").arg(i);
        QTest::newRow("empty") << QStringList() << false << DefaultNames;
        QTest::newRow("empty entry falls back") << QStringList{"A", "", "C"} << false << abc;
        QTest::newRow("empty entry, existing list") << QStringList{"A", "", "C"} << true << abc;
        QTest::newRow("beyond 16 ignored") << twenty << true << twenty.mid(0, 16);
    }
    void itemNames()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, afterCreation);
        QFETCH(QStringList, expected);
        TColorComboBox combo;
        QVERIFY(!combo.HandleAllocated());
        if (afterCreation)
            combo.HandleNeeded();
        combo.SetColorNames(names);
        QCOMPARE(combo.ItemCount(), 16);
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(combo.ItemText(i), expected[i]);
            QCOMPARE(combo.ItemData(i), TColorComboBox::StandardColors[i]);
        }
        QCOMPARE(combo.ItemIndex(), 0); // the stored black
    }

    void setColorValue_data()
    {
        QTest::addColumn<TComboBoxStyle>("style");
        QTest::addColumn<TColor>("value");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("events");
        QTest::addColumn<QString>("text");

        QTest::newRow("colour of the selected item") << TComboBoxStyle::csDropDownList << clWhite << 15 << 0 << "White";
        QTest::newRow("red selects 9") << TComboBoxStyle::csDropDownList << clRed << 9 << 1 << "Red";
        QTest::newRow("outside the list") << TComboBoxStyle::csDropDownList << TColor(0x123456) << -1 << 1 << "";
        QTest::newRow("system colour, list style") << TComboBoxStyle::csDropDownList << clWindow << -1 << 1 << "";
        QTest::newRow("outside, editable")
            << TComboBoxStyle::csDropDown << TColor(0x00123456) << -1 << 1 << "$00123456";
        QTest::newRow("system colour, editable") << TComboBoxStyle::csDropDown << clScrollBar << -1 << 1 << "ScrollBar";
        QTest::newRow("red, editable") << TComboBoxStyle::csSimple << clRed << 9 << 1 << "Red";
    }
    void setColorValue()
    {
        QFETCH(TComboBoxStyle, style);
        QFETCH(TColor, value);
        QFETCH(int, events);
        TWindow w{style};
        w.Combo->SetColorValue(clWhite);
        w.Forget();

        w.Combo->SetColorValue(value);
        QTEST(w.Combo->ItemIndex(), "index");
        QCOMPARE(w.Combo->ColorValue(), value);
        QTEST(w.Combo->Text(), "text");
        QCOMPARE(w.Values.size(), events);
        if (events) {
            // The handler already sees the new value and selection.
            QCOMPARE(w.Values.first(), value);
            QTEST(w.Indexes.first(), "index");
        }
    }

    void colourOutsideListRaisesEveryTime()
    {
        TWindow w;
        w.Combo->SetColorValue(0x123456);
        w.Combo->SetColorValue(0x123456);
        QCOMPARE(w.Values, (QList<TColor>{0x123456, 0x123456}));
        QCOMPARE(w.Combo->ItemIndex(), -1);
    }

    void userChoice_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QList<TColor>>("values");

        QTest::newRow("red while white") << 9 << QStringList{"change", "click"} << QList<TColor>{clRed};
        QTest::newRow("the selected item") << 15 << QStringList{"click"} << QList<TColor>{};
    }
    void userChoice()
    {
        QFETCH(int, row);
        QFETCH(QList<TColor>, values);
        TWindow w;
        w.Combo->SetColorValue(clWhite);
        w.Forget();
        QVERIFY(ChooseRow(w.Combo, row));
        QTEST(w.Order, "order");
        QCOMPARE(w.Values, values);
        QCOMPARE(w.Combo->ItemIndex(), row);
        if (!values.isEmpty())
            QCOMPARE(w.Indexes, QList<int>{row});

        // The arrow keys choose as well.
        w.Forget();
        QTest::keyClick(w.Combo, Qt::Key_Up);
        QCOMPARE(w.Values, QList<TColor>{TColorComboBox::StandardColors[row - 1]});
    }

    void arrowKeysInOpenList_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QList<TColor>>("values");
        QTest::addColumn<int>("row");

        QTest::newRow("up twice") << QList<int>{Qt::Key_Up, Qt::Key_Up} << QList<TColor>{clAqua, clFuchsia} << 13;
        QTest::newRow("up, down") << QList<int>{Qt::Key_Up, Qt::Key_Down} << QList<TColor>{clAqua, clWhite} << 15;
        QTest::newRow("down at the end") << QList<int>{Qt::Key_Down} << QList<TColor>{} << 15;
        QTest::newRow("page up") << QList<int>{Qt::Key_PageUp} << QList<TColor>{clSilver} << 8;
        QTest::newRow("home") << QList<int>{Qt::Key_Home} << QList<TColor>{clBlack} << 0;
    }
    void arrowKeysInOpenList()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QList<TColor>, values);
        QFETCH(int, row);
        TWindow w;
        w.Combo->SetColorValue(clWhite);
        w.Forget();
        w.Combo->showPopup();
        QAbstractItemView* view = w.Combo->view();
        QTRY_VERIFY(view->isVisible());
        for (int key : keys)
            QTest::keyClick(view, Qt::Key(key));
        // Each move is a choice at once, while the list stays open.
        QVERIFY(view->isVisible());
        QCOMPARE(w.Values, values);
        QCOMPARE(w.Order.count(QStringLiteral("click")), values.size());
        QCOMPARE(w.Combo->ItemIndex(), row);
        // Escape closes the list and keeps the choice.
        QTest::keyClick(view, Qt::Key_Escape);
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(w.Combo->ItemIndex(), row);
        QCOMPARE(w.Combo->ColorValue(), TColorComboBox::StandardColors[row]);
        QCOMPARE(w.Values, values);
    }

    void fieldTextIsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TColor>("expected");

        QTest::newRow("name") << "navy" << clNavy;
        QTest::newRow("name, upper case") << "NAVY" << clNavy;
        QTest::newRow("name, mixed case") << "nAvY" << clNavy;
        QTest::newRow("dollar hex") << "$FF" << clRed;
        QTest::newRow("0x hex") << "0xFF0000" << clBlue;
        QTest::newRow("decimal") << "255" << clRed;
        QTest::newRow("neither") << "blue-ish" << clTeal;
        QTest::newRow("empty") << "" << clTeal;
    }
    void fieldTextIsRead()
    {
        QFETCH(QString, text);
        TWindow w(TComboBoxStyle::csDropDown);
        w.Combo->SetColorValue(clTeal);
        w.Combo->SetText(text);
        QCOMPARE(w.Combo->ItemIndex(), -1);
        QTEST(w.Combo->ColorValue(), "expected");
        QTEST(w.Combo->ColorValue(), "expected"); // reading does not store
        w.Combo->SetColorValue(clTeal);
        QCOMPARE(w.Combo->ItemIndex(), 6);
    }

    void typedNumberBecomesValue()
    {
        TWindow w(TComboBoxStyle::csDropDown);
        w.Combo->SetColorValue(clWhite);
        w.Combo->setFocus();
        w.Combo->lineEdit()->selectAll();
        w.Forget();
        QTest::keyClicks(w.Combo, QStringLiteral("$FF"));
        QCOMPARE(w.Combo->Text(), QStringLiteral("$FF"));
        QCOMPARE(w.Combo->ItemIndex(), -1);
        // "$" reads as nothing, "$F" and "$FF" as numbers.
        QCOMPARE(w.Values, (QList<TColor>{0x0F, 0xFF}));
        QVERIFY(!w.Order.contains("click"));
    }

    void recreateKeepsColour_data()
    {
        QTest::addColumn<TComboBoxStyle>("style");
        QTest::addColumn<QString>("change");
        QTest::addColumn<TColor>("colour");
        QTest::addColumn<int>("index");

        QTest::newRow("style to editable") << TComboBoxStyle::csDropDownList << "style" << clRed << 9;
        QTest::newRow("style to list") << TComboBoxStyle::csDropDown << "style" << clRed << 9;
        QTest::newRow("names") << TComboBoxStyle::csDropDownList << "names" << clRed << 9;
        QTest::newRow("names, outside the list") << TComboBoxStyle::csDropDownList << "names" << TColor(0x123456) << -1;
        QTest::newRow("font") << TComboBoxStyle::csDropDownList << "font" << clRed << 9;
    }
    void recreateKeepsColour()
    {
        QFETCH(TComboBoxStyle, style);
        QFETCH(QString, change);
        QFETCH(TColor, colour);
        TWindow w{style};
        w.Combo->setFocus();
        QTRY_VERIFY(w.Combo->hasFocus());
        w.Combo->SetColorValue(colour);
        w.Forget();

        if (change == "style") {
            w.Combo->SetStyle(style == TComboBoxStyle::csDropDownList ? TComboBoxStyle::csDropDown
                                                                      : TComboBoxStyle::csDropDownList);
            QCOMPARE(w.Combo->isEditable(), style == TComboBoxStyle::csDropDownList);
        } else if (change == "names") {
            w.Combo->SetColorNames({"Schwarz"});
            QCOMPARE(w.Combo->ItemText(0), QStringLiteral("Schwarz"));
        } else {
            QFont f = FormFont();
            f.setPixelSize(20);
            w.Combo->setFont(f);
            QVERIFY(w.Combo->NativeItemHeight(0) > 14);
        }
        QCOMPARE(w.Values, QList<TColor>{colour});
        QTEST(w.Combo->ItemIndex(), "index");
        QCOMPARE(w.Combo->ColorValue(), colour);
        QVERIFY(w.Combo->hasFocus());
    }

    void hiddenControlRecreatesWhenNeeded()
    {
        TWindow w(TComboBoxStyle::csDropDownList, false);
        w.Combo->SetColorValue(clRed);
        w.Forget();
        w.Combo->SetStyle(TComboBoxStyle::csDropDown);
        QVERIFY(!w.Combo->HandleAllocated());
        QVERIFY(w.Values.isEmpty());
        QCOMPARE(w.Combo->ItemIndex(), 9);
        QCOMPARE(w.Values, QList<TColor>{clRed});
    }

    void rowPixels_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("names");
        QTest::addColumn<TColor>("back");
        QTest::addColumn<TColor>("text");

        const int selected = QStyle::State_Selected;
        const int focused = QStyle::State_Selected | QStyle::State_HasFocus;
        QTest::newRow("normal") << 9 << 0 << true << clWindow << clWindowText;
        QTest::newRow("selected") << 9 << selected << true << clHighlight << clHighlightText;
        QTest::newRow("selected with focus") << 15 << focused << true << clHighlight << clHighlightText;
        QTest::newRow("no names") << 4 << 0 << false << clWindow << clWindowText;
        QTest::newRow("no names, selected") << 0 << selected << false << clHighlight << clHighlightText;
    }
    void rowPixels()
    {
        QFETCH(int, row);
        QFETCH(int, state);
        QFETCH(bool, names);
        QFETCH(TColor, back);
        QFETCH(TColor, text);
        TWindow w;
        w.Combo->SetDisplayNames(names);
        QCOMPARE(w.Combo->NativeItemHeight(0), 14);
        const QImage image = PaintRow(w.Combo, row, 100, 14, QStyle::State(state));
        const QString error = CheckItem(image, Rect(0, 0, 100, 14), back, TColorComboBox::StandardColors[row], text,
                                        names, state & QStyle::State_HasFocus);
        if (!error.isEmpty())
            SaveOnFailure(image, QStringLiteral("colorcombo_row_%1").arg(QTest::currentDataTag()));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void fieldPixels_data()
    {
        QTest::addColumn<bool>("focus");
        QTest::addColumn<TColor>("colour");
        QTest::newRow("unfocused") << false << clRed;
        QTest::newRow("focused") << true << clWhite;
        QTest::newRow("no selection") << true << TColor(0x123456);
    }
    void fieldPixels()
    {
        QFETCH(bool, focus);
        QFETCH(TColor, colour);
        TWindow w;
        w.Combo->SetColorValue(colour);
        if (focus)
            w.Combo->setFocus();
        else
            w.Other->setFocus();
        QTRY_COMPARE(w.Combo->hasFocus(), focus);

        // The field is measured when the list is made, with the item height of
        // 16 the control starts with; the frame around it makes the height 22.
        const TRect field = w.Combo->FieldRect();
        QCOMPARE(field.Top, 3);
        QCOMPARE(field.Height(), 16);
        QCOMPARE(w.Combo->height(), 22);

        const QImage shot = w.Combo->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QString error;
        if (w.Combo->ItemIndex() < 0) {
            // Only the control's colour (no selection colours without an item),
            // and the focus frame.
            for (int y = field.Top; y < field.Bottom && error.isEmpty(); ++y)
                for (int x = field.Left; x < field.Right; ++x) {
                    const bool edge =
                        x == field.Left || x == field.Right - 1 || y == field.Top || y == field.Bottom - 1;
                    const QRgb expected =
                        edge && (x - field.Left + y - field.Top) % 2 == 0 ? ~Px(clWindow) & 0xFFFFFFu : Px(clWindow);
                    if ((shot.pixel(x, y) & 0xFFFFFFu) != expected) {
                        error = QStringLiteral("pixel (%1, %2)").arg(x).arg(y);
                        break;
                    }
                }
        } else {
            error = CheckItem(shot, field, focus ? clHighlight : clWindow, colour,
                              focus ? clHighlightText : clWindowText, true, focus);
        }
        if (!error.isEmpty())
            SaveOnFailure(shot, QStringLiteral("colorcombo_field_%1").arg(QTest::currentDataTag()));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void longNamesAreCut_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("drawnAs");
        QTest::addColumn<bool>("same");

        QString base;
        for (int i = 0; i < 300; ++i)
            base += QChar(u'A' + i % 26);
        const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units
        QTest::newRow("300 drawn as 255") << base << base.left(255) << true;
        QTest::newRow("256 is not 255") << base.left(256) << base.left(254) + "_" << false;
        QTest::newRow("pair at the cut") << base.left(254) + face + "Z" << base.left(254) << true;
    }
    void longNamesAreCut()
    {
        QFETCH(QString, name);
        QFETCH(QString, drawnAs);
        TWindow w;
        w.Combo->SetColorNames({name, drawnAs});
        const int width = 28 + QFontMetrics(FormFont()).horizontalAdvance(name) + 40;
        // Items 0 and 1 differ only in their swatch, left of the text.
        const QImage a = PaintRow(w.Combo, 0, width, 14, {}).copy(26, 0, width - 26, 14);
        const QImage b = PaintRow(w.Combo, 1, width, 14, {}).copy(26, 0, width - 26, 14);
        QTEST(a == b, "same");
    }

    void integerText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<TColor>("value");

        QTest::newRow("decimal") << "123" << true << TColor(123);
        QTest::newRow("blanks and sign") << "  -45" << true << TColor(-45);
        QTest::newRow("plus") << "+7" << true << TColor(7);
        QTest::newRow("dollar") << "$fF" << true << TColor(255);
        QTest::newRow("x") << "x10" << true << TColor(16);
        QTest::newRow("X") << "X10" << true << TColor(16);
        QTest::newRow("0x") << "0x1A" << true << TColor(26);
        QTest::newRow("0X") << "0X1a" << true << TColor(26);
        QTest::newRow("negative hex") << "-$10" << true << TColor(-16);
        QTest::newRow("all 32 bits") << "$FFFFFFFF" << true << TColor(-1);
        QTest::newRow("lowest decimal") << "-2147483648" << true << std::numeric_limits<TColor>::min();
        QTest::newRow("highest decimal") << "2147483647" << true << std::numeric_limits<TColor>::max();
        QTest::newRow("zero") << "0" << true << TColor(0);
        QTest::newRow("decimal too big") << "2147483648" << false << TColor(0);
        QTest::newRow("hex too big") << "$100000000" << false << TColor(0);
        QTest::newRow("empty") << "" << false << TColor(0);
        QTest::newRow("only blanks") << "   " << false << TColor(0);
        QTest::newRow("only a sign") << "-" << false << TColor(0);
        QTest::newRow("only a prefix") << "0x" << false << TColor(0);
        QTest::newRow("trailing blank") << "12 " << false << TColor(0);
        QTest::newRow("hex digit in decimal") << "12a" << false << TColor(0);
        QTest::newRow("two signs") << "--1" << false << TColor(0);
        QTest::newRow("wide digit") << QString::fromUtf8("\xD9\xA3") << false << TColor(0);
    }
    void integerText()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(TColor, value);
        TColor result = 0x5A5A5A;
        QCOMPARE(ParseIntegerText(text, result), ok);
        QCOMPARE(result, ok ? value : TColor(0x5A5A5A));
    }

    void storedForm()
    {
        RegisterColorComboClasses();
        int raised = 0;
        const TNotifyEvent handler = [&](QObject*) { ++raised; };
        const THandlerTable handlers = {{QStringLiteral("ClrCmbBoxChange"), handler}};
        const std::unique_ptr<QWidget> object =
            TFormReader::ReadComponent(QStringLiteral("object ClrCmbBox: TColorComboBox\n"
                                                      "  Left = 454\n  Top = 4\n  Width = 100\n  Height = 22\n"
                                                      "  ColorValue = clWhite\n"
                                                      "  TabOrder = 4\n"
                                                      "  OnChange = ClrCmbBoxChange\n"
                                                      "  OnExit = ClrCmbBoxChange\n"
                                                      "end\n"),
                                       handlers);
        auto* combo = dynamic_cast<TColorComboBox*>(object.get());
        QVERIFY(combo);
        QCOMPARE(raised, 0);
        QCOMPARE(combo->ItemIndex(), 15);
        QCOMPARE(combo->ItemText(15), QStringLiteral("White"));
        QCOMPARE(combo->ColorValue(), clWhite);
        QCOMPARE(combo->geometry(), QRect(454, 4, 100, 22));
        QCOMPARE(combo->TabOrder(), 4);
        QCOMPARE(combo->Style(), TComboBoxStyle::csDropDownList);

        // The handlers are bound once loading is over.
        combo->SetColorValue(clRed);
        QCOMPARE(raised, 1);
        QVERIFY(combo->OnExit);
    }

    void inheritedPropertiesAndEvents()
    {
        RegisterStandardClasses();
        RegisterMenuClasses();
        RegisterColorComboClasses();
        QStringList raised;
        const auto notify = [&](const char* name) {
            return TNotifyEvent([&raised, name](QObject*) { raised << name; });
        };
        const auto key = [&](const char* name) {
            return TKeyEvent(
                [&raised, name](QObject*, int& k, Qt::KeyboardModifiers) { raised << name + QString::number(k); });
        };
        const THandlerTable handlers = {
            {QStringLiteral("BoxClick"), notify("Click")},
            {QStringLiteral("BoxDblClick"), notify("DblClick")},
            {QStringLiteral("BoxKeyDown"), key("KeyDown ")},
            {QStringLiteral("BoxKeyUp"), key("KeyUp ")},
            {QStringLiteral("BoxKeyPress"),
             TKeyPressEvent([&](QObject*, QChar& c) { raised << QStringLiteral("KeyPress ") + c; })},
            {QStringLiteral("BoxContextPopup"), TContextPopupEvent([&](QObject*, TPoint, bool& handled) {
                 raised << QStringLiteral("ContextPopup");
                 handled = true;
             })},
        };
        // Read in an order of its own, written in the published order.
        const QString text = QStringLiteral("object P: TPanel\n"
                                            "  object Menu: TPopupMenu\n  end\n"
                                            "  object Box: TColorComboBox\n"
                                            "    OnKeyUp = BoxKeyUp\n    OnContextPopup = BoxContextPopup\n"
                                            "    OnKeyPress = BoxKeyPress\n    OnKeyDown = BoxKeyDown\n"
                                            "    OnDblClick = BoxDblClick\n    OnClick = BoxClick\n"
                                            "    ShowHint = True\n    PopupMenu = Menu\n    Font.Height = -13\n"
                                            "    Constraints.MinWidth = 90\n    Anchors = [akLeft, akTop, akRight]\n"
                                            "    ColorValue = clRed\n    Hint = 'Basic colours'\n"
                                            "    Left = 454\n    Top = 4\n    Width = 100\n    Tag = 7\n"
                                            "  end\n"
                                            "end\n");
        std::unique_ptr<QWidget> root = TFormReader::ReadComponent(text, handlers);
        auto* box = root->findChild<TColorComboBox*>(QStringLiteral("Box"));
        QVERIFY(box);
        QStringList names;
        for (const TFormProperty& p : ParseFormText(TFormWriter::Write(box)).Properties)
            names << p.Name;
        QCOMPARE(names,
                 (QStringList{"Tag",           "Left",           "Top",         "Width",      "Height",
                              "Hint",          "ColorValue",     "Font.Height", "Anchors",    "Constraints.MinWidth",
                              "ParentFont",    "ParentShowHint", "PopupMenu",   "ShowHint",   "Visible",
                              "OnClick",       "OnDblClick",     "OnKeyDown",   "OnKeyPress", "OnKeyUp",
                              "OnContextPopup"}));
        const QString written = TFormWriter::Write(root.get());
        QCOMPARE(TFormWriter::Write(TFormReader::ReadComponent(written, handlers).get()), written);

        root->show();
        QVERIFY(QTest::qWaitForWindowExposed(root.get()));
        QTest::keyClick(box, Qt::Key_A); // types to the first name with A
        QCOMPARE(box->ColorValue(), clAqua);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &dbl);
        box->hidePopup();
        QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box, &context);
        QCOMPARE(raised, (QStringList{"KeyDown " + QString::number(Qt::Key_A), "KeyPress a", "Click",
                                      "KeyUp " + QString::number(Qt::Key_A), "DblClick", "ContextPopup"}));
        QCOMPARE(box->Tag(), 7);
        QVERIFY(!box->ParentShowHint() && box->ShowHint());
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestColorComboBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_colorcombobox.moc"
