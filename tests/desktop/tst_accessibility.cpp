// What a screen reader finds on the main window, read through Qt's
// accessibility interfaces.
#include "app/form1.h"
#include "app/transientnote.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/slider/imageslider.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QClipboard>
#include <QtTest>

namespace {

// Value changes heard by the accessibility layer, as "object=value", and
// alerts, as "alert:object".
QStringList heard;

void Record(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::Alert)
        heard << QStringLiteral("alert:") + event->object()->objectName();
    if (event->type() == QAccessible::ValueChanged)
        heard << event->object()->objectName() + QLatin1Char('=') +
                     static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(Record);
        // The session's accessibility bus switches accessibility on.
        QVERIFY2(QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000), "accessibility is not active");
    }

    void slidersAreSliders_data()
    {
        QTest::addColumn<QString>("slider");
        QTest::addColumn<QString>("name");
        QTest::newRow("red") << "SlR" << QStringLiteral("Red");
        QTest::newRow("green") << "SlG" << QStringLiteral("Green");
        QTest::newRow("blue") << "SlB" << QStringLiteral("Blue");
    }
    void slidersAreSliders()
    {
        QFETCH(QString, slider);
        TForm1 form;
        auto* s = form.findChild<TImageSlider*>(slider);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(s);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Slider);
        QTEST(a->text(QAccessible::Name), "name");
        QAccessibleValueInterface* v = a->valueInterface();
        QVERIFY(v);
        QCOMPARE(v->currentValue().toInt(), 255);
        QCOMPARE(v->minimumValue().toInt(), 0);
        QCOMPARE(v->maximumValue().toInt(), 255);
        QCOMPARE(v->minimumStepSize().toInt(), 1);
        QVERIFY(a->state().focusable);
    }

    void valueChangesAreAnnounced()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        heard.clear();
        form.SlG->setFocus();
        QTest::keyClick(form.SlG, Qt::Key_Left);
        QTest::mouseClick(form.RBtn1, Qt::LeftButton); // loads the text colour 0, 0, 0
        QCOMPARE(heard, (QStringList{"SlG=254", "SlR=0", "SlG=0", "SlB=0"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(form.SlB)->valueInterface()->currentValue().toInt(), 0);
    }

    void aFailedPasteIsAnAlert()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        heard.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("rgb(256, 0, 0)"));
        form.PasteAction->trigger();
        QCOMPARE(heard, QStringList{QStringLiteral("alert:Note")});
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(form.Note());
        QCOMPARE(a->role(), QAccessible::AlertMessage);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Ошибка в цвете «rgb(256, 0, 0)»: канал вне 0…255"));
        // A copy's confirmation is no alert.
        heard.clear();
        form.CopyAction->trigger();
        QCOMPARE(heard, QStringList());
    }

    void settingTheValueMovesTheSlider()
    {
        TForm1 form;
        QAccessible::queryAccessibleInterface(form.SlB)->valueInterface()->setCurrentValue(16);
        QCOMPARE(form.SlB->Value(), 16);
        QCOMPARE(form.TxtB->Caption(), QStringLiteral("16"));
        QCOMPARE(QAccessible::queryAccessibleInterface(form.SlB)->text(QAccessible::Value), QStringLiteral("16"));
    }

    void controlsHaveNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("list") << "ListV" << QStringLiteral("Цветовые константы");
        // A combo box is announced by its current text; its purpose is in the
        // description (tested below).
        QTest::newRow("combo") << "ClrCmbBox" << QStringLiteral("White");
        QTest::newRow("preview") << "Panel1" << QStringLiteral("Код цвета");
        QTest::newRow("copy") << "BtnCopy" << QStringLiteral("Копировать цвет");
        QTest::newRow("format") << "RdBtn2" << QStringLiteral("Visual C++");
        QTest::newRow("target") << "RBtn2" << QStringLiteral("Фон");
    }
    void controlsHaveNames()
    {
        QFETCH(QString, control);
        TForm1 form;
        QWidget* w = form.findChild<QWidget*>(control);
        QVERIFY(w);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a);
        QTEST(a->text(QAccessible::Name), "name");
        if (control == QLatin1String("ClrCmbBox"))
            QCOMPARE(a->text(QAccessible::Description), QStringLiteral("Основные цвета"));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestAccessibility test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibility.moc"
