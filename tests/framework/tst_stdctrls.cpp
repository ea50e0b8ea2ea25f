#include "framework/forms.h"
#include "framework/stdctrls.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(QMargins)

namespace {

class TTestForm : public TForm {
public:
    TTestForm() { SetClassName(this, QStringLiteral("TTestForm")); }
};

const QString Layout = QStringLiteral(
    "object F: TTestForm\n"
    "  BorderIcons = [biSystemMenu]\n"
    "  BorderStyle = bsDialog\n"
    "  Caption = 'Окно'\n"
    "  ClientHeight = 120\n"
    "  ClientWidth = 200\n"
    "  Color = clSilver\n"
    "  object Pages: TPageControl\n"
    "    Left = 0\n    Top = 0\n    Width = 200\n    Height = 100\n"
    "    TabOrder = 1\n"
    "    ActivePage = Second\n"
    "    object First: TTabSheet\n"
    "      Caption = 'Один'\n"
    "      object C: TButton\n        Left = 10\n        TabOrder = 2\n        Caption = 'c'\n      end\n"
    "      object A: TButton\n        Left = 20\n        TabOrder = 0\n        Caption = 'a'\n      end\n"
    "      object B: TButton\n        Left = 30\n        TabOrder = 1\n        Caption = 'b'\n      end\n"
    "    end\n"
    "    object Second: TTabSheet\n"
    "      Caption = 'Два'\n"
    "      object P: TPanel\n        Left = 0\n        Top = 0\n        Width = 100\n        Height = 60\n"
    "        BevelInner = bvRaised\n        BevelOuter = bvLowered\n"
    "        object Top1: TLabel\n          Top = 5\n          Height = 10\n          Align = alBottom\n          "
    "AutoSize = False\n        end\n"
    "        object Bottom1: TLabel\n          Top = 40\n          Height = 13\n          Align = alBottom\n          "
    "AutoSize = False\n        end\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "  object R1: TRadioButton\n    Left = 0\n    Top = 100\n    TabOrder = 0\n    Caption = 'x'\n    Checked = True\n "
    "   OnClick = R1Click\n  end\n"
    "  object R2: TRadioButton\n    Left = 50\n    Top = 100\n    Caption = 'y'\n    OnClick = R2Click\n  end\n"
    "  object M: TMemo\n    Left = 100\n    Top = 100\n    Width = 100\n    Height = 20\n    Alignment = taCenter\n"
    "    Lines.Strings = (\n      '$00FFFFFF')\n    ReadOnly = True\n    TabOrder = 2\n  end\n"
    "end\n");

} // namespace

class TestStdCtrls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layoutBuildsTheWindow();
    void radioClickRunsOnlyWhenBecomingChecked();
    void nestedRadioGroupsStayApart_data();
    void nestedRadioGroupsStayApart();
    void autoSizedLabelFollowsTextAndFont();
    void tabOrderFollowsTabOrderProperty();
    void bottomAlignedControlsStackUpFromTheBevel();
    void panelPaintsBothBevels();
    void memoSelectsAndCopiesItsText();
    void memoTextReachesTheDocumentOnce();
    void memoCopiesPlainTextAlone_data();
    void memoCopiesPlainTextAlone();
    void centeredWindowPosition_data();
    void centeredWindowPosition();
    void brokenLayoutLeavesNoControls();
};

void TestStdCtrls::initTestCase()
{
    RegisterStandardClasses();
    TClassBuilder<TTestForm> b(QStringLiteral("TTestForm"));
    AddFormProperties(b).Register();
}

