#include "color/colormodel.h"

#include <array>

QString HtmlOf(int r, int g, int b)
{
    return QLatin1Char('#') + hex2(r) + hex2(g) + hex2(b);
}

TColor ChannelTint(TChannel channel, int v)
{
    switch (channel) {
    case TChannel::Red:
        return RGB(v, 0, 0);
    case TChannel::Green:
        return RGB(0, v, 0);
    case TChannel::Blue:
        return RGB(0, 0, v);
    }
    return clBlack;
}

QString FormatLiteral(TLiteralFormat format, int r, int g, int b, const QString& backHtml, const QString& textHtml)
{
    const QString bgr = hex2(b) + hex2(g) + hex2(r);
    switch (format) {
    case TLiteralFormat::Delphi:
        return QStringLiteral("$00") + bgr;
    case TLiteralFormat::VisualCpp:
        return QStringLiteral("0x00") + bgr;
    case TLiteralFormat::VisualBasic:
        // The long hex literal of Basic: &H prefix, & suffix.
        return QStringLiteral("&H00") + bgr + QLatin1Char('&');
    case TLiteralFormat::Html:
        return HtmlOf(r, g, b);
    case TLiteralFormat::HtmlBody:
        return QStringLiteral("<BODY BGCOLOR=\"") + backHtml + QStringLiteral("\" TEXT=\"") + textHtml +
               QStringLiteral("\">");
    }
    return {};
}

namespace {

// The order in which the format buttons are tested.
constexpr std::array FormatTestOrder = {TLiteralFormat::Delphi, TLiteralFormat::VisualCpp, TLiteralFormat::Html,
                                        TLiteralFormat::HtmlBody, TLiteralFormat::VisualBasic};

} // namespace

void TColorModel::FormCreate()
{
    state_.TextColor = {0, 0, 0};
    state_.BackColor = {255, 255, 255};
    state_.TextHtml = QStringLiteral("#000000");
    state_.BackHtml = QStringLiteral("#FFFFFF");
}

void TColorModel::ChangeColor()
{
    const RgbTriple c = ReadSliders();
    const QString html = HtmlOf(c.R, c.G, c.B);
    const TColor color = RGB(c.R, c.G, c.B);
    if (view_.IsTextTarget()) {
        state_.TextHtml = html;
        view_.SetPreviewFontColor(color);
    } else {
        state_.BackHtml = html;
        view_.SetPreviewBackColor(color);
    }

    for (TLiteralFormat format : FormatTestOrder) {
        if (view_.IsFormatChecked(format))
            view_.SetPreviewText(FormatLiteral(format, c.R, c.G, c.B, state_.BackHtml, state_.TextHtml));
    }
}

QString TColorModel::LiteralFor(const RgbTriple& c) const
{
    const QString html = HtmlOf(c.R, c.G, c.B);
    const bool text = view_.IsTextTarget();
    for (TLiteralFormat format : FormatTestOrder) {
        if (view_.IsFormatChecked(format))
            return FormatLiteral(format, c.R, c.G, c.B, text ? state_.BackHtml : html, text ? html : state_.TextHtml);
    }
    return {};
}

void TColorModel::RBtn1Click()
{
    state_.BackColor = ReadSliders();
    LoadSliders(state_.TextColor);
}

void TColorModel::RBtn2Click()
{
    state_.TextColor = ReadSliders();
    LoadSliders(state_.BackColor);
}

void TColorModel::RdBtn1Click()
{
    ChangeColor();
}

RgbTriple TColorModel::ReadSliders() const
{
    // Slider values stay within 0..255; the mask keeps a byte even if a
    // slider were given a wider range.
    auto byte = [this](TChannel ch) { return static_cast<std::uint8_t>(view_.SliderValue(ch) & 0xFF); };
    return {byte(TChannel::Red), byte(TChannel::Green), byte(TChannel::Blue)};
}

void TColorModel::LoadSliders(const RgbTriple& color)
{
    view_.SetSliderValue(TChannel::Red, color.R);
    view_.SetSliderValue(TChannel::Green, color.G);
    view_.SetSliderValue(TChannel::Blue, color.B);
}

void TColorModel::LoadColor(const RgbTriple& color)
{
    LoadSliders(color);
    const TColor c = RGB(color.R, color.G, color.B);
    if (view_.IsTextTarget())
        view_.SetPreviewFontColor(c);
    else
        view_.SetPreviewBackColor(c);
}

void TColorModel::LoadPair(const std::optional<RgbTriple>& text, const std::optional<RgbTriple>& back)
{
    const bool textTarget = view_.IsTextTarget();
    const std::optional<RgbTriple>& edited = textTarget ? text : back;
    const std::optional<RgbTriple>& other = textTarget ? back : text;
    if (other) {
        const QString html = HtmlOf(other->R, other->G, other->B);
        const TColor color = RGB(other->R, other->G, other->B);
        if (textTarget) {
            state_.BackColor = *other;
            state_.BackHtml = html;
            view_.SetPreviewBackColor(color);
        } else {
            state_.TextColor = *other;
            state_.TextHtml = html;
            view_.SetPreviewFontColor(color);
        }
    }
    if (edited)
        LoadColor(*edited);
    // The body tag shows the other colour's new HTML even when no slider moved.
    if (other)
        ChangeColor();
}

std::optional<RgbTriple> TripleFromTexts(const QString& r, const QString& g, const QString& b)
{
    std::uint8_t bytes[3];
    const QString* texts[3] = {&r, &g, &b};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int v = texts[i]->toInt(&ok, 10);
        if (!ok || v < 0 || v > 255)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(v);
    }
    return RgbTriple{bytes[0], bytes[1], bytes[2]};
}
