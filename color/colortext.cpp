#include "color/colortext.h"

#include "color/csscolornames.h"

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

enum class TFailure { NotRecognized, Transparent };

// One colour read, or why not.
struct TSingle {
    std::optional<RgbTriple> Color;
    TFailure Failure = TFailure::NotRecognized;
};

TSingle Failed(TFailure failure = TFailure::NotRecognized)
{
    return {std::nullopt, failure};
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

// 1 to 8 hex digits and nothing else; eight fit 32 bits, so no overflow.
std::optional<std::uint32_t> HexNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (QChar c : digits) {
        const int d = HexValue(c);
        if (d < 0)
            return std::nullopt;
        value = value << 4 | std::uint32_t(d);
    }
    return value;
}

// The program's own order, 0x00BBGGRR. A value with any bit of the top byte
// set would be a system colour, which has no fixed colour to read.
TSingle ReadBgr(QStringView digits)
{
    const auto value = HexNumber(digits);
    if (!value || *value > 0x00FFFFFFu)
        return Failed();
    return {RgbTriple{std::uint8_t(*value), std::uint8_t(*value >> 8), std::uint8_t(*value >> 16)}};
}

// #RGB, #RGBA, #RRGGBB, #RRGGBBAA (the digits after the '#').
TSingle ReadHash(QStringView digits)
{
    const qsizetype n = digits.size();
    if ((n != 3 && n != 4 && n != 6 && n != 8) || !HexNumber(digits))
        return Failed();
    const int width = n <= 4 ? 1 : 2;
    const auto channel = [&](int index) {
        int v = 0;
        for (int k = 0; k < width; ++k)
            v = v * 16 + HexValue(digits[index * width + k]);
        return std::uint8_t(width == 1 ? v * 17 : v); // one digit stands for two equal ones
    };
    if ((n == 4 || n == 8) && channel(3) != 255)
        return Failed(TFailure::Transparent);
    return {RgbTriple{channel(0), channel(1), channel(2)}};
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

// A channel: an integer 0..255, or 0%..100% rounded half up as browsers do
// (50% is 128).
std::optional<std::uint8_t> Channel(const TNumber& n)
{
    if (n.Percent) {
        if (n.Nano > 100 * Unit)
            return std::nullopt;
        return std::uint8_t((n.Nano * 255 + 50 * Unit) / (100 * Unit));
    }
    if (n.Fraction || n.Nano > 255 * Unit)
        return std::nullopt;
    return std::uint8_t(n.Nano / Unit);
}

// rgb(r, g, b), rgba(r, g, b, a), rgb(r g b), rgb(r g b / a); either name
// takes three channels with or without an alpha.
TSingle ReadRgbFunction(QStringView s)
{
    const qsizetype open = s.indexOf(u'(');
    if (!s.endsWith(u')'))
        return Failed();
    TScanner in(s.sliced(open + 1, s.size() - open - 2));
    enum class TStyle { Unknown, Commas, Spaces } style = TStyle::Unknown;
    TNumber numbers[4];
    int count = 0;
    bool slash = false;
    in.SkipSpace();
    for (;;) {
        if (count == 4 || !in.ReadNumber(numbers[count]))
            return Failed();
        ++count;
        const bool spaced = in.SkipSpace();
        if (in.AtEnd())
            break;
        if (in.Take(u',')) {
            if (style == TStyle::Spaces)
                return Failed();
            style = TStyle::Commas;
        } else if (in.Take(u'/')) {
            if (style == TStyle::Commas || count != 3)
                return Failed();
            style = TStyle::Spaces;
            slash = true;
        } else if (spaced && style != TStyle::Commas) {
            style = TStyle::Spaces;
        } else {
            return Failed();
        }
        in.SkipSpace();
    }
    if (count < 3 || (style == TStyle::Spaces && count == 4 && !slash))
        return Failed();

    RgbTriple color;
    std::uint8_t* channels[3] = {&color.R, &color.G, &color.B};
    for (int i = 0; i < 3; ++i) {
        const auto v = Channel(numbers[i]);
        if (!v)
            return Failed();
        *channels[i] = *v;
    }
    if (count == 4) {
        const std::uint64_t opaque = numbers[3].Percent ? 100 * Unit : Unit;
        if (numbers[3].Nano > opaque)
            return Failed();
        if (numbers[3].Nano < opaque)
            return Failed(TFailure::Transparent);
    }
    return {color};
}

TSingle ReadName(QStringView s, const TNamedColorLookup& names)
{
    if (const auto color = names.Find(s))
        return {color};
    if (const auto color = CssNamedColor(s))
        return {color};
    if (s.compare(QLatin1String("transparent"), Qt::CaseInsensitive) == 0)
        return Failed(TFailure::Transparent);
    return Failed();
}

// One colour in any form but the body tag; s is trimmed.
TSingle ReadSingle(QStringView s, const TNamedColorLookup& names)
{
    if (s.isEmpty())
        return Failed();
    if (s.startsWith(u'$'))
        return ReadBgr(s.sliced(1));
    if (s.startsWith(u'#'))
        return ReadHash(s.sliced(1));
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QStringView digits = s.sliced(2);
        if (digits.endsWith(u'&'))
            digits.chop(1);
        return ReadBgr(digits);
    }
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return ReadBgr(s.sliced(2));
    if (s.startsWith(QLatin1String("rgb("), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("rgba("), Qt::CaseInsensitive))
        return ReadRgbFunction(s);
    return ReadName(s, names);
}

