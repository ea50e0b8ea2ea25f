// Writes components as a stored form description.
#pragma once

#include "framework/classes.h"

class TFormWriter {
public:
    // Writes the object and its children: each component's properties that
    // differ from the ancestor's (from a new instance's when there is no
    // ancestor) in published order, its bound events, then its stream
    // properties, then its children.
    static QString Write(QWidget* object, QWidget* ancestor = nullptr);
    static TFormObject Describe(QWidget* object, QWidget* ancestor = nullptr);
};
