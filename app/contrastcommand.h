// `huebox --contrast TEXT BACKGROUND [--level N]`: the pair's contrast report
// on standard output, without a display.
#pragma once

#include "app/commandline.h"

#include <QStringList>

// Colours are read as a paste reads them, the names of the window's colour
// list included: those come from the stored layout, with no window made.
// What to print and the exit status: the report and 0 when the pair reaches
// the level, the report and 3 when it does not, the reader's message on
// standard error and 2 for a colour that cannot be read.
TCommandLine ContrastCommand(const QStringList& colors, double level);
