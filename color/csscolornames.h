// The named colours of CSS, for reading colours that were copied from web
// pages and style sheets.
#pragma once

#include "framework/types.h"

#include <QStringView>

#include <optional>

// The colour of a CSS colour name in any letter case ("rosybrown", "Gold");
// none for any other text. "transparent" is not a colour here.
std::optional<RgbTriple> CssNamedColor(QStringView name);
