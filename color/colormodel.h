// The two colours the user works on, the edit target, and the literal of the
// colour under edit. Written against a small view interface so it runs
// without a window.
#pragma once

#include "framework/types.h"

#include <QString>

#include <optional>

enum class TChannel { Red, Green, Blue };

// The five format buttons, in the order the model tests them.
enum class TLiteralFormat { Delphi, VisualCpp, Html, HtmlBody, VisualBasic };

// Exactly the reads and writes the colour model makes on the window.
class IColorView {
public:
    virtual ~IColorView() = default;
    virtual int SliderValue(TChannel channel) const = 0;
    // Goes through the slider's value setter: clamps, and raises the slider's
    // change event only when the value really changes.
    virtual void SetSliderValue(TChannel channel, int value) = 0;
    virtual bool IsTextTarget() const = 0; // "Текст" checked, else "Фон"
    virtual bool IsFormatChecked(TLiteralFormat format) const = 0;
    virtual void SetPreviewText(const QString& text) = 0;
    virtual void SetPreviewFontColor(TColor color) = 0;
    virtual void SetPreviewBackColor(TColor color) = 0;
};

struct TColorState {
    RgbTriple TextColor;
    RgbTriple BackColor;
    QString TextHtml;
    QString BackHtml;
};

// "#RRGGBB".
QString HtmlOf(int r, int g, int b);
// The tint of a channel slider at intensity v: (v,0,0), (0,v,0) or (0,0,v).
TColor ChannelTint(TChannel channel, int v);
// The literal of one format; the body tag uses the two stored HTML strings,
// the others the channel values.
QString FormatLiteral(TLiteralFormat format, int r, int g, int b, const QString& backHtml, const QString& textHtml);

// A colour from three decimal cell texts ("0" to "255"); none when a text
// is not such a number.
std::optional<RgbTriple> TripleFromTexts(const QString& r, const QString& g, const QString& b);

class TColorModel {
public:
    explicit TColorModel(IColorView& view) : view_(view) {}

    const TColorState& State() const { return state_; }

    void FormCreate();
    void ChangeColor();
    void RBtn1Click();  // edit the text colour
    void RBtn2Click();  // edit the background colour
    void RdBtn1Click(); // a format button became checked

    // Sets the red, green and blue sliders in that order; each real change
    // raises that slider's change event.
    void LoadSliders(const RgbTriple& color);
    // A colour picked from a list: loads the sliders, then sets the preview
    // colour of the current target even when no slider changed.
    void LoadColor(const RgbTriple& color);
    // The two colours of a body tag, each given or not. The one under edit
    // is loaded as a list colour is; the other one becomes its stored colour,
    // its HTML text and the preview's other colour, so the next switch of
    // the edit target shows it.
    void LoadPair(const std::optional<RgbTriple>& text, const std::optional<RgbTriple>& back);
    // The literal of the selected format as it would read with the colour
    // under edit at c (a live preview that sets no slider).
    QString LiteralFor(const RgbTriple& c) const;

    // The colour under edit, as the sliders hold it.
    RgbTriple ReadSliders() const;

private:
    IColorView& view_;
    TColorState state_;
};