void TestStdCtrls::layoutBuildsTheWindow()
{
    QStringList clicks;
    TTestForm form;
    form.ReadLayout(Layout, {{QStringLiteral("R1Click"), TNotifyEvent([&](QObject*) { clicks << "r1"; })},
                             {QStringLiteral("R2Click"), TNotifyEvent([&](QObject*) { clicks << "r2"; })}});
    QVERIFY2(clicks.isEmpty(), "loading raised a handler");
    QCOMPARE(form.windowTitle(), QStringLiteral("Окно"));
    QCOMPARE(form.size(), QSize(200, 120));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));

    auto* pages = form.findChild<TPageControl*>(QStringLiteral("Pages"));
    QVERIFY(pages);
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), QStringLiteral("Один"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Два"));
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("Second"));
    auto* memo = form.findChild<TMemo*>(QStringLiteral("M"));
    QCOMPARE(memo->Text(), QStringLiteral("$00FFFFFF"));
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.palette().color(QPalette::Window), QColor(192, 192, 192));
}

void TestStdCtrls::radioClickRunsOnlyWhenBecomingChecked()
{
    QStringList clicks;
    TTestForm form;
    form.ReadLayout(Layout, {{QStringLiteral("R1Click"), TNotifyEvent([&](QObject*) { clicks << "r1"; })},
                             {QStringLiteral("R2Click"), TNotifyEvent([&](QObject*) { clicks << "r2"; })}});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* r1 = form.findChild<TRadioButton*>(QStringLiteral("R1"));
    auto* r2 = form.findChild<TRadioButton*>(QStringLiteral("R2"));
    QTest::mouseClick(r1, Qt::LeftButton); // already checked
    QVERIFY(clicks.isEmpty());
    QTest::mouseClick(r2, Qt::LeftButton);
    QCOMPARE(clicks, QStringList{"r2"});
    r1->setChecked(true); // by code as well
    QCOMPARE(clicks, (QStringList{"r2", "r1"}));
    QVERIFY(!r2->isChecked());
}

void TestStdCtrls::nestedRadioGroupsStayApart_data()
{
    QTest::addColumn<bool>("boxFirst");
    QTest::newRow("window's buttons first") << false;
    QTest::newRow("group box and its buttons first") << true;
}

void TestStdCtrls::nestedRadioGroupsStayApart()
{
    QFETCH(bool, boxFirst);
    // Two buttons on a window and two in a group box on the same window,
    // placed in either order.
    QWidget window;
    TGroupBox box;
    TRadioButton outer[2], inner[2];
    const auto placeOuter = [&] {
        for (TRadioButton& r : outer)
            r.setParent(&window);
    };
    if (!boxFirst)
        placeOuter();
    box.setParent(&window);
    for (TRadioButton& r : inner)
        r.setParent(&box);
    if (boxFirst)
        placeOuter();
    outer[1].move(0, 20);
    inner[1].move(0, 20);
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    outer[0].setChecked(true);
    inner[0].setChecked(true);

    QTest::mouseClick(&outer[0], Qt::LeftButton); // the checked one, clicked again
    QVERIFY(outer[0].isChecked());
    QVERIFY(inner[0].isChecked());
    QTest::mouseClick(&outer[1], Qt::LeftButton);
    QVERIFY(outer[1].isChecked() && !outer[0].isChecked());
    QVERIFY(inner[0].isChecked());
    QTest::mouseClick(&inner[1], Qt::LeftButton);
    QVERIFY(inner[1].isChecked() && !inner[0].isChecked());
    QVERIFY(outer[1].isChecked());
    QTest::mouseClick(&inner[1], Qt::LeftButton);
    QVERIFY(inner[1].isChecked());
}

