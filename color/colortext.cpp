#include "color/colortext.h"

#include "color/csscolornames.h"

#include "color/colorspace.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>

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
    FunctionSyntax, // the detail shows the form
    PercentRange,
    FractionRange,
    UnknownName,
};

struct TFault {
    TFailure Failure = TFailure::NotRecognized;
    QStringView Detail; // the character at fault, or the form expected
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

TSingle Failed(TFailure failure = TFailure::NotRecognized, QStringView detail = {})
{
    return {std::nullopt, TColorTextForm::None, {failure, detail}};
}

int HexValue(QChar c)
{
    return DigitValue(c.unicode());
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

// After "0x": eight digits with FF on top are an opaque ARGB value as Qt and
// Android write it; anything else is the program's own order.
TSingle ReadHex0x(QStringView digits)
{
    if (digits.size() == 8 && digits.startsWith(QLatin1String("ff"), Qt::CaseInsensitive) &&
        FirstNonHex(digits).isEmpty()) {
        const auto byte = [digits](int i) { return std::uint8_t(HexValue(digits[i]) * 16 + HexValue(digits[i + 1])); };
        return Found({byte(2), byte(4), byte(6)}, TColorTextForm::Argb);
    }
    return ReadBgr(digits, TColorTextForm::VisualCpp);
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

// The arguments of a colour function: three values and maybe an opacity,
// all separated by commas, or by white space with "/ opacity" last.
struct TArguments {
    std::array<QStringView, 4> Values;
    int Count = 0;
    bool Commas = false;
};

std::optional<TArguments> SplitArguments(QStringView inside)
{
    TScanner in(inside);
    TArguments args;
    bool spaces = false, slash = false;
    in.SkipSpace();
    for (;;) {
        if (args.Count == 4)
            return std::nullopt;
        const QStringView value = in.TakeWhile([](QChar c) { return !c.isSpace() && c != u',' && c != u'/'; });
        if (value.isEmpty())
            return std::nullopt;
        args.Values[args.Count++] = value;
        const bool spaced = in.SkipSpace();
        if (in.AtEnd())
            break;
        if (in.Take(u',')) {
            if (spaces)
                return std::nullopt;
            args.Commas = true;
        } else if (in.Take(u'/')) {
            if (args.Commas || args.Count != 3)
                return std::nullopt;
            spaces = slash = true;
        } else if (spaced && !args.Commas) {
            spaces = true;
        } else {
            return std::nullopt;
        }
        in.SkipSpace();
    }
    if (args.Count < 3 || (spaces && args.Count == 4 && !slash))
        return std::nullopt;
    return args;
}

// A whole argument as an rgb() number.
bool ReadNumber(QStringView text, TNumber& number)
{
    TScanner in(text);
    return in.ReadNumber(number) && in.AtEnd();
}

// An argument of the CSS Color 4 functions: a signed number with an optional
// exponent, and a percent sign or an angle unit; "none" is 0.
struct TValue {
    enum class TUnit { None, Percent, Degree, Grad, Radian, Turn };
    double Number = 0;
    TUnit Unit = TUnit::None;
};

std::optional<TValue> ReadValue(QStringView text)
{
    if (text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return TValue{};
    TScanner in(text);
    if (!in.Take(u'+'))
        in.Take(u'-');
    const bool whole = !in.TakeWhile(IsDecimal).isEmpty();
    if (in.Take(u'.')) {
        if (in.TakeWhile(IsDecimal).isEmpty())
            return std::nullopt; // "5." and "." are no numbers
    } else if (!whole) {
        return std::nullopt;
    }
    if (in.Peek() == u'e' || in.Peek() == u'E') {
        in.Take(in.Peek());
        if (!in.Take(u'+'))
            in.Take(u'-');
        if (in.TakeWhile(IsDecimal).isEmpty())
            return std::nullopt;
    }
    const QStringView unit = in.TakeWhile([](QChar) { return true; });
    // The scanner let through only ASCII, so the number converts as bytes.
    QStringView number = text.chopped(unit.size());
    if (number.startsWith(u'+'))
        number = number.sliced(1);
    std::array<char, MaxColorTextLength> bytes;
    for (qsizetype i = 0; i < number.size(); ++i)
        bytes[std::size_t(i)] = char(number[i].unicode());
    TValue value;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + number.size(), value.Number);
    if (error != std::errc() || end != bytes.data() + number.size() || !std::isfinite(value.Number))
        return std::nullopt;
    const std::pair<QLatin1String, TValue::TUnit> units[] = {
        {QLatin1String(""), TValue::TUnit::None},      {QLatin1String("%"), TValue::TUnit::Percent},
        {QLatin1String("deg"), TValue::TUnit::Degree}, {QLatin1String("grad"), TValue::TUnit::Grad},
        {QLatin1String("rad"), TValue::TUnit::Radian}, {QLatin1String("turn"), TValue::TUnit::Turn},
    };
    for (const auto& [name, kind] : units) {
        if (unit.compare(name, Qt::CaseInsensitive) == 0) {
            value.Unit = kind;
            return value;
        }
    }
    return std::nullopt;
}

// A hue in degrees: a plain number is one.
std::optional<double> Hue(const TValue& v)
{
    switch (v.Unit) {
    case TValue::TUnit::None:
    case TValue::TUnit::Degree:
        return v.Number;
    case TValue::TUnit::Grad:
        return v.Number * 0.9;
    case TValue::TUnit::Radian:
        return v.Number * 180 / std::numbers::pi;
    case TValue::TUnit::Turn:
        return v.Number * 360;
    case TValue::TUnit::Percent:
        break;
    }
    return std::nullopt;
}

// A percentage, written with its sign or as a plain number; no angle.
std::optional<double> Percentage(const TValue& v)
{
    if (v.Unit == TValue::TUnit::None || v.Unit == TValue::TUnit::Percent)
        return v.Number;
    return std::nullopt;
}

// A number, or a percentage of `hundredPercent`; no angle.
std::optional<double> Amount(const TValue& v, double hundredPercent)
{
    if (v.Unit == TValue::TUnit::None)
        return v.Number;
    if (v.Unit == TValue::TUnit::Percent)
        return v.Number / 100 * hundredPercent;
    return std::nullopt;
}

// What the fourth argument says: nothing (opaque), a syntax fault or why the
// colour is refused.
std::optional<TFault> OpacityFault(const TArguments& args, TFault syntax)
{
    if (args.Count < 4)
        return std::nullopt;
    const std::optional<TValue> v = ReadValue(args.Values[3]);
    const std::optional<double> alpha = v ? Amount(*v, 1) : std::nullopt;
    if (!alpha)
        return syntax;
    if (*alpha > 1 || *alpha < 0)
        return TFault{TFailure::AlphaRange, {}};
    if (*alpha < 1)
        return TFault{TFailure::Transparent, {}};
    return std::nullopt;
}

// rgb(r, g, b), rgba(r, g, b, a), rgb(r g b), rgb(r g b / a); either name
// takes three channels with or without an alpha. Win32's RGB(r, g, b) is one
// of them.
TSingle ReadRgbFunction(QStringView name, const std::optional<TArguments>& args)
{
    if (!args)
        return Failed(TFailure::RgbSyntax);
    TNumber numbers[4];
    for (int i = 0; i < args->Count; ++i) {
        if (!ReadNumber(args->Values[i], numbers[i]))
            return Failed(TFailure::RgbSyntax);
    }
    RgbTriple color;
    std::uint8_t* channels[3] = {&color.R, &color.G, &color.B};
    for (int i = 0; i < 3; ++i) {
        if (const auto fault = ChannelFault(numbers[i]))
            return Failed(*fault);
        *channels[i] = Channel(numbers[i]);
    }
    if (args->Count == 4) {
        const std::uint64_t opaque = numbers[3].Percent ? 100 * Unit : Unit;
        if (numbers[3].Nano > opaque)
            return Failed(TFailure::AlphaRange);
        if (numbers[3].Nano < opaque)
            return Failed(TFailure::Transparent);
    }
    const bool win32 = name == QLatin1String("RGB") && args->Commas && args->Count == 3 &&
                       std::none_of(numbers, numbers + 3, [](const TNumber& n) { return n.Percent; });
    return Found(color, win32 ? TColorTextForm::Win32Rgb : TColorTextForm::RgbFunction);
}

// QColor(r, g, b): three integer channels.
TSingle ReadQtColor(const std::optional<TArguments>& args)
{
    const QStringView syntax = u"QColor(к, з, с)";
    if (!args || !args->Commas || args->Count != 3)
        return Failed(TFailure::FunctionSyntax, syntax);
    RgbTriple color;
    std::uint8_t* channels[3] = {&color.R, &color.G, &color.B};
    for (int i = 0; i < 3; ++i) {
        TNumber n;
        if (!ReadNumber(args->Values[i], n) || n.Percent)
            return Failed(TFailure::FunctionSyntax, syntax);
        if (const auto fault = ChannelFault(n))
            return Failed(*fault);
        *channels[i] = Channel(n);
    }
    return Found(color, TColorTextForm::QtColor);
}

// vec3(r, g, b): fractions 0..1 of full intensity.
TSingle ReadVec3(const std::optional<TArguments>& args)
{
    const QStringView syntax = u"vec3(к, з, с)";
    if (!args || !args->Commas || args->Count != 3)
        return Failed(TFailure::FunctionSyntax, syntax);
    double f[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<TValue> v = ReadValue(args->Values[i]);
        if (!v || v->Unit != TValue::TUnit::None ||
            args->Values[i].compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
            return Failed(TFailure::FunctionSyntax, syntax);
        if (v->Number < 0 || v->Number > 1)
            return Failed(TFailure::FractionRange);
        f[i] = v->Number;
    }
    return Found(ToBytes({f[0], f[1], f[2]}), TColorTextForm::Vec3);
}

// hsl()/hsla(), hwb(), oklab() and oklch(): a hue or lightness first, two
// more values, an optional opacity. The comma form is hsl()'s alone and
// takes percentages only, as CSS has it.
TSingle ReadCssFunction(QStringView name, const std::optional<TArguments>& args)
{
    enum class TKind { Hsl, Hwb, Oklab, Oklch } kind = TKind::Hsl;
    QStringView syntax = u"hsl(т, н%, с%) или hsl(т н с / а)";
    if (name.compare(QLatin1String("hwb"), Qt::CaseInsensitive) == 0)
        kind = TKind::Hwb, syntax = u"hwb(т б ч / а)";
    else if (name.compare(QLatin1String("oklab"), Qt::CaseInsensitive) == 0)
        kind = TKind::Oklab, syntax = u"oklab(L a b / а)";
    else if (name.compare(QLatin1String("oklch"), Qt::CaseInsensitive) == 0)
        kind = TKind::Oklch, syntax = u"oklch(L C H / а)";
    const TFault syntaxFault{TFailure::FunctionSyntax, syntax};
    if (!args || (args->Commas && kind != TKind::Hsl))
        return {std::nullopt, TColorTextForm::None, syntaxFault};
    std::optional<TValue> v[3];
    for (int i = 0; i < 3; ++i) {
        v[i] = ReadValue(args->Values[i]);
        if (!v[i] || (args->Commas && i > 0 && v[i]->Unit != TValue::TUnit::Percent))
            return {std::nullopt, TColorTextForm::None, syntaxFault};
    }
    if (const std::optional<TFault> fault = OpacityFault(*args, syntaxFault))
        return {std::nullopt, TColorTextForm::None, *fault};

    if (kind == TKind::Hsl || kind == TKind::Hwb) {
        const std::optional<double> hue = Hue(*v[0]);
        const std::optional<double> x = Percentage(*v[1]), y = Percentage(*v[2]);
        if (!hue || !x || !y)
            return {std::nullopt, TColorTextForm::None, syntaxFault};
        if (*x < 0 || *x > 100 || *y < 0 || *y > 100)
            return Failed(TFailure::PercentRange);
        if (kind == TKind::Hsl)
            return Found(ToBytes(FromHsl(*hue, *x / 100, *y / 100)), TColorTextForm::HslFunction);
        return Found(ToBytes(FromHwb(*hue, *x / 100, *y / 100)), TColorTextForm::HwbFunction);
    }
    // Lightness beyond 0..1 and negative chroma are clamped, as CSS does;
    // colours beyond sRGB are brought into it.
    const std::optional<double> lightness = Amount(*v[0], 1);
    if (!lightness)
        return {std::nullopt, TColorTextForm::None, syntaxFault};
    const double l = std::clamp(*lightness, 0.0, 1.0);
    if (kind == TKind::Oklab) {
        const std::optional<double> a = Amount(*v[1], 0.4), b = Amount(*v[2], 0.4);
        if (!a || !b)
            return {std::nullopt, TColorTextForm::None, syntaxFault};
        return Found(SrgbFromOklab({l, *a, *b}), TColorTextForm::OklabFunction);
    }
    const std::optional<double> chroma = Amount(*v[1], 0.4), hue = Hue(*v[2]);
    if (!chroma || !hue)
        return {std::nullopt, TColorTextForm::None, syntaxFault};
    return Found(SrgbFromOklab(OklabFromOklch(l, std::max(*chroma, 0.0), *hue)), TColorTextForm::OklchFunction);
}

// name(…) for the names of colour functions; none for any other text.
std::optional<TSingle> ReadFunction(QStringView s)
{
    const qsizetype open = s.indexOf(u'(');
    if (open <= 0)
        return std::nullopt;
    const QStringView name = s.first(open);
    const auto is = [name](const char* n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    std::optional<TArguments> args;
    if (s.endsWith(u')'))
        args = SplitArguments(s.sliced(open + 1, s.size() - open - 2));
    if (is("rgb") || is("rgba"))
        return ReadRgbFunction(name, args);
    if (is("hsl") || is("hsla") || is("hwb") || is("oklab") || is("oklch"))
        return ReadCssFunction(name, args);
    if (is("qcolor"))
        return ReadQtColor(args);
    if (is("vec3"))
        return ReadVec3(args);
    return std::nullopt;
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
        return ReadHex0x(s.sliced(2));
    if (const std::optional<TSingle> function = ReadFunction(s))
        return *function;
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
    case TFailure::FunctionSyntax:
        return QStringLiteral("нужно три значения: %1");
    case TFailure::PercentRange:
        return QStringLiteral("значение вне 0%…100%");
    case TFailure::FractionRange:
        return QStringLiteral("доля вне 0…1");
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
    if (!fault.Detail.isEmpty())
        what = what.arg(Quoted(fault.Detail));
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
    case TColorTextForm::Argb:
        return QStringLiteral("ARGB, порядок AARRGGBB");
    case TColorTextForm::HslFunction:
        return QStringLiteral("CSS hsl()");
    case TColorTextForm::HwbFunction:
        return QStringLiteral("CSS hwb()");
    case TColorTextForm::OklabFunction:
        return QStringLiteral("CSS oklab()");
    case TColorTextForm::OklchFunction:
        return QStringLiteral("CSS oklch()");
    case TColorTextForm::QtColor:
        return QStringLiteral("Qt QColor()");
    case TColorTextForm::Win32Rgb:
        return QStringLiteral("Win32 RGB()");
    case TColorTextForm::Vec3:
        return QStringLiteral("доли vec3()");
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
