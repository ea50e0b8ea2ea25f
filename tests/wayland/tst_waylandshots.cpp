// Screenshots of the real window taken by the compositor at output scale 1
// and 2 (HUEBOX_SHOT_1, HUEBOX_SHOT_2): the custom-drawn parts at scale 2 are
// their scale-1 pictures with every pixel a 2 x 2 block, as the ratio-2 tests
// ask of them, and the text is drawn at the finer resolution, not enlarged.
// The places of the parts come from the window's own layout, shown.
#include "tests/hidpi/hidpifixture.h"

#include "framework/application.h"
#include "framework/stdctrls.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/slider/imageslider.h"

#include <QtTest>

using namespace HiDpi;

class TestWaylandShots : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(low.load(qEnvironmentVariable("HUEBOX_SHOT_1")), "no scale-1 screenshot");
        QVERIFY2(high.load(qEnvironmentVariable("HUEBOX_SHOT_2")), "no scale-2 screenshot");
        QCOMPARE(low.size(), form.size());
    }

    void partIsCrisp_data()
    {
        QTest::addColumn<QRect>("area");
        const auto at = [this](QWidget* w, const QRect& r) { return r.translated(w->mapTo(&form, QPoint())); };
        QTest::newRow("red slider") << at(form.SlR, form.SlR->rect());
        QTest::newRow("green slider") << at(form.SlG, form.SlG->rect());
        QTest::newRow("blue slider") << at(form.SlB, form.SlB->rect());
        QTest::newRow("combo box swatch") << at(form.ClrCmbBox, Swatch(form.ClrCmbBox->FieldRect()));
    }
    void partIsCrisp()
    {
        QFETCH(QRect, area);
        QVERIFY(HasSeveralColours(low, area));
        const QString error = Doubled(high, low, area);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void previewTextIsFine()
    {
        const QRect area = form.Panel1->rect().translated(form.Panel1->mapTo(&form, QPoint()));
        QVERIFY(HasSeveralColours(low, area));
        QVERIFY2(HasFinerDetail(high, area), "the preview's text at scale 2 is its scale-1 picture enlarged");
    }

private:
    TShownForm shown;
    TForm1& form = shown.Form;
    QImage low, high;
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestWaylandShots test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_waylandshots.moc"
