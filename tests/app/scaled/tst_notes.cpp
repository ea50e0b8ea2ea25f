// The notes of the real window at every scale factor the program supports:
// they lie over no control nor the preview's literal, take no click, and stay
// on the screen.
#include "app/form1.h"
#include "app/transientnote.h"
#include "framework/application.h"
#include "framework/controls.h"
#include "framework/stdctrls.h"

#include <QClipboard>
#include <QScreen>
#include <QtTest>

namespace {

QRect InForm(const QWidget* w, const TForm1& form)
{
    return QRect(w->mapTo(&form, QPoint()), w->size());
}

} // namespace

class TestNotes : public QObject {
    Q_OBJECT
private slots:
    void noteCoversNothing_data()
    {
        QTest::addColumn<bool>("failure");
        QTest::addColumn<bool>("bodyTag");
        QTest::addColumn<bool>("nearScreenEdge");
        QTest::newRow("copied") << false << false << false;
        QTest::newRow("copied, body tag") << false << true << false;
        QTest::newRow("bad paste") << true << false << false;
        QTest::newRow("bad paste, body tag") << true << true << false;
        QTest::newRow("bad paste, window past the screen's right edge") << true << true << true;
    }
    void noteCoversNothing()
    {
        QFETCH(bool, failure);
        QFETCH(bool, bodyTag);
        QFETCH(bool, nearScreenEdge);
        QStringList messages;
        const auto previous = TApplication::SetErrorReporter([&messages](const QString& m) { messages << m; });
        const auto restore = qScopeGuard([&] { TApplication::SetErrorReporter(previous); });
        TForm1 form;
        const QRect screen = form.screen()->availableGeometry();
        if (nearScreenEdge)
            form.move(screen.right() + 1 - form.width() / 2, screen.top() + 20);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (bodyTag)
            form.RdBtn4->setChecked(true);
        const QString message = QStringLiteral("Ошибка в цвете «#12345»: нужно 3, 4, 6 или 8 шестнадцатеричных цифр");
        if (failure) {
            QGuiApplication::clipboard()->setText(QStringLiteral("#12345"));
            form.PasteColor();
        } else {
            form.CopyColor();
        }
        const TTransientNote* note = form.Note();
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), failure ? message : QStringLiteral("Скопировано"));
        QVERIFY(messages.isEmpty());
        const QRect at = InForm(note, form);

        // Over no control but the preview box, and there below its literal.
        for (const QWidget* w : form.findChildren<QWidget*>()) {
            if (w == form.Panel1 || !dynamic_cast<const TControl*>(w) || !w->isVisible())
                continue;
            QVERIFY2(!at.intersects(InForm(w, form)),
                     qPrintable(QStringLiteral("the note covers %1").arg(w->objectName())));
        }
        const QRect viewport = InForm(form.Panel1->viewport(), form);
        QVERIFY(viewport.contains(at));
        QVERIFY2(!at.intersects(form.Panel1->TextRect().translated(viewport.topLeft())), "the note covers the literal");

        const QRect global(note->mapToGlobal(QPoint()), note->size());
        if (nearScreenEdge) {
            QVERIFY(screen.contains(global));
        } else {
            // The whole message, where the window is on the screen.
            QCOMPARE(note->width(), note->sizeHint().width());
            QCOMPARE(note->height(), note->sizeHint().height());
        }
        // A click where the note is reaches the preview box.
        QCOMPARE(form.childAt(at.center()), form.Panel1->viewport());
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestNotes test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_notes.moc"
