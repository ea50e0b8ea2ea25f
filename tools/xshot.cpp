// Saves what an X window shows (the whole screen without an id) as a PNG.
// Usage: xshot OUTPUT.png [WINDOW-ID]
// Qt first: Xlib defines macros (Status, CursorShape) that break Qt's headers.
#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: xshot OUTPUT.png [WINDOW-ID]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xshot: cannot open display\n");
        return 1;
    }
    const Window window = argc == 3 ? std::strtoul(argv[2], nullptr, 0) : DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "xshot: no such window\n");
        return 1;
    }
    XImage* x = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!x || x->bits_per_pixel != 32) {
        std::fprintf(stderr, "xshot: only 24- and 32-bit screens are supported\n");
        return 1;
    }
    const QImage image =
        QImage(reinterpret_cast<const uchar*>(x->data), x->width, x->height, x->bytes_per_line, QImage::Format_RGB32)
            .copy();
    XDestroyImage(x);
    XCloseDisplay(display);
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "xshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
