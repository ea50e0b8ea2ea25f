// The colours that came into the program lately, to go back to: in memory
// only, empty at every start.
#pragma once

#include "framework/types.h"

#include <QList>

class TRecentColors {
public:
    static constexpr qsizetype Capacity = 12;

    // The colour goes to the front; its earlier place, if any, is taken out,
    // and the oldest beyond the capacity drops off.
    void Add(const RgbTriple& color);
    // Newest first.
    const QList<RgbTriple>& Colors() const { return colors_; }

private:
    QList<RgbTriple> colors_;
};
