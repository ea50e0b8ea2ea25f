// Colours on screen: TColor to QColor, and the classic scheme as a QPalette.
#pragma once

#include "framework/types.h"

#include <QColor>
#include <QPalette>

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// The classic scheme as a Qt palette: each role that has a system colour
// takes it (window, text, button face and its edges, selection, tool tips;
// grey text when disabled), so native controls and our own drawing agree.
// System colours without a role (captions, menus, borders) stay out of it.
QPalette ClassicPalette();
