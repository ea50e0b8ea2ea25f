// The component state every control carries: its name, the loading/reading
// flags that setters consult, and the end-of-loading hook.
#pragma once

#include <QString>

#include <map>
#include <memory>

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csDestroying = 1u << 3,
};

class TComponent {
public:
    virtual ~TComponent()
    {
        if (destroying_)
            *destroying_ = true;
    }

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    bool InState(unsigned flags) const { return (state_ & flags) != 0; }
    void IncludeState(unsigned flags) { SetState(state_ | flags); }
    void ExcludeState(unsigned flags) { SetState(state_ & ~flags); }

    // Whether the component is being destroyed, for code that may run while
    // it goes and after: true from csDestroying on, and once it is gone.
    std::shared_ptr<const bool> DestroyingFlag()
    {
        if (!destroying_)
            destroying_ = std::make_shared<bool>(InState(csDestroying));
        return destroying_;
    }

    // Called once the whole stored description has been applied; the reading
    // state ends here.
    virtual void Loaded() { ExcludeState(csLoading | csReading); }

    // The handler names bound to this component's events, for writing the
    // description back.
    void SetEventBinding(const QString& event, const QString& handler) { events_[event] = handler; }
    const std::map<QString, QString>& EventBindings() const { return events_; }

private:
    void SetState(unsigned state)
    {
        state_ = state;
        if (destroying_)
            *destroying_ = InState(csDestroying);
    }

    QString name_;
    std::map<QString, QString> events_;
    unsigned state_ = 0;
    std::shared_ptr<bool> destroying_;
};
