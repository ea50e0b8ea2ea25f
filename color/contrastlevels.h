// The levels of the web accessibility guidelines (WCAG 2.2) a pair's
// contrast is judged against, and what the program says of a pair: its
// verdicts and the nearest colours that would pass.
#pragma once

#include "color/passingcolor.h"
#include "framework/types.h"

#include <QString>

#include <array>
#include <optional>

struct TContrastLevel {
    double Ratio;
    const char* Key;     // the name --contrast prints
    const char* Caption; // the menu's
};

// Normal text AA and AAA, large text AA and AAA, user-interface components
// and graphics. A level is met by a ratio at or above it, judged on the
// exact ratio, not on the two decimals shown.
inline constexpr std::array<TContrastLevel, 5> ContrastLevels = {{
    {4.5, "normal-aa", "Обычный текст, AA (4,5:1)"},
    {7.0, "normal-aaa", "Обычный текст, AAA (7:1)"},
    {3.0, "large-aa", "Крупный текст, AA (3:1)"},
    {4.5, "large-aaa", "Крупный текст, AAA (4,5:1)"},
    {3.0, "graphics", "Элементы интерфейса и графика (3:1)"},
}};

// The levels a suggestion is made for.
inline constexpr std::array<double, 2> SuggestedLevels = {4.5, 7.0};

struct TContrastSuggestion {
    bool ForText = true; // else for the background
    double Level = 0;
    std::optional<TPassingColor> Color; // none when no colour reaches the level
};

// The nearest passing colour for the text, then for the background, each at
// 4.5:1 and 7:1 against the other colour of the pair.
std::array<TContrastSuggestion, 4> ContrastSuggestions(const RgbTriple& text, const RgbTriple& background);

// "Обычный текст, AA (4,5:1): нет".
QString ContrastLevelCaption(const TContrastLevel& level, double ratio);
// "Текст для 4,5:1: #757778 (ΔE 6,7)", "Фон для 7:1: недостижимо".
QString ContrastSuggestionCaption(const TContrastSuggestion& suggestion);

// What `huebox --contrast` prints: the ratio, each level's verdict and the
// four suggestions, one to a line, with a decimal point; each line ends in
// a line break.
QString ContrastReport(const RgbTriple& text, const RgbTriple& background);
