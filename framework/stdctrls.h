// The standard controls a stored window layout is made of, each a Qt widget
// with the framework's published properties.
#pragma once

#include "framework/controls.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

#include <array>

// Stored layouts name these values by their declared identifiers.
namespace StdCtrlEnums {
Q_NAMESPACE
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)
} // namespace StdCtrlEnums
using StdCtrlEnums::TAlignment;
using enum StdCtrlEnums::TAlignment;
using StdCtrlEnums::TBevelCut;
using enum StdCtrlEnums::TBevelCut;

// The horizontal Qt alignment of a TAlignment.
Qt::Alignment toQt(TAlignment a);

// A one-pixel bevel on the outermost pixels of a rectangle, as four edges in
// the order they are filled: a lowered bevel is shadowed at the top left, any
// other at the bottom right; the bottom and right edges take the corners.
struct TBevelEdge {
    TRect Rect;
    TColor Color;
};
// Each edge is `line` pixels thick.
std::array<TBevelEdge, 4> BevelEdges(const TRect& rect, TBevelCut bevel, int line = 1);

class TLabel : public QLabel, public TControl {
public:
    TLabel();
    QString Caption() const { return text(); }
    // An auto-sized label takes the size of its text whenever the text or
    // the font changes.
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool value) { setAutoFillBackground(!value); }
    void Loaded() override;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void Fit();
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool fitPending_ = false;
};

class TButton : public QPushButton, public TControl {
public:
    TButton();
};

// Its click event runs when the button becomes checked, by the user or by
// code, and not when a checked button is clicked again.
// Radio buttons with the same parent form one group: checking one unchecks
// the others, and the checked one stays checked when clicked again. Buttons
// in a nested group box form a group of their own.
// Tab enters a group at its checked button (at its first, in tab order,
// while none is checked) and leaves it with the next Tab; the arrow keys
// move through the group in tab order, round from the last to the first,
// and check the button they reach.
class TRadioButton : public QRadioButton, public TControl {
public:
    TRadioButton();
    void Loaded() override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    std::vector<TRadioButton*> GroupInTabOrder() const;
    void UpdateGroupTabStop();
};

class TGroupBox : public QGroupBox, public TControl {
public:
    TGroupBox();

protected:
    void resizeEvent(QResizeEvent* e) override;
};

// A multi-line edit box; the program sets its whole text and its colours.
// The text is held at once and reaches the document once, before the box
// next handles an event or is asked about its selection: a colour change
// rewrites it several times within one event.
class TMemo : public QTextEdit, public TControl {
public:
    TMemo();
    QString Text() const { return textPending_ ? text_ : toPlainText(); }
    void SetText(const QString& text);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value);
    void SelectAll();
    void CopyToClipboard();
    int SelStart() const;
    void SetSelStart(int pos);
    QString SelText() const;
    // Where the text's lines stand in the viewport, each as wide as its text.
    QRect TextRect() const;

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void ApplyFontColor(QPalette& palette, const QColor& color) override;
    // Every copy (the program's, Ctrl+C, the context menu, the X selection)
    // offers the selection as plain text alone.
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Brings the document up to the text last set.
    void Flush() const;
    TAlignment alignment_ = taLeftJustify;
    QString text_;
    bool textPending_ = false;
};

class TPanel : public QFrame, public TControl {
public:
    TPanel();
    TBevelCut BevelInner() const { return inner_; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return outer_; }
    void SetBevelOuter(TBevelCut b);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void UpdateMargins();
    TBevelCut inner_ = bvNone;
    TBevelCut outer_ = bvRaised;
};

// A picture box; the picture is stored as PNG data.
class TImage : public QLabel, public TControl {
public:
    TImage();
    QByteArray PictureData() const { return data_; }
    void SetPictureData(const QByteArray& data);
    void SetPicture(const QPixmap& pixmap);
    bool Stretch() const { return hasScaledContents(); }
    void SetStretch(bool value) { setScaledContents(value); }

private:
    QByteArray data_;
};

class TTabSheet : public QWidget, public TControl {
public:
    TTabSheet();
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QString caption_;
};

class TPageControl : public QTabWidget, public TControl {
public:
    TPageControl();
    void AddPage(TTabSheet* page);
    QString ActivePageName() const;
    void SetActivePageName(const QString& name);
    void Loaded() override;

private:
    QString activePage_;
};

// Registers every class above with the stored-form reader.
void RegisterStandardClasses();
