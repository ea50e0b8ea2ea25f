// Any bytes given to the form reader end either in a component tree or in
// an error that names a line: never a crash, a hang or a leak.
#include "framework/application.h"
#include "framework/formreader.h"
#include "framework/stdctrls.h"

#include <cstdint>
#include <cstdlib>

namespace {
TApplication* app = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new TApplication(*argc, *argv);
    RegisterStandardClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const THandlerTable handlers = {{QStringLiteral("Click"), TNotifyEvent()}};
    try {
        std::unique_ptr<QWidget> tree = TFormReader::ReadComponent(text, handlers);
        if (!tree)
            std::abort();
    } catch (const EFormError& e) {
        if (e.Line() < 1 || !e.Message().startsWith(QStringLiteral("Line ")))
            std::abort();
    }
    return 0;
}
