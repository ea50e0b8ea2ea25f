// A short note drawn over a free part of the window: that a copy was made, or
// why a paste or a pick failed. It takes no input at all (a press, the wheel
// or a key reaches whatever lies under it), moves no control and takes no
// focus; it goes when its time is up, at the next key or click, or with Escape.
#pragma once

#include <QBasicTimer>
#include <QLabel>

class TTransientNote : public QLabel {
    Q_OBJECT
public:
    // A child of `owner`, drawn over it, not shown until asked.
    explicit TTransientNote(QWidget* owner);

    // Shows `text` at the top of `area` (in the owner's coordinates), centred,
    // within the part of the area that its screen shows and cut short with
    // "…" where it is wider, for `msec`. An alert is also announced to
    // screen readers, who are given the whole text.
    void ShowIn(const QString& text, const QRect& area, int msec, bool alert);
    void Dismiss();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int MinimumPixelSize = 9;
    QBasicTimer timer_;
};

// Lets screen readers find a note as an alert.
void InstallNoteAccessibility();
