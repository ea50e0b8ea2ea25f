// The top-level window a stored layout describes.
#pragma once

#include "framework/controls.h"
#include "framework/formreader.h"

#include <QWidget>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };

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

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void UpdateWindowFlags();
    bool IsFixedSize() const;
    TFormBorderStyle borderStyle_ = bsSizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    QByteArray iconData_;
    bool shown_ = false;
};

template <class T>
TClassBuilder<T>& AddFormProperties(TClassBuilder<T>& b)
{
    AddControlProperties(b)
        .template Enum<TFormBorderStyle>(
            QStringLiteral("BorderStyle"),
            {QStringLiteral("bsNone"), QStringLiteral("bsSingle"), QStringLiteral("bsSizeable"), QStringLiteral("bsDialog"),
             QStringLiteral("bsToolWindow"), QStringLiteral("bsSizeToolWin")},
            [](T* o) { return o->BorderStyle(); }, [](T* o, TFormBorderStyle s) { o->SetBorderStyle(s); })
        .SetOf(QStringLiteral("BorderIcons"),
               {QStringLiteral("biSystemMenu"), QStringLiteral("biMinimize"), QStringLiteral("biMaximize"), QStringLiteral("biHelp")},
               [](T* o) { return o->BorderIcons(); }, [](T* o, unsigned v) { o->SetBorderIcons(v); })
        .Str(QStringLiteral("Caption"), [](T* o) { return o->Caption(); }, [](T* o, const QString& s) { o->SetCaption(s); })
        .Int(QStringLiteral("ClientHeight"), [](T* o) { return o->ClientHeight(); }, [](T* o, int v) { o->SetClientHeight(v); })
        .Int(QStringLiteral("ClientWidth"), [](T* o) { return o->ClientWidth(); }, [](T* o, int v) { o->SetClientWidth(v); })
        .Binary(QStringLiteral("Icon.Data"), [](T* o) { return !o->IconData().isEmpty(); }, [](T* o) { return o->IconData(); },
                [](T* o, const QByteArray& d) { o->SetIconData(d); })
        .template Enum<TPosition>(QStringLiteral("Position"),
                                  {QStringLiteral("poDesigned"), QStringLiteral("poDefault"), QStringLiteral("poDefaultPosOnly"),
                                   QStringLiteral("poDefaultSizeOnly"), QStringLiteral("poScreenCenter"),
                                   QStringLiteral("poDesktopCenter")},
                                  [](T* o) { return o->Position(); }, [](T* o, TPosition p) { o->SetPosition(p); });
    return b;
}
