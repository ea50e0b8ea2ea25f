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

struct KindName {
    QString operator()(qint64) const { return QStringLiteral("an integer"); }
    QString operator()(const QString&) const { return QStringLiteral("a string"); }
    QString operator()(const TFormIdent&) const { return QStringLiteral("an identifier"); }
    QString operator()(const TFormSet&) const { return QStringLiteral("a set"); }
    QString operator()(const QByteArray&) const { return QStringLiteral("binary data"); }
    QString operator()(const TFormList&) const { return QStringLiteral("a list"); }
};

// The value as Kind; anything else is refused as not the `wanted` kind.
template <class Kind> const Kind& valueOf(const TFormValue& v, const char* wanted)
{
    if (const Kind* value = v.If<Kind>())
        return *value;
    throw Exception(
        QStringLiteral("%1 expected, found %2").arg(QLatin1String(wanted), std::visit(KindName(), v.Variant())));
}

} // namespace

const TPropertyInfo* TClassInfo::FindProperty(const QString& name) const
{
    // Names that match ignoring case have the same length: most are passed
    // over without comparing their letters.
    for (const TPropertyInfo& p : Properties)
        if (p.Name.size() == name.size() && p.Name.compare(name, Qt::CaseInsensitive) == 0)
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
    // The table lives as long as the program: no room kept for growth.
    info.Properties.shrink_to_fit();
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

const TClassInfo* ClassRegistry::ClassOf(const QWidget* object)
{
    return Find(ClassNameOf(object));
}

void SetClassName(QWidget* object, const QString& className)
{
    object->setProperty(ClassNameProperty, className);
}

QString ClassNameOf(const QWidget* object)
{
    return object ? object->property(ClassNameProperty).toString() : QString();
}

TComponent* AsComponent(QWidget* object)
{
    return dynamic_cast<TComponent*>(object);
}

qint64 ToInteger(const TFormValue& v)
{
    return valueOf<qint64>(v, "An integer");
}

QString ToText(const TFormValue& v)
{
    return valueOf<QString>(v, "A string");
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
    return valueOf<TFormIdent>(v, "An identifier").Name;
}

QStringList ToSet(const TFormValue& v)
{
    return valueOf<TFormSet>(v, "A set").Items;
}

QByteArray ToBinary(const TFormValue& v)
{
    return valueOf<QByteArray>(v, "Binary data");
}

QStringList ToStrings(const TFormValue& v)
{
    QStringList out;
    for (const TFormValue& item : valueOf<TFormList>(v, "A list of strings"))
        out << ToText(item);
    return out;
}

TFormValue ColorToFormValue(TColor color)
{
    if (const char* name = ColorIdentOf(color))
        return TFormIdent{QLatin1String(name)};
    return qint64{color};
}

TColor FormValueToColor(const TFormValue& v)
{
    if (const qint64* i = v.If<qint64>()) {
        // Written either signed or as an unsigned $ value: both are the same 32 bits.
        if (*i < std::numeric_limits<std::int32_t>::min() || *i > 0xFFFFFFFFLL)
            throw Exception(QStringLiteral("Colour value out of range"));
        return static_cast<TColor>(static_cast<std::uint32_t>(*i));
    }
    const QString name = ToIdent(v);
    TColor color = clBlack;
    if (!IdentToColor(name, color))
        throw Exception(QStringLiteral("Unknown colour '%1'").arg(name));
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
