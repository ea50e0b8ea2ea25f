#include "picker/magnifierkeys.h"

#include "picker/areamean.h"

#include <Qt>

TMagnifierKey MagnifierKeyOf(int key, bool shift, int average)
{
    using A = TMagnifierKey::TAction;
    const auto make = [](A action, int zoom = 0, int side = 1, QPoint move = {}) {
        return TMagnifierKey{action, zoom, side, move};
    };
    const int step = shift ? MagnifierShiftStep : 1;
    switch (key) {
    case Qt::Key_Escape:
        return make(A::Cancel);
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return make(A::Take);
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on many layouts
        return make(A::Zoom, 1);
    case Qt::Key_Minus:
        return make(A::Zoom, -1);
    case Qt::Key_A:
        return make(A::Average, 0, NextAverageSide(average));
    case Qt::Key_1:
    case Qt::Key_3:
    case Qt::Key_5:
    case Qt::Key_9:
        return make(A::Average, 0, key - Qt::Key_0);
    case Qt::Key_Left:
        return make(A::Move, 0, 1, {-step, 0});
    case Qt::Key_Right:
        return make(A::Move, 0, 1, {step, 0});
    case Qt::Key_Up:
        return make(A::Move, 0, 1, {0, -step});
    case Qt::Key_Down:
        return make(A::Move, 0, 1, {0, step});
    default:
        return {};
    }
}
