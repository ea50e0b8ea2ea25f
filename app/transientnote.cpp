#include "app/transientnote.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>
#include <QToolTip>

TTransientNote::TTransientNote(QWidget* owner) : QLabel(owner)
{
    setObjectName(QStringLiteral("Note"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setPalette(QToolTip::palette());
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setContentsMargins(2, 0, 2, 0);
    setTextFormat(Qt::PlainText);
    hide();
}

void TTransientNote::ShowIn(const QString& text, const QRect& area, int msec, bool alert)
{
    setText(text);
    setAccessibleName(text);
    QRect room = area;
    // A window that reaches past its screen's edge keeps the note on the screen.
    if (const QScreen* screen = window()->screen()) {
        const QRect shown = screen->availableGeometry().translated(-parentWidget()->mapToGlobal(QPoint()));
        if (shown.intersects(area))
            room = area & shown;
    }
    // The window's own letters where the room is high enough, smaller ones
    // where it is not.
    QFont letters = parentWidget()->font();
    setFont(letters);
    for (int size = QFontInfo(letters).pixelSize(); sizeHint().height() > room.height() && size > MinimumPixelSize;) {
        letters.setPixelSize(--size);
        setFont(letters);
    }
    const QSize wanted = sizeHint();
    const int width = qMin(wanted.width(), room.width());
    setGeometry(room.left() + (room.width() - width) / 2, room.top(), width, qMin(wanted.height(), room.height()));
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

// The label's own drawing, with a text too long for the room cut short.
void TTransientNote::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width()));
}

void TTransientNote::Dismiss()
{
    hide();
}

void TTransientNote::hideEvent(QHideEvent* event)
{
    timer_.stop();
    qApp->removeEventFilter(this);
    // Hidden with its window, the note must not come back when the window does.
    if (!isHidden())
        setVisible(false);
    QLabel::hideEvent(event);
}

void TTransientNote::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer_.timerId())
        Dismiss();
    else
        QLabel::timerEvent(event);
}

// The next key or click anywhere in the program ends the note and still does
// its own work; Escape ends only the note.
bool TTransientNote::eventFilter(QObject*, QEvent* event)
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
        return false;
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
