// A combo box whose items are drawn by the control, all of one height that
// follows the control's font.
#pragma once

#include "framework/combobox.h"

#include <QFont>

// The three styles an owner-drawn combo box can have; the same values as the
// framework's, without its two owner-draw styles.
using TOwnerDrawComboStyle = TComboBoxStyle;

class TOwnerDrawComboBox : public TCustomComboBox {
    Q_OBJECT
public:
    explicit TOwnerDrawComboBox(QWidget* parent = nullptr);

    TOwnerDrawComboStyle Style() const { return storedStyle_; }
    // Re-makes the native part in the new style; a value outside the three
    // styles is ignored.
    void SetStyle(TOwnerDrawComboStyle style);

    // The height of a row of text in the font on the screen, plus one.
    static int TextRowHeight(const QFont& font);
    // The item height for the control's font: TextRowHeight(), at least 9.
    virtual int ComputeItemHeight();
    // Stores ComputeItemHeight() as the item height without re-making the
    // native part, and gives the rows of an existing list that height.
    void ApplyItemHeight();

    void RecreateWnd() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void FontChanged() override;

private:
    // Qt's widget style, hidden so that it is not taken for Style().
    using QWidget::setStyle;
    using QWidget::style;
    TOwnerDrawComboStyle storedStyle_ = TComboBoxStyle::csDropDownList;
    // Set only while ApplyItemHeight() stores the height; re-make requests
    // are ignored meanwhile.
    bool itemHeightGuard_ = false;
};
