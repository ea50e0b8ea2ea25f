#include "color/colormodel.h"
#include "color/colortext.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A result in one line: "#RRGGBB", "body BACK TEXT" ('-' for a missing
// attribute), or the message.
QString Describe(const TColorReadResult& r)
{
    const auto html = [](const std::optional<RgbTriple>& c) { return c ? HtmlOf(c->R, c->G, c->B) : u"-"_s; };
    switch (r.Kind) {
    case TColorTextKind::Color:
        return html(r.Color);
    case TColorTextKind::BodyTag:
        return u"body "_s + html(r.Background) + u' ' + html(r.Text);
    case TColorTextKind::Error:
        break;
    }
    return r.Message;
}

// Names as the window's list spells them, some with colours of their own.
TNamedColorLookup ListNames()
{
    TNamedColorLookup names;
    names.Add(u"Gold"_s, {255, 247, 0});
    names.Add(u"Fainsboro"_s, {220, 220, 220});
    return names;
}

QString Bad(const QString& shown)
{
    return u"Не удалось распознать цвет: «"_s + shown + u'»';
}
QString Clear(const QString& shown)
{
    return u"Прозрачность не поддерживается: «"_s + shown + u'»';
}
QString Fault(const QString& shown, const QString& reason)
{
    return u"Ошибка в цвете «"_s + shown + u"»: "_s + reason;
}

// Why a text in a known form fails.
const QString HashCount = u"нужно 3, 4, 6 или 8 шестнадцатеричных цифр"_s;
const QString HexCount = u"нужно от 1 до 8 шестнадцатеричных цифр"_s;
const QString AboveBgr = u"значение больше 00FFFFFF"_s;
const QString Above255 = u"канал вне 0…255"_s;
const QString AbovePercent = u"канал вне 0%…100%"_s;
const QString Fraction = u"канал — целое число от 0 до 255 или проценты"_s;
const QString AlphaRange = u"непрозрачность вне 0…1"_s;
const QString RgbForm = u"нужно три канала: rgb(к, з, с) или rgb(к з с / а)"_s;
const QString UnknownName = u"неизвестное имя цвета"_s;
const QString HslForm = u"нужно три значения: hsl(т, н%, с%) или hsl(т н с / а)"_s;
const QString HwbForm = u"нужно три значения: hwb(т б ч / а)"_s;
const QString OklabForm = u"нужно три значения: oklab(L a b / а)"_s;
const QString OklchForm = u"нужно три значения: oklch(L C H / а)"_s;
const QString QtForm = u"нужно три значения: QColor(к, з, с)"_s;
const QString Vec3Form = u"нужно три значения: vec3(к, з, с)"_s;
const QString PercentRange = u"значение вне 0%…100%"_s;
const QString FractionRange = u"доля вне 0…1"_s;
QString NotHex(const QString& c)
{
    return u'«' + c + u"» — не шестнадцатеричная цифра"_s;
}
// A row's expectation: the message for a fault quoting the trimmed text.
QString Why(const QString& reason)
{
    return u"why: "_s + reason;
}

} // namespace

class TestColorText : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void listNamesComeFirst();
    void forms_data();
    void forms();
    void everyWrittenLiteralReadsBack();
};

