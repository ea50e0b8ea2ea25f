#include "widgets/colorcombo/ownerdrawcombobox.h"

#include <QFontMetricsF>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace {

// The kind bits of each of the three styles.
constexpr unsigned OwnerDrawStyleBits[] = {ComboStyle::DropDown, ComboStyle::Simple, ComboStyle::DropDownList};

bool IsOwnerDrawStyle(TOwnerDrawComboStyle style)
{
    return style >= TComboBoxStyle::csDropDown && style <= TComboBoxStyle::csDropDownList;
}

} // namespace

TOwnerDrawComboBox::TOwnerDrawComboBox(QWidget* parent) : TCustomComboBox(parent)
{
    TCustomComboBox::SetBoxStyle(TComboBoxStyle::csDropDownList);
}

void TOwnerDrawComboBox::SetStyle(TOwnerDrawComboStyle style)
{
    if (!IsOwnerDrawStyle(style) || style == storedStyle_)
        return;
    storedStyle_ = style;
    TCustomComboBox::SetBoxStyle(style);
}

int TOwnerDrawComboBox::TextRowHeight(const QFont& font)
{
    // The character height of a font is its ascent plus its descent, each
    // rounded up to whole pixels on its own: a row must hold the highest
    // ascender and the lowest descender. Qt's integer metrics round each to
    // the nearest pixel instead, which can cut a pixel off.
    const QFontMetricsF metrics(font);
    const double height = std::ceil(metrics.ascent()) + std::ceil(metrics.descent());
    return static_cast<int>(std::clamp(height, 0.0, 10000.0)) + 1;
}

int TOwnerDrawComboBox::ComputeItemHeight()
{
    return std::max(TextRowHeight(font()), 9);
}

void TOwnerDrawComboBox::ApplyItemHeight()
{
    const int height = ComputeItemHeight();
    {
        const QScopedValueRollback guard(itemHeightGuard_, true);
        SetItemHeight(height);
    }
    if (HandleAllocated())
        SetNativeItemHeight(0, height);
}

void TOwnerDrawComboBox::RecreateWnd()
{
    if (itemHeightGuard_)
        return;
    TCustomComboBox::RecreateWnd();
}

void TOwnerDrawComboBox::CreateParams(TCreateParams& params)
{
    TCustomComboBox::CreateParams(params);
    params.Style &= ~ComboStyle::KindMask;
    const int i = IsOwnerDrawStyle(storedStyle_) ? static_cast<int>(storedStyle_)
                                                 : static_cast<int>(TComboBoxStyle::csDropDownList);
    params.Style |= ComboStyle::OwnerDrawFixed | OwnerDrawStyleBits[i];
}

void TOwnerDrawComboBox::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    ApplyItemHeight();
}

void TOwnerDrawComboBox::FontChanged()
{
    TCustomComboBox::FontChanged();
    ApplyItemHeight();
    RecreateWnd();
}
