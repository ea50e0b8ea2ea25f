#include "framework/xpm.h"

#include <QFile>

#include <array>
#include <vector>

namespace {

// The quoted strings of the text, in order; comments and C around them are skipped.
std::vector<QByteArrayView> QuotedStrings(const QByteArray& text)
{
    std::vector<QByteArrayView> out;
    const char* p = text.constData();
    const char* const end = p + text.size();
    while (p < end) {
        if (*p == '/' && p + 1 < end && p[1] == '*') {
            const qsizetype close = QByteArrayView(p + 2, end - p - 2).indexOf("*/");
            if (close < 0)
                break;
            p += close + 4;
        } else if (*p == '"') {
            const char* const start = ++p;
            while (p < end && *p != '"')
                ++p;
            if (p == end)
                return {};
            out.emplace_back(start, p - start);
            ++p;
        } else {
            ++p;
        }
    }
    return out;
}

// The four numbers of the header line: width, height, colours, characters per pixel.
bool ReadInts(QByteArrayView s, std::array<int, 4>& v)
{
    qsizetype pos = 0;
    for (int& n : v) {
        while (pos < s.size() && s[pos] == ' ')
            ++pos;
        qsizetype stop = pos;
        while (stop < s.size() && s[stop] != ' ')
            ++stop;
        bool ok = false;
        n = s.sliced(pos, stop - pos).toInt(&ok);
        if (!ok)
            return false;
        pos = stop;
    }
    return true;
}

} // namespace

QImage ReadXpm(const QByteArray& text)
{
    const std::vector<QByteArrayView> lines = QuotedStrings(text);
    std::array<int, 4> header{};
    if (lines.empty() || !ReadInts(lines[0], header))
        return {};
    const auto [width, height, colors, perPixel] = header;
    // One character per pixel is all the resources use; the sizes are
    // bounded so a broken text cannot ask for a huge image.
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024 || colors <= 0 || colors > 256 || perPixel != 1 ||
        lines.size() != static_cast<std::size_t>(1 + colors + height))
        return {};
    std::array<QRgb, 256> table{};
    std::array<bool, 256> known{};
    bool transparent = false;
    for (int i = 1; i <= colors; ++i) {
        const QByteArrayView line = lines[static_cast<std::size_t>(i)];
        // "<char> c #RRGGBB" or "<char> c None"
        if (line.size() < 5 || line.sliced(1, 3) != " c ")
            return {};
        const QByteArrayView value = line.sliced(4).trimmed();
        const auto key = static_cast<unsigned char>(line[0]);
        if (value.compare("None", Qt::CaseInsensitive) == 0) {
            table[key] = 0;
            transparent = true;
        } else {
            bool ok = false;
            const uint rgb = value.size() == 7 && value[0] == '#' ? value.sliced(1).toUInt(&ok, 16) : 0;
            if (!ok)
                return {};
            table[key] = 0xFF000000u | rgb;
        }
        known[key] = true;
    }
    QImage image(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const QByteArrayView row = lines[static_cast<std::size_t>(1 + colors + y)];
        if (row.size() != width)
            return {};
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto key = static_cast<unsigned char>(row[x]);
            if (!known[key])
                return {};
            out[x] = table[key];
        }
    }
    return image;
}

QImage ReadXpmFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ReadXpm(file.readAll());
}
