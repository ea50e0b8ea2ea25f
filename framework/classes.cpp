#include "framework/classes.h"

#include <QVariant>

#include <algorithm>

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

[[noreturn]] void wrongKind(const TFormValue& v, const QString& wanted)
{
    throw Exception(QStringLiteral("%1 expected, found %2").arg(wanted, kindName(v.Kind)));
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

std::vector<const TClassInfo*> ClassRegistry::Classes()
{
    std::vector<const TClassInfo*> out;
    for (const auto& [key, info] : registry())
        out.push_back(&info);
    return out;
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
    if (v.Kind != TFormValue::vaInteger)
        wrongKind(v, QStringLiteral("An integer"));
    return v.Integer;
}

QString ToText(const TFormValue& v)
{
    if (v.Kind != TFormValue::vaString)
        wrongKind(v, QStringLiteral("A string"));
    return v.Text;
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
    if (v.Kind != TFormValue::vaIdent)
        wrongKind(v, QStringLiteral("An identifier"));
    return v.Text;
}

QStringList ToSet(const TFormValue& v)
{
    if (v.Kind != TFormValue::vaSet)
        wrongKind(v, QStringLiteral("A set"));
    return v.Items;
}

QByteArray ToBinary(const TFormValue& v)
{
    if (v.Kind != TFormValue::vaBinary)
        wrongKind(v, QStringLiteral("Binary data"));
    return v.Data;
}

QStringList ToStrings(const TFormValue& v)
{
    if (v.Kind != TFormValue::vaList)
        wrongKind(v, QStringLiteral("A list of strings"));
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

TEnumNames::TEnumNames(const QMetaEnum& meta, const std::vector<int>& only) : meta_(meta)
{
    for (int i = 0; i < meta.keyCount(); ++i) {
        const int value = meta.value(i);
        if (value == 0)
            positions_ = true;
        if (!only.empty() && std::find(only.begin(), only.end(), value) == only.end())
            continue;
        names_ << QLatin1String(meta.key(i));
        values_.push_back(value);
    }
}

QString TEnumNames::Name(int value) const
{
    const auto it = std::find(values_.begin(), values_.end(), value);
    return it != values_.end() ? names_[it - values_.begin()] : QString::number(value);
}

std::optional<int> TEnumNames::Find(const QString& name) const
{
    const qsizetype i = names_.indexOf(name);
    return i >= 0 ? std::optional<int>(values_[i]) : std::nullopt;
}

int TEnumNames::Value(const QString& name, const QString& property) const
{
    const std::optional<int> value = Find(name);
    if (!value)
        throw Exception(QStringLiteral("Invalid value '%1' for %2").arg(name, property));
    return *value;
}

unsigned TEnumNames::Bit(int index) const
{
    const int value = values_[index];
    return positions_ ? 1u << value : static_cast<unsigned>(value);
}

QStringList TEnumNames::SetNames(unsigned bits) const
{
    QStringList items;
    for (int i = 0; i < names_.size(); ++i)
        if (bits & Bit(i))
            items << names_[i];
    return items;
}

unsigned TEnumNames::SetBits(const QStringList& names, const QString& property) const
{
    unsigned bits = 0;
    for (const QString& item : names) {
        const qsizetype i = names_.indexOf(item);
        if (i < 0)
            throw Exception(QStringLiteral("Invalid value '%1' for %2").arg(item, property));
        bits |= Bit(static_cast<int>(i));
    }
    return bits;
}
