// The class registry of stored form descriptions: how to create each
// class by name and its published properties, in published order.
#pragma once

#include "framework/colornames.h"
#include "framework/component.h"
#include "framework/formtext.h"
#include "framework/types.h"

#include <QMetaEnum>
#include <QWidget>

#include <algorithm>
#include <any>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

class TBitmap;

// Handlers a root offers to the reader, by name. Each holds the handler
// type of the event it serves (TNotifyEvent for most).
using THandlerTable = std::map<QString, std::any>;

struct TPropertyInfo {
    QString Name;
    // The value as it is written; empty when the property is not stored at
    // all in the object's current state.
    std::function<std::optional<TFormValue>(QWidget*)> Get;
    // Applies a read value; raises Exception for a value of the wrong kind.
    std::function<void(QWidget*, const TFormValue&)> Set;
    // Events only: assigns a handler found in the root's table. The handler
    // returns at once while rootDestroying holds: taking a window down moves
    // its focus and empties its lists, and none of its handlers may run on
    // the half-destroyed window.
    std::function<void(QWidget*, const std::any& handler, std::shared_ptr<const bool> rootDestroying)> Bind;
    // References only: assigns the component the value names, once the
    // whole description has been read (it may come later in the text).
    std::function<void(QWidget* object, QWidget* target)> Link = {};
    // Enumerations and sets: the enumeration, and the identifiers of the
    // values the property takes, in declaration order.
    QMetaEnum Enumeration = {};
    QStringList Names = {};
    // Written even at its default value (but not when it equals an
    // ancestor's).
    bool NoDefault = false;
    bool IsEvent() const { return static_cast<bool>(Bind); }
    bool IsReference() const { return static_cast<bool>(Link); }
};

// A property the class writes itself after the published ones, as binary
// data (an ancestor of nullptr means "against the defaults").
struct TStreamPropertyInfo {
    QString Name;
    std::function<bool(QWidget* object, QWidget* ancestor)> ShouldWrite;
    std::function<QByteArray(QWidget*)> Write;
    std::function<void(QWidget*, const QByteArray&)> Read;
};

struct TClassInfo {
    QString ClassName;
    std::function<QWidget*()> Create;
    std::vector<TPropertyInfo> Properties;
    std::vector<TStreamPropertyInfo> StreamProperties;
    // Where a child read inside an object of this class goes (a page
    // control puts its pages into itself, not as plain children).
    std::function<void(QWidget* parent, QWidget* child)> InsertChild;
    // The children written inside an object of this class, in order.
    std::function<QList<QWidget*>(QWidget*)> Children;

    const TPropertyInfo* FindProperty(const QString& name) const;
    const TStreamPropertyInfo* FindStreamProperty(const QString& name) const;
};

namespace ClassRegistry {
// Registering a class name again replaces the earlier entry.
void Register(TClassInfo info);
const TClassInfo* Find(const QString& className);
// Every registered class, in no particular order.
std::vector<const TClassInfo*> Classes();
// The registered class of an object (by its recorded class name).
const TClassInfo* ClassOf(const QWidget* object);
} // namespace ClassRegistry

// The class name an object was created under; set by the reader and by
// the registry's factories.
void SetClassName(QWidget* object, const QString& className);
QString ClassNameOf(const QWidget* object);
TComponent* AsComponent(QWidget* object);

// Value conversions for property definitions; each raises Exception with
// a clear message for a value of the wrong kind.
qint64 ToInteger(const TFormValue& v);
QString ToText(const TFormValue& v);
bool ToBool(const TFormValue& v);
QString ToIdent(const TFormValue& v);
QStringList ToSet(const TFormValue& v);
QByteArray ToBinary(const TFormValue& v);
QStringList ToStrings(const TFormValue& v);

// Colours: an identifier from the colour table (clRed, clWindow) or an
// integer.
TFormValue ColorToFormValue(TColor color);
TColor FormValueToColor(const TFormValue& v);

// The identifiers of an enumeration's values as its declaration names them
// (declared with Q_ENUM_NS), so a stored layout keeps its meaning whatever
// order the values are declared in.
class TEnumNames {
public:
    // Only the values in `only` when it is not empty.
    explicit TEnumNames(const QMetaEnum& meta, const std::vector<int>& only = {});

    const QMetaEnum& Meta() const { return meta_; }
    const QStringList& Names() const { return names_; }
    // The identifier of a value; a value without one is written as its
    // number.
    QString Name(int value) const;
    std::optional<int> Find(const QString& name) const;
    // Raises Exception naming the property for an identifier that is not
    // one of the values.
    int Value(const QString& name, const QString& property) const;

    // A set as bits. The bit of a member is its value, or for an
    // enumeration that counts from 0 (its values are positions) bit n for
    // the value n.
    QStringList SetNames(unsigned bits) const;
    unsigned SetBits(const QStringList& names, const QString& property) const;

private:
    unsigned Bit(int index) const;

