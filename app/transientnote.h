// A short note in a tooltip-like window beside a control: that a copy was
// made, or why a paste or a pick failed. It moves no control and takes no
// focus; it goes when its time is up, at the next key or click, or with Escape.
#pragma once

#include <QBasicTimer>
#include <QLabel>

class TTransientNote : public QLabel {
    Q_OBJECT
public:
    // A window of its own above `owner`'s window, not shown until asked.
    explicit TTransientNote(QWidget* owner);

    // Shows `text` with its top left corner at `globalPos`, kept on that
    // screen, for `msec`. An alert is also announced to screen readers.
    void ShowAt(const QString& text, const QPoint& globalPos, int msec, bool alert);
    void Dismiss();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QBasicTimer timer_;
};

// Lets screen readers find a note as an alert.
void InstallNoteAccessibility();
