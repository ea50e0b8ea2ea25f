#include "app/commandline.h"
#include "app/contrastcommand.h"
#include "app/desktopidentity.h"
#include "app/form1.h"
#include "color/colortext.h"
#include "color/nearestcolor.h"
#include "framework/application.h"
#include "picker/colorpicker.h"

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// While Qt opens the display, its messages are held back: where no platform
// can start, Qt would print its advice and abort; the program says why in one
// line of its own, with the displays tried, and ends with exit code 1 instead.
// Otherwise the held messages are written as usual.
class TDisplayOpening {
public:
    TDisplayOpening() { previous_ = qInstallMessageHandler(&TDisplayOpening::Hold); }
    ~TDisplayOpening() { Release(); }

    TDisplayOpening(const TDisplayOpening&) = delete;
    TDisplayOpening& operator=(const TDisplayOpening&) = delete;

private:
    struct THeld {
        QtMsgType Type;
        const char* File;
        int Line;
        const char* Function;
        const char* Category;
        QString Text;
    };

    static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        // The application object's only fatal error is a platform that
        // cannot start.
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "huebox: %s (%s)\n", qPrintable(Cause(text)), qPrintable(Tried()));
            std::fflush(stderr);
            std::_Exit(1);
        }
        const std::lock_guard lock(mutex_);
        held_.push_back({type, context.file, context.line, context.function, context.category, text});
    }

    // Gives the messages back to Qt's handler, the held ones first.
    static void Release()
    {
        qInstallMessageHandler(previous_);
        std::vector<THeld> held;
        {
            const std::lock_guard lock(mutex_);
            held.swap(held_);
        }
        for (const THeld& m : held)
            qt_message_output(m.Type, QMessageLogContext(m.File, m.Line, m.Function, m.Category), m.Text);
    }

    // Why no platform started, told by where Qt's messages came from rather
    // than by their words: the plugin loader warns of a plugin it cannot find;
    // a plugin it found but that could not start could not open its display
    // (and said so in its own words); a plugin that gave up by itself says
    // why in its fatal message.
    static QString Cause(const QString& fatal)
    {
        const std::lock_guard lock(mutex_);
        bool pluginFound = false;
        for (const THeld& m : held_) {
            if (qstrcmp(m.Category, "qt.qpa.plugin") != 0)
                continue;
            if (m.Type == QtWarningMsg || m.Type == QtCriticalMsg)
                return m.Text.simplified();
            pluginFound = true;
        }
        return pluginFound ? QStringLiteral("no display could be opened") : fatal.section(u'\n', 0, 0).simplified();
    }

    // The displays the session names, as Qt tries them.
    static QString Tried()
    {
        QStringList tried;
        if (const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM"); !platform.isEmpty())
            tried << QStringLiteral("QT_QPA_PLATFORM=\"%1\"").arg(platform);
        if (const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY"); !wayland.isEmpty())
            tried << QStringLiteral("WAYLAND_DISPLAY=\"%1\"").arg(wayland);
        const QString x = qEnvironmentVariable("DISPLAY");
        tried << (x.isEmpty() ? QStringLiteral("DISPLAY is not set") : QStringLiteral("DISPLAY=\"%1\"").arg(x));
        return tried.join(QStringLiteral(", "));
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::mutex mutex_;
    static inline std::vector<THeld> held_;
};

// Writes a whole text to standard output or error, as the terminal's
// encoding has it.
void Write(const QString& text, std::FILE* stream)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Opens the display while the font configuration (fontconfig's files and
// cache, the largest single piece of start-up) and `beside` are read on a
// thread of their own: neither needs a display. The fonts are installed once
// both are done, so that Qt's first question to fontconfig finds it loaded.
template <class F> auto StartApplication(int& argc, char** argv, F beside)
{
    auto done = std::async([beside = std::move(beside)] {
        FcInit();
        return beside();
    });
    std::unique_ptr<TApplication> app;
    {
        const TDisplayOpening opening;
        app = std::make_unique<TApplication>(argc, argv, TApplication::TFonts::Later);
    }
    done.wait();
    app->InstallFonts();
    InstallQtTranslation();
    return std::pair(std::move(app), std::move(done));
}

// One pick from the screen without the window: its literal on standard
// output, exit 0; given up, nothing and exit 2; impossible, the message and
// exit 1.
int Pick(int& argc, char** argv, const TOutputFormat& format, int average)
{
    const auto app = StartApplication(argc, argv, [] {}).first;
    // Only a name needs the list of named colours: read from the window's
    // layout, no window made.
    TNearestColorFinder names;
    if (format == TOutputFormat(TCopyForm::Name))
        for (const TListColor& c : ListColorsOf(TForm1::StoredLayout()))
            names.Add(c.Name, c.Color);
    TColorPicker* picker = CreateColorPicker(app.get());
    if (!picker) {
        Write(ScreenPickUnavailableText() + u'\n', stderr);
        return ExitFailure;
    }
    const auto literal = [&](TColor color) {
        const RgbTriple c = ChannelsOf(color);
        return OutputLiteral(format, c, HtmlOf(c.R, c.G, c.B), QStringLiteral("#000000"), names);
    };
    // The magnifier shows the colour under the pointer as it will be printed.
    picker->SetFormatter(literal);
    picker->SetAverage(average);
    QObject::connect(picker, &TColorPicker::Picked, app.get(), [&](TColor color) {
        Write(literal(color) + u'\n', stdout);
        app->exit(0);
    });
    QObject::connect(picker, &TColorPicker::Cancelled, app.get(), [&] { app->exit(ExitUsage); });
    QObject::connect(picker, &TColorPicker::Failed, app.get(), [&](const QString& message) {
        Write(message + u'\n', stderr);
        app->exit(ExitFailure);
    });
    // Started from the event loop, so that an answer given at once ends it.
    QTimer::singleShot(0, picker, [picker] { picker->Start(); });
    return app->exec();
}

} // namespace

int main(int argc, char** argv)
{
    SetDesktopIdentity();
    // Arguments are read by a parser of their own; a run without them pays
    // nothing for it.
    TCommandLine line;
    if (argc > 1) {
        {
            QCoreApplication core(argc, argv);
            InstallQtTranslation();
            line = ReadCommandLine(QCoreApplication::arguments());
        }
        // Needs no display: no application object is made for it.
        if (line.Mode == TRunMode::Contrast)
            line = ContrastCommand(line.ContrastColors, line.ContrastLevel);
        if (line.Mode == TRunMode::Exit) {
            Write(line.Text, line.TextIsError ? stderr : stdout);
            return line.ExitCode;
        }
        if (line.Mode == TRunMode::Pick)
            return Pick(argc, argv, *line.Format, line.Average);
    }

    // A fault in the window's layout is reported where the window is made.
    auto [app, layout] = StartApplication(argc, argv, &TForm1::StoredLayout);

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>(layout.get());
    } catch (const Exception& e) {
        // Without its window the program cannot go on: say why and stop.
        std::fprintf(stderr, "huebox: %s\n", qPrintable(e.Message()));
        return 1;
    }
    if (line.Color) {
        const TColorReadResult start = form->ReadColor(*line.Color);
        if (!start.IsOk()) {
            Write(start.Message + u'\n', stderr);
            return ExitUsage;
        }
        form->ApplyColor(start);
    }
    form->show();
    const int code = app->exec();
    if (line.PrintOnClose)
        Write(form->CurrentLiteral(line.Format) + u'\n', stdout);
    return code;
}
