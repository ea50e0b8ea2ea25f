// The text pictures the program's resources are kept in (one character per
// pixel, each character's colour listed first), read straight into an image.
#pragma once

#include <QByteArray>
#include <QImage>

// RGB32, or ARGB32 when a colour is "None" (transparent); a null image for
// text that is not such a picture.
QImage ReadXpm(const QByteArray& text);
// The same from a file or resource path.
QImage ReadXpmFile(const QString& path);
