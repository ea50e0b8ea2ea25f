// The name of any colour: the nearest of a list of named colours, by the
// CIEDE2000 difference.
#pragma once

#include "color/colorspace.h"

#include <QString>
#include <QVector>

#include <optional>

struct TNearestColor {
    QString Name;
    double DeltaE = 0;
    bool Exact = false; // the very colour of the name
};

class TNearestColorFinder {
public:
    // In list order: of two names equally near, the one added first wins.
    void Add(const QString& name, const RgbTriple& color);
    bool IsEmpty() const { return entries_.isEmpty(); }
    // None only when no name was added.
    std::optional<TNearestColor> Find(const RgbTriple& color) const;

private:
    struct TEntry {
        QString Name;
        RgbTriple Color;
        TLab Lab; // computed once, so a search converts only the colour sought
    };
    QVector<TEntry> entries_;
};

// "Цвет: Gold" for a named colour itself, else "Ближайший цвет: Gold (ΔE 1,8)".
QString NearestColorText(const TNearestColor& nearest);
