// What the main window's tests read and record on the real window.
#pragma once

#include "app/form1.h"
#include "widgets/slider/imageslider.h"

#include <QStringList>

// The three slider values as "r,g,b".
inline QString SliderValues(const TForm1& f)
{
    return QStringLiteral("%1,%2,%3").arg(f.SlR->Value()).arg(f.SlG->Value()).arg(f.SlB->Value());
}

// Appends the name of each slider that raises its change event, in order;
// the window's own handler still runs after.
inline void RecordSliderChanges(TForm1& f, QStringList& changes)
{
    for (TImageSlider* s : {f.SlR, f.SlG, f.SlB}) {
        const TNotifyEvent original = s->OnChange;
        s->OnChange = [&changes, s, original](QObject* sender) {
            changes << s->objectName();
            original(sender);
        };
    }
}
