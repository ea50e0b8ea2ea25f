// OnEnter and OnExit of every control class that takes the focus: raised
// when the focus moves between two controls of the window, never when the
// window loses its activation or a popup takes the focus for a while.
#include "app/form1.h"
#include "framework/controls.h"

#include <QMenu>
#include <QtTest>

class TestControlFocus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeModules(); }
    void enterAndExit_data();
    void enterAndExit();
};

void TestControlFocus::enterAndExit_data()
{
    QTest::addColumn<QString>("className");
    for (const char* name :
         {"TButton", "TRadioButton", "TMemo", "TListView", "TOrdoListView", "TColorComboBox", "TImageSlider"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestControlFocus::enterAndExit()
{
    QFETCH(QString, className);
    const TClassInfo* cls = ClassRegistry::Find(className);
    QVERIFY(cls && cls->Create);
    QStringList events; // outlives the window, whose controls record into it
    QWidget window;
    window.resize(400, 300);
    QWidget* controls[2] = {};
    for (int i = 0; i < 2; ++i) {
        QWidget* w = cls->Create();
        w->setParent(&window);
        w->move(0, 150 * i);
        w->setObjectName(QLatin1String(i ? "B" : "A"));
        auto* control = dynamic_cast<TControl*>(w);
        QVERIFY(control);
        control->OnEnter = [&events, w](QObject*) { events << w->objectName() + QLatin1String(" enter"); };
        control->OnExit = [&events, w](QObject*) { events << w->objectName() + QLatin1String(" exit"); };
        controls[i] = w;
    }
    QWidget other;
    other.show();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    controls[1]->setFocus(Qt::TabFocusReason);
    controls[0]->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), controls[0]);
    events.clear();

    // Another window takes the activation and gives it back.
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!controls[0]->hasFocus());
    QApplication::setActiveWindow(&window);
    QTRY_COMPARE(QApplication::focusWidget(), controls[0]);
    // A menu pops up over the window and goes.
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    menu.popup(window.mapToGlobal(QPoint(200, 100)));
    QTRY_COMPARE(QApplication::activePopupWidget(), &menu);
    menu.close();
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QTRY_COMPARE(QApplication::focusWidget(), controls[0]);
    QCOMPARE(events, QStringList());

    controls[1]->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), controls[1]);
    QCOMPARE(events, (QStringList{QStringLiteral("A exit"), QStringLiteral("B enter")}));
}

QTEST_MAIN(TestControlFocus)
#include "tst_controlfocus.moc"
