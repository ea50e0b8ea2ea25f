#include "app/commandline.h"

#include "picker/areamean.h"

#include <QCommandLineParser>
#include <QCoreApplication>

TCommandLine ExitWith(const QString& text, int code, bool error)
{
    TCommandLine line;
    line.Mode = TRunMode::Exit;
    line.Text = text.endsWith(u'\n') ? text : text + u'\n';
    line.TextIsError = error;
    line.ExitCode = code;
    return line;
}

namespace {

struct TNamedFormat {
    const char* Name;
    TOutputFormat Format;
};

const TNamedFormat WindowFormats[] = {
    {"delphi", TLiteralFormat::Delphi}, {"cpp", TLiteralFormat::VisualCpp}, {"basic", TLiteralFormat::VisualBasic},
    {"html", TLiteralFormat::Html},     {"body", TLiteralFormat::HtmlBody},
};

// Qt's own options, which QGuiApplication takes out of the arguments itself:
// hidden here so that they are no error.
const char* const QtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "name",   "qmljsdebugger"};
const char* const QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// --contrast TEXT BACKGROUND [--level N], alone.
TCommandLine ReadContrast(const QCommandLineParser& parser, const QCommandLineOption& contrast,
                          const QCommandLineOption& level)
{
    if (!parser.isSet(contrast))
        return ExitWith(QStringLiteral("--level нужен только вместе с --contrast"), ExitUsage, true);
    for (const char* other : {"color", "pick", "print", "format"}) {
        if (parser.isSet(QLatin1String(other)))
            return ExitWith(QStringLiteral("--contrast не сочетается с --%1").arg(QLatin1String(other)), ExitUsage,
                            true);
    }
    TCommandLine line;
    line.Mode = TRunMode::Contrast;
    line.ContrastColors = parser.positionalArguments();
    if (line.ContrastColors.size() != 2)
        return ExitWith(QStringLiteral("--contrast ждёт два цвета: текста и фона"), ExitUsage, true);
    if (parser.isSet(level)) {
        // A decimal comma too, as Russian writes it.
        const QString text = parser.value(level);
        bool ok = false;
        line.ContrastLevel = QString(text).replace(u',', u'.').toDouble(&ok);
        if (!ok || !(line.ContrastLevel >= 1 && line.ContrastLevel <= 21))
            return ExitWith(QStringLiteral("Уровень «%1» должен быть числом от 1 до 21").arg(text), ExitUsage, true);
    }
    return line;
}

} // namespace

QStringList OutputFormatNames()
{
    QStringList names;
    for (const TNamedFormat& f : WindowFormats)
        names << QLatin1String(f.Name);
    for (TCopyForm form : CopyForms)
        names << CopyFormKey(form);
    return names;
}

std::optional<TOutputFormat> OutputFormatOfName(const QString& name)
{
    for (const TNamedFormat& f : WindowFormats) {
        if (name == QLatin1String(f.Name))
            return f.Format;
    }
    for (TCopyForm form : CopyForms) {
        if (name == CopyFormKey(form))
            return form;
    }
    return std::nullopt;
}

QString OutputLiteral(const TOutputFormat& format, const RgbTriple& c, const QString& backHtml, const QString& textHtml,
                      const TNearestColorFinder& names)
{
    if (const auto* literal = std::get_if<TLiteralFormat>(&format))
        return FormatLiteral(*literal, c.R, c.G, c.B, backHtml, textHtml);
    return CopyFormText(std::get<TCopyForm>(format), c, names);
}

