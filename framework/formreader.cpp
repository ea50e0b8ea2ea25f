#include "framework/formreader.h"

#include <QSet>

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {

// The identifier a reference or an event names; Validate has made sure it is
// one.
const QString& identOf(const TFormValue& v)
{
    return v.If<TFormIdent>()->Name;
}

struct Created {
    QWidget* Object;
    const TClassInfo* Class;
    const TFormObject* Description;
};

class Reader {
public:
    explicit Reader(const THandlerTable& handlers) : handlers_(handlers) {}

    // Checks every class, property and handler name before anything is
    // created, so a misspelt name never leaves a partial window.
    void Validate(const TFormObject& o, const TClassInfo* cls)
    {
        CollectNames(o);
        Check(o, cls);
    }

    void CollectNames(const TFormObject& o)
    {
        names_.insert(o.Name);
        for (const TFormObject& child : o.Children)
            CollectNames(child);
    }

    void Check(const TFormObject& o, const TClassInfo* cls)
    {
        std::vector<const TPropertyInfo*>& resolved = resolved_[&o];
        resolved.reserve(o.Properties.size());
        for (const TFormProperty& p : o.Properties) {
            const TPropertyInfo* info = cls->FindProperty(p.Name);
            resolved.push_back(info);
            if (info) {
                if (info->IsReference()) {
                    if (!p.Value.Is<TFormIdent>())
                        throw EFormError(p.Line, QStringLiteral("Component name expected for %1").arg(p.Name));
                    if (!names_.contains(identOf(p.Value)))
                        throw EFormError(p.Line, QStringLiteral("Unknown component '%1'").arg(identOf(p.Value)));
                } else if (info->IsEvent()) {
                    if (!p.Value.Is<TFormIdent>())
                        throw EFormError(p.Line, QStringLiteral("Handler name expected for %1").arg(p.Name));
                    if (handlers_.find(identOf(p.Value)) == handlers_.end())
                        throw EFormError(p.Line, QStringLiteral("Unknown handler '%1'").arg(identOf(p.Value)));
                }
            } else if (!cls->FindStreamProperty(p.Name)) {
                throw EFormError(p.Line, QStringLiteral("Unknown property '%1' of %2").arg(p.Name, cls->ClassName));
            }
        }
        for (const TFormObject& child : o.Children) {
            const TClassInfo* childClass = ClassRegistry::Find(child.ClassName);
            if (!childClass || !childClass->Create)
                throw EFormError(child.Line, QStringLiteral("Unknown class '%1'").arg(child.ClassName));
            Check(child, childClass);
        }
    }

    void Apply(QWidget* object, const TClassInfo* cls, const TFormObject& o)
    {
        created_.push_back({object, cls, &o});
        if (TComponent* c = AsComponent(object)) {
            c->IncludeState(csLoading | csReading);
            c->SetName(o.Name);
        }
        object->setObjectName(o.Name);
        ForEachProperty(o, [&](const TFormProperty& p, const TPropertyInfo* info) {
            try {
                if (info) {
                    if (!info->IsEvent() && !info->IsReference())
                        info->Set(object, p.Value);
                } else {
                    cls->FindStreamProperty(p.Name)->Read(object, ToBinary(p.Value));
                }
            } catch (const EFormError&) {
                throw;
            } catch (const std::exception& e) {
                throw EFormError(p.Line, QStringLiteral("%1: %2").arg(p.Name, QString::fromUtf8(e.what())));
            }
        });
        for (const TFormObject& child : o.Children) {
            const TClassInfo* childClass = ClassRegistry::Find(child.ClassName);
            std::unique_ptr<QWidget> w(childClass->Create());
            try {
                if (cls->InsertChild)
                    cls->InsertChild(object, w.get());
                else
                    w->setParent(object);
            } catch (const std::exception& e) {
                throw EFormError(child.Line, QString::fromUtf8(e.what()));
            }
            Apply(w.release(), childClass, child);
        }
    }

    void Finish()
    {
        // References may name components that come later in the text.
        for (const Created& c : created_) {
            ForEachProperty(*c.Description, [&](const TFormProperty& p, const TPropertyInfo* info) {
                if (!info || !info->IsReference())
                    return;
                const auto target = std::find_if(created_.begin(), created_.end(), [&](const Created& t) {
                    return t.Description->Name == identOf(p.Value);
                });
                try {
                    info->Link(c.Object, target->Object);
                } catch (const std::exception& e) {
                    throw EFormError(p.Line, QStringLiteral("%1: %2").arg(p.Name, QString::fromUtf8(e.what())));
                }
            });
        }
        for (const Created& c : created_)
            if (TComponent* comp = AsComponent(c.Object))
                comp->Loaded();
        // Every handler is bound to the root's state: none runs while the
        // root is being taken down.
        TComponent* root = created_.empty() ? nullptr : AsComponent(created_.front().Object);
        const std::shared_ptr<const bool> rootDestroying =
            root ? root->DestroyingFlag() : std::make_shared<const bool>(false);
        for (const Created& c : created_) {
            TComponent* comp = AsComponent(c.Object);
            ForEachProperty(*c.Description, [&](const TFormProperty& p, const TPropertyInfo* info) {
                if (!info || !info->IsEvent())
                    return;
                try {
                    info->Bind(c.Object, handlers_.at(identOf(p.Value)), rootDestroying);
                } catch (const std::exception& e) {
                    throw EFormError(p.Line, QString::fromUtf8(e.what()));
                }
                if (comp)
                    comp->SetEventBinding(info->Name, identOf(p.Value));
            });
        }
    }

private:
    // Calls f(property, entry) for each of the object's properties, with the
    // entry Validate found for it in its class (null: a stream property).
    template <class F> void ForEachProperty(const TFormObject& o, F&& f) const
    {
        const std::vector<const TPropertyInfo*>& resolved = resolved_.at(&o);
        for (size_t i = 0; i < resolved.size(); ++i)
            f(o.Properties[i], resolved[i]);
    }

    const THandlerTable& handlers_;
    std::vector<Created> created_;
    QSet<QString> names_;
    // Each object's properties' entries in its class, in the object's order,
    // looked up once by Validate (null: a stream property).
    std::unordered_map<const TFormObject*, std::vector<const TPropertyInfo*>> resolved_;
};

} // namespace

