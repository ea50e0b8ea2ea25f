// The top-level window a stored layout describes.
#pragma once

#include "framework/controls.h"
#include "framework/formreader.h"

#include <QWidget>

// Stored layouts name these values by their declared identifiers.
namespace FormEnums {
Q_NAMESPACE
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
Q_ENUM_NS(TBorderIcon)
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };
Q_ENUM_NS(TPosition)
} // namespace FormEnums
using FormEnums::TBorderIcon;
using FormEnums::TFormBorderStyle;
using enum FormEnums::TBorderIcon;
using FormEnums::TPosition;
using enum FormEnums::TPosition;

class TForm : public QWidget, public TControl {
    Q_OBJECT
public:
    TForm();

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    int ClientWidth() const { return width(); }
    void SetClientWidth(int w);
    int ClientHeight() const { return height(); }
    void SetClientHeight(int h);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    QByteArray IconData() const { return iconData_; }
    void SetIconData(const QByteArray& data);

    // Builds the window's controls from a stored layout and binds their
    // events to the given handlers; then lays out, and chains the tab order.
    void ReadLayout(const QString& text, const THandlerTable& handlers);
    void ReadLayout(const TFormObject& description, const THandlerTable& handlers);

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void UpdateWindowFlags();
    bool IsFixedSize() const;
    void CenterOnScreen();
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    QByteArray iconData_;
    bool shown_ = false;
    // A centred window is centred again once the window manager has told
    // its frame, which it does only when it takes the window on screen.
    bool centerPending_ = false;
    QMargins centeredWith_;
};

// The position of the frame's top left corner that centres a window of the
// client size and frame margins in the area. Without margins (no window
// manager to report them) it centres the client area. A window larger than
// the area keeps its top left corner, and so its title bar, inside it.
QPoint CenteredWindowPosition(const QRect& area, const QSize& client, const QMargins& frame);

template <class T> TClassBuilder<T>& AddFormProperties(TClassBuilder<T>& b)
{
    AddControlProperties(b)
        .template Enum<TFormBorderStyle>(QStringLiteral("BorderStyle"), &T::BorderStyle, &T::SetBorderStyle)
        .template SetOf<TBorderIcon>(QStringLiteral("BorderIcons"), &T::BorderIcons, &T::SetBorderIcons)
        .Str(QStringLiteral("Caption"), &T::Caption, &T::SetCaption)
        .Int(QStringLiteral("ClientHeight"), &T::ClientHeight, &T::SetClientHeight)
        .Int(QStringLiteral("ClientWidth"), &T::ClientWidth, &T::SetClientWidth)
        .Binary(
            QStringLiteral("Icon.Data"), [](T* o) { return !o->IconData().isEmpty(); }, &T::IconData, &T::SetIconData)
        .template Enum<TPosition>(QStringLiteral("Position"), &T::Position, &T::SetPosition);
    return b;
}