    QMetaEnum meta_;
    QStringList names_;
    std::vector<int> values_;
    bool positions_ = false;
};

// A builder that keeps property definitions short:
//   TClassBuilder<TFoo>("TFoo").Int("Left", &TFoo::Left, &TFoo::SetLeft)...
template <class T> class TClassBuilder {
public:
    explicit TClassBuilder(const QString& className)
    {
        info_.ClassName = className;
        if constexpr (std::is_base_of_v<QWidget, T>)
            info_.Create = [] { return static_cast<QWidget*>(new T()); };
    }

    TClassInfo& Info() { return info_; }
    // Hands the class to the registry; the builder is spent after it.
    void Register() { ClassRegistry::Register(std::move(info_)); }

    // Appends a property defined elsewhere.
    TClassBuilder& AddProperty(TPropertyInfo property) { return Push(std::move(property)); }
    // The property added last is written also at its default value.
    TClassBuilder& NoDefault()
    {
        if (last_ < info_.Properties.size())
            info_.Properties[last_].NoDefault = true;
        return *this;
    }

    // Properties added from here on go before the named one, in the order
    // they are added, until InsertAtEnd(): a class publishes a shared set
    // with its own properties among them.
    TClassBuilder& InsertBefore(const QString& name)
    {
        const auto& list = info_.Properties;
        const auto it = std::find_if(list.begin(), list.end(), [&](const TPropertyInfo& p) { return p.Name == name; });
        if (it == list.end())
            throw Exception(QStringLiteral("%1 has no property %2").arg(info_.ClassName, name));
        insertAt_ = static_cast<size_t>(it - list.begin());
        return *this;
    }
    TClassBuilder& InsertAtEnd()
    {
        insertAt_.reset();
        return *this;
    }

    // A property of its own kind: get gives the value as it is written, or
    // nothing when the object's state does not store it.
    template <class G, class S> TClassBuilder& Value(const QString& name, G get, S set)
    {
        TPropertyInfo p;
        p.Name = name;
        p.Get = [get](QWidget* w) -> std::optional<TFormValue> { return std::invoke(get, Object(w)); };
        p.Set = [set](QWidget* w, const TFormValue& v) { std::invoke(set, Object(w), v); };
        return Push(std::move(p));
    }

    template <class G, class S> TClassBuilder& Int(const QString& name, G get, S set)
    {
        return Value(
            name, [get](T* o) { return TFormValue(qint64{std::invoke(get, o)}); },
            [set](T* o, const TFormValue& v) {
                const qint64 i = ToInteger(v);
                if (i < std::numeric_limits<int>::min() || i > std::numeric_limits<int>::max())
                    throw Exception(QStringLiteral("Integer value out of range"));
                std::invoke(set, o, static_cast<int>(i));
            });
    }

    template <class G, class S> TClassBuilder& Str(const QString& name, G get, S set)
    {
        return Value(
            name, [get](T* o) { return TFormValue(QString(std::invoke(get, o))); },
            [set](T* o, const TFormValue& v) { std::invoke(set, o, ToText(v)); });
    }

    template <class G, class S> TClassBuilder& Bool(const QString& name, G get, S set)
    {
        return Value(
            name,
            [get](T* o) {
                return TFormValue(TFormIdent{std::invoke(get, o) ? QStringLiteral("True") : QStringLiteral("False")});
            },
            [set](T* o, const TFormValue& v) { std::invoke(set, o, ToBool(v)); });
    }

    template <class G, class S> TClassBuilder& Color(const QString& name, G get, S set)
    {
        return Value(
            name, [get](T* o) { return ColorToFormValue(std::invoke(get, o)); },
            [set](T* o, const TFormValue& v) { std::invoke(set, o, FormValueToColor(v)); });
    }

    // An enumeration written by the identifiers of its values; `only`
    // limits it to some of them.
    template <class E, class G, class S>
    TClassBuilder& Enum(const QString& name, G get, S set, std::initializer_list<E> only = {})
    {
        std::vector<int> values;
        for (const E value : only)
            values.push_back(static_cast<int>(value));
        const TEnumNames names(QMetaEnum::fromType<E>(), std::move(values));
        Value(
            name,
            [names, get](T* o) { return TFormValue(TFormIdent{names.Name(static_cast<int>(std::invoke(get, o)))}); },
            [names, set, name](T* o, const TFormValue& v) {
                std::invoke(set, o, static_cast<E>(names.Value(ToIdent(v), name)));
            });
        return Described(names);
    }

    // A set of the values of enumeration E, held as bits (see TEnumNames).
    template <class E, class G, class S> TClassBuilder& SetOf(const QString& name, G get, S set)
    {
        const TEnumNames names(QMetaEnum::fromType<E>());
        Value(
            name,
            [names, get](T* o) {
                return TFormValue(TFormSet{names.SetNames(static_cast<unsigned>(std::invoke(get, o)))});
            },
            [names, set, name](T* o, const TFormValue& v) { std::invoke(set, o, names.SetBits(ToSet(v), name)); });
        return Described(names);
    }

    template <class G, class S> TClassBuilder& Strings(const QString& name, G get, S set)
    {
        return Value(
            name,
            [get](T* o) {
                TFormList items;
                for (const QString& s : std::invoke(get, o))
                    items.push_back(s);
                return TFormValue(std::move(items));
            },
            [set](T* o, const TFormValue& v) { std::invoke(set, o, ToStrings(v)); });
    }

    // Binary data that is written only while stored(o) holds.
    template <class Stored, class G, class S> TClassBuilder& Binary(const QString& name, Stored stored, G get, S set)
    {
        return Value(
            name,
            [stored, get](T* o) -> std::optional<TFormValue> {
                if (!std::invoke(stored, o))
                    return std::nullopt;
                return TFormValue(QByteArray(std::invoke(get, o)));
            },
            [set](T* o, const TFormValue& v) { std::invoke(set, o, ToBinary(v)); });
    }

    // An event: Handler is the std::function type the event takes; set is
    // the member that holds the handler, or a function that assigns it.
    template <class Handler, class Setter> TClassBuilder& Event(const QString& name, Setter set)
    {
        return BindEvent<Handler>(name, set);
    }
    // An event held in a member: Event(QStringLiteral("OnClick"), &T::OnClick).
    template <class Handler, class Owner>
    requires(!std::is_function_v<Handler>) TClassBuilder& Event(const QString& name, Handler Owner::*member)
    {
        return BindEvent<Handler>(name, member);
    }

    // A reference to another component of the same description, written
    // by its name; set once the whole description has been read. Target is
    // the class the named component must have.
    template <class Target, class G, class S> TClassBuilder& Reference(const QString& name, G get, S set)
    {
        TPropertyInfo p;
        p.Name = name;
        p.Get = [get](QWidget* w) -> std::optional<TFormValue> {
            QWidget* target = std::invoke(get, Object(w));
            if (!target)
                return std::nullopt;
            const TComponent* component = AsComponent(target);
            return TFormValue(TFormIdent{component ? component->Name() : target->objectName()});
        };
        p.Link = [set, name](QWidget* w, QWidget* target) {
            auto* typed = dynamic_cast<Target*>(target);
            if (!typed)
                throw Exception(QStringLiteral("'%1' cannot be the %2").arg(target->objectName(), name));
            std::invoke(set, Object(w), typed);
        };
        return Push(std::move(p));
    }

    TClassBuilder& Stream(const QString& name, std::function<bool(T*, T*)> shouldWrite,
                          std::function<QByteArray(T*)> write, std::function<void(T*, const QByteArray&)> read)
    {
        info_.StreamProperties.push_back(
            {name, [shouldWrite](QWidget* o, QWidget* ancestor) { return shouldWrite(Object(o), Object(ancestor)); },
             [write](QWidget* o) { return write(Object(o)); },
             [read](QWidget* o, const QByteArray& data) { read(Object(o), data); }});
        return *this;
    }

private:
    // A class of widgets, or a base of theirs that is no widget (the control
    // base: a builder of properties that all controls share).
    static T* Object(QWidget* w)
    {
        if constexpr (std::is_base_of_v<QWidget, T>)
            return static_cast<T*>(w);
        else
            return dynamic_cast<T*>(w);
    }

    template <class Handler, class Setter> TClassBuilder& BindEvent(const QString& name, Setter set)
    {
        TPropertyInfo p;
        p.Name = name;
        p.Bind = [set, name](QWidget* w, const std::any& handler, std::shared_ptr<const bool> rootDestroying) {
            const Handler* h = std::any_cast<Handler>(&handler);
            if (!h)
                throw Exception(QStringLiteral("Handler of the wrong kind for %1").arg(name));
            // A handler bound from a layout does nothing once its root is
            // being destroyed: the objects it would touch are going.
            Handler guarded([h = *h, rootDestroying = std::move(rootDestroying)](auto&&... args) {
                using Result = typename Handler::result_type;
                if (*rootDestroying)
                    return Result();
                return h(std::forward<decltype(args)>(args)...);
            });
            if constexpr (std::is_member_object_pointer_v<Setter>)
                std::invoke(set, Object(w)) = std::move(guarded);
            else
                std::invoke(set, Object(w), std::move(guarded));
        };
        return Push(std::move(p));
    }

    TClassBuilder& Described(const TEnumNames& names)
    {
        info_.Properties[last_].Enumeration = names.Meta();
        info_.Properties[last_].Names = names.Names();
        return *this;
    }

    TClassBuilder& Push(TPropertyInfo p)
    {
        auto& list = info_.Properties;
        last_ = insertAt_ ? (*insertAt_)++ : list.size();
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(last_), std::move(p));
        return *this;
    }

    TClassInfo info_;
    std::optional<size_t> insertAt_;
    size_t last_ = 0;
};