TCommandLine ReadCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Single-dash words are long options, as Qt's own are (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Подбор цвета и копирование его константы. Без параметров открывает окно."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Показать версию программы."));
    const QCommandLineOption color({QStringLiteral("c"), QStringLiteral("color")},
                                   QStringLiteral("Начать с этого цвета фона (в любой форме, которую "
                                                  "читает вставка; тег <BODY> задаёт оба цвета)."),
                                   QStringLiteral("ТЕКСТ"));
    const QCommandLineOption pick({QStringLiteral("p"), QStringLiteral("pick")},
                                  QStringLiteral("Без окна: взять один цвет с экрана и напечатать его константу."));
    const QCommandLineOption format({QStringLiteral("f"), QStringLiteral("format")},
                                    QStringLiteral("Форма константы для --pick и --print: %1. По умолчанию для "
                                                   "--pick html, для --print формат, выбранный в окне.")
                                        .arg(OutputFormatNames().join(QStringLiteral(", "))),
                                    QStringLiteral("ИМЯ"));
    const QCommandLineOption print(QStringLiteral("print"),
                                   QStringLiteral("Когда окно закрыто, напечатать константу текущего цвета."));
    const QCommandLineOption contrast(
        QStringLiteral("contrast"),
        QStringLiteral("Без окна: напечатать контраст цвета текста ТЕКСТ на цвете фона ФОН (оба в любой форме, "
                       "которую читает вставка), уровни WCAG 2.2 и ближайшие цвета текста и фона, которые дают 4,5:1 "
                       "и 7:1. Код выхода 0, если пара достигает --level, 3, если нет."));
    const QCommandLineOption level(QStringLiteral("level"),
                                   QStringLiteral("Уровень для --contrast, от 1 до 21. По умолчанию 4.5."),
                                   QStringLiteral("N"));
    const QCommandLineOption average(QStringLiteral("average"),
                                     QStringLiteral("С --pick: взять среднее квадрата N×N точек вокруг выбранной "
                                                    "(1, 3, 5 или 9; по умолчанию 1)."),
                                     QStringLiteral("N"));
    parser.addOptions({version, color, pick, format, print, average, contrast, level});
    parser.addPositionalArgument(QStringLiteral("ТЕКСТ ФОН"), QStringLiteral("Два цвета для --contrast."),
                                 QStringLiteral("[--contrast ТЕКСТ ФОН]"));
    const auto addHidden = [&parser](const char* name, const QString& valueName) {
        QCommandLineOption qt(QString::fromLatin1(name), QString(), valueName);
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    };
    for (const char* name : QtOptionsWithValue)
        addHidden(name, QStringLiteral("value"));
    for (const char* name : QtFlags)
        addHidden(name, QString());

    if (!parser.parse(arguments))
        return ExitWith(parser.errorText(), ExitUsage, true);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return ExitWith(parser.helpText(), 0, false);
    if (parser.isSet(version))
        return ExitWith(QStringLiteral("Huebox %1").arg(QStringLiteral(HUEBOX_VERSION)), 0, false);
    if (parser.isSet(contrast) || parser.isSet(level))
        return ReadContrast(parser, contrast, level);
    if (!parser.positionalArguments().isEmpty())
        return ExitWith(QStringLiteral("Лишний параметр: %1").arg(parser.positionalArguments().constFirst()), ExitUsage,
                        true);

    TCommandLine line;
    if (parser.isSet(format)) {
        line.Format = OutputFormatOfName(parser.value(format));
        if (!line.Format)
            return ExitWith(QStringLiteral("Неизвестный формат «%1». Форматы: %2")
                                .arg(parser.value(format), OutputFormatNames().join(QStringLiteral(", "))),
                            ExitUsage, true);
    }
    if (parser.isSet(average)) {
        bool number = false;
        line.Average = parser.value(average).toInt(&number);
        if (!number || !IsAverageSide(line.Average))
            return ExitWith(
                QStringLiteral("--average: «%1» не годится, можно 1, 3, 5 или 9").arg(parser.value(average)), ExitUsage,
                true);
        if (!parser.isSet(pick))
            return ExitWith(QStringLiteral("--average нужен только вместе с --pick"), ExitUsage, true);
    }
    if (parser.isSet(pick)) {
        if (parser.isSet(color) || parser.isSet(print))
            return ExitWith(QStringLiteral("--pick не сочетается с --color и --print"), ExitUsage, true);
        line.Mode = TRunMode::Pick;
        if (!line.Format)
            line.Format = TLiteralFormat::Html;
        return line;
    }
    if (parser.isSet(color))
        line.Color = parser.value(color);
    line.PrintOnClose = parser.isSet(print);
    if (line.Format && !line.PrintOnClose)
        return ExitWith(QStringLiteral("--format нужен только вместе с --pick или --print"), ExitUsage, true);
    return line;
}
