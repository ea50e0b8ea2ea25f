#include "app/transientnote.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QToolTip>

TTransientNote::TTransientNote(QWidget* owner) : QLabel(owner, Qt::ToolTip | Qt::BypassGraphicsProxyWidget)
{
    setObjectName(QStringLiteral("Note"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setPalette(QToolTip::palette());
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
    setTextFormat(Qt::PlainText);
}

void TTransientNote::ShowAt(const QString& text, const QPoint& globalPos, int msec, bool alert)
{
    setText(text);
    // The window's title names it for the window system, as its text does.
    setWindowTitle(text);
    setAccessibleName(text);
    adjustSize();
    QPoint pos = globalPos;
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() + 1 - width())));
        pos.setY(qBound(area.top(), pos.y(), qMax(area.top(), area.bottom() + 1 - height())));
    }
    move(pos);
    if (!isVisible())
        qApp->installEventFilter(this);
    show();
    raise();
    timer_.start(msec, this);
    if (alert) {
        QAccessibleEvent event(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&event);
    }
}

void TTransientNote::Dismiss()
{
    hide();
}

void TTransientNote::hideEvent(QHideEvent* event)
{
    timer_.stop();
    qApp->removeEventFilter(this);
    QLabel::hideEvent(event);
}

void TTransientNote::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer_.timerId())
        Dismiss();
    else
        QLabel::timerEvent(event);
}

// The next key or click anywhere in the program ends the note; Escape ends
// only the note, a click on the note likewise.
bool TTransientNote::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        Dismiss();
        return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::Wheel:
        Dismiss();
        return watched == this;
    case QEvent::ApplicationStateChange:
        if (QGuiApplication::applicationState() != Qt::ApplicationActive)
            Dismiss();
        return false;
    default:
        return false;
    }
}

namespace {

QAccessibleInterface* NoteFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TTransientNote") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

void InstallNoteAccessibility()
{
    QAccessible::installFactory(NoteFactory);
}
