#include "framework/application.h"
#include "framework/formreader.h"
#include "framework/formwriter.h"

#include <QtTest>

namespace GadgetEnums {
Q_NAMESPACE
enum TMode { gmOff, gmOn, gmAuto };
Q_ENUM_NS(TMode)
enum TOption { goA = 1, goB = 2, goC = 4 };
Q_ENUM_NS(TOption)
} // namespace GadgetEnums
using namespace GadgetEnums;

namespace {

// A small control with one property of every kind, recording what happens
// to it while it is read.
class TGadget : public QWidget, public TComponent {
public:
    QStringList* Journal = nullptr;
    int Size = 10;
    QString Caption;
    bool Flag = false;
    TColor Color = clWindow;
    TMode Mode = gmOff;
    unsigned Options = 0b011;
    QStringList Lines;
    QByteArray Picture;
    quint8 Mask = 0;
    TNotifyEvent OnChange;

    static inline QStringList* SharedJournal = nullptr;

    TGadget() : Journal(SharedJournal) {}

    void SetSize(int v)
    {
        if (v < 0)
            throw Exception(QStringLiteral("Size must not be negative"));
        Size = v;
        if (OnChange)
            OnChange(this);
        Log(QStringLiteral("size"));
    }
    void Loaded() override
    {
        TComponent::Loaded();
        Log(QStringLiteral("loaded ") + Name() + (OnChange ? QStringLiteral(" bound") : QStringLiteral(" unbound")));
    }
    void Log(const QString& s)
    {
        if (Journal)
            Journal->append(s);
    }

    static void RegisterClass()
    {
        TClassBuilder<TGadget>(QStringLiteral("TGadget"))
            .Int(
                QStringLiteral("Size"), [](TGadget* g) { return g->Size; }, &TGadget::SetSize)
            .Str(
                QStringLiteral("Caption"), [](TGadget* g) { return g->Caption; },
                [](TGadget* g, const QString& s) { g->Caption = s; })
            .Bool(
                QStringLiteral("Flag"), [](TGadget* g) { return g->Flag; }, [](TGadget* g, bool b) { g->Flag = b; })
            .Color(
                QStringLiteral("Color"), [](TGadget* g) { return g->Color; },
                [](TGadget* g, TColor c) { g->Color = c; })
            .Enum<TMode>(
                QStringLiteral("Mode"), [](TGadget* g) { return g->Mode; }, [](TGadget* g, TMode m) { g->Mode = m; })
            .SetOf<TOption>(
                QStringLiteral("Options"), [](TGadget* g) { return g->Options; },
                [](TGadget* g, unsigned o) { g->Options = o; })
            .Strings(
                QStringLiteral("Lines"), [](TGadget* g) { return g->Lines; },
                [](TGadget* g, const QStringList& l) { g->Lines = l; })
            .Binary(
                QStringLiteral("Picture.Data"), [](TGadget* g) { return (g->Mask & 1) != 0; },
                [](TGadget* g) { return g->Picture; }, [](TGadget* g, const QByteArray& d) { g->Picture = d; })
            .Event<TNotifyEvent>(QStringLiteral("OnChange"),
                                 [](TGadget* g, TNotifyEvent e) { g->OnChange = std::move(e); })
            .Stream(
                QStringLiteral("Mask"),
                [](TGadget* g, TGadget* ancestor) { return ancestor ? g->Mask != ancestor->Mask : g->Mask != 0; },
                [](TGadget* g) { return QByteArray(1, char(g->Mask)); },
                [](TGadget* g, const QByteArray& d) { g->Mask = d.isEmpty() ? 0 : quint8(d[0]); })
            .Register();
    }
};

const QString Layout = QStringLiteral("object Root: TGadget\n"
                                      "  Size = 3\n"
                                      "  OnChange = RootChange\n"
                                      "  object Child: TGadget\n"
                                      "    Caption = 'Фон'\n"
                                      "    Color = clRed\n"
                                      "    Mode = gmAuto\n"
                                      "    Options = [goC]\n"
                                      "    Size = 5\n"
                                      "    OnChange = ChildChange\n"
                                      "  end\n"
                                      "end\n");

} // namespace

