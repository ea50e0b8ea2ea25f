// The keys of a pick with the magnifier, the same on X11 and over the frozen
// screens: what a key asks for, whichever road reports it.
#pragma once

#include <QPoint>

// Arrows move the hotspot by one device pixel, with Shift by this many.
constexpr int MagnifierShiftStep = 10;

struct TMagnifierKey {
    enum class TAction { None, Cancel, Take, Zoom, Average, Move };
    TAction Action = TAction::None;
    int ZoomSteps = 0; // Zoom: +1 in, -1 out
    int Average = 1;   // Average: the side of the square to take
    QPoint Move;       // Move: in device pixels
};

// A key as Qt names it (a letter by its upper case), with Shift held or not,
// while the square taken has the side `average`.
TMagnifierKey MagnifierKeyOf(int key, bool shift, int average);
