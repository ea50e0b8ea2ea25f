#include "picker/magnifierimage.h"

#include "color/contrast.h"
#include "framework/pixel.h"
#include "picker/areamean.h"
#include "picker/magnifierlayout.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr QRgb FrameColor = 0xFF303030;
constexpr QRgb TextBackground = 0xFFFFFFFF;
constexpr QRgb TextColor = 0xFF000000;
constexpr int TextPadding = 4; // logical pixels round the text

qreal SaneRatio(qreal ratio)
{
    return std::isfinite(ratio) ? std::clamp(ratio, 1.0, 8.0) : 1.0;
}

int FloorDiv(int a, int b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// The hotspot's coordinates, and the size of the square averaged.
QString Coordinates(const TMagnifierView& view)
{
    const QString at = QStringLiteral("%1, %2").arg(view.Hotspot.x()).arg(view.Hotspot.y());
    if (!IsAverageSide(view.Average) || view.Average == 1)
        return at;
    return at + QStringLiteral("  %1×%1").arg(view.Average);
}

QFont TextFont()
{
    return QGuiApplication::font();
}

} // namespace

TMagnifierGeometry MagnifierGeometry(const TMagnifierView& view)
{
    const qreal ratio = SaneRatio(view.Ratio);
    const int zoom = std::clamp(view.Zoom, MagnifierMinZoom, MagnifierMaxZoom);
    TMagnifierGeometry g;
    g.Line = std::max(1, qRound(ratio));
    g.Border = g.Line;
    g.Outline = 2 * g.Line;
    g.Cell = std::max(g.Line + 1, qRound(zoom * ratio));
    const int side = qRound(MagnifierViewSide * ratio);

    const QFontMetrics metrics(TextFont());
    const int textWidth =
        std::max(metrics.horizontalAdvance(view.Literal), metrics.horizontalAdvance(Coordinates(view))) +
        2 * TextPadding;
    const int textHeight = 2 * metrics.height() + 2 * TextPadding;
    const int inner = std::max(side, static_cast<int>(std::ceil(textWidth * ratio)));
    const int textDevice = static_cast<int>(std::ceil(textHeight * ratio));

    g.Size = QSize(inner + 2 * g.Border, g.Border + side + textDevice + g.Border);
    g.View = QRect(g.Border + (inner - side) / 2, g.Border, side, side);
    g.Centre = QRect(g.View.left() + (side - g.Cell) / 2, g.View.top() + (side - g.Cell) / 2, g.Cell, g.Cell);
    const int half = (IsAverageSide(view.Average) ? view.Average : 1) / 2;
    g.Sample = g.Centre.adjusted(-half * g.Cell, -half * g.Cell, half * g.Cell, half * g.Cell);
    g.Text = QRect(g.Border, g.View.bottom() + 1, inner, textDevice);
    return g;
}

TColor MagnifierOutlineColor(TColor centre)
{
    return ContrastRatio(centre, clBlack) >= ContrastRatio(centre, clWhite) ? clBlack : clWhite;
}

QRgb MagnifierGridShade(QRgb pixel)
{
    return qRgb((qRed(pixel) + 128) / 2, (qGreen(pixel) + 128) / 2, (qBlue(pixel) + 128) / 2);
}

QRgb MagnifierBeyondEdge(QPoint inView, int line)
{
    const int stripe = 4 * std::max(line, 1);
    return (inView.x() + inView.y()) / stripe % 2 ? 0xFFA0A0A0 : 0xFF808080;
}

QImage DrawMagnifier(const TMagnifierView& view)
{
    const TMagnifierGeometry g = MagnifierGeometry(view);
    QImage image(g.Size, QImage::Format_RGB32);
    image.fill(FrameColor);

    // Screen pixel (cx, cy) covers the cells counted from the centre one.
    const int cells = view.Pixels.width() == view.Pixels.height() ? view.Pixels.width() : 0;
    const QPoint origin = g.Centre.topLeft() - QPoint(cells / 2, cells / 2) * g.Cell;
    const QImage pixels = view.Pixels.convertToFormat(QImage::Format_RGB32);
    std::vector<char> onScreen(static_cast<std::size_t>(cells) * cells);
    for (const QRect& r : view.OnScreen)
        for (int cy = std::max(r.top(), 0); cy <= std::min(r.bottom(), cells - 1); ++cy)
            for (int cx = std::max(r.left(), 0); cx <= std::min(r.right(), cells - 1); ++cx)
                onScreen[static_cast<std::size_t>(cy) * cells + cx] = 1;
    // The screen pixel under each device column of the view (-1: none), and
    // whether the column is a grid line.
    std::vector<int> column(g.View.width());
    std::vector<char> lineColumn(g.View.width());
    for (int i = 0; i < g.View.width(); ++i) {
        const int d = g.View.left() + i - origin.x();
        const int cx = FloorDiv(d, g.Cell);
        column[i] = cx >= 0 && cx < cells ? cx : -1;
        lineColumn[i] = d - cx * g.Cell >= g.Cell - g.Line;
    }
    for (int y = g.View.top(); y <= g.View.bottom(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y)) + g.View.left();
        const int d = y - origin.y();
        const int cy = FloorDiv(d, g.Cell);
        const bool lineRow = d - cy * g.Cell >= g.Cell - g.Line;
        const bool rowInside = cy >= 0 && cy < cells;
        const QRgb* in = rowInside ? reinterpret_cast<const QRgb*>(pixels.constScanLine(cy)) : nullptr;
        const char* shown = rowInside ? onScreen.data() + static_cast<std::size_t>(cy) * cells : nullptr;
        for (int i = 0; i < g.View.width(); ++i) {
            const int cx = column[i];
            if (!in || cx < 0 || !shown[cx])
                out[i] = MagnifierBeyondEdge(QPoint(i, y - g.View.top()), g.Line);
            else
                out[i] = lineRow || lineColumn[i] ? MagnifierGridShade(in[cx]) : in[cx] | 0xFF000000;
        }
    }

    // The frame contrasts with the colour that would be taken.
    const std::optional<TColor> taken =
        cells > 0 && onScreen[static_cast<std::size_t>(cells / 2) * cells + cells / 2]
            ? AreaMean(pixels, QPoint(cells / 2, cells / 2), view.Average, view.OnScreen)
            : std::nullopt;
    if (taken) {
        const QRgb frameRgb = ColorToPixel(MagnifierOutlineColor(*taken));
        const QRect outer = g.Sample.adjusted(-g.Outline, -g.Outline, g.Outline, g.Outline);
        for (int y = std::max(outer.top(), g.View.top()); y <= std::min(outer.bottom(), g.View.bottom()); ++y)
            for (int x = std::max(outer.left(), g.View.left()); x <= std::min(outer.right(), g.View.right()); ++x)
                if (!g.Sample.contains(x, y))
                    image.setPixel(x, y, frameRgb);
    }

    const qreal ratio = SaneRatio(view.Ratio);
    QPainter painter(&image);
    painter.fillRect(g.Text, QColor::fromRgb(TextBackground));
    painter.setPen(QColor::fromRgb(TextColor));
    painter.translate(g.Text.topLeft());
    painter.scale(ratio, ratio);
    painter.setFont(TextFont());
    const QFontMetrics metrics(TextFont());
    const QRectF text(TextPadding, TextPadding, g.Text.width() / ratio - 2 * TextPadding, metrics.height());
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, view.Literal);
    painter.drawText(text.translated(0, metrics.height()), Qt::AlignHCenter | Qt::AlignVCenter, Coordinates(view));
    return image;
}
