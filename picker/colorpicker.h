// Taking a colour from any pixel of the screen. One asynchronous interface
// with an implementation per kind of session: a pointer and keyboard grab on
// X11, the desktop portal's screenshot frozen (or its PickColor) elsewhere. A
// pick ends with exactly one of Picked, Cancelled or Failed; destroying the
// picker ends it quietly.
#pragma once

#include "framework/types.h"
#include "picker/areamean.h"

#include <QObject>
#include <QString>

#include <functional>

class QWindow;

// Shown when this session offers no way to read the screen.
inline const QString ScreenPickUnavailableMessage = QStringLiteral("Взять цвет с экрана здесь нельзя");

// "Не удалось взять цвет с экрана: <reason>".
QString ScreenPickFailure(const QString& reason);

// What the user is told where CreateColorPicker gives nothing: the message,
// with the reason where the session has one.
QString ScreenPickUnavailableText();

class TColorPicker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Begins a pick; does nothing while one is under way. Started or Failed
    // may come before it returns. The parent window, when given, is the one
    // the desktop places its own picking interface over.
    virtual void Start(QWindow* parent = nullptr) = 0;
    // Ends a pick under way with Cancelled; does nothing otherwise.
    virtual void Cancel() = 0;
    // True from Start until the pick ends.
    virtual bool IsActive() const = 0;

    using TFormatter = std::function<QString(TColor)>;
    // How a picker that shows the colour under the pointer writes it (the
    // window's current format); without one it writes HTML.
    void SetFormatter(TFormatter formatter) { Formatter = std::move(formatter); }
    // The side of the square whose mean a pick takes: 1, 3, 5 or 9 (another
    // value counts as 1). A picker with a magnifier lets the user change it.
    void SetAverage(int side) { Average = IsAverageSide(side) ? side : 1; }
    int AverageSide() const { return Average; }

signals:
    // The pick is under way: the user can now choose a point of the screen.
    void Started();
    // The colour under the hotspot while it moves (where our magnifier is
    // shown), for a live preview.
    void Hovered(TColor color);
    // The user chose this colour; the pick is over.
    void Picked(TColor color);
    // The user gave the pick up (Escape, right click, the desktop's cancel); nothing is to change.
    void Cancelled();
    // The pick could not be done; the message is for the user, and nothing is to change.
    void Failed(const QString& message);

protected:
    TFormatter Formatter;
    int Average = 1;
};

// The picker for the running session, owned by parent, or nullptr when the
// session has none (the caller then shows ScreenPickUnavailableText()). An
// X11 session uses the grab. A Wayland session uses the portal when the
// session bus offers it, and never the grab of its X server: that reads black
// over every native window, a wrong colour given as a right one.
TColorPicker* CreateColorPicker(QObject* parent = nullptr);
