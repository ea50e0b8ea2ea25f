#include "app/form1.h"
#include "framework/application.h"

#include <cstdio>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("huebox"));
    TApplication::setApplicationDisplayName(QStringLiteral("Huebox"));

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>();
    } catch (const Exception& e) {
        // Without its window the program cannot go on: say why and stop.
        std::fprintf(stderr, "huebox: %s\n", qPrintable(e.Message()));
        return 1;
    }
    form->show();
    return app.exec();
}
