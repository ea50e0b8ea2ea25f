#include "color/colortext.h"

#include "color/csscolornames.h"

#include <algorithm>
#include <cstdint>

void TNamedColorLookup::Add(const QString& name, const RgbTriple& color)
{
    colors_.insert(name.toCaseFolded(), color);
}

std::optional<RgbTriple> TNamedColorLookup::Find(QStringView name) const
{
    if (colors_.isEmpty())
        return std::nullopt;
    const auto it = colors_.constFind(name.toString().toCaseFolded());
    if (it == colors_.constEnd())
        return std::nullopt;
    return *it;
}

namespace {

// Why a text is no colour. Past Transparent, the text is in a form we know
// and the message names its fault.
enum class TFailure {
    NotRecognized,
    Transparent,
    HashDigitCount,
    HexDigitCount,
    NotHexDigit,
    AboveBgrRange,
    ChannelAbove255,
    PercentAbove100,
    FractionalChannel,
    AlphaRange,
    RgbSyntax,
    UnknownName,
};

struct TFault {
    TFailure Failure = TFailure::NotRecognized;
    QStringView Character; // the one at fault, for NotHexDigit
};

// One colour read, or why not.
struct TSingle {
    std::optional<RgbTriple> Color;
    TColorTextForm Form = TColorTextForm::None;
    TFault Fault;
};

TSingle Found(const RgbTriple& color, TColorTextForm form)
{
    return {color, form, {}};
}

TSingle Failed(TFailure failure = TFailure::NotRecognized, QStringView character = {})
{
    return {std::nullopt, TColorTextForm::None, {failure, character}};
}

// Only ASCII digits: other scripts' digits are no part of a literal.
int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool IsDecimal(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The first character that is no hex digit, whole even when outside the
// basic plane; empty when there is none.
QStringView FirstNonHex(QStringView digits)
{
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (HexValue(digits[i]) < 0)
            return digits.sliced(i, digits[i].isHighSurrogate() && i + 1 < digits.size() ? 2 : 1);
    }
    return {};
}

// The program's own order, 0x00BBGGRR, in 1 to 8 digits (so no overflow). A
// value with any bit of the top byte set would be a system colour, which has
// no fixed colour to read.
TSingle ReadBgr(QStringView digits, TColorTextForm form)
{
    if (digits.isEmpty() || digits.size() > 8)
        return Failed(TFailure::HexDigitCount);
    if (const QStringView bad = FirstNonHex(digits); !bad.isEmpty())
        return Failed(TFailure::NotHexDigit, bad);
    std::uint32_t value = 0;
    for (QChar c : digits)
        value = value << 4 | std::uint32_t(HexValue(c));
    if (value > 0x00FFFFFFu)
        return Failed(TFailure::AboveBgrRange);
    return Found({std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16)}, form);
}

// #RGB, #RGBA, #RRGGBB, #RRGGBBAA (the digits after the '#').
TSingle ReadHash(QStringView digits)
{
    const qsizetype n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return Failed(TFailure::HashDigitCount);
    if (const QStringView bad = FirstNonHex(digits); !bad.isEmpty())
        return Failed(TFailure::NotHexDigit, bad);
    const int width = n <= 4 ? 1 : 2;
    const auto channel = [&](int index) {
        int v = 0;
        for (int k = 0; k < width; ++k)
            v = v * 16 + HexValue(digits[index * width + k]);
        return std::uint8_t(width == 1 ? v * 17 : v); // one digit stands for two equal ones
    };
    if ((n == 4 || n == 8) && channel(3) != 255)
        return Failed(TFailure::Transparent);
    const TColorTextForm form = n == 6   ? TColorTextForm::Html
                                : n == 8 ? TColorTextForm::HtmlAlpha
                                         : TColorTextForm::HtmlShort;
    return Found({channel(0), channel(1), channel(2)}, form);
}

// A number of rgb() in fixed point with nine decimals, so that a percentage
// rounds to its byte exactly, without binary fractions; digits past the ninth
// decimal are ignored.
struct TNumber {
    std::uint64_t Nano = 0; // the value times 10^9; the integer part saturates at 10^6
    bool Fraction = false;  // written with a decimal point
    bool Percent = false;
};

constexpr std::uint64_t Unit = 1'000'000'000;

class TScanner {
public:
    explicit TScanner(QStringView text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : text_[pos_]; }

