#include "framework/classes.h"

#include <QVariant>

namespace {

std::map<QString, TClassInfo>& registry()
{
    static std::map<QString, TClassInfo> classes;
    return classes;
}

constexpr const char* ClassNameProperty = "_huebox_class";

QString kindName(TFormValue::TKind kind)
{
    switch (kind) {
    case TFormValue::vaInteger:
        return QStringLiteral("an integer");
    case TFormValue::vaString:
        return QStringLiteral("a string");
    case TFormValue::vaIdent:
        return QStringLiteral("an identifier");
    case TFormValue::vaSet:
        return QStringLiteral("a set");
    case TFormValue::vaBinary:
        return QStringLiteral("binary data");
    case TFormValue::vaList:
        return QStringLiteral("a list");
    }
    return {};
}

// The value itself when it is of the kind a property wants, else the error
// that names both kinds.
const TFormValue& expectKind(const TFormValue& v, TFormValue::TKind kind, const QString& wanted)
{
    if (v.Kind != kind)
        throw Exception(QStringLiteral("%1 expected, found %2").arg(wanted, kindName(v.Kind)));
    return v;
}

}  // namespace

const TPropertyInfo* TClassInfo::FindProperty(const QString& name) const
{
    for (const TPropertyInfo& p : Properties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const TStreamPropertyInfo* TClassInfo::FindStreamProperty(const QString& name) const
{
    for (const TStreamPropertyInfo& p : StreamProperties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

void ClassRegistry::Register(TClassInfo info)
{
    const QString name = info.ClassName;
    // Every object the registry creates knows its class name. A class
    // without a factory (a window that reads its own layout) is only read
    // into and written.
    if (auto create = info.Create) {
        info.Create = [create, name] {
            QWidget* w = create();
            SetClassName(w, name);
            return w;
        };
    }
    registry()[name.toLower()] = std::move(info);
}

const TClassInfo* ClassRegistry::Find(const QString& className)
{
    const auto it = registry().find(className.toLower());
    return it != registry().end() ? &it->second : nullptr;
}

const TClassInfo* ClassRegistry::ClassOf(const QWidget* object) { return Find(ClassNameOf(object)); }

void SetClassName(QWidget* object, const QString& className) { object->setProperty(ClassNameProperty, className); }

QString ClassNameOf(const QWidget* object)
{
    return object ? object->property(ClassNameProperty).toString() : QString();
}

TComponent* AsComponent(QWidget* object) { return dynamic_cast<TComponent*>(object); }

qint64 ToInteger(const TFormValue& v)
{
    return expectKind(v, TFormValue::vaInteger, QStringLiteral("An integer")).Integer;
}

QString ToText(const TFormValue& v)
{
    return expectKind(v, TFormValue::vaString, QStringLiteral("A string")).Text;
}

bool ToBool(const TFormValue& v)
{
    const QString ident = ToIdent(v);
    if (ident.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (ident.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    throw Exception(QStringLiteral("True or False expected, found '%1'").arg(ident));
}

QString ToIdent(const TFormValue& v)
{
    return expectKind(v, TFormValue::vaIdent, QStringLiteral("An identifier")).Text;
}

QStringList ToSet(const TFormValue& v)
{
    return expectKind(v, TFormValue::vaSet, QStringLiteral("A set")).Items;
}

QByteArray ToBinary(const TFormValue& v)
{
    return expectKind(v, TFormValue::vaBinary, QStringLiteral("Binary data")).Data;
}

QStringList ToStrings(const TFormValue& v)
{
    expectKind(v, TFormValue::vaList, QStringLiteral("A list of strings"));
    QStringList out;
    for (const TFormValue& item : v.List)
        out << ToText(item);
    return out;
}

TFormValue ColorToFormValue(TColor color)
{
    for (const TColorIdent& e : ColorIdents)
        if (e.Value == color)
            return TFormValue::FromIdent(QLatin1String(e.Name));
    return TFormValue::FromInteger(color);
}

TColor FormValueToColor(const TFormValue& v)
{
    if (v.Kind == TFormValue::vaInteger) {
        // Written either signed or as an unsigned $ value: both are the same 32 bits.
        if (v.Integer < std::numeric_limits<std::int32_t>::min() || v.Integer > 0xFFFFFFFFLL)
            throw Exception(QStringLiteral("Colour value out of range"));
        return static_cast<TColor>(static_cast<std::uint32_t>(v.Integer));
    }
    TColor color = clBlack;
    if (!IdentToColor(ToIdent(v), color))
        throw Exception(QStringLiteral("Unknown colour '%1'").arg(v.Text));
    return color;
}
