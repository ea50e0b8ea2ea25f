// Renders the program icon in the sizes a desktop looks for. The icon is
// pixel art, so sizes that are whole multiples keep their pixels sharp.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: iconsizes SOURCE OUTPUT-DIR SIZE...\n");
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "iconsizes: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString dir = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0)
            return 2;
        const bool whole = size % source.width() == 0;
        const QImage image =
            source.convertToFormat(QImage::Format_ARGB32)
                .scaled(size, size, Qt::IgnoreAspectRatio, whole ? Qt::FastTransformation : Qt::SmoothTransformation);
        if (!image.save(QStringLiteral("%1/%2.png").arg(dir).arg(size))) {
            std::fprintf(stderr, "iconsizes: cannot write size %d\n", size);
            return 1;
        }
    }
    return 0;
}
