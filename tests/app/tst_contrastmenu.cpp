// The preview menu's "Контраст" and "Недавние цвета" on the real window.
#include "app/form1.h"
#include "color/contrast.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "tests/app/formprobe.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The entries of a submenu as it shows them when opened, a disabled one
// marked with "(-)"; the menu is closed again.
QStringList Entries(TForm1& form, QMenu* menu)
{
    menu->popup(form.mapToGlobal(QPoint(10, 10)));
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
        return {u"(not shown)"_s};
    QStringList entries;
    for (const QAction* a : menu->actions()) {
        if (!a->isSeparator())
            entries << a->text() + (a->isEnabled() ? u""_s : u" (-)"_s);
    }
    menu->close();
    return entries;
}

// Opens the submenu and chooses its entry of that text; false without one.
bool Choose(TForm1& form, QMenu* menu, const QString& text)
{
    const QStringList shown = Entries(form, menu);
    for (QAction* a : menu->actions()) {
        if (a->text() == text && a->isEnabled()) {
            a->trigger();
            return true;
        }
    }
    qWarning("no entry %s in %s", qPrintable(text), qPrintable(shown.join(u", "_s)));
    return false;
}

void Paste(TForm1& form, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(form.SlR, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

class TestContrastMenu : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        form = std::make_unique<TForm1>();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    // Grey text on white: the verdicts, the four suggestions, one applied,
    // then the colour before it brought back from the recent colours.
    void suggestionReachesTheLevelAndCanBeUndone()
    {
        QTest::mouseClick(form->RBtn1, Qt::LeftButton); // edit the text
        Paste(*form, u"#888888"_s);
        QCOMPARE(
            Entries(*form, form->ContrastMenu()),
            QStringList({u"Контраст 3,54:1 (-)"_s, u"Обычный текст, AA (4,5:1): нет (-)"_s,
                         u"Обычный текст, AAA (7:1): нет (-)"_s, u"Крупный текст, AA (3:1): да (-)"_s,
                         u"Крупный текст, AAA (4,5:1): нет (-)"_s, u"Элементы интерфейса и графика (3:1): да (-)"_s,
                         u"Текст для 4,5:1: #757778 (ΔE 6,7)"_s, u"Текст для 7:1: #595959 (ΔE 18,5)"_s,
                         u"Фон для 4,5:1: #202224 (ΔE 80,4)"_s, u"Фон для 7:1: недостижимо (-)"_s}));
        QVERIFY(Choose(*form, form->ContrastMenu(), u"Текст для 4,5:1: #757778 (ΔE 6,7)"_s));
        QCOMPARE(SliderValues(*form), u"117,119,120"_s);
        QCOMPARE(form->TxtB->Caption(), u"120"_s);
        QVERIFY(ContrastRatio(form->Panel1->FontColor(), form->Panel1->Color()) >= 4.5);
        QTest::mouseClick(form->RdBtn4, Qt::LeftButton);
        QTest::mouseClick(form->BtnCopy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#757778\">"_s);
        // Passing AA, only the 7:1 suggestions are left.
        const QStringList now = Entries(*form, form->ContrastMenu());
        QVERIFY2(now.first().startsWith(u"Контраст 4,5"_s), qPrintable(now.first()));
        QCOMPARE(now.filter(u" для "_s).size(), 2);
        QCOMPARE(now.filter(u" для 7:1: "_s).size(), 2);

        QCOMPARE(Entries(*form, form->RecentMenu()).mid(0, 3), QStringList({u"#757778"_s, u"#888888"_s, u"#000000"_s}));
        QVERIFY(Choose(*form, form->RecentMenu(), u"#888888"_s));
        QCOMPARE(SliderValues(*form), u"136,136,136"_s);
        QCOMPARE(form->Panel1->Text(), u"<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#888888\">"_s);

        // A background suggestion changes the background, though the
        // sliders edit the text.
        QVERIFY(Choose(*form, form->ContrastMenu(), u"Фон для 4,5:1: #202224 (ΔE 80,4)"_s));
        QCOMPARE(SliderValues(*form), u"136,136,136"_s);
        QCOMPARE(form->Panel1->Text(), u"<BODY BGCOLOR=\"#202224\" TEXT=\"#888888\">"_s);
        QCOMPARE(form->Panel1->Color(), RGB(0x20, 0x22, 0x24));
    }

    // Empty at start; a slider move is not recorded, a copy is; a colour
    // that comes in brings the one it replaced along; again, it moves up.
    void recentColoursKeepWhatCameIn()
    {
        QCOMPARE(Entries(*form, form->RecentMenu()), QStringList({u"Пусто (-)"_s}));
        form->SlR->SetValue(0x10);
        QCOMPARE(Entries(*form, form->RecentMenu()), QStringList({u"Пусто (-)"_s}));
        form->SlG->SetValue(0x20);
        QTest::mouseClick(form->BtnCopy, Qt::LeftButton);
        Paste(*form, u"#336699"_s);
        Paste(*form, u"#102030"_s);
        QCOMPARE(Entries(*form, form->RecentMenu()), QStringList({u"#102030"_s, u"#336699"_s, u"#1020FF"_s}));
        QVERIFY(Choose(*form, form->RecentMenu(), u"#1020FF"_s));
        QCOMPARE(SliderValues(*form), u"16,32,255"_s);
        QCOMPARE(Entries(*form, form->RecentMenu()), QStringList({u"#1020FF"_s, u"#102030"_s, u"#336699"_s}));
    }

private:
    std::unique_ptr<TForm1> form;
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestContrastMenu test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_contrastmenu.moc"
