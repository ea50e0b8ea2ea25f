// Colours on screen: TColor to QColor, and the classic scheme as a QPalette.
#pragma once

#include "framework/types.h"

#include <QColor>
#include <QPalette>

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// The classic scheme as a Qt palette, so native controls and our own
// drawing agree on every system colour.
QPalette ClassicPalette();
