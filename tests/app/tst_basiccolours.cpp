// The basic colours of the main window's colour combo box: choosing one and
// leaving the box load it into the sliders.
#include "app/colorentrydialog.h"
#include "app/form1.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "tests/app/formprobe.h"
#include "tests/colorcombo/chooserow.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/slider/imageslider.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct TWindow {
    TForm1 Form;
    TColorComboBox* Combo = Form.ClrCmbBox;
    QStringList Changes; // the sliders that raised a change event, in order

    TWindow()
    {
        RecordSliderChanges(Form, Changes);
        Form.show();
        QApplication::setActiveWindow(&Form);
        if (!QTest::qWaitForWindowActive(&Form))
            qWarning("window not active");
    }

    // Opens the list and clicks a row, as the user does.
    bool Choose(int row)
    {
        Combo->setFocus();
        return ChooseRow(Combo, row);
    }

    // Moves the focus on to the copy button.
    void Leave()
    {
        Form.BtnCopy->setFocus();
        QApplication::processEvents();
    }

    QString Sliders() const { return SliderValues(Form); }
};

} // namespace

class TestBasicColours : public QObject {
    Q_OBJECT
private slots:
    void comboAsStored();
    void everyItemLoadsItsColour_data();
    void everyItemLoadsItsColour();
    void redChangesOnlyGreenAndBlue();
    void choosingTheCurrentColourChangesNothing();
    void leavingKeepsAColourThatCameInSince_data();
    void leavingKeepsAColourThatCameInSince();
    void leavingAppliesAChoiceTheSlidersNeverTook();
    void firstExitWithoutChoiceChangesNothing();
    void noSelectionChangesNothing();
    void recreatedBoxLoadsItsColour();
};

void TestBasicColours::comboAsStored()
{
    TForm1 form;
    TColorComboBox* c = form.ClrCmbBox;
    QCOMPARE(c->parentWidget(), static_cast<QWidget*>(&form));
    QCOMPARE(c->geometry(), QRect(454, 4, 100, 22));
    QCOMPARE(c->TabOrder(), 4);
    QCOMPARE(c->ColorValue(), clWhite);
    QCOMPARE(c->ItemIndex(), 15);
}

void TestBasicColours::everyItemLoadsItsColour_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("rgb");
    const char* const colours[16] = {"0,0,0",     "128,0,0",     "0,128,0",     "128,128,0",  "0,0,128", "128,0,128",
                                     "0,128,128", "128,128,128", "192,192,192", "255,0,0",    "0,255,0", "255,255,0",
                                     "0,0,255",   "255,0,255",   "0,255,255",   "255,255,255"};
    for (int i = 0; i < 16; ++i)
        QTest::addRow("%d", i) << i << QString::fromLatin1(colours[i]);
}

void TestBasicColours::everyItemLoadsItsColour()
{
    QFETCH(int, row);
    QFETCH(QString, rgb);
    TWindow w;
    if (row == 15)
        QVERIFY(w.Choose(0)); // white is selected at start
    QVERIFY(w.Choose(row));
    QCOMPARE(w.Combo->ItemIndex(), row);
    QCOMPARE(w.Sliders(), rgb);
    const QStringList c = rgb.split(QLatin1Char(','));
    QCOMPARE(w.Form.Panel1->Color(), RGB(c[0].toInt(), c[1].toInt(), c[2].toInt()));
}

void TestBasicColours::redChangesOnlyGreenAndBlue()
{
    TWindow w;
    QVERIFY(w.Choose(9));
    QCOMPARE(w.Sliders(), QStringLiteral("255,0,0"));
    QCOMPARE(w.Changes, (QStringList{QStringLiteral("SlG"), QStringLiteral("SlB")}));
    QCOMPARE(w.Form.Panel1->Text(), QStringLiteral("$000000FF"));
    QCOMPARE(w.Form.TxtG->Caption(), QStringLiteral("0"));
}