void TestColorText::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // "bad", "clear" and Why() stand for the messages quoting the trimmed text.
    const std::pair<QString, QString> rows[] = {
        // clang-format off
        // the program's own order, BBGGRR, 1 to 8 digits up to 00FFFFFF
        {"$000080FF", "#FF8000"}, {" \t$00ffffff ; ", "#FFFFFF"}, {"$0", "#000000"}, {"$FFFFFF", "#FFFFFF"},
        {"$01000000", Why(AboveBgr)}, {"$80000005", Why(AboveBgr)}, {"$000000000", Why(HexCount)}, {"$", Why(HexCount)},
        {"$00GG0000", Why(NotHex("G"))}, {"$ 0", Why(NotHex(" "))}, {"0x00030201", "#010203"},
        {"0X00030201;", "#010203"}, {"0x", Why(HexCount)}, {"&H000080FF&", "#FF8000"}, {"&h80ff", "#FF8000"},
        {"&H&", Why(HexCount)}, {"&H00FF&&", Why(NotHex("&"))},
        // HTML, with an alpha only when opaque
        {"#ff8000;", "#FF8000"}, {"#F80", "#FF8800"}, {"#F80F", "#FF8800"}, {"#FF8000FF", "#FF8000"},
        {"#FF8000FE", "clear"}, {"#FF80", "clear"}, {"#FF800", Why(HashCount)}, {"#FF80000", Why(HashCount)},
        {"#", Why(HashCount)}, {"# FF8000", Why(HashCount)}, {"#٠٠٠", Why(NotHex("٠"))}, {"#1😀234", Why(NotHex("😀"))},
        // rgb(): bytes, percentages rounded half up, both separator styles
        {"rgb(255, 128, 0)", "#FF8000"}, {"RGB( 0 ,0,0 );", "#000000"}, {"rgb(256, 0, 0)", Why(Above255)},
        {"rgb(0%, 50%, 100%)", "#0080FF"}, {"rgb(10%,30%,70%)", "#1A4DB3"}, {"rgb(.2%, 33.3%, 99.9%)", "#0155FF"},
        {"rgb(0.19%, 0.1960784%, 0.19607844%)", "#000001"}, {"rgb(100.1%, 0, 0)", Why(AbovePercent)},
        {"rgb(127.5, 0, 0)", Why(Fraction)}, {"rgb(5., 0, 0)", Why(RgbForm)}, {"rgb(-1, 0, 0)", Why(RgbForm)},
        {"rgb(99999999999999999999999, 0, 0)", Why(Above255)}, {"rgb(255 128 0)", "#FF8000"},
        {"rgb(255 128 0 / 100%)", "#FF8000"}, {"rgba(255, 128, 0, 1.0)", "#FF8000"}, {"rgba(1, 2, 3)", "#010203"},
        {"rgba(0, 0, 0, 0.9999999)", "clear"}, {"rgb(0 0 0 / 0)", "clear"}, {"rgba(0, 0, 0, 1.5)", Why(AlphaRange)},
        {"rgb(1, 2 3)", Why(RgbForm)}, {"rgb(1 2, 3)", Why(RgbForm)}, {"rgb(1 2 3 4)", Why(RgbForm)},
        {"rgb(1, 2, 3 / 1)", Why(RgbForm)}, {"rgb(1, 2)", Why(RgbForm)}, {"rgb(1, 2, 3, 1, 1)", Why(RgbForm)},
        {"rgb(1, 2, 3,)", Why(RgbForm)}, {"rgb(1, 2, 3", Why(RgbForm)}, {"rgb(1%2%3%)", Why(RgbForm)},
        // 0xFFRRGGBB is opaque ARGB; the other top bytes keep their meaning
        {"0xFFFF8000", "#FF8000"}, {"0xff0000ab;", "#0000AB"}, {"0x00FF8000", "#0080FF"},
        {"0xFEFF8000", Why(AboveBgr)}, {"0xFFF8000", Why(AboveBgr)}, {"$FFFF8000", Why(AboveBgr)},
        {"0xFFGG8000", Why(NotHex("G"))},
        // hsl(), hwb(): hues in any unit, both syntaxes for hsl() only
        {"hsl(30.1, 100%, 50%)", "#FF8000"}, {" HSLA(30.1 100% 50% / 1) ;", "#FF8000"},
        {"hsl(0.5turn 100 50)", "#00FFFF"}, {"hsl(200grad, 100%, 50%)", "#00FFFF"},
        {"hsl(3.14159265rad 100% 50%)", "#00FFFF"}, {"hsl(-120deg 100% 50%)", "#0000FF"},
        {"hsl(+1.2e2 100% 50%)", "#00FF00"}, {"hsl(none 0% 50%)", "#808080"}, {"hsl(0, 0%, 100%)", "#FFFFFF"},
        {"hsl(30, 100, 50)", Why(HslForm)}, {"hsl(30%, 100%, 50%)", Why(HslForm)}, {"hsl(30 100% 50% 1)", Why(HslForm)},
        {"hsl(5. 1% 1%)", Why(HslForm)}, {"hsl(1e 1% 1%)", Why(HslForm)}, {"hsl(30, 100%, 50%", Why(HslForm)},
        {"hsl(1e999 1% 1%)", Why(HslForm)}, {"hsl(30, 100.1%, 50%)", Why(PercentRange)},
        {"hsl(30 -1% 50%)", Why(PercentRange)}, {"hsl(30 100% 50% / 0.5)", "clear"},
        {"hsla(30, 100%, 50%, 2)", Why(AlphaRange)}, {"hwb(30 0% 0%)", "#FF8000"}, {"hwb(0 60% 60%)", "#808080"},
        {"hwb(0 20% 40%)", "#993333"},
        {"hwb(30, 0%, 0%)", Why(HwbForm)},
        // oklab(), oklch(): lightness clamped, colours beyond sRGB mapped into it
        {"oklab(62.8% 0.22486 0.12585)", "#FF0000"}, {"oklab(1.5 0.1 0)", "#FFFFFF"}, {"oklab(-1 0 0)", "#000000"},
        {"oklab(0.5, 0, 0)", Why(OklabForm)}, {"oklch(73.19% 0.1858 52.98)", "#FF8000"},
        {"OKLCH(0.7319 46.45% 52.98deg)", "#FF8000"}, {"oklch(50% -0.1 30)", "#636363"},
        {"oklch(50% 0.1 30 / 50%)", "clear"}, {"oklch(50% 0.1 30%)", Why(OklchForm)},
        // Qt, Win32 and shader forms
        {"QColor(255, 128, 0);", "#FF8000"}, {"qcolor(1,2,3)", "#010203"}, {"QColor(256, 0, 0)", Why(Above255)},
        {"QColor(10%, 0, 0)", Why(QtForm)}, {"QColor(1 2 3)", Why(QtForm)}, {"QColor(1, 2, 3, 4)", Why(QtForm)},
        {"RGB(255, 128, 0)", "#FF8000"}, {"vec3(1.000, 0.502, 0.000)", "#FF8000"}, {"vec3(1, 0.5, .25)", "#FF8040"},
        {"vec3(1.001, 0, 0)", Why(FractionRange)}, {"vec3(-0.1, 0, 0)", Why(FractionRange)},
        {"vec3(1 0 0)", Why(Vec3Form)}, {"vec3(50%, 0, 0)", Why(Vec3Form)}, {"vec3(none, 0, 0)", Why(Vec3Form)},
        // rows a weaker reader would pass
        {"rgb(1 2 3 1)", Why(RgbForm)}, {"rgb(50.%, 0, 0)", Why(RgbForm)},
        {R"(<BODY BGCOLOR="#FFF"TEXT="#000">)", "body #FFFFFF #000000"},
        {"rgb(" + QString(244, u' ') + "1, 2, 3)", "#010203"},
        {"rgb(" + QString(245, u' ') + "1, 2, 3)", Bad("rgb(" + QString(35, u' ') + u'…')},
        // names: the list's, then CSS
        {"rosybrown", "#BC8F8F"}, {"ALICEBLUE", "#F0F8FF"}, {"rebeccapurple", "#663399"},
        {"yellowgreen", "#9ACD32"}, {"gold", "#FFF700"}, {"fainsboro", "#DCDCDC"}, {"transparent", "clear"},
        {"Transparent;", "clear"}, {"gold color", "bad"}, {"123456", "bad"},
        // body tags
        {R"(<BODY BGCOLOR="#FFFFFF" TEXT="#000000">)", "body #FFFFFF #000000"},
        {"<body text='#010203' bgcolor=#FFF>", "body #FFFFFF #010203"},
        {R"(  < Body  BgColor = "#FF8000"  > ;)", "body #FF8000 -"}, {R"(<BODY TEXT=" Gold ">)", "body - #FFF700"},
        {"<BODY>", "bad"}, {R"(<BODY BGCOLOR="#FFF" bgcolor="#000">)", "bad"}, {R"(<BODY BGCOLOR="#FFF">x)", "bad"},
        {R"(<BODY LINK="#FFF">)", "bad"}, {R"(<BODY BGCOLOR="#FFF>)", "bad"}, {"<BODYBGCOLOR=#FFF>", "bad"},
        {"<BODY BGCOLOR=#FFFTEXT=#000>", Why(HashCount)}, {"<BODY TEXT=>", "bad"},
        {R"(<BODY TEXT="#000" BGCOLOR='#FFFFFF80'>)", "clear"},
        // what the messages show
        {"", "В буфере обмена нет цвета"}, {" \r\n\t ", "В буфере обмена нет цвета"}, {";", "bad"},
        {"hello\nworld\u2028!", Bad("hello world !")}, {QString(40, u'x'), Why(UnknownName)},
        {QString(41, u'x'), Fault(QString(39, u'x') + u'…', UnknownName)},
        {QString(38, u'x') + QString::fromUtf8("😀!"), Bad(QString(38, u'x') + u'…')},
        {QString(300, u' ') + "#FFF", "#FFFFFF"},
        {"$" + QString(200, u'0'), Fault("$" + QString(38, u'0') + u'…', HexCount)},
        {QString(300, u'x'), Bad(QString(39, u'x') + u'…')},
        // each fault's message in full
        {"#12345", "Ошибка в цвете «#12345»: нужно 3, 4, 6 или 8 шестнадцатеричных цифр"},
        {"0x123456789", "Ошибка в цвете «0x123456789»: нужно от 1 до 8 шестнадцатеричных цифр"},
        {"#12G456", "Ошибка в цвете «#12G456»: «G» — не шестнадцатеричная цифра"},
        {"#12\u0001456", "Ошибка в цвете «#12 456»: « » — не шестнадцатеричная цифра"},
        {"&H1000000&", "Ошибка в цвете «&H1000000&»: значение больше 00FFFFFF"},
        {"rgb(300, 0, 0)", "Ошибка в цвете «rgb(300, 0, 0)»: канал вне 0…255"},
        {"rgb(0, 150%, 0)", "Ошибка в цвете «rgb(0, 150%, 0)»: канал вне 0%…100%"},
        {"rgb(12.5, 0, 0)", "Ошибка в цвете «rgb(12.5, 0, 0)»: канал — целое число от 0 до 255 или проценты"},
        {"rgb(0 0 0 / 101%)", "Ошибка в цвете «rgb(0 0 0 / 101%)»: непрозрачность вне 0…1"},
        {"rgba(1, 2, 3", "Ошибка в цвете «rgba(1, 2, 3»: нужно три канала: rgb(к, з, с) или rgb(к з с / а)"},
        {"красный", "Ошибка в цвете «красный»: неизвестное имя цвета"},
        {R"(<BODY TEXT="Blurple">)", R"(Ошибка в цвете «<BODY TEXT="Blurple">»: неизвестное имя цвета)"},
        {"hello world!", "Не удалось распознать цвет: «hello world!»"},
        // clang-format on
    };
    for (const auto& [text, expected] : rows) {
        const QString shown = expected == "bad"              ? Bad(text.trimmed())
                              : expected == "clear"          ? Clear(text.trimmed())
                              : expected.startsWith("why: ") ? Fault(text.trimmed(), expected.mid(5))
                                                             : expected;
        QTest::addRow("%s", qPrintable(text.left(60).simplified())) << text << shown;
    }
}

void TestColorText::reads()
{
    QFETCH(QString, text);
    QTEST(Describe(ReadColorText(text, ListNames())), "expected");
}

void TestColorText::listNamesComeFirst()
{
    QCOMPARE(Describe(ReadColorText(u"Gold"_s)), u"#FFD700"_s);
    QCOMPARE(Describe(ReadColorText(u"Fainsboro"_s)), Fault(u"Fainsboro"_s, UnknownName));
    // Long texts are turned away before any name is looked at.
    TNamedColorLookup names;
    names.Add(QString(300, u'a'), {1, 2, 3});
    QCOMPARE(ReadColorText(QString(300, u'a'), names).Kind, TColorTextKind::Error);
}

void TestColorText::forms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("form");
    const std::pair<QString, QString> rows[] = {
        {"$000080FF", "Delphi, порядок BBGGRR"},
        {"0x000080FF", "Visual C++, порядок BBGGRR"},
        {"&H80FF&", "Visual Basic, порядок BBGGRR"},
        {"#FF8000", "HTML, порядок RRGGBB"},
        {"#F80F", "HTML, краткая запись #RGB"},
        {"#FF8000FF", "HTML с непрозрачной альфой, #RRGGBBAA"},
        {"rgba(255 128 0 / 1)", "CSS rgb()"},
        {"gold", "имя из списка цветов"},
        {"RosyBrown", "имя цвета CSS"},
        {"<BODY TEXT=#000>", "тег HTML-<body>"},
        {"0xFFFF8000", "ARGB, порядок AARRGGBB"},
        {"hsl(0 0% 0%)", "CSS hsl()"},
        {"hwb(0 0% 0%)", "CSS hwb()"},
        {"oklab(0 0 0)", "CSS oklab()"},
        {"oklch(0 0 0)", "CSS oklch()"},
        {"QColor(1, 2, 3)", "Qt QColor()"},
        {"RGB(1, 2, 3)", "Win32 RGB()"},
        {"rgb(1, 2, 3)", "CSS rgb()"},
        {"vec3(0, 0, 0)", "доли vec3()"},
        {"#FF800", ""},
    };
    for (const auto& [text, form] : rows)
        QTest::addRow("%s", qPrintable(text)) << text << form;
}

void TestColorText::forms()
{
    QFETCH(QString, text);
    QTEST(ColorTextFormName(ReadColorText(text, ListNames()).Form), "form");
}

void TestColorText::everyWrittenLiteralReadsBack()
{
    const TLiteralFormat formats[] = {TLiteralFormat::Delphi, TLiteralFormat::VisualCpp, TLiteralFormat::VisualBasic,
                                      TLiteralFormat::Html, TLiteralFormat::HtmlBody};
    for (int i = 0; i <= 300; ++i) {
        const int v = int(0xFFFFFFLL * i / 300);
        const int r = v >> 16, g = (v >> 8) & 0xFF, b = v & 0xFF;
        const QString back = HtmlOf(r, g, b), text = HtmlOf(255 - g, b, r);
        for (TLiteralFormat format : formats) {
            const QString literal = FormatLiteral(format, r, g, b, back, text);
            const QString expected = format == TLiteralFormat::HtmlBody ? u"body "_s + back + u' ' + text : back;
            QCOMPARE(Describe(ReadColorText(literal)), expected);
        }
    }
}

QTEST_GUILESS_MAIN(TestColorText)
#include "tst_colortext.moc"
