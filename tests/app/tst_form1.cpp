#include "app/form1.h"
#include "framework/application.h"

#include <QtTest>

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void windowIsFixedSilverDialog();
};

void TestForm1::windowIsFixedSilverDialog()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Huebox v1.0"));
    QCOMPARE(form.size(), QSize(557, 223));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.grab().toImage().pixelColor(10, 10), QColor(192, 192, 192));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestForm1 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1.moc"
