// The main window's side of a pick, with the real X11 grab in Xvfb.
#include "app/form1.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "picker/x11picker.h"

#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QtTest>

namespace {

constexpr TColor Swatch = RGB(12, 200, 99);

void Xdotool(const QStringList& arguments)
{
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

class TSwatch : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(QRect(QPoint(), size()),
                                QColor(GetRValue(Swatch), GetGValue(Swatch), GetBValue(Swatch)));
    }
};

} // namespace

class TestPickForm : public QObject {
    Q_OBJECT
private slots:
    void hoverShowsOnlyTheTargetAndEscapeRestores_data()
    {
        QTest::addColumn<bool>("textTarget");
        QTest::newRow("background") << false;
        QTest::newRow("text") << true;
    }
    void hoverShowsOnlyTheTargetAndEscapeRestores()
    {
        QFETCH(bool, textTarget);
        TSwatch swatch;
        swatch.setFlags(Qt::FramelessWindowHint);
        swatch.setGeometry(700, 500, 200, 150);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        TForm1 form;
        form.move(0, 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (textTarget)
            QTest::mouseClick(form.RBtn1, Qt::LeftButton);
        const QString text = form.Panel1->Text();
        const TColor font = form.Panel1->FontColor(), back = form.Panel1->Color();
        Xdotool({"mousemove", "800", "575"});
        form.PickColor();
        auto* picker = form.findChild<TX11ColorPicker*>();
        QVERIFY(picker && picker->IsActive());
        QTRY_COMPARE(textTarget ? form.Panel1->FontColor() : form.Panel1->Color(), Swatch);
        QCOMPARE(textTarget ? form.Panel1->Color() : form.Panel1->FontColor(), textTarget ? back : font);
        QCOMPARE(form.Panel1->Text(), QStringLiteral("$00%1").arg(Swatch, 6, 16, QLatin1Char('0')).toUpper());
        Xdotool({"key", "Escape"});
        QTRY_VERIFY(!picker->IsActive());
        QCOMPARE(form.Panel1->Text(), text);
        QCOMPARE(form.Panel1->FontColor(), font);
        QCOMPARE(form.Panel1->Color(), back);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestPickForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pickform.moc"
