// The main window at a device pixel ratio of 2: every control keeps the
// logical place the layout gives it, and texts are drawn at the screen's
// resolution rather than enlarged from a picture of ratio 1.
#include "tests/hidpi/hidpifixture.h"

#include "framework/application.h"
#include "framework/stdctrls.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/slider/imageslider.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QPainter>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <cstring>

using namespace HiDpi;

namespace {

constexpr const char* GeometryOption = "--print-geometry";

QString Line(const QString& name, const QRect& r)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(name).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Every named widget of the window with its geometry, and the places of the
// parts the controls lay out themselves, one line each in a fixed order.
QStringList Geometry(TForm1& form)
{
    QStringList lines;
    lines << Line(QStringLiteral("window"), QRect(QPoint(), form.size()));
    QList<QWidget*> widgets = form.findChildren<QWidget*>();
    std::sort(widgets.begin(), widgets.end(),
              [](const QWidget* a, const QWidget* b) { return a->objectName() < b->objectName(); });
    for (const QWidget* w : widgets)
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            lines << Line(w->objectName(), w->geometry());
    for (TImageSlider* s : {form.SlR, form.SlG, form.SlB}) {
        s->SetValue(128);
        const TRect& t = s->ThumbRect();
        lines << Line(s->objectName() + QStringLiteral(".thumb"), QRect(t.Left, t.Top, t.Width(), t.Height()));
    }
    const TRect field = form.ClrCmbBox->FieldRect();
    lines << Line(QStringLiteral("ClrCmbBox.field"), QRect(field.Left, field.Top, field.Width(), field.Height()));
    form.ClrCmbBox->HandleNeeded();
    lines << QStringLiteral("ClrCmbBox.row %1").arg(form.ClrCmbBox->ListView()->sizeHintForRow(0));
    const QHeaderView* header = form.ListV->Header();
    lines << QStringLiteral("ListV.header %1").arg(header->sizeHint().height());
    for (int i = 0; i < header->count(); ++i)
        lines << QStringLiteral("ListV.column%1 %2").arg(i).arg(header->sectionSize(i));
    lines << QStringLiteral("ListV.row %1").arg(form.ListV->sizeHintForRow(0));
    return lines;
}

} // namespace

class TestHiDpiLayout : public QObject {
    Q_OBJECT
private slots:
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void everythingSitsWhereItDoesAtRatio1();
    void textIsDrawnAtDeviceResolution_data();
    void textIsDrawnAtDeviceResolution();
    void colourNameIsTextOfTheScreen_data();
    void colourNameIsTextOfTheScreen();
};

void TestHiDpiLayout::controlsSitWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("page control") << "PageControl1" << QRect(0, 46, 445, 177);
    QTest::newRow("red label") << "TxtR" << QRect(-2, 18, 30, 19);
    QTest::newRow("green label") << "TxtG" << QRect(0, 60, 30, 19);
    QTest::newRow("red") << "SlR" << QRect(32, 12, 396, 32);
    QTest::newRow("green") << "SlG" << QRect(32, 56, 396, 32);
    QTest::newRow("blue") << "SlB" << QRect(32, 100, 396, 32);
    QTest::newRow("text") << "RBtn1" << QRect(452, 32, 55, 17);
    QTest::newRow("background") << "RBtn2" << QRect(510, 32, 47, 17);
    QTest::newRow("copy") << "BtnCopy" << QRect(452, 192, 100, 28);
    QTest::newRow("combo") << "ClrCmbBox" << QRect(454, 4, 100, 22);
    QTest::newRow("group") << "GroupBox1" << QRect(452, 56, 101, 129);
    QTest::newRow("Visual C++") << "RdBtn2" << QRect(4, 37, 92, 17);
    QTest::newRow("HTML") << "RdBtn3" << QRect(4, 81, 92, 17);
    QTest::newRow("preview") << "Panel1" << QRect(2, 4, 443, 39);
    QTest::newRow("about") << "Panel2" << QRect(78, 0, 273, 149);
    QTest::newRow("icon") << "ProgramIcon" << QRect(6, 8, 37, 37);
    QTest::newRow("comments") << "Comments" << QRect(6, 48, 260, 52);
}

void TestHiDpiLayout::controlsSitWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    QCOMPARE(f.Form.size(), QSize(557, 223));
    QWidget* w = f.Form.findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), geometry);
    // The screen shows it over twice as many device pixels each way.
    QCOMPARE(AtRatio2(w).size(), geometry.size() * Ratio);
}

void TestHiDpiLayout::everythingSitsWhereItDoesAtRatio1()
{
    // The same program at ratio 1 tells where it puts everything.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(GeometryOption)});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);
    const QStringList atRatio1 =
        QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(atRatio1.size() > 30, qPrintable(atRatio1.join(QLatin1Char('|'))));

    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    const QStringList atRatio2 = Geometry(f.Form);
    for (qsizetype i = 0; i < std::min(atRatio1.size(), atRatio2.size()); ++i)
        QCOMPARE(atRatio2[i], atRatio1[i]);
    QCOMPARE(atRatio2.size(), atRatio1.size());
}