void TFormReader::ReadRoot(QWidget* root, const QString& text, const THandlerTable& handlers)
{
    ReadRoot(root, ParseFormText(text), handlers);
}

void TFormReader::ReadRoot(QWidget* root, const TFormObject& description, const THandlerTable& handlers)
{
    const TClassInfo* cls = ClassRegistry::ClassOf(root);
    if (!cls)
        cls = ClassRegistry::Find(description.ClassName);
    if (!cls)
        throw EFormError(description.Line, QStringLiteral("Unknown class '%1'").arg(description.ClassName));
    Reader reader(handlers);
    reader.Validate(description, cls);

    const QObjectList before = root->children();
    try {
        reader.Apply(root, cls, description);
        reader.Finish();
    } catch (...) {
        // Nothing half-built stays behind: the children made here go again.
        for (QObject* child : root->children())
            if (!before.contains(child))
                delete child;
        if (TComponent* c = AsComponent(root))
            c->ExcludeState(csLoading | csReading);
        throw;
    }
}

std::unique_ptr<QWidget> TFormReader::ReadComponent(const QString& text, const THandlerTable& handlers)
{
    const TFormObject description = ParseFormText(text);
    const TClassInfo* cls = ClassRegistry::Find(description.ClassName);
    if (!cls || !cls->Create)
        throw EFormError(description.Line, QStringLiteral("Unknown class '%1'").arg(description.ClassName));
    Reader reader(handlers);
    reader.Validate(description, cls);
    std::unique_ptr<QWidget> object(cls->Create());
    reader.Apply(object.get(), cls, description);
    reader.Finish();
    return object;
}