void TestStdCtrls::autoSizedLabelFollowsTextAndFont()
{
    TLabel fitted, fixed;
    fixed.SetAutoSize(false);
    fixed.resize(30, 19);
    for (TLabel* l : {&fitted, &fixed})
        l->SetCaption(QStringLiteral("Версия 1.1 от 17.01.2001 г."));
    QCOMPARE(fitted.size(), fitted.sizeHint());
    QVERIFY(fitted.width() > 100 && fitted.height() < 40);
    QCOMPARE(fixed.size(), QSize(30, 19));

    const QSize before = fitted.size();
    fitted.SetFontHeight(-24);
    QCOMPARE(fitted.size(), fitted.sizeHint());
    QVERIFY(fitted.width() > before.width() && fitted.height() > before.height());
    fixed.SetFontHeight(-24);
    QCOMPARE(fixed.size(), QSize(30, 19));

    // On a page not shown yet, the label fits by the time it is shown.
    QWidget window;
    QWidget page(&window);
    page.hide();
    TLabel onPage;
    onPage.setParent(&page);
    onPage.SetCaption(QStringLiteral("О программе"));
    onPage.SetFontHeight(-20);
    window.show();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(onPage.size(), onPage.sizeHint());
}

void TestStdCtrls::tabOrderFollowsTabOrderProperty()
{
    TTestForm form;
    form.ReadLayout(Layout, {{QStringLiteral("R1Click"), TNotifyEvent()}, {QStringLiteral("R2Click"), TNotifyEvent()}});
    auto* pages = form.findChild<TPageControl*>(QStringLiteral("Pages"));
    pages->setCurrentIndex(0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    auto* a = form.findChild<QWidget*>(QStringLiteral("A"));
    a->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), a);
    QStringList seen;
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(seen, (QStringList{"B", "C"}));
}

void TestStdCtrls::bottomAlignedControlsStackUpFromTheBevel()
{
    TTestForm form;
    form.ReadLayout(Layout, {{QStringLiteral("R1Click"), TNotifyEvent()}, {QStringLiteral("R2Click"), TNotifyEvent()}});
    auto* panel = form.findChild<TPanel*>(QStringLiteral("P"));
    panel->resize(100, 60);
    AlignControls(panel);
    auto* lower = form.findChild<QWidget*>(QStringLiteral("Bottom1"));
    auto* upper = form.findChild<QWidget*>(QStringLiteral("Top1"));
    // Two bevels leave a two-pixel border.
    QCOMPARE(lower->geometry(), QRect(2, 60 - 2 - 13, 96, 13));
    QCOMPARE(upper->geometry(), QRect(2, 60 - 2 - 13 - 10, 96, 10));
}

void TestStdCtrls::panelPaintsBothBevels()
{
    TTestForm form;
    form.ReadLayout(Layout, {{QStringLiteral("R1Click"), TNotifyEvent()}, {QStringLiteral("R2Click"), TNotifyEvent()}});
    const QImage image = form.findChild<TPanel*>(QStringLiteral("P"))->grab().toImage();
    QCOMPARE(image.size(), QSize(100, 60));
    // The lowered outer ring is grey at its top left and white at its bottom
    // right, the raised inner ring the other way round; the bottom and right
    // edges take the corners.
    const QRgb grey = qRgb(128, 128, 128);
    const QRgb white = qRgb(255, 255, 255);
    for (int k : {0, 1}) {
        const int right = image.width() - 1 - k;
        const int bottom = image.height() - 1 - k;
        for (int y = k; y <= bottom; ++y)
            for (int x = k; x <= right; ++x) {
                if (x != k && y != k && x != right && y != bottom)
                    continue;
                const bool lit = (x == right || y == bottom) == (k == 0);
                QVERIFY2(image.pixel(x, y) == (lit ? white : grey), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }
}

void TestStdCtrls::memoSelectsAndCopiesItsText()
{
    TMemo memo;
    memo.SetText(QStringLiteral("$00FFFFFF"));
    memo.SelectAll();
    QCOMPARE(memo.SelText(), QStringLiteral("$00FFFFFF"));
    memo.CopyToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("$00FFFFFF"));
    memo.SetSelStart(0);
    QCOMPARE(memo.SelText(), QString());
    QCOMPARE(memo.SelStart(), 0);
    memo.SetSelStart(1000); // beyond the text: clamped, no crash
    QCOMPARE(memo.SelStart(), 9);
}

void TestStdCtrls::memoTextReachesTheDocumentOnce()
{
    TMemo memo;
    memo.SetAlignment(taCenter);
    int changes = 0;
    connect(memo.document(), &QTextDocument::contentsChanged, &memo, [&changes] { ++changes; });
    memo.SetText(QStringLiteral("$00FFFFFF"));
    memo.SetText(QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\">"));
    QCOMPARE(memo.Text(), QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\">"));
    QCoreApplication::processEvents();
    QCOMPARE(changes, 1);
    QCOMPARE(memo.toPlainText(), memo.Text());
    QCOMPARE(memo.document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    // A selection read at once sees the text last set, with the caret at its start.
    memo.SetText(QStringLiteral("#010203"));
    QCOMPARE(memo.SelStart(), 0);
    memo.SelectAll();
    QCOMPARE(memo.SelText(), QStringLiteral("#010203"));
}