class TestFormStream : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TGadget::RegisterClass(); }

    void readAppliesPropertiesThenLoadedThenEvents()
    {
        QStringList journal;
        TGadget::SharedJournal = &journal;
        QStringList raised;
        const THandlerTable handlers = {
            {QStringLiteral("RootChange"), TNotifyEvent([&](QObject*) { raised << QStringLiteral("root"); })},
            {QStringLiteral("ChildChange"), TNotifyEvent([&](QObject*) { raised << QStringLiteral("child"); })},
        };
        std::unique_ptr<QWidget> root = TFormReader::ReadComponent(Layout, handlers);
        TGadget::SharedJournal = nullptr;

        QVERIFY2(raised.isEmpty(), "loading must raise no handler");
        QCOMPARE(journal, (QStringList{"size", "size", "loaded Root unbound", "loaded Child unbound"}));

        auto* r = static_cast<TGadget*>(root.get());
        auto* child = r->findChild<QWidget*>(QStringLiteral("Child"));
        QVERIFY(child);
        auto* c = static_cast<TGadget*>(child);
        QCOMPARE(r->Size, 3);
        QCOMPARE(c->Caption, QStringLiteral("Фон"));
        QCOMPARE(c->Color, clRed);
        QCOMPARE(c->Mode, gmAuto);
        QCOMPARE(c->Options, 0b100u);
        QVERIFY(!c->InState(csLoading | csReading));
        c->SetSize(6);
        QCOMPARE(raised, QStringList{QStringLiteral("child")});
    }

    void writeListsOnlyChangedPropertiesInPublishedOrder()
    {
        TGadget g;
        SetClassName(&g, QStringLiteral("TGadget"));
        g.SetName(QStringLiteral("G"));
        QCOMPARE(TFormWriter::Write(&g), QStringLiteral("object G: TGadget\nend\n"));

        g.Color = clWindowText;
        g.Size = 4;
        g.Mode = gmOn;
        g.SetEventBinding(QStringLiteral("OnChange"), QStringLiteral("GChange"));
        g.Picture = QByteArray("\x01\x02", 2); // not stored while its bit is clear
        QCOMPARE(TFormWriter::Write(&g), QStringLiteral("object G: TGadget\n"
                                                        "  Size = 4\n"
                                                        "  Color = clWindowText\n"
                                                        "  Mode = gmOn\n"
                                                        "  OnChange = GChange\n"
                                                        "end\n"));
    }

    void roundTripRestoresEveryKind()
    {
        TGadget g;
        SetClassName(&g, QStringLiteral("TGadget"));
        g.SetName(QStringLiteral("G"));
        g.Size = 77;
        g.Caption = QStringLiteral("It's\n'quoted'");
        g.Flag = true;
        g.Color = TColor(0x123456);
        g.Options = 0;
        g.Lines = {QStringLiteral("one"), QString(), QStringLiteral("три")};
        g.Picture = QByteArray(300, '\xA5');
        g.Mask = 1;
        const QString text = TFormWriter::Write(&g);
        QVERIFY(text.contains(QStringLiteral("Options = []")));
        QVERIFY(text.indexOf(QStringLiteral("Picture.Data")) < text.indexOf(QStringLiteral("Mask = {01}")));

        std::unique_ptr<QWidget> back = TFormReader::ReadComponent(text);
        auto* b = static_cast<TGadget*>(back.get());
        QCOMPARE(b->Size, g.Size);
        QCOMPARE(b->Caption, g.Caption);
        QCOMPARE(b->Flag, true);
        QCOMPARE(b->Color, g.Color);
        QCOMPARE(b->Options, 0u);
        QCOMPARE(b->Lines, g.Lines);
        QCOMPARE(b->Picture, g.Picture);
        QCOMPARE(b->Mask, quint8(1));
        QCOMPARE(TFormWriter::Write(b), text);
    }

    void streamPropertyAgainstAncestor()
    {
        TGadget ancestor, g;
        for (TGadget* x : {&ancestor, &g}) {
            SetClassName(x, QStringLiteral("TGadget"));
            x->SetName(QStringLiteral("G"));
        }
        ancestor.Mask = 2;
        g.Mask = 2;
        QVERIFY(!TFormWriter::Write(&g, &ancestor).contains(QStringLiteral("Mask")));
        QVERIFY(TFormWriter::Write(&g).contains(QStringLiteral("Mask = {02}")));
        g.Mask = 0;
        QVERIFY(TFormWriter::Write(&g, &ancestor).contains(QStringLiteral("Mask = {00}")));
        QVERIFY(!TFormWriter::Write(&g).contains(QStringLiteral("Mask")));
    }

    void brokenDescriptions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown class") << "object R: TGadget\n  object C: TNothing\n  end\nend"
                                       << QStringLiteral("Line 2: Unknown class 'TNothing'");
        QTest::newRow("unknown property") << "object R: TGadget\n  object C: TGadget\n    Bogus = 1\n  end\nend"
                                          << QStringLiteral("Line 3: Unknown property 'Bogus' of TGadget");
        QTest::newRow("unknown handler") << "object R: TGadget\n  OnChange = Nowhere\nend"
                                         << QStringLiteral("Line 2: Unknown handler 'Nowhere'");
        QTest::newRow("wrong kind") << "object R: TGadget\n  object C: TGadget\n    Size = 'big'\n  end\nend"
                                    << QStringLiteral("Line 3: Size: An integer expected, found a string");
        QTest::newRow("rejected value")
            << "object R: TGadget\n  object C: TGadget\n  end\n  object D: TGadget\n    Size = -1\n  end\nend"
            << QStringLiteral("Line 5: Size: Size must not be negative");
        QTest::newRow("bad enum") << "object R: TGadget\n  Mode = gmSideways\nend"
                                  << QStringLiteral("Line 2: Mode: Invalid value 'gmSideways' for Mode");
        QTest::newRow("bad colour") << "object R: TGadget\n  Color = clPlaid\nend"
                                    << QStringLiteral("Line 2: Color: Unknown colour 'clPlaid'");
        QTest::newRow("unbalanced") << "object R: TGadget\n  object C: TGadget\nend"
                                    << QStringLiteral("Line 3: 'end' expected before the end of the text");
    }
    void brokenDescriptions()
    {
        QFETCH(QString, text);
        TGadget root;
        SetClassName(&root, QStringLiteral("TGadget"));
        bool raised = false;
        try {
            TFormReader::ReadRoot(&root, text, {{QStringLiteral("Known"), TNotifyEvent()}});
        } catch (const EFormError& e) {
            raised = true;
            QTEST(e.Message(), "message");
        }
        QVERIFY(raised);
        QVERIFY2(root.children().isEmpty(), "a failed read leaves no component behind");
        QVERIFY(!root.InState(csLoading | csReading));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestFormStream test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_formstream.moc"
