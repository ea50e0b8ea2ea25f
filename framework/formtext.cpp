#include "framework/formtext.h"

#include "framework/types.h"

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
bool isDigit(QChar c, int base = 10)
{
    return DigitValue(c.unicode(), base) >= 0;
}

// Reads the text in place: names and strings are copied out once, in one
// piece where the text allows, since a window's layout is read at every start.
class Parser {
public:
    explicit Parser(const QString& text) : s_(text.constData()), size_(text.size()) {}

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

    bool AtEnd() const { return pos_ >= size_; }
    QChar Peek() const { return AtEnd() ? QChar() : s_[pos_]; }

    void Advance()
    {
        if (s_[pos_] == QLatin1Char('\n'))
            ++line_;
        ++pos_;
    }

    void SkipSpace()
    {
        for (; pos_ < size_; ++pos_) {
            const char16_t c = s_[pos_].unicode();
            if (c == u'\n')
                ++line_;
            else if (c != u' ' && c != u'\t' && c != u'\r')
                break;
        }
    }

    QStringView View(qsizetype start) const { return QStringView(s_ + start, pos_ - start); }

    // Identifiers, with dots between parts for nested properties. They hold
    // no line breaks, so the line stays as it is.
    QStringView ScanIdent(bool dotted)
    {
        SkipSpace();
        if (!isIdentStart(Peek()))
            Fail(AtEnd() ? QStringLiteral("Unexpected end of text") : QStringLiteral("Identifier expected"));
        const qsizetype start = pos_;
        while (pos_ < size_ && (isIdentChar(s_[pos_]) || (dotted && s_[pos_] == QLatin1Char('.') && pos_ + 1 < size_ &&
                                                          isIdentStart(s_[pos_ + 1]))))
            ++pos_;
        return View(start);
    }
    QString ReadIdent(bool dotted) { return ScanIdent(dotted).toString(); }

    static bool IsWord(QStringView word, QLatin1String keyword)
    {
        return word.size() == keyword.size() && word.compare(keyword, Qt::CaseInsensitive) == 0;
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
        if (!IsWord(ScanIdent(false), QLatin1String("object"))) {
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
            const QStringView word = ScanIdent(true);
            if (IsWord(word, QLatin1String("end")))
                return object;
            if (IsWord(word, QLatin1String("object"))) {
                // Step back so the child parses its own header.
                pos_ -= word.size();
                object.Children.push_back(ParseObject(depth + 1));
                continue;
            }
            QString name = word.toString();
            Expect(QLatin1Char('='));
            object.Properties.push_back({std::move(name), ParseValue(depth), line});
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
        if (c == QLatin1Char('-') || c == QLatin1Char('$') || isDigit(c))
            return ReadInteger();
        if (c == QLatin1Char('['))
            return TFormSet{ReadSet()};
        if (c == QLatin1Char('{'))
            return ReadBinary();
        if (c == QLatin1Char('(')) {
            Advance();
            TFormList items;
            // Lists are mostly short rows: room for them at once.
            items.reserve(8);
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

    // The plain run of a quoted string up to its next quote or line end.
    QStringView ScanRun()
    {
        const qsizetype start = pos_;
        while (pos_ < size_ && s_[pos_] != QLatin1Char('\'') && s_[pos_] != QLatin1Char('\n'))
            ++pos_;
        return View(start);
    }

    // 'text' with '' for a quote, and #n character codes, in any sequence.
    QString ReadString()
    {
        // Most strings are one quoted run: copied out as they stand.
        if (Peek() == QLatin1Char('\'')) {
            const qsizetype start = pos_;
            ++pos_;
            const QStringView run = ScanRun();
            const bool closed = pos_ < size_ && s_[pos_] == QLatin1Char('\'');
            const QChar next = closed && pos_ + 1 < size_ ? s_[pos_ + 1] : QChar();
            if (closed && next != QLatin1Char('\'') && next != QLatin1Char('#')) {
                ++pos_;
                return run.toString();
            }
            pos_ = start;
        }
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
                    result += ScanRun();
                }
            } else if (c == QLatin1Char('#')) {
                Advance();
                const qsizetype start = pos_;
                while (!AtEnd() && isDigit(Peek()) && pos_ - start < 7)
                    Advance();
                bool ok = false;
                const uint code = View(start).toUInt(&ok);
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
        while (!AtEnd() && isDigit(Peek(), base))
            Advance();
        if (!AtEnd() && isIdentChar(Peek()))
            Fail(QStringLiteral("Invalid number"));
        bool ok = false;
        const qint64 value = View(start).toLongLong(&ok, base);
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
            if (!isDigit(c, 16))
                Fail(QStringLiteral("Invalid binary data"));
            hex += char(c.unicode());
            Advance();
        }
        if (hex.size() % 2 != 0)
            Fail(QStringLiteral("Odd number of hexadecimal digits"));
        return QByteArray::fromHex(hex);
    }

    const QChar* s_;
    qsizetype size_;
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
