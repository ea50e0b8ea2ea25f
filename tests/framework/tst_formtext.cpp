#include "framework/formtext.h"

#include <QtTest>

class TestFormText : public QObject {
    Q_OBJECT
private slots:
    void values();
    void nestedObjects();
    void roundTrip();
    void malformed_data();
    void malformed();
};

void TestFormText::values()
{
    const TFormObject o = ParseFormText(QStringLiteral("object SlR: TImageSlider\n"
                                                       "  Left = 32\n"
                                                       "  Tag = -7\n"
                                                       "  Color = $80000005\n"
                                                       "  Caption = 'It''s '#13#10'Текст'\n"
                                                       "  Options = [soShowFocus, soShowPoints]\n"
                                                       "  Empty = []\n"
                                                       "  ImageVRuler.Data = {0A0b\n   FF}\n"
                                                       "  Items = (\n    'a'\n    'b')\n"
                                                       "  OnChange = SlRChange\n"
                                                       "  Wide = 'a'#128512#1114111\n"
                                                       "end\n"));
    QCOMPARE(o.Name, QStringLiteral("SlR"));
    QCOMPARE(o.ClassName, QStringLiteral("TImageSlider"));
    QCOMPARE(o.Properties.size(), size_t(10));
    QCOMPARE(o.Properties[0].Value, TFormValue(32));
    QCOMPARE(o.Properties[1].Value, TFormValue(-7));
    QCOMPARE(o.Properties[2].Value, TFormValue(0x80000005LL));
    QCOMPARE(o.Properties[3].Value, TFormValue(QStringLiteral("It's \r\nТекст")));
    QCOMPARE(o.Properties[4].Value,
             TFormValue(TFormSet{{QStringLiteral("soShowFocus"), QStringLiteral("soShowPoints")}}));
    QCOMPARE(o.Properties[5].Value, TFormValue(TFormSet{}));
    QCOMPARE(o.Properties[6].Name, QStringLiteral("ImageVRuler.Data"));
    QCOMPARE(o.Properties[6].Value, TFormValue(QByteArray("\x0A\x0B\xFF", 3)));
    QCOMPARE(o.Properties[7].Value.If<TFormList>()->size(), size_t(2));
    QCOMPARE(o.Properties[8].Value, TFormValue(TFormIdent{QStringLiteral("SlRChange")}));
    QCOMPARE(o.Properties[8].Line, 13);
    // Codes beyond 16 bits, up to the last code point.
    QCOMPARE(o.Properties[9].Value, TFormValue(QStringLiteral("a\U0001F600\U0010FFFF")));
}

void TestFormText::nestedObjects()
{
    const TFormObject o = ParseFormText(QStringLiteral("object Form1: TForm1\n  object A: TPanel\n    object B: "
                                                       "TLabel\n    end\n  end\n  object C: TLabel\n  end\nend"));
    QCOMPARE(o.Children.size(), size_t(2));
    QCOMPARE(o.Children[0].Children[0].Name, QStringLiteral("B"));
    QCOMPARE(o.Children[0].Children[0].Line, 3);
    QCOMPARE(o.Children[1].Name, QStringLiteral("C"));
}

void TestFormText::roundTrip()
{
    TFormObject o;
    o.Name = QStringLiteral("Form1");
    o.ClassName = QStringLiteral("TForm1");
    o.Properties.push_back({QStringLiteral("Caption"), TFormValue(QStringLiteral("a'b\nО программе")), 0});
    o.Properties.push_back({QStringLiteral("Data"), TFormValue(QByteArray(100, '\x5A')), 0});
    o.Properties.push_back({QStringLiteral("Empty"), TFormValue(QString()), 0});
    o.Properties.push_back({QStringLiteral("Width"), TFormValue(-2147483648LL), 0});
    o.Properties.push_back({QStringLiteral("Lines"), TFormValue(TFormList{QStringLiteral("x")}), 0});
    TFormObject child;
    child.Name = QStringLiteral("SlR");
    child.ClassName = QStringLiteral("TImageSlider");
    child.Properties.push_back({QStringLiteral("Options"), TFormValue(TFormSet{{QStringLiteral("soSmooth")}}), 0});
    o.Children.push_back(child);

    const QString text = FormatFormText(o);
    const TFormObject back = ParseFormText(text);
    QCOMPARE(FormatFormText(back), text);
    QCOMPARE(back.Properties.size(), o.Properties.size());
    for (size_t i = 0; i < o.Properties.size(); ++i)
        QCOMPARE(back.Properties[i].Value, o.Properties[i].Value);
    QCOMPARE(back.Children[0].Properties[0].Value, child.Properties[0].Value);
}

void TestFormText::malformed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("no object") << "thing A: TB\nend" << 1;
    QTest::newRow("missing colon") << "object A TB\nend" << 1;
    QTest::newRow("missing end") << "object A: TB\n  Left = 1\n" << 3;
    QTest::newRow("extra end") << "object A: TB\nend\nend" << 3;
    QTest::newRow("missing equals") << "object A: TB\n  Left 1\nend" << 2;
    QTest::newRow("bad number") << "object A: TB\n\n  Left = 12x\nend" << 3;
    QTest::newRow("unterminated string") << "object A: TB\n  Caption = 'abc\nend" << 2;
    QTest::newRow("odd hex") << "object A: TB\n  D = {ABC}\nend" << 2;
    QTest::newRow("bad hex") << "object A: TB\n  D = {AZ}\nend" << 2;
    QTest::newRow("truncated hex") << "object A: TB\n  D = {AB" << 2;
    // Digits of other scripts are no digits of a layout.
    QTest::newRow("arabic-indic digit in hex") << QStringLiteral("object A: TB\n  D = {A\u0661}\nend") << 2;
    QTest::newRow("arabic-indic digit in number") << QStringLiteral("object A: TB\n\n  Left = 1\u0662\nend") << 3;
    QTest::newRow("fullwidth digit in $ number") << QStringLiteral("object A: TB\n  C = $F\uFF11\nend") << 2;
    QTest::newRow("set without comma") << "object A: TB\n  O = [a b]\nend" << 2;
    QTest::newRow("bad char code") << "object A: TB\n  C = #99999999\nend" << 2;
    QTest::newRow("past the last code point") << "object A: TB\n  C = #1114112\nend" << 2;
    QTest::newRow("value missing") << "object A: TB\n  C = \nend" << 3;
    QTest::newRow("nesting") << "object A: TB\n  object B: TC\nend" << 3;
    QString deep;
    for (int i = 0; i < 100; ++i)
        deep += QStringLiteral("object A: TB\n");
    QTest::newRow("too deep") << deep << 66;
}

void TestFormText::malformed()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    try {
        ParseFormText(text);
        QFAIL("no error raised");
    } catch (const EFormError& e) {
        QCOMPARE(e.Line(), line);
        QVERIFY2(e.Message().startsWith(QStringLiteral("Line %1: ").arg(line)), qPrintable(e.Message()));
    }
}

QTEST_GUILESS_MAIN(TestFormText)
#include "tst_formtext.moc"
