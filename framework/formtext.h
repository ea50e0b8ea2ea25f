// The text of a stored form description, parsed into a tree of objects and
// values and written back. Knows nothing about classes or widgets.
#pragma once

#include "framework/exception.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

struct TFormValue;

// A bare word: True, clRed, alClient, a component's or a handler's name.
struct TFormIdent {
    QString Name;
    friend bool operator==(const TFormIdent&, const TFormIdent&) = default;
};

// The members of a set, as written: [fsBold, fsItalic].
struct TFormSet {
    QStringList Items;
    friend bool operator==(const TFormSet&, const TFormSet&) = default;
};

using TFormList = std::vector<TFormValue>;

// One value of a description, of exactly one kind: an integer, a string,
// an identifier, a set, binary data or a list of values. Made from the
// kind's own value: TFormValue(42), TFormValue(TFormIdent{name}).
struct TFormValue : std::variant<qint64, QString, TFormIdent, TFormSet, QByteArray, TFormList> {
    using variant::variant;

    const variant& Variant() const { return *this; }
    template <class Kind> bool Is() const { return std::holds_alternative<Kind>(*this); }
    // The value as Kind, or null for a value of another kind.
    template <class Kind> const Kind* If() const { return std::get_if<Kind>(this); }

    friend bool operator==(const TFormValue&, const TFormValue&) = default;
};

struct TFormProperty {
    QString Name; // may be dotted: ImageHRuler.Data
    TFormValue Value;
    int Line = 0;
};

struct TFormObject {
    QString Name;
    QString ClassName;
    int Line = 0;
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;
};

// A malformed description; the message names the line.
class EFormError : public Exception {
public:
    EFormError(int line, const QString& message)
        : Exception(QStringLiteral("Line %1: %2").arg(line).arg(message)), line_(line)
    {
    }
    int Line() const { return line_; }

private:
    int line_;
};

// Parses exactly one top-level object; anything else raises EFormError.
TFormObject ParseFormText(const QString& text);
QString FormatFormText(const TFormObject& object);
