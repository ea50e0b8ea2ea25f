// Colours in and out beyond the window's controls: paste, typed entry,
// picking from the screen, keyboard copy and the preview's context menu.
#include "app/colorentrydialog.h"
#include "app/form1.h"
#include "app/transientnote.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "tests/app/formprobe.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/ordolistview.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

// A shown, active window, its messages recorded instead of shown.
struct TWindow {
    TForm1 Form;
    QStringList Messages;
    TApplication::ErrorReporter Previous;

    TWindow()
    {
        Previous = TApplication::SetErrorReporter([this](const QString& m) { Messages << m; });
        Form.show();
        Form.activateWindow();
    }
    ~TWindow() { TApplication::SetErrorReporter(Previous); }
    bool Ready() { return QTest::qWaitForWindowActive(&Form); }
    void Key(QWidget* target, int key) { QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier); }
    void Paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        Key(Form.SlR, Qt::Key_V);
    }
};

// Counts the events of one type that reach the objects it watches.
class TEventCounter : public QObject {
public:
    TEventCounter(QEvent::Type type, int& count) : type_(type), count_(count) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        count_ += event->type() == type_;
        return false;
    }

private:
    QEvent::Type type_;
    int& count_;
};

} // namespace

class TestColourInOut : public QObject {
    Q_OBJECT
private slots:
    void pasteLoadsTheColourUnderEdit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("textTarget");
        QTest::addColumn<QString>("sliders");
        QTest::addColumn<QString>("literal");
        const struct {
            const char* name;
            const char* text;
            const char* sliders;
            const char* literal;
        } rows[] = {
            {"HTML", "#336699", "51,102,153", "$00996633"},
            {"Delphi", " $00996633; ", "51,102,153", "$00996633"},
            {"Visual C++", "0x00030201", "1,2,3", "$00030201"},
            {"Visual Basic", "&H000080FF&", "255,128,0", "$000080FF"},
            {"short HTML", "#fa0", "255,170,0", "$0000AAFF"},
            {"rgb()", "rgb(0, 50%, 100%)", "0,128,255", "$00FF8000"},
            {"name", "Gainsboro", "220,220,220", "$00DCDCDC"},
            {"name in another case", "rosybrown", "188,143,143", "$008F8FBC"},
        };
        for (const auto& r : rows) {
            for (bool text : {false, true})
                QTest::addRow("%s, %s", r.name, text ? "text" : "background")
                    << QString::fromUtf8(r.text) << text << QString::fromLatin1(r.sliders)
                    << QString::fromLatin1(r.literal);
        }
    }
    void pasteLoadsTheColourUnderEdit()
    {
        QFETCH(QString, text);
        QFETCH(bool, textTarget);
        QFETCH(QString, sliders);
        TWindow w;
        QVERIFY(w.Ready());
        if (textTarget)
            QTest::mouseClick(w.Form.RBtn1, Qt::LeftButton);
        w.Paste(text);
        QVERIFY2(w.Messages.isEmpty(), qPrintable(w.Messages.join(QLatin1Char('\n'))));
        QCOMPARE(SliderValues(w.Form), sliders);
        QTEST(w.Form.Panel1->Text(), "literal");
        QCOMPARE(w.Form.TxtG->Caption(), sliders.section(QLatin1Char(','), 1, 1));
        const QStringList c = sliders.split(QLatin1Char(','));
        const TColor color = RGB(c[0].toInt(), c[1].toInt(), c[2].toInt());
        QCOMPARE(textTarget ? w.Form.Panel1->FontColor() : w.Form.Panel1->Color(), color);
    }

    void pastedBodyTagSetsBothColours()
    {
        TWindow w;
        QVERIFY(w.Ready());
        QTest::mouseClick(w.Form.RdBtn4, Qt::LeftButton);
        w.Paste(QStringLiteral("<body text='#102030' bgcolor=#405060>"));
        QCOMPARE(SliderValues(w.Form), QStringLiteral("64,80,96"));
        QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("<BODY BGCOLOR=\"#405060\" TEXT=\"#102030\">"));
        QCOMPARE(w.Form.Panel1->FontColor(), RGB(0x10, 0x20, 0x30));
        QCOMPARE(w.Form.Panel1->Color(), RGB(0x40, 0x50, 0x60));
        // The next switch brings the other colour into the sliders.
        QTest::mouseClick(w.Form.RBtn1, Qt::LeftButton);
        QCOMPARE(SliderValues(w.Form), QStringLiteral("16,32,48"));
        QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("<BODY BGCOLOR=\"#405060\" TEXT=\"#102030\">"));
    }

    void badTextChangesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("words") << "blue-ish" << QStringLiteral("Не удалось распознать цвет: «blue-ish»");
        QTest::newRow("system colour") << "$80000005"
                                       << QStringLiteral("Ошибка в цвете «$80000005»: значение больше 00FFFFFF");
        QTest::newRow("half transparent")
            << "#33669980" << QStringLiteral("Прозрачность не поддерживается: «#33669980»");
        QTest::newRow("nothing") << "" << QStringLiteral("В буфере обмена нет цвета");
    }
    void badTextChangesNothing()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        TWindow w;
        QVERIFY(w.Ready());
        QStringList changes;
        RecordSliderChanges(w.Form, changes);
        w.Paste(text);
        // Said in the note beside the preview, not in a box to dismiss.
        QVERIFY(w.Messages.isEmpty());
        QVERIFY(w.Form.Note()->isVisible());
        QCOMPARE(w.Form.Note()->text(), message);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(changes, QStringList());
        QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("$00FFFFFF"));
        QCOMPARE(w.Form.Panel1->Color(), clWindow);
    }

    void ctrlCCopiesTheLiteralFromAnyControl_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* name : {"SlR", "SlB", "ListV", "ClrCmbBox", "BtnCopy", "RdBtn3", "Panel1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void ctrlCCopiesTheLiteralFromAnyControl()
    {
        QFETCH(QString, control);
        TWindow w;
        QVERIFY(w.Ready());
        w.Form.SlG->SetValue(0x80);
        QWidget* target = w.Form.findChild<QWidget*>(control);
        QVERIFY(target);
        w.Form.PageControl1->setCurrentWidget(w.Form.findChild<QWidget*>(
            control == QLatin1String("ListV") ? QStringLiteral("TabSheet2") : QStringLiteral("TabSheet1")));
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QGuiApplication::clipboard()->clear();
        w.Key(target, Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("$00FF80FF"));
        QCOMPARE(w.Form.Panel1->SelText(), QString());
        QVERIFY(w.Form.Note()->isVisible());
        QCOMPARE(w.Form.Note()->text(), QStringLiteral("Скопировано"));
        // Nothing moved and no text changed.
        QCOMPARE(w.Form.BtnCopy->geometry(), QRect(452, 192, 100, 28));
        QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("$00FF80FF"));
        QVERIFY(w.Messages.isEmpty());
    }

    void previewSelectionCopiesItself()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.Form.Panel1->setFocus();
        QTextCursor cursor = w.Form.Panel1->textCursor();
        cursor.setPosition(3);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        w.Form.Panel1->setTextCursor(cursor);
        w.Key(w.Form.Panel1, Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("FFFFFF"));
        QCOMPARE(w.Form.Panel1->SelText(), QStringLiteral("FFFFFF"));
    }

    void contextMenuOffersItsEntries()
    {
        TWindow w;
        QVERIFY(w.Ready());
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(20, 10),
                                  w.Form.Panel1->viewport()->mapToGlobal(QPoint(20, 10)));
        QCoreApplication::sendEvent(w.Form.Panel1->viewport(), &request);
        QMenu* menu = w.Form.PreviewMenu();
        QTRY_VERIFY(menu->isVisible());
        QStringList entries;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                entries << a->text() + QLatin1Char('\t') + a->shortcut().toString();
        QCOMPARE(entries, QStringList({"Вставить цвет\tCtrl+V", "Ввести цвет…\tCtrl+L", "Взять цвет с экрана\tCtrl+P",
                                       "Недавние цвета\t", "Контраст\t", "Копировать\tCtrl+C", "Копировать как\t"}));
        menu->close();
    }

    // Each entry shows and copies the colour under edit in its form; the
    // window's own format stays. Two colours: the background, then the text.
    void copyAsShowsAndCopiesEachForm()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.Paste(QStringLiteral("#FF8000"));
        const QStringList orange = {"CSS, шестнадцатеричный\t#ff8000",
                                    "CSS rgb()\trgb(255, 128, 0)",
                                    "CSS hsl()\thsl(30.1, 100%, 50%)",
                                    "CSS oklch()\toklch(73.19% 0.1858 52.98)",
                                    "ARGB (Qt, Android, Flutter)\t0xFFFF8000",
                                    "Qt\tQColor(255, 128, 0)",
                                    "Win32 RGB()\tRGB(255, 128, 0)",
                                    "Доли (GLSL, Blender)\tvec3(1.000, 0.502, 0.000)",
                                    "Имя\tDarkOrange"};
        const QStringList black = {"CSS, шестнадцатеричный\t#000000",
                                   "CSS rgb()\trgb(0, 0, 0)",
                                   "CSS hsl()\thsl(0, 0%, 0%)",
                                   "CSS oklch()\toklch(0% 0 0)",
                                   "ARGB (Qt, Android, Flutter)\t0xFF000000",
                                   "Qt\tQColor(0, 0, 0)",
                                   "Win32 RGB()\tRGB(0, 0, 0)",
                                   "Доли (GLSL, Blender)\tvec3(0.000, 0.000, 0.000)",
                                   "Имя\tBlack"};
        for (int pass = 0; pass < 2; ++pass) {
            const QStringList& expected = pass ? black : orange;
            if (pass)
                QTest::mouseClick(w.Form.RBtn1, Qt::LeftButton);
            const QString literal = w.Form.Panel1->Text();
            QMenu* menu = w.Form.CopyAsMenu();
            menu->popup(w.Form.mapToGlobal(QPoint(10, 10)));
            QTRY_VERIFY(menu->isVisible());
            QStringList entries;
            for (QAction* a : menu->actions())
                entries << a->text();
            menu->close();
            QCOMPARE(entries, expected);
            for (int i = 0; i < entries.size(); ++i) {
                QGuiApplication::clipboard()->clear();
                menu->actions().at(i)->trigger();
                QCOMPARE(QGuiApplication::clipboard()->text(), expected[i].section(u'\t', 1));
                QCOMPARE(w.Form.Note()->text(), QStringLiteral("Скопировано"));
            }
            QCOMPARE(w.Form.Panel1->Text(), literal);
        }
    }

    // The preview's tooltip names the colour under edit, and follows a switch
    // of the target.
    void tooltipNamesTheColourUnderEdit()
    {
        TWindow w;
        QVERIFY(w.Ready());
        const auto nameLine = [&w] { return w.Form.Panel1->toolTip().section(u'\n', 1); };
        QCOMPARE(nameLine(), QStringLiteral("Цвет: White"));
        w.Paste(QStringLiteral("#FFD700"));
        QCOMPARE(nameLine(), QStringLiteral("Цвет: Gold"));
        w.Paste(QStringLiteral("#FFD702"));
        QVERIFY2(nameLine().startsWith(QStringLiteral("Ближайший цвет: Gold (ΔE 0,")), qPrintable(nameLine()));
        QTest::mouseClick(w.Form.RBtn1, Qt::LeftButton);
        QCOMPARE(nameLine(), QStringLiteral("Цвет: Black"));
    }

    void enteredColourIsCheckedAndApplied()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.Key(w.Form.SlR, Qt::Key_L);
        TColorEntryDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = w.Form.findChild<TColorEntryDialog*>()) && dialog->isVisible());
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(dialog->Field(), QStringLiteral("teal-ish"));
        QCOMPARE(dialog->InfoLabel()->text(), QStringLiteral("Не удалось распознать цвет: «teal-ish»"));
        QVERIFY(!dialog->Swatch()->isVisible());
        QVERIFY(!ok->isEnabled());
        dialog->Field()->setText(QStringLiteral("#336699"));
        QCOMPARE(dialog->InfoLabel()->text(), QStringLiteral("#336699 — HTML, порядок RRGGBB"));
        QVERIFY(dialog->Swatch()->isVisible());
        QVERIFY(ok->isEnabled());
        QCOMPARE(SliderValues(w.Form), QStringLiteral("255,255,255")); // nothing before OK
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(SliderValues(w.Form), QStringLiteral("51,102,153"));
        QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("$00996633"));
    }

    void noteGoesAtTheNextKeyOrClick_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on the window instead
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("another key") << int(Qt::Key_Home);
        QTest::newRow("click") << 0;
    }
    void noteGoesAtTheNextKeyOrClick()
    {
        QFETCH(int, key);
        TWindow w;
        QVERIFY(w.Ready());
        w.Form.SlR->setFocus();
        w.Paste(QStringLiteral("#12345"));
        QVERIFY(w.Form.Note()->isVisible());
        // The keys that reach the slider, after the note had its look.
        int keysReached = 0;
        TEventCounter counter(QEvent::KeyPress, keysReached);
        w.Form.SlR->installEventFilter(&counter);
        if (key)
            QTest::keyClick(w.Form.SlR, Qt::Key(key));
        else
            QTest::mouseClick(w.Form.RdBtn2, Qt::LeftButton);
        QVERIFY(!w.Form.Note()->isVisible());
        // Escape only dismisses; another key still does its own work, and a
        // click its own.
        QCOMPARE(keysReached, key && key != Qt::Key_Escape ? 1 : 0);
        QCOMPARE(w.Form.SlR->Value(), key == Qt::Key_Home ? 0 : 255);
        QCOMPARE(w.Form.RdBtn2->isChecked(), !key);
    }

    void dialogShowsWhatItRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readAs");
        QTest::addColumn<QRgb>("swatch");
        const struct {
            const char* text;
            const char* readAs;
            QRgb swatch;
        } rows[] = {
            {"$00FF8000", "#0080FF — Delphi, порядок BBGGRR", 0xff0080ff},
            {"0xFF8000", "#0080FF — Visual C++, порядок BBGGRR", 0xff0080ff},
            {"&HFF8000&", "#0080FF — Visual Basic, порядок BBGGRR", 0xff0080ff},
            {"#ff8000", "#FF8000 — HTML, порядок RRGGBB", 0xffff8000},
            {"#f80", "#FF8800 — HTML, краткая запись #RGB", 0xffff8800},
            {"#FF8000ff", "#FF8000 — HTML с непрозрачной альфой, #RRGGBBAA", 0xffff8000},
            {"rgb(255, 128, 0)", "#FF8000 — CSS rgb()", 0xffff8000},
            {"AliceBlue", "#F0F8FF — имя из списка цветов", 0xfff0f8ff},
            {"rebeccapurple", "#663399 — имя цвета CSS", 0xff663399},
            {"<body bgcolor=#102030 text=#FFFFFF>", "фон #102030, текст #FFFFFF — тег HTML-<body>", 0xff102030},
        };
        for (const auto& r : rows)
            QTest::newRow(r.text) << QString::fromUtf8(r.text) << QString::fromUtf8(r.readAs) << r.swatch;
    }
    void dialogShowsWhatItRead()
    {
        QFETCH(QString, text);
        TWindow w;
        QVERIFY(w.Ready());
        w.Form.EnterColor();
        auto* dialog = w.Form.findChild<TColorEntryDialog*>();
        QVERIFY(dialog);
        dialog->Field()->setText(text);
        QTEST(dialog->InfoLabel()->text(), "readAs");
        // A corner inside the swatch's frame shows the colour (the background, for a body tag).
        QTEST(dialog->Swatch()->pixmap().toImage().pixel(2, 2), "swatch");
        dialog->reject();
    }

    void entryDialogOpensAfreshAfterItWasClosed()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.Key(w.Form.SlR, Qt::Key_L);
        QPointer<TColorEntryDialog> first = w.Form.findChild<TColorEntryDialog*>();
        QVERIFY(first);
        first->Field()->setText(QStringLiteral("#123456"));
        first->reject();
        QTRY_VERIFY(!first);
        w.Form.activateWindow();
        QVERIFY(w.Ready());
        w.Key(w.Form.SlR, Qt::Key_L);
        auto* second = w.Form.findChild<TColorEntryDialog*>();
        QVERIFY(second);
        QVERIFY(second->isVisible());
        QCOMPARE(second->Field()->text(), QString());
        second->reject();
    }

    void pickingWithoutAWayToReadTheScreen()
    {
        // The offscreen platform, and no session bus: nothing can read the screen.
        TWindow w;
        QVERIFY(w.Ready());
        w.Key(w.Form.SlR, Qt::Key_P);
        QVERIFY(w.Messages.isEmpty());
        QCOMPARE(w.Form.Note()->text(), QStringLiteral("Взять цвет с экрана здесь нельзя"));
        QCOMPARE(SliderValues(w.Form), QStringLiteral("255,255,255"));
        QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("$00FFFFFF"));
    }
};

int main(int argc, char** argv)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    // Not a Wayland session, whatever session the tests run in: the message has no reason then.
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    TApplication app(argc, argv);
    TestColourInOut test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_colourinout.moc"
