// A combo box of the 16 standard colours, each shown as a framed swatch with
// its name. Its value is a colour: choosing an item sets it, setting it
// selects the matching item, and each change raises OnChange.
#pragma once

#include "framework/types.h"
#include "widgets/colorcombo/ownerdrawcombobox.h"

#include <QStringList>

#include <array>
#include <functional>
#include <iterator>

// A plain, unsorted list of names that reports each change made outside a
// BeginUpdate/EndUpdate bracket, and a whole bracket as one change.
class TColorNameList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Outside the list: an empty text.
    QString Strings(int index) const;
    void Add(const QString& text);
    void Clear();
    // Takes over the other list's contents as one change.
    void Assign(const QStringList& items);
    const QStringList& Items() const { return items_; }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    std::function<void()> OnChange;

private:
    void Changed();

    QStringList items_;
    int updateCount_ = 0;
    bool changedInUpdate_ = false;
};

// Reads a whole text as a 32-bit integer: leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x" or "0x" (either
// case). Hexadecimal takes all 32 bits ($FFFFFFFF is -1). Anything else,
// trailing blanks included, or a value beyond 32 bits, gives false.
bool ParseIntegerText(const QString& text, TColor& value);

class TColorComboBox : public TOwnerDrawComboBox {
    Q_OBJECT
public:
    static constexpr int StandardColorCount = int(std::size(StandardColorIdents));
    // The colour of each item, in item order.
    static constexpr std::array<TColor, StandardColorCount> StandardColors = [] {
        std::array<TColor, StandardColorCount> colors{};
        for (int i = 0; i < StandardColorCount; ++i)
            colors[i] = StandardColorIdents[i].Value;
        return colors;
    }();
    // "Black" ... "White": the colour's identifier without its "cl".
    static QString DefaultColorName(int index);

    explicit TColorComboBox(QWidget* parent = nullptr);

    // The stored colour in csDropDownList or while an item is selected;
    // otherwise the colour of the item named in the field, or the number the
    // field holds, or the stored colour. Reading never changes it.
    TColor ColorValue();
    // Selects the colour's item and raises OnChange. A colour without an
    // item empties the selection (csDropDownList) or shows the colour's text
    // in the field. Nothing happens while an item is selected and the colour
    // is already the stored one.
    void SetColorValue(TColor value);

    // Entry i names item i when it is there and not empty; entries beyond
    // the 16th are not used. Any change re-makes an existing list.
    TColorNameList& ColorNames() { return names_; }
    void SetColorNames(const QStringList& names);

    bool DisplayNames() const { return displayNames_; }
    void SetDisplayNames(bool value);

    // Raised on every change of the value, except while the control is read
    // from a stored layout.
    TNotifyEvent OnChange;

    // Refills the 16 items with their current names.
    virtual void FillColorItems();
    virtual void NotifyColorChange();

protected:
    void CreateWnd() override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Click() override;
    void Change() override;

private:
    void NamesListChanged();
    QString ItemName(int index) const;

    TColor color_ = clBlack;
    bool displayNames_ = true;
    TColorNameList names_;
};

// Adds TColorComboBox to the stored-form class registry.
void RegisterColorComboClasses();
