// Any clipboard text. The reader must never crash; an accepted text, written
// again as HTML (and as every other literal for one colour), must read back
// as the same colour(s); a rejected one gets one of the messages, on one line.
//
// Input: the text as UTF-8.
#include "color/colormodel.h"
#include "color/colortext.h"
#include "color/copyforms.h"
#include "color/nearestcolor.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const TNamedColorLookup& Names()
{
    static const TNamedColorLookup names = [] {
        TNamedColorLookup n;
        n.Add(QStringLiteral("Gold"), {255, 247, 0});
        n.Add(QStringLiteral("GostWhite"), {248, 248, 255});
        return n;
    }();
    return names;
}

[[noreturn]] void Fail(const char* what, const QString& text, const QString& again = {})
{
    std::fprintf(stderr, "colour text: %s\ntext: \"%s\"\n", what, text.toUtf8().constData());
    if (!again.isEmpty())
        std::fprintf(stderr, "re-written: \"%s\"\n", again.toUtf8().constData());
    std::abort();
}

QString Html(const RgbTriple& c)
{
    return HtmlOf(c.R, c.G, c.B);
}

void CheckMessage(const QString& text, const QString& message)
{
    if (message == QStringLiteral("В буфере обмена нет цвета")) {
        if (!QStringView(text).trimmed().isEmpty())
            Fail("a text with something in it is called empty", text);
        return;
    }
    // The quoted text ends at the closing quote: the message's last character,
    // or for a fault the "»: " before its reason, which holds no such pair.
    const qsizetype lastQuote = message.endsWith(u'»') ? message.size() - 1 : -1;
    const struct {
        QString Prefix;
        qsizetype End;
    } forms[] = {{QStringLiteral("Не удалось распознать цвет: «"), lastQuote},
                 {QStringLiteral("Прозрачность не поддерживается: «"), lastQuote},
                 {QStringLiteral("Ошибка в цвете «"), message.lastIndexOf(QStringLiteral("»: "))}};
    for (const auto& form : forms) {
        if (!message.startsWith(form.Prefix))
            continue;
        if (form.End < form.Prefix.size() || form.End - form.Prefix.size() > 40)
            Fail("the quoted text is not closed or not cut to 40 characters", text);
        for (QChar c : message)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                c.category() == QChar::Separator_Paragraph)
                Fail("the message has a control character or line break", text);
        return;
    }
    Fail("an unknown message", text);
}

void ExpectColor(const QString& text, const QString& again, const RgbTriple& color)
{
    const TColorReadResult r = ReadColorText(again, Names());
    if (r.Kind != TColorTextKind::Color || !(r.Color == color))
        Fail("a re-written colour reads back otherwise", text, again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TColorReadResult r = ReadColorText(text, Names());
    switch (r.Kind) {
    case TColorTextKind::Error:
        CheckMessage(text, r.Message);
        break;
    case TColorTextKind::Color:
        for (TLiteralFormat format :
             {TLiteralFormat::Delphi, TLiteralFormat::VisualCpp, TLiteralFormat::VisualBasic, TLiteralFormat::Html})
            ExpectColor(text, FormatLiteral(format, r.Color.R, r.Color.G, r.Color.B, {}, {}), r.Color);
        for (TCopyForm form : CopyForms) {
            if (form != TCopyForm::Name) // a name reads as its own colour
                ExpectColor(text, CopyFormText(form, r.Color, TNearestColorFinder()), r.Color);
        }
        break;
    case TColorTextKind::BodyTag: {
        if (!r.Background && !r.Text)
            Fail("a body tag without a colour", text);
        QString again = QStringLiteral("<BODY");
        if (r.Background)
            again += QStringLiteral(" BGCOLOR=\"") + Html(*r.Background) + QLatin1Char('"');
        if (r.Text)
            again += QStringLiteral(" TEXT=\"") + Html(*r.Text) + QLatin1Char('"');
        again += QLatin1Char('>');
        const TColorReadResult back = ReadColorText(again, Names());
        if (back.Kind != TColorTextKind::BodyTag || back.Background != r.Background || back.Text != r.Text)
            Fail("a re-written body tag reads back otherwise", text, again);
        break;
    }
    }
    return 0;
}
