// The screenshot file the desktop portal writes for a frozen pick. It is read
// only when it is what the portal should have written for this request, and
// removed once read: a pick leaves no screenshot behind.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

#include <optional>

// The image of the file the URI names, read and then removed, when it is a
// regular file (not a symbolic link to one) owned by this user and written
// at or after since; nothing otherwise, and then the file is left alone.
std::optional<QImage> TakeScreenshotFile(const QString& uri, const QDateTime& since);
