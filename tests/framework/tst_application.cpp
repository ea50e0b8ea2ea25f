#include "framework/application.h"
#include "framework/stdctrls.h"
#include "framework/types.h"

#include <QBasicTimer>
#include <QtTest>

namespace {

// A control whose click handler is ours: Qt calls in through the guard.
class ClickTarget : public QWidget {
public:
    TNotifyEvent OnClick;
    int Clicks = 0;

protected:
    void mouseReleaseEvent(QMouseEvent*) override
    {
        ++Clicks;
        Guard([this] {
            if (OnClick)
                OnClick(this);
        });
    }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void exceptionInHandlerShowsMessageAndLoopGoesOn()
    {
        QStringList shown;
        const auto previous = TApplication::SetErrorReporter([&](const QString& m) { shown << m; });

        ClickTarget w;
        w.resize(50, 50);
        w.OnClick = [](QObject*) { throw Exception(QStringLiteral("Value must be between 1 and 255")); };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QTest::mouseClick(&w, Qt::LeftButton);
        QCOMPARE(shown, QStringList{QStringLiteral("Value must be between 1 and 255")});

        // The program goes on: the next event is delivered and handled.
        w.OnClick = nullptr;
        QTest::mouseClick(&w, Qt::LeftButton);
        QCOMPARE(w.Clicks, 2);
        QCOMPARE(shown.size(), 1);

        TApplication::SetErrorReporter(previous);
    }

    void exceptionInTimerHandlerIsShown()
    {
        QStringList shown;
        const auto previous = TApplication::SetErrorReporter([&](const QString& m) { shown << m; });
        bool fired = false;
        QTimer::singleShot(0, [&] {
            Guard([&] {
                fired = true;
                throw std::runtime_error("ruler repeat failed");
            });
        });
        QTRY_VERIFY(fired);
        QCOMPARE(shown, QStringList{QStringLiteral("ruler repeat failed")});
        TApplication::SetErrorReporter(previous);
    }

    void cursorTable()
    {
        QVERIFY(!Screen::HasCursor(14000));
        QCOMPARE(Screen::Cursor(14000).shape(), Qt::ArrowCursor);
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        Screen::SetCursor(14000, QCursor(pm, 6, 16));
        QVERIFY(Screen::HasCursor(14000));
        QCOMPARE(Screen::Cursor(14000).shape(), Qt::BitmapCursor);
        QCOMPARE(Screen::Cursor(14000).hotSpot(), QPoint(6, 16));
        QCOMPARE(Screen::Cursor(crHandPoint).shape(), Qt::PointingHandCursor);

        // A cursor registered by its maker is made on first use, and only once.
        int made = 0;
        Screen::SetCursor(14001, [&] {
            ++made;
            return QCursor(pm, 15, 16);
        });
        QVERIFY(Screen::HasCursor(14001));
        QCOMPARE(made, 0);
        QCOMPARE(Screen::Cursor(14001).hotSpot(), QPoint(15, 16));
        QCOMPARE(Screen::Cursor(14001).hotSpot(), QPoint(15, 16));
        QCOMPARE(made, 1);
    }

    void fontSubstitutions_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("face");
        QTest::newRow("dialog font") << "MS Sans Serif" << QStringLiteral("Liberation Sans");
        QTest::newRow("arial") << "Arial" << QStringLiteral("Liberation Sans");
        QTest::newRow("cyrillic serif") << "Times New Roman Cyr" << QStringLiteral("Liberation Serif");
        QTest::newRow("mono") << "Courier New" << QStringLiteral("Liberation Mono");
    }
    void fontSubstitutions()
    {
        QFETCH(QString, family);
        QFETCH(QString, face);
        QVERIFY(QFont::substitutes(family).contains(face, Qt::CaseInsensitive));
        QFont font(family);
        font.setPixelSize(16);
        QCOMPARE(QFontInfo(font).family(), face);
        // Controls are given the face itself, found without a failed lookup.
        QCOMPARE(FontFace(family), face);
    }

    void controlFonts_data()
    {
        QTest::addColumn<QString>("parentFamily"); // empty: none named
        QTest::addColumn<QString>("childFamily");
        QTest::addColumn<QString>("name"); // FontName of the child
        QTest::addColumn<QString>("face"); // the family its font asks for
        QTest::newRow("own") << "" << QStringLiteral("Arial") << "Arial" << QStringLiteral("Liberation Sans");
        QTest::newRow("from parent") << "Times New Roman Cyr" << QStringLiteral("") << "Times New Roman Cyr"
                                     << QStringLiteral("Liberation Serif");
        QTest::newRow("own over parent") << "Courier New" << QStringLiteral("MS Sans Serif") << "MS Sans Serif"
                                         << QStringLiteral("Liberation Sans");
        QTest::newRow("none named: dialog font")
            << "" << QStringLiteral("") << "MS Sans Serif" << QStringLiteral("Liberation Sans");
        QTest::newRow("case of the layout kept")
            << "" << QStringLiteral("courier new") << "courier new" << QStringLiteral("Liberation Mono");
        QTest::newRow("no substitute: as named")
            << "" << QStringLiteral("No Such Family") << "No Such Family" << QStringLiteral("No Such Family");
    }
    void controlFonts()
    {
        QFETCH(QString, parentFamily);
        QFETCH(QString, childFamily);
        TPanel parent;
        if (!parentFamily.isEmpty())
            parent.SetFontName(parentFamily);
        auto* child = new TLabel;
        child->setParent(&parent);
        if (!childFamily.isEmpty())
            child->SetFontName(childFamily);
        // A height of its own copies the family into the child's font.
        child->SetFontHeight(-16);
        QTEST(child->FontName(), "name");
        QTEST(child->font().family(), "face");
        QCOMPARE(child->FontHeight(), -16);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
