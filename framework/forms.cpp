#include "framework/forms.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>

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

bool TForm::IsFixedSize() const { return borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin; }

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
    const bool dialog = borderStyle_ == bsDialog;
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
    TFormReader::ReadRoot(this, text, handlers);
    AlignControls(this);
    ApplyTabOrder(this);
}

void TForm::showEvent(QShowEvent* e)
{
    if (!shown_ && (position_ == poScreenCenter || position_ == poDesktopCenter)) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    shown_ = true;
    QWidget::showEvent(e);
}

void TForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    AlignControls(this);
}
