#include "app/commandline.h"
#include "app/desktopidentity.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString NameOf(const TOutputFormat& format)
{
    for (const QString& name : OutputFormatNames()) {
        if (OutputFormatOfName(name) == format)
            return name;
    }
    return u"?"_s;
}

// A result in one line: the mode and what it carries.
QString Describe(const TCommandLine& line)
{
    switch (line.Mode) {
    case TRunMode::Window: {
        QString d = u"window"_s;
        if (line.Color)
            d += u" color="_s + *line.Color;
        if (line.PrintOnClose)
            d += u" print"_s;
        if (line.Format)
            d += u" format="_s + NameOf(*line.Format);
        return d;
    }
    case TRunMode::Pick:
        return u"pick format="_s + NameOf(*line.Format) +
               (line.Average > 1 ? u" average=%1"_s.arg(line.Average) : u""_s);
    case TRunMode::Contrast:
        return u"contrast %1 level=%2"_s.arg(line.ContrastColors.join(u'|')).arg(line.ContrastLevel);
    case TRunMode::Exit:
        break;
    }
    return u"exit %1 %2: %3"_s.arg(line.ExitCode).arg(line.TextIsError ? "stderr" : "stdout", line.Text.trimmed());
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(InstallQtTranslation()); }
    void reads_data();
    void reads();
    void helpIsRussian();
};

void TestCommandLine::reads_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    const QString formats = u"delphi, cpp, basic, html, body, hex, rgb, hsl, oklch, argb, qcolor, win32, vec3, name"_s;
    const std::pair<QStringList, QString> rows[] = {
        {{}, u"window"_s},
        {{u"-v"_s}, u"exit 0 stdout: Huebox 1.0"_s},
        {{u"--version"_s}, u"exit 0 stdout: Huebox 1.0"_s},
        {{u"-c"_s, u"#336699"_s}, u"window color=#336699"_s},
        {{u"--color=<BODY TEXT=red>"_s, u"--print"_s}, u"window color=<BODY TEXT=red> print"_s},
        {{u"--print"_s, u"-f"_s, u"cpp"_s}, u"window print format=cpp"_s},
        {{u"-p"_s}, u"pick format=html"_s},
        {{u"--pick"_s, u"-f"_s, u"hex"_s}, u"pick format=hex"_s},
        {{u"--format"_s, u"name"_s, u"--pick"_s}, u"pick format=name"_s},
        {{u"-p"_s, u"--format=body"_s}, u"pick format=body"_s},
        {{u"-p"_s, u"--average"_s, u"3"_s}, u"pick format=html average=3"_s},
        {{u"--average=9"_s, u"-p"_s, u"-f"_s, u"hex"_s}, u"pick format=hex average=9"_s},
        {{u"-p"_s, u"--average"_s, u"1"_s}, u"pick format=html"_s},
        {{u"-p"_s, u"--average"_s, u"4"_s}, u"exit 2 stderr: --average: «4» не годится, можно 1, 3, 5 или 9"_s},
        {{u"-p"_s, u"--average"_s, u"3x"_s}, u"exit 2 stderr: --average: «3x» не годится, можно 1, 3, 5 или 9"_s},
        {{u"--average"_s, u"5"_s}, u"exit 2 stderr: --average нужен только вместе с --pick"_s},
        {{u"-platform"_s, u"offscreen"_s, u"-style"_s, u"Fusion"_s, u"-reverse"_s, u"-c"_s, u"red"_s},
         u"window color=red"_s},
        {{u"-f"_s, u"nonsense"_s, u"--pick"_s}, u"exit 2 stderr: Неизвестный формат «nonsense». Форматы: "_s + formats},
        {{u"-f"_s, u"cpp"_s}, u"exit 2 stderr: --format нужен только вместе с --pick или --print"_s},
        {{u"--pick"_s, u"--print"_s}, u"exit 2 stderr: --pick не сочетается с --color и --print"_s},
        {{u"-p"_s, u"-c"_s, u"red"_s}, u"exit 2 stderr: --pick не сочетается с --color и --print"_s},
        {{u"extra"_s}, u"exit 2 stderr: Лишний параметр: extra"_s},
        {{u"--bogus"_s}, u"exit 2 stderr: Неизвестный параметр «bogus»."_s},
        {{u"-c"_s}, u"exit 2 stderr: Отсутствует значение после «-c»."_s},
        {{u"--contrast"_s, u"#888"_s, u"white"_s}, u"contrast #888|white level=4.5"_s},
        {{u"#888"_s, u"--level"_s, u"7"_s, u"--contrast"_s, u"rgb(0, 0, 0)"_s},
         u"contrast #888|rgb(0, 0, 0) level=7"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"--level=4,5"_s}, u"contrast a|b level=4.5"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"--level=1"_s}, u"contrast a|b level=1"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"--level=21"_s}, u"contrast a|b level=21"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"--level=0.99"_s},
         u"exit 2 stderr: Уровень «0.99» должен быть числом от 1 до 21"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"--level=21.01"_s},
         u"exit 2 stderr: Уровень «21.01» должен быть числом от 1 до 21"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"--level=nan"_s},
         u"exit 2 stderr: Уровень «nan» должен быть числом от 1 до 21"_s},
        {{u"--contrast"_s, u"a"_s}, u"exit 2 stderr: --contrast ждёт два цвета: текста и фона"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"c"_s}, u"exit 2 stderr: --contrast ждёт два цвета: текста и фона"_s},
        {{u"--contrast"_s, u"a"_s, u"b"_s, u"-p"_s}, u"exit 2 stderr: --contrast не сочетается с --pick"_s},
        {{u"--level"_s, u"7"_s}, u"exit 2 stderr: --level нужен только вместе с --contrast"_s},
    };
    for (const auto& [arguments, expected] : rows)
        QTest::addRow("%s", qPrintable(arguments.join(u' '))) << (QStringList{u"huebox"_s} + arguments) << expected;
}

void TestCommandLine::reads()
{
    QFETCH(QStringList, arguments);
    QTEST(Describe(ReadCommandLine(arguments)), "expected");
}

void TestCommandLine::helpIsRussian()
{
    for (const QString& option : {u"-h"_s, u"--help"_s}) {
        const TCommandLine line = ReadCommandLine({u"huebox"_s, option});
        QCOMPARE(line.Mode, TRunMode::Exit);
        QCOMPARE(line.ExitCode, 0);
        QVERIFY(!line.TextIsError);
        for (const QString& part : {u"Использование: "_s, u" [параметры]"_s, u"-p, --pick"_s, u"-f, --format <ИМЯ>"_s,
                                    u"--average <N>"_s, u"Показать версию программы."_s})
            QVERIFY2(line.Text.contains(part), qPrintable(line.Text));
        QVERIFY2(!line.Text.contains(u"-platform"_s), qPrintable(line.Text));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