    // True when there was white space to skip.
    bool SkipSpace()
    {
        const qsizetype start = pos_;
        while (!AtEnd() && text_[pos_].isSpace())
            ++pos_;
        return pos_ != start;
    }

    bool Take(QChar c)
    {
        if (AtEnd() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    // A word in any letter case. What may follow it is for the caller to check.
    bool TakeWord(QLatin1String word)
    {
        if (text_.size() - pos_ < word.size() || text_.sliced(pos_, word.size()).compare(word, Qt::CaseInsensitive))
            return false;
        pos_ += word.size();
        return true;
    }

    template <typename Pred> QStringView TakeWhile(Pred pred)
    {
        const qsizetype start = pos_;
        while (!AtEnd() && pred(text_[pos_]))
            ++pos_;
        return text_.sliced(start, pos_ - start);
    }

    // Digits, optionally '.' and digits (".5" too, not "5."), then an
    // optional '%'. No sign: no valid channel or alpha is negative.
    bool ReadNumber(TNumber& number)
    {
        number = {};
        std::uint64_t whole = 0;
        const QStringView wholeDigits = TakeWhile(IsDecimal);
        for (QChar c : wholeDigits)
            whole = whole >= 1'000'000 ? whole : whole * 10 + (c.unicode() - u'0');
        std::uint64_t fraction = 0;
        if (Take(u'.')) {
            const QStringView fractionDigits = TakeWhile(IsDecimal);
            if (fractionDigits.isEmpty())
                return false;
            std::uint64_t scale = Unit;
            for (QChar c : fractionDigits) {
                if (scale == 1)
                    break;
                scale /= 10;
                fraction += scale * (c.unicode() - u'0');
            }
            number.Fraction = true;
        } else if (wholeDigits.isEmpty()) {
            return false;
        }
        number.Nano = whole * Unit + fraction;
        number.Percent = Take(u'%');
        return true;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

// Why n is no channel, an integer 0..255 or 0%..100%.
std::optional<TFailure> ChannelFault(const TNumber& n)
{
    if (n.Percent)
        return n.Nano > 100 * Unit ? std::optional(TFailure::PercentAbove100) : std::nullopt;
    if (n.Fraction)
        return TFailure::FractionalChannel;
    if (n.Nano > 255 * Unit)
        return TFailure::ChannelAbove255;
    return std::nullopt;
}

// A valid channel's byte, a percentage rounded half up as browsers do (50% is
// 128).
std::uint8_t Channel(const TNumber& n)
{
    return std::uint8_t(n.Percent ? (n.Nano * 255 + 50 * Unit) / (100 * Unit) : n.Nano / Unit);
}

// rgb(r, g, b), rgba(r, g, b, a), rgb(r g b), rgb(r g b / a); either name
// takes three channels with or without an alpha.
TSingle ReadRgbFunction(QStringView s)
{
    const qsizetype open = s.indexOf(u'(');
    if (!s.endsWith(u')'))
        return Failed(TFailure::RgbSyntax);
    TScanner in(s.sliced(open + 1, s.size() - open - 2));
    enum class TStyle { Unknown, Commas, Spaces } style = TStyle::Unknown;
    TNumber numbers[4];
    int count = 0;
    bool slash = false;
    in.SkipSpace();
    for (;;) {
        if (count == 4 || !in.ReadNumber(numbers[count]))
            return Failed(TFailure::RgbSyntax);
        ++count;
        const bool spaced = in.SkipSpace();
        if (in.AtEnd())
            break;
        if (in.Take(u',')) {
            if (style == TStyle::Spaces)
                return Failed(TFailure::RgbSyntax);
            style = TStyle::Commas;
        } else if (in.Take(u'/')) {
            if (style == TStyle::Commas || count != 3)
                return Failed(TFailure::RgbSyntax);
            style = TStyle::Spaces;
            slash = true;
        } else if (spaced && style != TStyle::Commas) {
            style = TStyle::Spaces;
        } else {
            return Failed(TFailure::RgbSyntax);
        }
        in.SkipSpace();
    }
    if (count < 3 || (style == TStyle::Spaces && count == 4 && !slash))
        return Failed(TFailure::RgbSyntax);

    RgbTriple color;
    std::uint8_t* channels[3] = {&color.R, &color.G, &color.B};
    for (int i = 0; i < 3; ++i) {
        if (const auto fault = ChannelFault(numbers[i]))
            return Failed(*fault);
        *channels[i] = Channel(numbers[i]);
    }
    if (count == 4) {
        const std::uint64_t opaque = numbers[3].Percent ? 100 * Unit : Unit;
        if (numbers[3].Nano > opaque)
            return Failed(TFailure::AlphaRange);
        if (numbers[3].Nano < opaque)
            return Failed(TFailure::Transparent);
    }
    return Found(color, TColorTextForm::RgbFunction);
}

// Letters only, in any script, are taken for a name, known or not.
TSingle ReadName(QStringView s, const TNamedColorLookup& names)
{
    if (const auto color = names.Find(s))
        return Found(*color, TColorTextForm::ListName);
    if (const auto color = CssNamedColor(s))
        return Found(*color, TColorTextForm::CssName);
    if (s.compare(QLatin1String("transparent"), Qt::CaseInsensitive) == 0)
        return Failed(TFailure::Transparent);
    const QList<uint> chars = s.toUcs4();
    if (std::all_of(chars.begin(), chars.end(), [](uint c) { return QChar::isLetter(char32_t(c)); }))
        return Failed(TFailure::UnknownName);
    return Failed();
}

// One colour in any form but the body tag; s is trimmed.
TSingle ReadSingle(QStringView s, const TNamedColorLookup& names)
{
    if (s.isEmpty())
        return Failed();
    if (s.startsWith(u'$'))
        return ReadBgr(s.sliced(1), TColorTextForm::Delphi);
    if (s.startsWith(u'#'))
        return ReadHash(s.sliced(1));
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QStringView digits = s.sliced(2);
        if (digits.endsWith(u'&'))
            digits.chop(1);
        return ReadBgr(digits, TColorTextForm::VisualBasic);
    }
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return ReadBgr(s.sliced(2), TColorTextForm::VisualCpp);
    if (s.startsWith(QLatin1String("rgb("), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("rgba("), Qt::CaseInsensitive))
        return ReadRgbFunction(s);
    return ReadName(s, names);
}

// <BODY BGCOLOR=… TEXT=…>: fills Background and Text, or gives the fault.
std::optional<TFault> ReadBodyTag(QStringView s, const TNamedColorLookup& names, TColorReadResult& result)
{
    TScanner in(s);
    if (!in.Take(u'<'))
        return TFault{};
    in.SkipSpace();
    if (!in.TakeWord(QLatin1String("body")))
        return TFault{};
    bool separated = false; // an attribute must not run into what is before it
    for (;;) {
        separated = in.SkipSpace() || separated;
        if (in.Take(u'>'))
            break;
        if (!separated)
            return TFault{};
        std::optional<RgbTriple>* target = nullptr;
        if (in.TakeWord(QLatin1String("bgcolor")))
            target = &result.Background;
        else if (in.TakeWord(QLatin1String("text")))
            target = &result.Text;
        else
            return TFault{};
        in.SkipSpace();
        if (target->has_value() || !in.Take(u'='))
            return TFault{};
        in.SkipSpace();
        QStringView value;
        const QChar quote = in.Peek();
        if (quote == u'"' || quote == u'\'') {
            in.Take(quote);
            value = in.TakeWhile([quote](QChar c) { return c != quote; });
            if (!in.Take(quote))
                return TFault{};
            separated = true;
        } else {
            value = in.TakeWhile([](QChar c) { return !c.isSpace() && c != u'>'; });
            separated = false;
        }
        const TSingle color = ReadSingle(value.trimmed(), names);
        if (!color.Color)
            return color.Fault;
        *target = color.Color;
    }
    if (!in.AtEnd() || (!result.Background && !result.Text))
        return TFault{};
    return std::nullopt;
}

// The text as the message quotes it: at most 40 characters, control
// characters and line breaks as blanks, so the message stays on one line.
QString Quoted(QStringView text)
{
    constexpr qsizetype Shown = 40;
    QString quoted;
    if (text.size() <= Shown) {
        quoted = text.toString();
    } else {
        qsizetype n = Shown - 1;
        if (text[n - 1].isHighSurrogate()) // never half a character
            --n;
        quoted = text.first(n).toString() + QChar(u'…');
    }
    for (QChar& c : quoted) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = u' ';
    }
    return quoted;
}

// What the message says for each failure; %1 stands for the character at fault.
QString FailureText(TFailure failure)
{
    switch (failure) {
    case TFailure::NotRecognized:
        return QStringLiteral("Не удалось распознать цвет");
    case TFailure::Transparent:
        return QStringLiteral("Прозрачность не поддерживается");
    case TFailure::HashDigitCount:
        return QStringLiteral("нужно 3, 4, 6 или 8 шестнадцатеричных цифр");
    case TFailure::HexDigitCount:
        return QStringLiteral("нужно от 1 до 8 шестнадцатеричных цифр");
    case TFailure::NotHexDigit:
        return QStringLiteral("«%1» — не шестнадцатеричная цифра");
    case TFailure::AboveBgrRange:
        return QStringLiteral("значение больше 00FFFFFF");
    case TFailure::ChannelAbove255:
        return QStringLiteral("канал вне 0…255");
    case TFailure::PercentAbove100:
        return QStringLiteral("канал вне 0%…100%");
    case TFailure::FractionalChannel:
        return QStringLiteral("канал — целое число от 0 до 255 или проценты");
    case TFailure::AlphaRange:
        return QStringLiteral("непрозрачность вне 0…1");
    case TFailure::RgbSyntax:
        return QStringLiteral("нужно три канала: rgb(к, з, с) или rgb(к з с / а)");
    case TFailure::UnknownName:
        return QStringLiteral("неизвестное имя цвета");
    }
    return {};
}

QString Message(const TFault& fault, QStringView text)
{
    const QString quoted = QStringLiteral("«") + Quoted(text) + QStringLiteral("»");
    QString what = FailureText(fault.Failure);
    if (fault.Failure == TFailure::NotRecognized || fault.Failure == TFailure::Transparent)
        return what + QStringLiteral(": ") + quoted;
    if (!fault.Character.isEmpty())
        what = what.arg(Quoted(fault.Character));
    return QStringLiteral("Ошибка в цвете ") + quoted + QStringLiteral(": ") + what;
}

} // namespace

QString ColorTextFormName(TColorTextForm form)
{
    switch (form) {
    case TColorTextForm::None:
        break;
    case TColorTextForm::Delphi:
        return QStringLiteral("Delphi, порядок BBGGRR");
    case TColorTextForm::VisualCpp:
        return QStringLiteral("Visual C++, порядок BBGGRR");
    case TColorTextForm::VisualBasic:
        return QStringLiteral("Visual Basic, порядок BBGGRR");
    case TColorTextForm::Html:
        return QStringLiteral("HTML, порядок RRGGBB");
    case TColorTextForm::HtmlShort:
        return QStringLiteral("HTML, краткая запись #RGB");
    case TColorTextForm::HtmlAlpha:
        return QStringLiteral("HTML с непрозрачной альфой, #RRGGBBAA");
    case TColorTextForm::RgbFunction:
        return QStringLiteral("CSS rgb()");
    case TColorTextForm::ListName:
        return QStringLiteral("имя из списка цветов");
    case TColorTextForm::CssName:
        return QStringLiteral("имя цвета CSS");
    case TColorTextForm::BodyTag:
        return QStringLiteral("тег HTML-<body>");
    }
    return {};
}

TColorReadResult ReadColorText(const QString& text, const TNamedColorLookup& names)
{
    TColorReadResult result;
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.isEmpty()) {
        result.Message = QStringLiteral("В буфере обмена нет цвета");
        return result;
    }
    const auto failed = [&](const TFault& fault) {
        result = {};
        result.Message = Message(fault, trimmed);
        return result;
    };
    if (trimmed.size() > MaxColorTextLength)
        return failed({});

    QStringView s = trimmed;
    if (s.endsWith(u';'))
        s = s.chopped(1).trimmed();
    if (s.startsWith(u'<')) {
        if (const auto failure = ReadBodyTag(s, names, result))
            return failed(*failure);
        result.Kind = TColorTextKind::BodyTag;
        result.Form = TColorTextForm::BodyTag;
        return result;
    }
    const TSingle single = ReadSingle(s, names);
    if (!single.Color)
        return failed(single.Fault);
    result.Kind = TColorTextKind::Color;
    result.Color = *single.Color;
    result.Form = single.Form;
    return result;
}
