// What one run of the program is to do, read from its arguments. A run
// without arguments opens the window as always and never comes here.
#pragma once

#include "color/colormodel.h"
#include "color/copyforms.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// A literal's form for --format: one of the window's five or one of the forms
// of "Копировать как".
using TOutputFormat = std::variant<TLiteralFormat, TCopyForm>;

// "delphi", "cpp", "basic", "html", "body", then the forms' own names.
QStringList OutputFormatNames();
std::optional<TOutputFormat> OutputFormatOfName(const QString& name);

enum class TRunMode {
    Window,   // the window, maybe with a first colour and a literal printed on close
    Pick,     // one pick from the screen, its literal printed; no window
    Exit,     // Text to standard output (help, version) or to standard error, then ExitCode
    Contrast, // the contrast report of ContrastColors against ContrastLevel; no window
};

struct TCommandLine {
    TRunMode Mode = TRunMode::Window;
    std::optional<QString> Color;        // --color, read as a paste is
    std::optional<TOutputFormat> Format; // --format
    bool PrintOnClose = false;           // --print
    QStringList ContrastColors;          // --contrast TEXT BACKGROUND, each read as a paste is
    double ContrastLevel = 4.5;          // --level, 1 to 21
    int Average = 1;                     // --average: the side of the square a pick averages
    QString Text;
    bool TextIsError = false;
    int ExitCode = 0;
};

class TNearestColorFinder;

// The literal of c in the format; the body tag takes the two HTML texts, the
// name the nearest of names.
QString OutputLiteral(const TOutputFormat& format, const RgbTriple& c, const QString& backHtml, const QString& textHtml,
                      const TNearestColorFinder& names);

// Exit codes beyond success.
constexpr int ExitFailure = 1;    // no way to do what was asked (no display, no way to pick)
constexpr int ExitUsage = 2;      // wrong arguments or text, or a pick given up
constexpr int ExitBelowLevel = 3; // --contrast: the pair does not reach the level

// A run that only writes `text` (a line break added where it has none) to
// standard error or output and ends with `code`.
TCommandLine ExitWith(const QString& text, int code, bool error);

// The arguments as QCoreApplication gives them, the program's path first.
// Qt's own options (-platform, -style, -display, …) are let through for Qt.
// Texts come from Qt's translation when one is installed.
TCommandLine ReadCommandLine(const QStringList& arguments);
