// What every control shares: hints, anchors, size limits, the parent's
// font, popup menus named in a stored layout, and the handlers a layout
// binds falling silent while their window is destroyed.
#include "framework/controls.h"
#include "framework/formreader.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QToolTip>
#include <QtTest>

namespace {

// A parent panel with a child panel, shown.
struct TPanels {
    QWidget Window;
    TPanel* Parent = new TPanel;
    TPanel* Child = new TPanel;

    TPanels()
    {
        Parent->setParent(&Window);
        Child->setParent(Parent);
        Parent->setGeometry(0, 0, 200, 100);
        Child->setGeometry(20, 10, 50, 30);
        Window.resize(300, 200);
        Window.show();
        QApplication::setActiveWindow(&Window);
        if (!QTest::qWaitForWindowExposed(&Window))
            qWarning("window not exposed");
    }
};

QString ToolTipFor(QWidget* w)
{
    QToolTip::hideText();
    QHelpEvent request(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &request);
    return QToolTip::text();
}

const QString MenuLayout =
    QStringLiteral("object P: TPanel\n"
                   "  object Box: TTestBox\n"
                   "    Width = 80\n    Height = 40\n"
                   "    PopupMenu = Menu\n"
                   "    OnContextPopup = BoxContextPopup\n"
                   "  end\n"
                   "  object Menu: TPopupMenu\n"
                   "    object Copy: TMenuItem\n"
                   "      Caption = 'Copy'\n      ShortCut = 16451\n      OnClick = CopyClick\n"
                   "    end\n"
                   "    object Hidden: TMenuItem\n      Caption = 'Hidden'\n      Visible = False\n"
                   "    end\n"
                   "  end\n"
                   "end\n");

// A window of two buttons whose focus handlers, bound by its layout, record
// into Log. Its own clean-up may move the focus from A to B.
class TTeardownForm : public TForm {
public:
    TTeardownForm(QStringList& log, bool moveFocus) : moveFocus_(moveFocus)
    {
        const auto record = [&log](const char* what) {
            return std::any(TNotifyEvent([&log, what](QObject* sender) {
                log << sender->objectName() + QLatin1Char(' ') + QLatin1String(what);
            }));
        };
        ReadLayout(QStringLiteral("object F: TTeardownForm\n"
                                  "  Width = 200\n  Height = 100\n"
                                  "  object A: TButton\n    OnEnter = Entered\n    OnExit = Left\n  end\n"
                                  "  object B: TButton\n    Top = 40\n    OnEnter = Entered\n    OnExit = Left\n  end\n"
                                  "end\n"),
                   {{QStringLiteral("Entered"), record("enter")}, {QStringLiteral("Left"), record("exit")}});
    }
    ~TTeardownForm() override
    {
        IncludeState(csDestroying);
        if (moveFocus_)
            findChild<QWidget*>(QStringLiteral("B"))->setFocus(Qt::TabFocusReason);
    }

private:
    bool moveFocus_;
};

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        RegisterStandardClasses();
        RegisterMenuClasses();
        TClassBuilder<TPanel> b(QStringLiteral("TTestBox"));
        PublishControl(b, {cpPlacement, cpPopupMenu, cpOnContextPopup}).Register();
        TClassBuilder<TForm> form(QStringLiteral("TTeardownForm"));
        AddFormProperties(form);
        form.Info().Create = nullptr;
        form.Register();
    }

    void hints_data()
    {
        QTest::addColumn<bool>("parentShowHint");
        QTest::addColumn<bool>("showHint"); // the child's own, or the parent's with parentShowHint
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shown");
        QTest::newRow("own, on") << false << true << "Tip" << QStringLiteral("Tip");
        QTest::newRow("own, off") << false << false << "Tip" << QStringLiteral("");
        QTest::newRow("parent's, on") << true << true << "Tip" << QStringLiteral("Tip");
        QTest::newRow("parent's, off") << true << false << "Tip" << QStringLiteral("");
        QTest::newRow("short part only") << false << true << "Short|Long text" << QStringLiteral("Short");
        QTest::newRow("none: the parent's hint") << false << true << "" << QStringLiteral("Parent");
    }
    void hints()
    {
        QFETCH(bool, parentShowHint);
        QFETCH(bool, showHint);
        QFETCH(QString, hint);
        TPanels w;
        w.Parent->SetHint(QStringLiteral("Parent"));
        w.Parent->SetShowHint(true);
        w.Child->SetHint(hint);
        if (parentShowHint)
            w.Parent->SetShowHint(showHint);
        else
            w.Child->SetShowHint(showHint);
        QCOMPARE(w.Child->ParentShowHint(), parentShowHint);
        QTEST(ToolTipFor(w.Child), "shown");
    }

    void anchorsKeepEdges_data()
    {
        QTest::addColumn<unsigned>("anchors");
        QTest::addColumn<QRect>("expected"); // after the parent grows from 200 x 100 to 260 x 140
        QTest::newRow("left, top") << unsigned(akLeft | akTop) << QRect(20, 10, 50, 30);
        QTest::newRow("right, bottom") << unsigned(akRight | akBottom) << QRect(80, 50, 50, 30);
        QTest::newRow("all four") << unsigned(akLeft | akTop | akRight | akBottom) << QRect(20, 10, 110, 70);
        QTest::newRow("none: centre kept in proportion") << 0u << QRect(34, 20, 50, 30);
    }
    void anchorsKeepEdges()
    {
        QFETCH(unsigned, anchors);
        TPanels w;
        w.Child->SetAnchors(anchors);
        w.Parent->resize(230, 120);
        w.Parent->resize(260, 140);
        QTEST(w.Child->geometry(), "expected");
    }

    void constraintsLimitSize_data()
    {
        QTest::addColumn<int>("minWidth");
        QTest::addColumn<int>("maxWidth"); // set after the minimum
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("minAfter");
        QTest::newRow("inside") << 40 << 100 << 70 << 70 << 40;
        QTest::newRow("below") << 40 << 100 << 10 << 40 << 40;
        QTest::newRow("above") << 40 << 100 << 500 << 100 << 40;
        QTest::newRow("maximum under the minimum") << 80 << 50 << 70 << 50 << 50;
        QTest::newRow("no limits") << 0 << 0 << 500 << 500 << 0;
    }
    void constraintsLimitSize()
    {
        QFETCH(int, minWidth);
        QFETCH(int, maxWidth);
        QFETCH(int, width);
        QFETCH(int, expected);
        TPanels w;
        w.Child->SetMinWidth(minWidth);
        w.Child->SetMaxWidth(maxWidth);
        w.Child->SetMinHeight(25);
        w.Child->resize(width, 5);
        QCOMPARE(w.Child->size(), QSize(expected, 25));
        QTEST(w.Child->Constraints().MinWidth, "minAfter");
    }

    void parentFont()
    {
        TPanels w;
        w.Parent->SetFontHeight(-15);
        QVERIFY(w.Child->ParentFont());
        QCOMPARE(w.Child->FontHeight(), -15);
        w.Child->SetFontHeight(-9);
        QVERIFY(!w.Child->ParentFont());
        w.Parent->SetFontHeight(-17);
        QCOMPARE(w.Child->FontHeight(), -9);
        w.Child->SetParentFont(true);
        QCOMPARE(w.Child->FontHeight(), -17);
        w.Parent->SetFontHeight(-12);
        QCOMPARE(w.Child->FontHeight(), -12);
    }

    void popupMenuAfterContextPopup()
    {
        QList<TPoint> requests;
        bool handle = false;
        int copies = 0;
        const THandlerTable handlers = {
            {QStringLiteral("BoxContextPopup"), TContextPopupEvent([&](QObject*, TPoint pos, bool& handled) {
                 requests << pos;
                 handled = handle;
             })},
            {QStringLiteral("CopyClick"), TNotifyEvent([&](QObject*) { ++copies; })},
        };
        std::unique_ptr<QWidget> root = TFormReader::ReadComponent(MenuLayout, handlers);
        auto* box = root->findChild<TPanel*>(QStringLiteral("Box"));
        auto* menu = root->findChild<TPopupMenu*>(QStringLiteral("Menu"));
        QVERIFY(box && menu);
        QCOMPARE(box->PopupMenu(), menu);
        root->show();
        QApplication::setActiveWindow(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(root.get()));
        QVERIFY(!menu->isVisible() && !menu->Items().first()->isVisible()); // components have no look of their own

        const auto request = [&](QContextMenuEvent::Reason reason) {
            QContextMenuEvent e(reason, QPoint(7, 9), box->mapToGlobal(QPoint(7, 9)));
            QApplication::sendEvent(box, &e);
        };
        handle = true;
        request(QContextMenuEvent::Mouse);
        QVERIFY(!menu->Menu()->isVisible());
        handle = false;
        request(QContextMenuEvent::Keyboard);
        QTRY_VERIFY(menu->Menu()->isVisible());
        QCOMPARE(requests, (QList<TPoint>{{7, 9}, {-1, -1}}));
        QCOMPARE(menu->PopupComponent(), box);
        const QList<QAction*> actions = menu->Menu()->actions();
        QCOMPARE(actions.size(), 2);
        QVERIFY(actions[0]->isVisible() && !actions[1]->isVisible());
        actions[0]->trigger();
        QCOMPARE(copies, 1);
        menu->Menu()->close();

        // The item's shortcut works while the focus is in the control.
        box->setFocusPolicy(Qt::StrongFocus);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(copies, 2);
    }

    void badReferences_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown") << "Nope" << QStringLiteral("Unknown component 'Nope'");
        QTest::newRow("not a menu") << "P" << QStringLiteral("'P' cannot be the PopupMenu");
        QTest::newRow("not a name") << "'Menu'" << QStringLiteral("Component name expected for PopupMenu");
    }
    void badReferences()
    {
        QFETCH(QString, reference);
        QFETCH(QString, message);
        QString text = MenuLayout;
        text.replace(QStringLiteral("PopupMenu = Menu"), QStringLiteral("PopupMenu = ") + reference);
        text.remove(QStringLiteral("    OnContextPopup = BoxContextPopup\n"));
        text.remove(QStringLiteral("OnClick = CopyClick\n"));
        try {
            TFormReader::ReadComponent(text);
            QFAIL("the description was accepted");
        } catch (const EFormError& e) {
            QVERIFY2(e.Message().contains(message), qPrintable(e.Message()));
        }
    }

    void shortCuts_data()
    {
        QTest::addColumn<int>("shortCut");
        QTest::addColumn<QString>("keys");
        QTest::newRow("Ctrl+C") << 0x4043 << "Ctrl+C";
        QTest::newRow("F1") << 0x70 << "F1";
        QTest::newRow("Shift+Del") << 0x202E << "Shift+Del";
        QTest::newRow("Alt+Ctrl+5") << 0xC035 << "Ctrl+Alt+5";
        QTest::newRow("none") << 0 << "";
        QTest::newRow("unknown key") << 0xC0 << "";
    }
    void shortCuts()
    {
        QFETCH(int, shortCut);
        QTEST(ShortCutToKeySequence(shortCut).toString(QKeySequence::PortableText), "keys");
    }

    void noHandlerRunsWhileTheWindowIsDestroyed_data()
    {
        QTest::addColumn<bool>("moveFocus");
        QTest::newRow("focus leaves as the window goes") << false;
        QTest::newRow("clean-up moves the focus") << true;
    }
    void noHandlerRunsWhileTheWindowIsDestroyed()
    {
        QFETCH(bool, moveFocus);
        QStringList log;
        auto* form = new TTeardownForm(log, moveFocus);
        form->show();
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        // The handlers are bound: a move from B to A raises both.
        form->findChild<QWidget*>(QStringLiteral("B"))->setFocus(Qt::TabFocusReason);
        log.clear();
        QWidget* a = form->findChild<QWidget*>(QStringLiteral("A"));
        a->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(log, (QStringList{QStringLiteral("B exit"), QStringLiteral("A enter")}));
        log.clear();
        delete form;
        QCOMPARE(log, QStringList());
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestControls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_controls.moc"
