#include "framework/formtext.h"

namespace {

// Deep nesting of objects or lists is refused rather than recursing
// without bound on hostile input.
constexpr int MaxDepth = 64;

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}
bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}
bool isHexDigit(QChar c)
{
    return c.isDigit() || (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

class Parser {
public:
    explicit Parser(const QString& text) : s_(text) {}

    TFormObject ParseDocument()
    {
        SkipSpace();
        if (AtEnd())
            Fail(QStringLiteral("Empty description"));
        TFormObject root = ParseObject(0);
        SkipSpace();
        if (!AtEnd())
            Fail(QStringLiteral("Text after the final 'end'"));
        return root;
    }

private:
    [[noreturn]] void Fail(const QString& message) const { throw EFormError(line_, message); }

    bool AtEnd() const { return pos_ >= s_.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : s_.at(pos_); }

    void Advance()
    {
        if (s_.at(pos_) == QLatin1Char('\n'))
            ++line_;
        ++pos_;
    }

    void SkipSpace()
    {
        while (!AtEnd()) {
            const QChar c = Peek();
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                Advance();
            else
                break;
        }
    }

    // Identifiers, with dots between parts for nested properties.
    QString ReadIdent(bool dotted)
    {
        SkipSpace();
        if (!isIdentStart(Peek()))
            Fail(AtEnd() ? QStringLiteral("Unexpected end of text") : QStringLiteral("Identifier expected"));
        const qsizetype start = pos_;
        while (!AtEnd() && (isIdentChar(Peek()) || (dotted && Peek() == QLatin1Char('.') && pos_ + 1 < s_.size() &&
                                                    isIdentStart(s_.at(pos_ + 1)))))
            Advance();
        return s_.mid(start, pos_ - start);
    }

    void Expect(QChar c)
    {
        SkipSpace();
        if (Peek() != c)
            Fail(QStringLiteral("'%1' expected").arg(c));
        Advance();
    }

    TFormObject ParseObject(int depth)
    {
        if (depth > MaxDepth)
            Fail(QStringLiteral("Objects nested too deeply"));
        SkipSpace();
        TFormObject object;
        object.Line = line_;
        if (ReadIdent(false).compare(QLatin1String("object"), Qt::CaseInsensitive) != 0) {
            line_ = object.Line;
            Fail(QStringLiteral("'object' expected"));
        }
        object.Name = ReadIdent(false);
        Expect(QLatin1Char(':'));
        object.ClassName = ReadIdent(false);
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail(QStringLiteral("'end' expected before the end of the text"));
            const int line = line_;
            const QString word = ReadIdent(true);
            if (word.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0)
                return object;
            if (word.compare(QLatin1String("object"), Qt::CaseInsensitive) == 0) {
                // Step back so the child parses its own header.
                pos_ -= word.size();
                object.Children.push_back(ParseObject(depth + 1));
                continue;
            }
            Expect(QLatin1Char('='));
            object.Properties.push_back({word, ParseValue(depth), line});
        }
    }

    TFormValue ParseValue(int depth)
    {
        if (depth > MaxDepth)
            Fail(QStringLiteral("Values nested too deeply"));
        SkipSpace();
        const QChar c = Peek();
        if (AtEnd())
            Fail(QStringLiteral("Value expected before the end of the text"));
        if (c == QLatin1Char('\'') || c == QLatin1Char('#'))
            return ReadString();
        if (c == QLatin1Char('-') || c == QLatin1Char('$') || c.isDigit())
            return ReadInteger();
        if (c == QLatin1Char('['))
            return TFormSet{ReadSet()};
        if (c == QLatin1Char('{'))
            return ReadBinary();
        if (c == QLatin1Char('(')) {
            Advance();
            TFormList items;
            for (;;) {
                SkipSpace();
                if (Peek() == QLatin1Char(')')) {
                    Advance();
                    return items;
                }
                items.push_back(ParseValue(depth + 1));
            }
        }
        if (isIdentStart(c))
            return TFormIdent{ReadIdent(true)};
        Fail(QStringLiteral("Invalid value"));
    }

    // 'text' with '' for a quote, and #n character codes, in any sequence.
    QString ReadString()
    {
        QString result;
        for (;;) {
            const QChar c = Peek();
            if (c == QLatin1Char('\'')) {
                Advance();
                for (;;) {
                    if (AtEnd() || Peek() == QLatin1Char('\n'))
                        Fail(QStringLiteral("Unterminated string"));
                    if (Peek() == QLatin1Char('\'')) {
                        Advance();
                        if (Peek() != QLatin1Char('\''))
                            break;
                        result += Peek();
                        Advance();
                        continue;
                    }
                    // The plain run up to the next quote or line end, in one piece.
                    const qsizetype start = pos_;
                    while (pos_ < s_.size() && s_.at(pos_) != QLatin1Char('\'') && s_.at(pos_) != QLatin1Char('\n'))
                        ++pos_;
                    result += QStringView(s_).mid(start, pos_ - start);
                }
            } else if (c == QLatin1Char('#')) {
                Advance();
                const qsizetype start = pos_;
                while (!AtEnd() && Peek().isDigit() && pos_ - start < 7)
                    Advance();
                bool ok = false;
                const uint code = s_.mid(start, pos_ - start).toUInt(&ok);
                if (!ok || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    Fail(QStringLiteral("Invalid character code"));
                result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            } else {
                return result;
            }
        }
    }

    qint64 ReadInteger()
    {
        bool negative = false;
        if (Peek() == QLatin1Char('-')) {
            negative = true;
            Advance();
        }
        int base = 10;
        if (Peek() == QLatin1Char('$')) {
            base = 16;
            Advance();
        }
        const qsizetype start = pos_;
        while (!AtEnd() && (base == 16 ? isHexDigit(Peek()) : Peek().isDigit()))
            Advance();
        if (!AtEnd() && isIdentChar(Peek()))
            Fail(QStringLiteral("Invalid number"));
        bool ok = false;
        const qint64 value = s_.mid(start, pos_ - start).toLongLong(&ok, base);
        if (!ok || value > 0xFFFFFFFFLL)
            Fail(QStringLiteral("Invalid number"));
        return negative ? -value : value;
    }

    QStringList ReadSet()
    {
        Advance(); // [
        QStringList items;
        SkipSpace();
        if (Peek() == QLatin1Char(']')) {
            Advance();
            return items;
        }
        for (;;) {
            items << ReadIdent(false);
            SkipSpace();
            if (Peek() == QLatin1Char(']')) {
                Advance();
                return items;
            }
            Expect(QLatin1Char(','));
        }
    }

    QByteArray ReadBinary()
    {
        Advance(); // {
        QByteArray hex;
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail(QStringLiteral("'}' expected before the end of the text"));
            const QChar c = Peek();
            if (c == QLatin1Char('}')) {
                Advance();
                break;
            }
            if (!isHexDigit(c))
                Fail(QStringLiteral("Invalid binary data"));
            hex += char(c.unicode());
            Advance();
        }
        if (hex.size() % 2 != 0)
            Fail(QStringLiteral("Odd number of hexadecimal digits"));
        return QByteArray::fromHex(hex);
    }

    const QString& s_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

QString quoted(const QString& s)
{
    // Printable text goes in quotes; control characters as #n codes.
    QString out;
    bool inQuotes = false;
    for (const QChar c : s) {
        if (c.unicode() < 32) {
            if (inQuotes)
                out += QLatin1Char('\'');
            inQuotes = false;
            out += QLatin1Char('#') + QString::number(c.unicode());
            continue;
        }
        if (!inQuotes)
            out += QLatin1Char('\'');
        inQuotes = true;
        out += c;
        if (c == QLatin1Char('\''))
            out += c;
    }
    if (inQuotes || out.isEmpty())
        out += out.isEmpty() ? QStringLiteral("''") : QStringLiteral("'");
    return out;
}

void formatValue(const TFormValue& v, const QString& indent, QString& out);

struct ValueFormatter {
    const QString& indent;
    QString& out;

    void operator()(qint64 i) const { out += QString::number(i); }
    void operator()(const QString& s) const { out += quoted(s); }
    void operator()(const TFormIdent& ident) const { out += ident.Name; }
    void operator()(const TFormSet& set) const
    {
        out += QLatin1Char('[') + set.Items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    void operator()(const QByteArray& data) const
    {
        out += QLatin1Char('{');
        const QByteArray hex = data.toHex().toUpper();
        constexpr int lineLength = 64;
        if (hex.size() <= lineLength) {
            out += QString::fromLatin1(hex);
        } else {
            for (qsizetype i = 0; i < hex.size(); i += lineLength)
                out += QLatin1Char('\n') + indent + QStringLiteral("  ") + QString::fromLatin1(hex.mid(i, lineLength));
        }
        out += QLatin1Char('}');
    }
    void operator()(const TFormList& list) const
    {
        out += QLatin1Char('(');
        for (const TFormValue& item : list) {
            out += QLatin1Char('\n') + indent + QStringLiteral("  ");
            formatValue(item, indent + QStringLiteral("  "), out);
        }
        out += QLatin1Char(')');
    }
};

void formatValue(const TFormValue& v, const QString& indent, QString& out)
{
    std::visit(ValueFormatter{indent, out}, v.Variant());
}

void formatObject(const TFormObject& o, const QString& indent, QString& out)
{
    out += indent + QStringLiteral("object ") + o.Name + QStringLiteral(": ") + o.ClassName + QLatin1Char('\n');
    const QString inner = indent + QStringLiteral("  ");
    for (const TFormProperty& p : o.Properties) {
        out += inner + p.Name + QStringLiteral(" = ");
        formatValue(p.Value, inner, out);
        out += QLatin1Char('\n');
    }
    for (const TFormObject& child : o.Children)
        formatObject(child, inner, out);
    out += indent + QStringLiteral("end\n");
}

} // namespace

TFormObject ParseFormText(const QString& text)
{
    return Parser(text).ParseDocument();
}

QString FormatFormText(const TFormObject& object)
{
    QString out;
    formatObject(object, QString(), out);
    return out;
}
