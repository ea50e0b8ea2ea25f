#include "framework/formwriter.h"

#include <memory>

namespace {

QList<QWidget*> childrenOf(QWidget* object, const TClassInfo* cls)
{
    if (cls && cls->Children)
        return cls->Children(object);
    QList<QWidget*> out;
    for (QObject* child : object->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && ClassRegistry::ClassOf(w))
            out << w;
    }
    return out;
}

} // namespace

TFormObject TFormWriter::Describe(QWidget* object, QWidget* ancestor)
{
    const TClassInfo* cls = ClassRegistry::ClassOf(object);
    if (!cls)
        throw Exception(QStringLiteral("Class of '%1' is not registered").arg(object->objectName()));

    TFormObject o;
    o.ClassName = cls->ClassName;
    TComponent* component = AsComponent(object);
    o.Name = component ? component->Name() : object->objectName();

    // Without an ancestor the defaults are those of a new instance.
    std::unique_ptr<QWidget> fresh;
    if (!ancestor && cls->Create) {
        fresh.reset(cls->Create());
        ancestor = fresh.get();
    }

    for (const TPropertyInfo& p : cls->Properties) {
        if (p.IsEvent()) {
            if (!component)
                continue;
            const auto it = component->EventBindings().find(p.Name);
            if (it != component->EventBindings().end())
                o.Properties.push_back({p.Name, TFormIdent{it->second}, 0});
            continue;
        }
        const std::optional<TFormValue> value = p.Get(object);
        if (!value)
            continue;
        if (ancestor && !(p.NoDefault && ancestor == fresh.get())) {
            const std::optional<TFormValue> inherited = p.Get(ancestor);
            if (inherited && *inherited == *value)
                continue;
        }
        o.Properties.push_back({p.Name, *value, 0});
    }
    for (const TStreamPropertyInfo& s : cls->StreamProperties) {
        if (s.ShouldWrite(object, ancestor == fresh.get() ? nullptr : ancestor))
            o.Properties.push_back({s.Name, s.Write(object), 0});
    }

    const QList<QWidget*> ancestorChildren = ancestor && ancestor != fresh.get()
                                                 ? childrenOf(ancestor, ClassRegistry::ClassOf(ancestor))
                                                 : QList<QWidget*>{};
    for (QWidget* child : childrenOf(object, cls)) {
        // A child is compared with the ancestor's child of the same name.
        QWidget* childAncestor = nullptr;
        for (QWidget* candidate : ancestorChildren)
            if (candidate->objectName() == child->objectName())
                childAncestor = candidate;
        o.Children.push_back(Describe(child, childAncestor));
    }
    return o;
}

QString TFormWriter::Write(QWidget* object, QWidget* ancestor)
{
    return FormatFormText(Describe(object, ancestor));
}