void TestHiDpiLayout::textIsDrawnAtDeviceResolution_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("red number") << "TxtR";
    QTest::newRow("blue number") << "TxtB";
    QTest::newRow("preview") << "Panel1";
    QTest::newRow("format caption") << "RdBtn2";
    QTest::newRow("colour name in the field") << "ClrCmbBox";
    QTest::newRow("colour name in the list") << "ClrCmbBox.list";
}

void TestHiDpiLayout::textIsDrawnAtDeviceResolution()
{
    QFETCH(QString, control);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    TColorComboBox* combo = f.Form.ClrCmbBox;

    // The widget and the logical area of it that holds only text on a plain
    // background.
    QWidget* w = nullptr;
    QRect area;
    if (control == QLatin1String("Panel1")) {
        w = f.Form.Panel1->viewport();
        area = w->rect();
    } else if (control == QLatin1String("RdBtn2")) {
        w = f.Form.RdBtn2;
        area = w->rect().adjusted(20, 0, 0, 0);
    } else if (control == QLatin1String("ClrCmbBox")) {
        w = combo;
        const TRect field = combo->FieldRect();
        area = QRect(field.Left + 28, field.Top + 1, field.Width() - 29, field.Height() - 2);
    } else if (control == QLatin1String("ClrCmbBox.list")) {
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        w = combo->view()->viewport();
        const QRect row = combo->view()->visualRect(combo->model()->index(combo->ItemIndex(), 0));
        area = QRect(row.left() + 28, row.top() + 1, w->width() - 29 - row.left(), row.height() - 2);
    } else {
        w = f.Form.findChild<QWidget*>(control);
        QVERIFY(w);
        area = w->rect();
    }
    const QImage low = AtRatio1(w);
    const QImage high = AtRatio2(w);
    QCOMPARE(high.size(), low.size() * Ratio);
    // There is text ...
    QVERIFY(HasSeveralColours(low, area));
    // ... and it has detail finer than a logical pixel.
    if (!HasFinerDetail(high, area))
        QFAIL(qPrintable(QStringLiteral("the text is an enlarged picture; saved as ") +
                         SaveOnFailure(high, QStringLiteral("text"))));
}

void TestHiDpiLayout::colourNameIsTextOfTheScreen_data()
{
    QTest::addColumn<bool>("inList");
    QTest::addColumn<bool>("focused");
    QTest::newRow("field") << false << false;
    QTest::newRow("field focused") << false << true;
    QTest::newRow("list row") << true << true;
}

void TestHiDpiLayout::colourNameIsTextOfTheScreen()
{
    // The combo box draws its items into pictures of its own; their names
    // must be what text drawn straight onto the screen's pixels looks like,
    // not a picture of ratio 1 enlarged, with or without smoothing.
    QFETCH(bool, inList);
    QFETCH(bool, focused);
    TShownForm f;
    QCOMPARE(f.Form.devicePixelRatio(), 2.0);
    TColorComboBox* combo = f.Form.ClrCmbBox;
    combo->SetColorValue(clTeal);
    if (focused)
        combo->setFocus();
    else
        f.Form.BtnCopy->setFocus();
    QTRY_COMPARE(combo->hasFocus(), focused);

    QWidget* w = combo;
    QRect item;
    if (inList) {
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        w = combo->view()->viewport();
        item = combo->view()->visualRect(combo->model()->index(combo->ItemIndex(), 0));
        item.setRight(w->width() - 1);
    } else {
        const TRect field = combo->FieldRect();
        item = QRect(field.Left, field.Top, field.Width(), field.Height());
    }
    const bool highlighted = inList || focused;
    const QColor back = QColor::fromRgb(ColorToPixel(highlighted ? clHighlight : combo->Color()));
    const QColor text = QColor::fromRgb(ColorToPixel(highlighted ? clHighlightText : combo->FontColor()));

    // The name from 28 pixels in, vertically centred, straight at ratio 2.
    QImage expected(item.size() * Ratio, QImage::Format_RGB32);
    expected.setDevicePixelRatio(Ratio);
    expected.fill(back);
    {
        QPainter painter(&expected);
        painter.setFont(combo->font());
        painter.setPen(text);
        painter.drawText(QRectF(28, 0, item.width() - 28, item.height()), Qt::AlignVCenter | Qt::AlignLeft,
                         combo->ItemText(combo->ItemIndex()));
    }
    const QImage high = AtRatio2(w).copy(QRect(item.topLeft() * Ratio, item.size() * Ratio));
    // Inside the focus frame, from the name's left edge on.
    const QRect area(Ratio * 28, Ratio, Ratio * (item.width() - 29), Ratio * (item.height() - 2));
    QVERIFY(HasSeveralColours(expected, area));
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (high.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) of the name is %3, expected %4; saved as %5")
                                     .arg(x)
                                     .arg(y)
                                     .arg(Hex(high.pixel(x, y)))
                                     .arg(Hex(expected.pixel(x, y)))
                                     .arg(SaveOnFailure(high, QStringLiteral("name")))));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], GeometryOption) == 0) {
        HiDpi::TShownForm f;
        QTextStream(stdout) << Geometry(f.Form).join(QLatin1Char('\n')) << '\n';
        return 0;
    }
    TestHiDpiLayout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpilayout.moc"
