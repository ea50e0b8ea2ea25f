// A client of the Wayland session tests: a window whose top left shows the
// picker tests' checkerboard at the output's device pixels, one pixel of the
// board to one device pixel, the rest mid grey.
#include "tests/picker/checkerboard.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

namespace {

class TPatternWindow : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), QColor(128, 128, 128));
        QImage board = Checkerboard(41);
        board.setDevicePixelRatio(devicePixelRatio());
        painter.drawImage(QPointF(), board);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("pattern"));
    TPatternWindow window;
    window.setTitle(QStringLiteral("pattern"));
    window.resize(400, 300);
    window.show();
    return app.exec();
}
