#include "widgets/colorcombo/colorcombobox.h"

#include "framework/colornames.h"
#include "framework/controls.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScopedValueRollback>

#include <algorithm>
#include <cstdint>
#include <iterator>

// --- names list --------------------------------------------------------------

QString TColorNameList::Strings(int index) const
{
    return index >= 0 && index < Count() ? items_[index] : QString();
}

void TColorNameList::Add(const QString& text)
{
    items_.append(text);
    Changed();
}

void TColorNameList::Clear()
{
    if (items_.isEmpty())
        return;
    items_.clear();
    Changed();
}

void TColorNameList::Assign(const QStringList& items)
{
    BeginUpdate();
    items_ = items;
    changedInUpdate_ = true;
    EndUpdate();
}

void TColorNameList::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    if (--updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        if (OnChange)
            OnChange();
    }
}

void TColorNameList::Changed()
{
    if (updateCount_ > 0) {
        changedInUpdate_ = true;
        return;
    }
    if (OnChange)
        OnChange();
}

// --- integer text --------------------------------------------------------------

bool ParseIntegerText(const QString& text, TColor& value)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const auto isX = [&](qsizetype k) { return k < n && (text[k] == QLatin1Char('x') || text[k] == QLatin1Char('X')); };
    bool hex = false;
    if (i < n && text[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (isX(i)) {
        hex = true;
        ++i;
    } else if (i < n && text[i] == QLatin1Char('0') && isX(i + 1)) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;

    const std::uint64_t base = hex ? 16 : 10;
    // Decimal may reach 2^31 only as a negative number.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t v = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i].unicode(), int(base));
        if (digit < 0)
            return false;
        v = v * base + static_cast<std::uint64_t>(digit);
        if (v > limit)
            return false;
    }
    const auto bits = static_cast<std::uint32_t>(v);
    value = static_cast<TColor>(negative ? 0u - bits : bits);
    return true;
}

// --- the control -------------------------------------------------------------

QString TColorComboBox::DefaultColorName(int index)
{
    if (index < 0 || index >= StandardColorCount)
        return {};
    return QString::fromLatin1(StandardColorIdents[index].Name).mid(2);
}

TColorComboBox::TColorComboBox(QWidget* parent) : TOwnerDrawComboBox(parent)
{
    names_.OnChange = [this] { NamesListChanged(); };
}

QString TColorComboBox::ItemName(int index) const
{
    const QString name = names_.Strings(index);
    return name.isEmpty() ? DefaultColorName(index) : name;
}

void TColorComboBox::CreateWnd()
{
    TOwnerDrawComboBox::CreateWnd();
    FillColorItems();
    SetColorValue(color_);
}

void TColorComboBox::FillColorItems()
{
    BeginUpdate();
    const auto endUpdate = qScopeGuard([this] { EndUpdate(); });
    ClearItems();
    for (int i = 0; i < StandardColorCount; ++i)
        AddItem(ItemName(i), StandardColors[i]);
}

void TColorComboBox::NamesListChanged()
{
    if (!HandleAllocated())
        return;
    // Keep a colour typed into the field across the re-make.
    color_ = ColorValue();
    RecreateWnd();
}

void TColorComboBox::SetColorNames(const QStringList& names)
{
    names_.Assign(names);
}

void TColorComboBox::SetDisplayNames(bool value)
{
    if (!StoreChanged(displayNames_, value))
        return;
    update();
    UpdateList();
}

TColor TColorComboBox::ColorValue()
{
    if (Style() == TComboBoxStyle::csDropDownList || ItemIndex() >= 0)
        return color_;
    const QString text = Text();
    const int i = FindItemExact(text);
    if (i >= 0)
        return ItemData(i);
    TColor number = 0;
    if (ParseIntegerText(text, number))
        return number;
    return color_;
}

void TColorComboBox::SetColorValue(TColor value)
{
    // Reading the selection makes the native part first if needed, which
    // sets the stored colour on its own before the test below.
    if (ItemIndex() >= 0 && value == color_)
        return;
    color_ = value;
    const int n = ItemCount();
    for (int i = 0; i < n; ++i) {
        if (ItemData(i) == value) {
            if (ItemIndex() != i)
                SetItemIndex(i);
            NotifyColorChange();
            return;
        }
    }
    if (Style() == TComboBoxStyle::csDropDownList) {
        SetItemIndex(-1);
    } else {
        QString text = ColorToString(value);
        if (text.startsWith(QLatin1String("cl")))
            text.remove(0, 2);
        SetText(text);
    }
    NotifyColorChange();
}

void TColorComboBox::NotifyColorChange()
{
    if (!InState(csReading) && OnChange)
        OnChange(this);
}

void TColorComboBox::Click()
{
    const int i = ItemIndex();
    if (i >= 0)
        SetColorValue(ItemData(i));
    TOwnerDrawComboBox::Click();
}

void TColorComboBox::Change()
{
    TOwnerDrawComboBox::Change();
    const TColor value = ColorValue();
    if (value != color_) {
        color_ = value;
        NotifyColorChange();
    }
}

void TColorComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState)
{
    TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    const int L = rect.Left;
    const int T = rect.Top;
    const int B = rect.Bottom;
    const TRect swatch = displayNames_ ? Rect(L + 2, T + 2, L + 24, B - 2) : Rect(L + 2, T + 2, rect.Right - 3, B - 2);

    canvas->FillRect(rect);
    {
        const QScopedValueRollback keepBrush(canvas->BrushColor);
        canvas->PenColor = clWindowText;
        canvas->Rectangle(swatch);
        canvas->BrushColor = ItemData(index);
        // Inside the frame's lines, which keep their thickness on every side.
        canvas->FillFramePart(swatch, swatch.Inflated(-1, -1));
    }
    if (!displayNames_)
        return;

    // Names are drawn from a buffer of 255 characters; a longer one is cut,
    // never in the middle of a surrogate pair.
    constexpr int BufferLength = 255;
    QString text = ItemText(index);
    if (text.size() > BufferLength) {
        qsizetype length = BufferLength;
        if (text[length - 1].isHighSurrogate())
            --length;
        text.truncate(length);
    }
    TRect textRect = rect;
    textRect.Left = L + 28;
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    flags |= layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    canvas->DrawText(textRect, text, flags);
}
