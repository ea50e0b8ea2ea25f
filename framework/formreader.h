// Builds components from a stored form description.
#pragma once

#include "framework/classes.h"

#include <QWidget>

#include <memory>

class TFormReader {
public:
    // Reads the description's children and properties into an existing root
    // (the window being created). Properties are applied while every
    // component is reading, then Loaded() runs on every component, and only
    // then are the events bound to the root's handlers, so loading raises
    // no handler. On a malformed description it raises EFormError naming
    // the line, and the children it created are gone again.
    static void ReadRoot(QWidget* root, const QString& text, const THandlerTable& handlers);
    // The same for a description already parsed (ParseFormText).
    static void ReadRoot(QWidget* root, const TFormObject& description, const THandlerTable& handlers);

    // Reads a description whose top object is created from the registry.
    static std::unique_ptr<QWidget> ReadComponent(const QString& text, const THandlerTable& handlers = {});
};
