#include "app/form1.h"
#include "framework/application.h"

#include <QScreen>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("huebox"));
    TApplication::setApplicationDisplayName(QStringLiteral("Huebox"));

    TForm1 form;
    // Centred on the desktop when first shown.
    if (const QScreen* screen = app.primaryScreen()) {
        const QRect area = screen->availableGeometry();
        form.move(area.center() - QPoint(form.width() / 2, form.height() / 2));
    }
    form.show();
    return app.exec();
}