// <BODY BGCOLOR=… TEXT=…>: fills Background and Text, or gives the failure.
std::optional<TFailure> ReadBodyTag(QStringView s, const TNamedColorLookup& names, TColorReadResult& result)
{
    TScanner in(s);
    if (!in.Take(u'<'))
        return TFailure::NotRecognized;
    in.SkipSpace();
    if (!in.TakeWord(QLatin1String("body")))
        return TFailure::NotRecognized;
    bool separated = false; // an attribute must not run into what is before it
    for (;;) {
        separated = in.SkipSpace() || separated;
        if (in.Take(u'>'))
            break;
        if (!separated)
            return TFailure::NotRecognized;
        std::optional<RgbTriple>* target = nullptr;
        if (in.TakeWord(QLatin1String("bgcolor")))
            target = &result.Background;
        else if (in.TakeWord(QLatin1String("text")))
            target = &result.Text;
        else
            return TFailure::NotRecognized;
        in.SkipSpace();
        if (target->has_value() || !in.Take(u'='))
            return TFailure::NotRecognized;
        in.SkipSpace();
        QStringView value;
        const QChar quote = in.Peek();
        if (quote == u'"' || quote == u'\'') {
            in.Take(quote);
            value = in.TakeWhile([quote](QChar c) { return c != quote; });
            if (!in.Take(quote))
                return TFailure::NotRecognized;
            separated = true;
        } else {
            value = in.TakeWhile([](QChar c) { return !c.isSpace() && c != u'>'; });
            separated = false;
        }
        const TSingle color = ReadSingle(value.trimmed(), names);
        if (!color.Color)
            return color.Failure;
        *target = color.Color;
    }
    if (!in.AtEnd() || (!result.Background && !result.Text))
        return TFailure::NotRecognized;
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

QString Message(TFailure failure, QStringView text)
{
    const QString what = failure == TFailure::Transparent ? QStringLiteral("Прозрачность не поддерживается")
                                                          : QStringLiteral("Не удалось распознать цвет");
    return what + QStringLiteral(": «") + Quoted(text) + QStringLiteral("»");
}

} // namespace

TColorReadResult ReadColorText(const QString& text, const TNamedColorLookup& names)
{
    TColorReadResult result;
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.isEmpty()) {
        result.Message = QStringLiteral("В буфере обмена нет цвета");
        return result;
    }
    const auto failed = [&](TFailure failure) {
        result = {};
        result.Message = Message(failure, trimmed);
        return result;
    };
    if (trimmed.size() > MaxColorTextLength)
        return failed(TFailure::NotRecognized);

    QStringView s = trimmed;
    if (s.endsWith(u';'))
        s = s.chopped(1).trimmed();
    if (s.startsWith(u'<')) {
        if (const auto failure = ReadBodyTag(s, names, result))
            return failed(*failure);
        result.Kind = TColorTextKind::BodyTag;
        return result;
    }
    const TSingle single = ReadSingle(s, names);
    if (!single.Color)
        return failed(single.Failure);
    result.Kind = TColorTextKind::Color;
    result.Color = *single.Color;
    return result;
}
