// The text of a stored form description, parsed into a tree of objects and
// values and written back. Knows nothing about classes or widgets.
#pragma once

#include "framework/exception.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

struct TFormValue {
    enum TKind { vaInteger, vaString, vaIdent, vaSet, vaBinary, vaList };

    TKind Kind = vaInteger;
    qint64 Integer = 0;
    QString Text;  // string contents or identifier
    QStringList Items;  // set members
    QByteArray Data;  // binary data
    std::vector<TFormValue> List;  // list members

    static TFormValue FromInteger(qint64 v);
    static TFormValue FromString(const QString& s);
    static TFormValue FromIdent(const QString& s);
    static TFormValue FromSet(const QStringList& items);
    static TFormValue FromBinary(const QByteArray& data);
    static TFormValue FromList(std::vector<TFormValue> items);

    friend bool operator==(const TFormValue&, const TFormValue&) = default;
};

struct TFormProperty {
    QString Name;  // may be dotted: ImageHRuler.Data
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
