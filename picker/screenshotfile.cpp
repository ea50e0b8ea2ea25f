#include "picker/screenshotfile.h"

#include <QByteArray>
#include <QFile>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// File times come from a clock that may lag the one read when the request
// began by a tick.
constexpr qint64 ClockSlackMs = 100;
// Far more than a screenshot of any desktop in PNG.
constexpr qint64 MaxBytes = qint64(1) << 30;

qint64 ModifiedMs(const struct stat& st)
{
    return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

} // namespace

std::optional<QImage> TakeScreenshotFile(const QString& uri, const QDateTime& since)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return std::nullopt;
    const QByteArray path = QFile::encodeName(url.toLocalFile());
    // O_NOFOLLOW: a symbolic link in the file's place is refused, not read.
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        ModifiedMs(st) < since.toMSecsSinceEpoch() - ClockSlackMs || st.st_size > MaxBytes)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    // Removed only when it is still the file read.
    struct stat now {};
    if (::lstat(path.constData(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino)
        ::unlink(path.constData());
    QImage image;
    if (!image.loadFromData(bytes, "PNG"))
        return std::nullopt;
    return image;
}