void TestStdCtrls::memoCopiesPlainTextAlone_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("by the program") << "program";
    QTest::newRow("Ctrl+C") << "keys";
    QTest::newRow("context menu") << "menu";
}

// Pasted elsewhere the literal arrives as text, not as a centred paragraph.
void TestStdCtrls::memoCopiesPlainTextAlone()
{
    QFETCH(QString, how);
    TMemo memo;
    memo.SetReadOnly(true);
    memo.SetAlignment(taCenter);
    memo.SetText(QStringLiteral("$00FFFFFF"));
    memo.SelectAll();
    QGuiApplication::clipboard()->clear();
    if (how == QLatin1String("program")) {
        memo.CopyToClipboard();
    } else if (how == QLatin1String("keys")) {
        QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
    } else {
        const std::unique_ptr<QMenu> menu(memo.createStandardContextMenu());
        QAction* copy = menu->findChild<QAction*>(QStringLiteral("edit-copy"));
        QVERIFY(copy);
        copy->trigger();
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->formats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(data->text(), QStringLiteral("$00FFFFFF"));
}

void TestStdCtrls::centeredWindowPosition_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QPoint>("position");
    const QRect screen(0, 0, 1024, 768);
    const QSize client(557, 223);
    QTest::newRow("no frame: the client area centred") << screen << client << QMargins() << QPoint(233, 272);
    QTest::newRow("frame centred with the client") << screen << client << QMargins(4, 27, 4, 4) << QPoint(229, 257);
    QTest::newRow("uneven frame") << screen << client << QMargins(1, 30, 9, 2) << QPoint(228, 256);
    QTest::newRow("second screen below a panel")
        << QRect(1920, 32, 1280, 992) << client << QMargins(4, 27, 4, 4) << QPoint(2277, 401);
    QTest::newRow("larger than the area") << QRect(0, 0, 500, 200) << client << QMargins() << QPoint(0, 0);
}

void TestStdCtrls::centeredWindowPosition()
{
    QFETCH(QRect, area);
    QFETCH(QSize, client);
    QFETCH(QMargins, frame);
    QTEST(CenteredWindowPosition(area, client, frame), "position");
}

void TestStdCtrls::brokenLayoutLeavesNoControls()
{
    TTestForm form;
    QString broken = Layout;
    broken.replace(QStringLiteral("BevelInner = bvRaised"), QStringLiteral("BevelInner = bvWavy"));
    try {
        form.ReadLayout(broken,
                        {{QStringLiteral("R1Click"), TNotifyEvent()}, {QStringLiteral("R2Click"), TNotifyEvent()}});
        QFAIL("no error");
    } catch (const EFormError& e) {
        QCOMPARE(e.Line(), 40);
    }
    QVERIFY(form.findChild<QWidget*>(QStringLiteral("Pages")) == nullptr);
    QVERIFY(form.findChild<QWidget*>(QStringLiteral("R1")) == nullptr);
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestStdCtrls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stdctrls.moc"
