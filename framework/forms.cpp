#include "framework/forms.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <algorithm>

TForm::TForm() : TControl(this)
{
    SetColor(clBtnFace);
    UpdateWindowFlags();
}

void TForm::SetClientWidth(int w)
{
    if (IsFixedSize())
        setFixedWidth(std::max(w, 0));
    else
        resize(std::max(w, 0), height());
}

void TForm::SetClientHeight(int h)
{
    if (IsFixedSize())
        setFixedHeight(std::max(h, 0));
    else
        resize(width(), std::max(h, 0));
}

bool TForm::IsFixedSize() const
{
    return borderStyle_ != TFormBorderStyle::bsSizeable && borderStyle_ != TFormBorderStyle::bsSizeToolWin;
}

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    borderStyle_ = style;
    UpdateWindowFlags();
}

void TForm::SetBorderIcons(unsigned icons)
{
    borderIcons_ = icons;
    UpdateWindowFlags();
}

void TForm::UpdateWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    const bool dialog = borderStyle_ == TFormBorderStyle::bsDialog;
    if (borderIcons_ & biSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // A dialog frame has neither a minimise nor a maximise box.
    if (!dialog && (borderIcons_ & biMinimize))
        flags |= Qt::WindowMinimizeButtonHint;
    if (!dialog && (borderIcons_ & biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    if (IsFixedSize()) {
        flags |= Qt::MSWindowsFixedSizeDialogHint;
        setFixedSize(size());
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (dialog)
        flags |= Qt::Dialog;
    const bool visible = isVisible();
    setWindowFlags(flags);
    if (visible)
        show();
}

void TForm::SetIconData(const QByteArray& data)
{
    QPixmap pixmap;
    if (!data.isEmpty() && !pixmap.loadFromData(data))
        throw Exception(QStringLiteral("Invalid icon data"));
    iconData_ = data;
    setWindowIcon(QIcon(pixmap));
}

void TForm::ReadLayout(const QString& text, const THandlerTable& handlers)
{
    ReadLayout(ParseFormText(text), handlers);
}

void TForm::ReadLayout(const TFormObject& description, const THandlerTable& handlers)
{
    TFormReader::ReadRoot(this, description, handlers);
    AlignControls(this);
    ApplyTabOrder(this);
}

QPoint CenteredWindowPosition(const QRect& area, const QSize& client, const QMargins& frame)
{
    const int width = client.width() + frame.left() + frame.right();
    const int height = client.height() + frame.top() + frame.bottom();
    return {area.x() + std::max((area.width() - width) / 2, 0), area.y() + std::max((area.height() - height) / 2, 0)};
}

void TForm::CenterOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    centeredWith_ = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    // Once the window exists, move() places its frame.
    move(CenteredWindowPosition(screen->availableGeometry(), size(), centeredWith_));
}

void TForm::showEvent(QShowEvent* e)
{
    if (!shown_ && (position_ == poScreenCenter || position_ == poDesktopCenter)) {
        CenterOnScreen();
        centerPending_ = true;
    }
    shown_ = true;
    QWidget::showEvent(e);
}

bool TForm::event(QEvent* e)
{
    // By the first paint the window manager has framed the window and told
    // the frame's size.
    if (centerPending_ && e->type() == QEvent::Paint) {
        centerPending_ = false;
        if (windowHandle() && windowHandle()->frameMargins() != centeredWith_)
            CenterOnScreen();
    }
    return QWidget::event(e);
}

void TForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    AlignControls(this);
}