void TestBasicColours::choosingTheCurrentColourChangesNothing()
{
    TWindow w;
    QVERIFY(w.Choose(9));
    w.Changes.clear();
    QVERIFY(w.Choose(9));
    QVERIFY(w.Changes.isEmpty());
    QCOMPARE(w.Sliders(), QStringLiteral("255,0,0"));
}

void TestBasicColours::leavingKeepsAColourThatCameInSince_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<QString>("sliders");
    QTest::newRow("slider") << "slider"
                            << "40,0,255";
    QTest::newRow("paste") << "paste"
                           << "255,128,0";
    QTest::newRow("typed entry") << "entry"
                                 << "51,102,153";
    QTest::newRow("list row") << "list"
                              << "240,248,255";
}

void TestBasicColours::leavingKeepsAColourThatCameInSince()
{
    QFETCH(QString, road);
    QFETCH(QString, sliders);
    TWindow w;
    QVERIFY(w.Choose(12)); // blue, the box keeps the focus
    if (road == QLatin1String("slider")) {
        w.Form.SlR->SetValue(40);
    } else if (road == QLatin1String("paste")) {
        QGuiApplication::clipboard()->setText(QStringLiteral("#FF8000"));
        QTest::keyClick(w.Combo, Qt::Key_V, Qt::ControlModifier);
    } else if (road == QLatin1String("entry")) {
        QTest::keyClick(w.Combo, Qt::Key_L, Qt::ControlModifier);
        TColorEntryDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = w.Form.findChild<TColorEntryDialog*>()) && dialog->isVisible());
        dialog->Field()->setText(QStringLiteral("#336699"));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        QTRY_VERIFY(w.Combo->hasFocus());
    } else {
        w.Form.ListV->SetSelected(w.Form.ListV->Items().Item(0));
        w.Form.ListVClick(w.Form.ListV);
    }
    QCOMPARE(w.Sliders(), sliders);
    w.Changes.clear();
    w.Leave();
    QCOMPARE(w.Sliders(), sliders);
    QVERIFY(w.Changes.isEmpty());
}

// A choice whose change the sliders missed (here: the handler was away) is
// still theirs to take when the focus leaves the box.
void TestBasicColours::leavingAppliesAChoiceTheSlidersNeverTook()
{
    TWindow w;
    const TNotifyEvent handler = std::exchange(w.Combo->OnChange, nullptr);
    QVERIFY(w.Choose(12));
    w.Combo->OnChange = handler;
    QCOMPARE(w.Sliders(), QStringLiteral("255,255,255"));
    w.Leave();
    QCOMPARE(w.Sliders(), QStringLiteral("0,0,255"));
}

void TestBasicColours::firstExitWithoutChoiceChangesNothing()
{
    TWindow w;
    w.Combo->setFocus();
    QApplication::processEvents();
    w.Leave();
    QVERIFY(w.Changes.isEmpty());
    QCOMPARE(w.Sliders(), QStringLiteral("255,255,255"));
    QCOMPARE(w.Form.Panel1->Color(), clWindow);
}

void TestBasicColours::noSelectionChangesNothing()
{
    TWindow w;
    w.Combo->SetColorValue(TColor(0x123456)); // not a basic colour: no selection
    QCOMPARE(w.Combo->ItemIndex(), -1);
    w.Form.SlG->SetValue(7);
    w.Changes.clear();
    w.Combo->setFocus();
    QApplication::processEvents();
    w.Leave();
    QVERIFY(w.Changes.isEmpty());
    QCOMPARE(w.Sliders(), QStringLiteral("255,7,255"));
}

void TestBasicColours::recreatedBoxLoadsItsColour()
{
    TWindow w;
    QVERIFY(w.Choose(4)); // navy
    w.Form.SlB->SetValue(200);
    w.Combo->SetStyle(TComboBoxStyle::csDropDown); // re-creates the box, keeping its colour
    QCOMPARE(w.Combo->ColorValue(), clNavy);
    QCOMPARE(w.Sliders(), QStringLiteral("0,0,128"));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestBasicColours test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_basiccolours.moc"
