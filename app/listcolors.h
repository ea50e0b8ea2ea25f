// The named colours of the main window's list, read from its stored layout
// without making any control: the list view shows these rows as the layout
// fills it, and the nearest name and the reading of names take them from here.
#pragma once

#include "framework/formtext.h"
#include "framework/types.h"

#include <QString>

#include <vector>

struct TListColor {
    QString Name;
    RgbTriple Color;
};

// The rows of the list ListV of a layout, in their stored order; a row whose
// numbers are no colour is left out.
std::vector<TListColor> ListColorsOf(const TFormObject& layout);
