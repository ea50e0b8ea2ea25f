// The main window as the user meets it: built from its layout, driven
// through its real controls on the offscreen platform.
#include "app/desktopidentity.h"
#include "app/form1.h"
#include "framework/application.h"
#include "framework/formtext.h"
#include "framework/stdctrls.h"
#include "tests/app/formprobe.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/slider/imageslider.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

#include <memory>

namespace {

// Drags a slider's thumb with the mouse until it shows the value.
void DragTo(TImageSlider* s, int value)
{
    const TRect thumb = s->ThumbRect();
    const QPoint grip((thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2);
    const QPoint target = grip + QPoint(s->ValueToPos(value) - thumb.Left, 0);
    QTest::mousePress(s, Qt::LeftButton, {}, grip);
    QTest::mouseMove(s, target);
    QTest::mouseRelease(s, Qt::LeftButton, {}, target);
}

void Click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

QString Preview(const TForm1& f)
{
    return f.Panel1->Text();
}

// The names of the widgets the focus reaches, one press of the key each.
QStringList FocusSteps(Qt::KeyboardModifiers modifiers, qsizetype presses)
{
    QStringList reached;
    for (qsizetype i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        reached << QApplication::focusWidget()->objectName();
    }
    return reached;
}

// The number labels' texts as "r,g,b".
QString Labels(const TForm1& f)
{
    return f.TxtR->Caption() + QLatin1Char(',') + f.TxtG->Caption() + QLatin1Char(',') + f.TxtB->Caption();
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void windowIsFixedSilverDialog()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QStringLiteral("Huebox v1.0"));
        QCOMPARE(form.size(), QSize(557, 223));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        // Between the preview box and the colour combo box the window shows.
        QCOMPARE(form.grab().toImage().pixelColor(449, 30), QColor(192, 192, 192));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!form.windowIcon().isNull());
    }

    void controlsSitWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("page control") << "PageControl1" << QRect(0, 46, 445, 177);
        QTest::newRow("text") << "RBtn1" << QRect(452, 32, 55, 17);
        QTest::newRow("background") << "RBtn2" << QRect(510, 32, 47, 17);
        QTest::newRow("copy") << "BtnCopy" << QRect(452, 192, 100, 28);
        QTest::newRow("combo") << "ClrCmbBox" << QRect(454, 4, 100, 22);
        QTest::newRow("group") << "GroupBox1" << QRect(452, 56, 101, 129);
        QTest::newRow("preview") << "Panel1" << QRect(2, 4, 443, 39);
        QTest::newRow("Delphi") << "RdBtn1" << QRect(4, 15, 92, 17);
        QTest::newRow("Visual Basic") << "RdBtn5" << QRect(4, 59, 92, 17);
        QTest::newRow("HTML body") << "RdBtn4" << QRect(4, 103, 92, 17);
        QTest::newRow("red label") << "TxtR" << QRect(-2, 18, 30, 19);
        QTest::newRow("red") << "SlR" << QRect(32, 12, 396, 32);
        QTest::newRow("blue") << "SlB" << QRect(32, 100, 396, 32);
        QTest::newRow("about") << "Panel2" << QRect(78, 0, 273, 149);
        QTest::newRow("icon") << "ProgramIcon" << QRect(6, 8, 37, 37);
    }
    void controlsSitWhereTheLayoutPutsThem()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        TForm1 form;
        QWidget* w = form.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), geometry);
    }

    void startUpState()
    {
        TForm1 form;
        QCOMPARE(SliderValues(form), QStringLiteral("255,255,255"));
        QCOMPARE(Labels(form), QStringLiteral("255,255,255"));
        QCOMPARE(Preview(form), QStringLiteral("$00FFFFFF"));
        QVERIFY(form.RBtn2->isChecked() && !form.RBtn1->isChecked());
        QVERIFY(form.RdBtn1->isChecked());
        QCOMPARE(form.PageControl1->ActivePageName(), QStringLiteral("TabSheet1"));
        for (TImageSlider* s : {form.SlR, form.SlG, form.SlB}) {
            QCOMPARE(s->MinValue(), 0);
            QCOMPARE(s->MaxValue(), 255);
            QCOMPARE(s->Increment(), 1);
            QCOMPARE(s->EdgeSize(), 1);
            QCOMPARE(s->BevelStyle(), bvLowered);
            QVERIFY(!s->ParentColor());
            QVERIFY(s->Options() == (TSliderOptions{TSliderOption::soShowFocus, TSliderOption::soShowPoints}));
        }
        QCOMPARE(form.SlR->Color(), clRed);
        QCOMPARE(form.SlG->Color(), clLime);
        QCOMPARE(form.SlB->Color(), clBlue);
        QCOMPARE(form.Panel1->FontName(), QStringLiteral("Times New Roman Cyr"));
        QCOMPARE(form.Panel1->FontHeight(), -16);
        QVERIFY(form.Panel1->FontStyle() & fsBold);
        QVERIFY(form.Panel1->ReadOnly());
        QCOMPARE(form.TxtG->FontColor(), clGreen);
        QCOMPARE(form.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(), QStringLiteral("GroupBox1"));
        QCOMPARE(form.ClrCmbBox->ColorValue(), clWhite);
        const TColorState& state = form.ColorState();
        QCOMPARE(state.TextColor, (RgbTriple{0, 0, 0}));
        QCOMPARE(state.BackColor, (RgbTriple{255, 255, 255}));
        QCOMPARE(state.TextHtml, QStringLiteral("#000000"));
        QCOMPARE(state.BackHtml, QStringLiteral("#FFFFFF"));
        // The colour list is made when it is first opened, not at start.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.ClrCmbBox->findChildren<QAbstractItemView*>().isEmpty());
    }

    void loadingRaisesNoHandler()
    {
        // Had any slider or button handler run while the layout was read, the
        // preview would carry a colour of its own instead of the system ones.
        TForm1 form;
        QCOMPARE(form.Panel1->Color(), clWindow);
        QCOMPARE(form.Panel1->FontColor(), clWindowText);
    }

    void draggingRedTo128()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        DragTo(form.SlR, 128);
        QCOMPARE(form.SlR->Value(), 128);
        QCOMPARE(form.TxtR->Caption(), QStringLiteral("128"));
        QCOMPARE(form.SlR->Color(), RGB(128, 0, 0));
        QCOMPARE(Preview(form), QStringLiteral("$00FFFF80"));
        QCOMPARE(form.Panel1->Color(), RGB(128, 255, 255));
        QCOMPARE(form.ColorState().BackHtml, QStringLiteral("#80FFFF"));
    }

    void copyPutsTheLiteralOnTheClipboard()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
        Click(form.BtnCopy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("$00FFFFFF"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->formats(), QStringList{QStringLiteral("text/plain")});
        // Nothing stays selected and nothing else changed.
        QCOMPARE(form.Panel1->SelText(), QString());
        QCOMPARE(Preview(form), QStringLiteral("$00FFFFFF"));
        QCOMPARE(form.ColorState().BackHtml, QStringLiteral("#FFFFFF"));
    }

    void tabGoesFromBlueUpToRed()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.PageControl1->setFocus();
        QStringList reached;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(reached, (QStringList{QStringLiteral("SlB"), QStringLiteral("SlG"), QStringLiteral("SlR")}));
    }

    void tabCyclesThroughTheWindow_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("cycle"); // from the tabs round to the tabs
        QTest::newRow("palette") << "TabSheet1" << QStringLiteral("")
                                 << "SlB SlG SlR RBtn2 BtnCopy ClrCmbBox RdBtn1 Panel1 qt_tabwidget_tabbar";
        QTest::newRow("palette, text and HTML checked")
            << "TabSheet1" << QStringLiteral("RBtn1 RdBtn3")
            << "SlB SlG SlR RBtn1 BtnCopy ClrCmbBox RdBtn3 Panel1 qt_tabwidget_tabbar";
        QTest::newRow("colour constants") << "TabSheet2" << QStringLiteral("RdBtn5")
                                          << "ListV RBtn2 BtnCopy ClrCmbBox RdBtn5 Panel1 qt_tabwidget_tabbar";
        QTest::newRow("about") << "TabSheet3" << QStringLiteral("")
                               << "RBtn2 BtnCopy ClrCmbBox RdBtn1 Panel1 qt_tabwidget_tabbar";
    }
    // Tab enters each radio group at its checked button and leaves it with the
    // next press; Shift+Tab takes the same stops backwards.
    void tabCyclesThroughTheWindow()
    {
        QFETCH(QString, page);
        QFETCH(QString, checked);
        QFETCH(QString, cycle);
        TForm1 form;
        form.PageControl1->SetActivePageName(page);
        for (const QString& name : checked.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            form.findChild<TRadioButton*>(name)->setChecked(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.PageControl1->setFocus();
        const QStringList stops = cycle.split(QLatin1Char(' '));
        QCOMPARE(FocusSteps(Qt::NoModifier, stops.size()), stops);
        QStringList back(stops.crbegin() + 1, stops.crend());
        back << stops.last();
        QCOMPARE(FocusSteps(Qt::ShiftModifier, stops.size()), back);
    }

    void arrowsMoveAndCheckWithinAGroup_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("literal");
        QTest::newRow("background, Down: round")
            << "RBtn2" << int(Qt::Key_Down) << "RBtn1" << QStringLiteral("$00000000");
        QTest::newRow("text, Right") << "RBtn1" << int(Qt::Key_Right) << "RBtn2" << QStringLiteral("$00FFFFFF");
        QTest::newRow("Visual C++, Down: tab order")
            << "RdBtn2" << int(Qt::Key_Down) << "RdBtn3" << QStringLiteral("#FFFFFF");
        QTest::newRow("HTML body, Right")
            << "RdBtn4" << int(Qt::Key_Right) << "RdBtn5" << QStringLiteral("&H00FFFFFF&");
        QTest::newRow("Visual Basic, Down: round")
            << "RdBtn5" << int(Qt::Key_Down) << "RdBtn1" << QStringLiteral("$00FFFFFF");
        QTest::newRow("Delphi, Up: round") << "RdBtn1" << int(Qt::Key_Up) << "RdBtn5" << QStringLiteral("&H00FFFFFF&");
    }
    void arrowsMoveAndCheckWithinAGroup()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* start = form.findChild<TRadioButton*>(from);
        start->setChecked(true);
        start->setFocus();
        QTest::keyClick(start, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
        QVERIFY(form.findChild<TRadioButton*>(to)->isChecked());
        QTEST(Preview(form), "literal");
    }

    void pagesShowTheWindowColour_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("palette, between the sliders") << "TabSheet1" << QStringLiteral("TabSheet1") << QPoint(200, 50);
        QTest::newRow("about, beside the panel") << "TabSheet3" << QStringLiteral("TabSheet3") << QPoint(30, 70);
        QTest::newRow("about panel, right of the texts") << "TabSheet3" << QStringLiteral("Panel2") << QPoint(268, 60);
    }
    void pagesShowTheWindowColour()
    {
        QFETCH(QString, page);
        QFETCH(QString, widget);
        QFETCH(QPoint, at);
        TForm1 form;
        form.PageControl1->SetActivePageName(page);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QWidget* w = form.findChild<QWidget*>(widget);
        QVERIFY(w);
        QCOMPARE(form.grab().toImage().pixelColor(w->mapTo(&form, at)), QColor(192, 192, 192));
    }

    void formatsOfOneColour_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("literal");
        QTest::newRow("Delphi") << "RdBtn1" << QStringLiteral("$00030201");
        QTest::newRow("Visual C++") << "RdBtn2" << QStringLiteral("0x00030201");
        // The Visual Basic hexadecimal literal, "&H" and a closing "&" for Long.
        QTest::newRow("Visual Basic") << "RdBtn5" << QStringLiteral("&H00030201&");
        QTest::newRow("HTML") << "RdBtn3" << QStringLiteral("#010203");
        QTest::newRow("HTML body") << "RdBtn4" << QStringLiteral("<BODY BGCOLOR=\"#010203\" TEXT=\"#000000\">");
    }
    void formatsOfOneColour()
    {
        QFETCH(QString, button);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (button != QLatin1String("RdBtn1"))
            Click(form.findChild<TRadioButton*>(button));
        form.SlR->SetValue(1);
        form.SlG->SetValue(2);
        form.SlB->SetValue(3);
        QTEST(Preview(form), "literal");
        QCOMPARE(Labels(form), QStringLiteral("1,2,3"));
        QCOMPARE(form.SlG->Color(), RGB(0, 2, 0));
        QCOMPARE(form.Panel1->Color(), RGB(1, 2, 3));
    }

    void visualCppAtStartColoursOnlyTheBackground()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Click(form.RdBtn2);
        QCOMPARE(Preview(form), QStringLiteral("0x00FFFFFF"));
        QCOMPARE(form.Panel1->Color(), RGB(255, 255, 255));
        QCOMPARE(form.Panel1->FontColor(), clWindowText);

        // Black through the keys: the literal of zero in two formats.
        for (TImageSlider* s : {form.SlR, form.SlG, form.SlB}) {
            s->setFocus();
            QTest::keyClick(s, Qt::Key_Home);
        }
        QCOMPARE(Preview(form), QStringLiteral("0x00000000"));
        Click(form.RdBtn3);
        QCOMPARE(Preview(form), QStringLiteral("#000000"));
        Click(form.RdBtn1);
        QCOMPARE(Preview(form), QStringLiteral("$00000000"));
        QCOMPARE(Labels(form), QStringLiteral("0,0,0"));
    }

    void switchingToTextLoadsTheTextColour()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Click(form.RBtn1);
        QVERIFY(form.RBtn1->isChecked() && !form.RBtn2->isChecked());
        QCOMPARE(SliderValues(form), QStringLiteral("0,0,0"));
        QCOMPARE(Labels(form), QStringLiteral("0,0,0"));
        QCOMPARE(form.SlB->Color(), RGB(0, 0, 0));
        QCOMPARE(form.ColorState().BackColor, (RgbTriple{255, 255, 255}));
        QCOMPARE(form.ColorState().BackHtml, QStringLiteral("#FFFFFF"));
        QCOMPARE(form.Panel1->FontColor(), RGB(0, 0, 0));
        QCOMPARE(Preview(form), QStringLiteral("$00000000"));

        // And back: the background comes back, the text colour is kept.
        DragTo(form.SlG, 100);
        Click(form.RBtn2);
        QCOMPARE(SliderValues(form), QStringLiteral("255,255,255"));
        QCOMPARE(form.ColorState().TextColor, (RgbTriple{0, 100, 0}));
        QCOMPARE(form.Panel1->FontColor(), RGB(0, 100, 0));
        QCOMPARE(Preview(form), QStringLiteral("$00FFFFFF"));
    }

    void bodyTagChangesOnlyThePartUnderEdit()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Click(form.RdBtn4);
        QCOMPARE(Preview(form), QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">"));
        form.SlB->SetValue(0);
        QCOMPARE(Preview(form), QStringLiteral("<BODY BGCOLOR=\"#FFFF00\" TEXT=\"#000000\">"));
        Click(form.RBtn1);
        form.SlR->SetValue(0x12);
        QCOMPARE(Preview(form), QStringLiteral("<BODY BGCOLOR=\"#FFFF00\" TEXT=\"#120000\">"));
    }

    void equalColoursSwitchWithoutChange()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (TImageSlider* s : {form.SlR, form.SlG, form.SlB})
            s->SetValue(0);
        const QString before = Preview(form);
        QStringList changes;
        RecordSliderChanges(form, changes);
        Click(form.RBtn1);
        QVERIFY(changes.isEmpty());
        QCOMPARE(Preview(form), before);
        QCOMPARE(SliderValues(form), QStringLiteral("0,0,0"));
    }

    void checkedFormatClickedAgainRecomputesNothing()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Panel1->SetText(QStringLiteral("marker"));
        Click(form.RdBtn1);
        QCOMPARE(Preview(form), QStringLiteral("marker"));
        Click(form.RBtn2);
        QCOMPARE(Preview(form), QStringLiteral("marker"));
    }

    void aboutPage()
    {
        TForm1 form;
        QCOMPARE(form.findChild<TLabel*>(QStringLiteral("ProductName"))->Caption(), QStringLiteral("Huebox"));
        QCOMPARE(form.findChild<TLabel*>(QStringLiteral("Version"))->Caption(),
                 QStringLiteral("Версия 1.1 от 17.01.2001 г."));
        // Labels without a stored size take the size of their text, at the
        // latest when their page is shown.
        form.PageControl1->SetActivePageName(QStringLiteral("TabSheet3"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (const char* name : {"ProductName", "Version", "Author"}) {
            const TLabel* l = form.findChild<TLabel*>(QLatin1String(name));
            QVERIFY2(l, name);
            QCOMPARE(l->size(), l->sizeHint());
            QVERIFY(l->geometry().right() < l->parentWidget()->width());
        }
        QVERIFY(form.Comments->Caption().endsWith(QStringLiteral("\n<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">.")));
        QVERIFY(form.Comments->wordWrap());
        const QStringList links = {QStringLiteral(" https://huebox.example.org"),
                                   QStringLiteral(" huebox@example.org")};
        const QStringList names = {QStringLiteral("address"), QStringLiteral("email")};
        for (int i = 0; i < 2; ++i) {
            TLabel* l = form.findChild<TLabel*>(names[i]);
            QVERIFY(l);
            QCOMPARE(l->Caption(), links[i]);
            QCOMPARE(l->Cursor(), crHandPoint);
            QCOMPARE(l->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(l->FontStyle() & fsUnderline);
        }
        // The links sit at the bottom of the panel, in this order.
        TLabel* address = form.findChild<TLabel*>(QStringLiteral("address"));
        TLabel* email = form.findChild<TLabel*>(QStringLiteral("email"));
        QCOMPARE(email->geometry().bottom(), email->parentWidget()->contentsRect().bottom());
        QCOMPARE(address->geometry().bottom() + 1, email->geometry().top());

        // Clicking a link does nothing at all.
        form.PageControl1->SetActivePageName(QStringLiteral("TabSheet3"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(email, Qt::LeftButton);
        QCOMPARE(form.PageControl1->ActivePageName(), QStringLiteral("TabSheet3"));
        QCOMPARE(Preview(form), QStringLiteral("$00FFFFFF"));
    }

    void brokenLayoutFailsWithItsLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("start");
        QString layout = TForm1::LayoutText();
        // A slider value that is not a number, on the red slider's "Value" line.
        const int at = layout.indexOf(QStringLiteral("Value = 255"));
        const int line = layout.left(at).count(QLatin1Char('\n')) + 1;
        QString bad = layout;
        bad.replace(at, 11, QStringLiteral("Value = 'x'"));
        QTest::newRow("bad value") << bad << QStringLiteral("Line %1:").arg(line);
        QTest::newRow("cut short") << layout.left(layout.indexOf(QStringLiteral("object GroupBox1")))
                                   << QStringLiteral("Line ");
        QTest::newRow("unknown handler") << QString(layout).replace(QStringLiteral("OnClick = BtnCopyClick"),
                                                                    QStringLiteral("OnClick = BtnPasteClick"))
                                         << QStringLiteral("Line ");
    }
    void brokenLayoutFailsWithItsLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, start);
        QString message;
        try {
            TForm1 form(text);
        } catch (const EFormError& e) {
            message = e.Message();
        }
        QVERIFY2(message.startsWith(start), qPrintable(message));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void handlerExceptionGoesToTheMessageBox()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList shown;
        const TApplication::ErrorReporter previous =
            TApplication::SetErrorReporter([&shown](const QString& m) { shown << m; });
        const TNotifyEvent original = form.SlR->OnChange;
        form.SlR->OnChange = [](QObject*) { throw Exception(QStringLiteral("Red refused")); };
        form.SlR->setFocus();
        QTest::keyClick(form.SlR, Qt::Key_Left);
        QCOMPARE(shown, QStringList{QStringLiteral("Red refused")});

        // The program goes on: the other controls still work.
        form.SlR->OnChange = original;
        QTest::keyClick(form.SlR, Qt::Key_Left);
        QCOMPARE(form.TxtR->Caption(), QStringLiteral("253"));
        QCOMPARE(Preview(form), QStringLiteral("$00FFFFFD"));
        TApplication::SetErrorReporter(previous);
    }

    void previewTooltipFollowsTheContrast()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Panel1->toolTip().section(u'\n', 0, 0), QStringLiteral("Контраст 21,00:1 — AA, AAA"));
        for (TImageSlider* s : {form.SlR, form.SlG, form.SlB})
            s->SetValue(0x77);
        QCOMPARE(form.Panel1->toolTip().section(u'\n', 0, 0), QStringLiteral("Контраст 4,69:1 — AA"));
        Click(form.RBtn1);
        for (TImageSlider* s : {form.SlR, form.SlG, form.SlB})
            s->SetValue(255);
        QCOMPARE(form.Panel1->toolTip().section(u'\n', 0, 0), QStringLiteral("Контраст 4,48:1 — ниже AA"));
        // A named colour sets the preview colour even when no slider moves.
        form.SlR->SetValue(240);
        form.SlG->SetValue(248);
        form.Panel1->SetFontColor(clWhite);
        form.ListV->SetItemIndex(0); // AliceBlue, 240 248 255
        QTest::keyClick(form.ListV, Qt::Key_Shift);
        QCOMPARE(form.Panel1->FontColor(), RGB(240, 248, 255));
        QCOMPARE(form.Panel1->toolTip().section(u'\n', 0, 0), QStringLiteral("Контраст 4,17:1 — ниже AA"));
        // Nothing else carries a tooltip.
        for (QWidget* w : form.findChildren<QWidget*>())
            if (w != form.Panel1)
                QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
    }

    // Last: the translation stays installed for the rest of the run.
    void desktopNamesAndQtTextsInRussian()
    {
        SetDesktopIdentity();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.example.huebox"));
        QVERIFY(!InstallQtTranslation(QStringLiteral("/nonexistent")));
        QVERIFY(InstallQtTranslation());
        TForm1 form;
        const std::unique_ptr<QMenu> menu(form.Panel1->createStandardContextMenu());
        QStringList texts;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible())
                texts << a->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
        QCOMPARE(texts, (QStringList{QStringLiteral("&Копировать"), QStringLiteral("Выделить всё")}));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestForm1 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1.moc"
