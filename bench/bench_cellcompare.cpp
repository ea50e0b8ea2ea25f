// Re-sorting a large list column: the typed cell comparison against a plain
// locale collation of the same texts, both through the same merge sort.
#include "widgets/listview/cellcompare.h"
#include "widgets/listview/celllocale.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int Rows = 100000;

void UseFixedLocale()
{
    TCellLocale L;
    L.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    L.DateSeparator = u'.';
    L.TimeAMString = QStringLiteral("AM");
    L.TimePMString = QStringLiteral("PM");
    L.Collation = QLocale(QLocale::English, QLocale::UnitedStates);
    SetCellLocale(L);
    SetCurrentYearClock([] { return 2024; });
}

// A third numbers, a third dates (some with a time), a third words.
const QStringList& Column()
{
    static const QStringList Texts = [] {
        static const char* const Words[] = {"Red",
                                            "Navy",
                                            "AliceBlue",
                                            "RoyalBlue",
                                            "Olive",
                                            "Teal",
                                            "Silver",
                                            "Fuchsia",
                                            "LightGoldenrodYellow",
                                            "MediumSeaGreen",
                                            "tomato",
                                            "Snow"};
        QRandomGenerator Rng(100000);
        QStringList T;
        T.reserve(Rows);
        for (int I = 0; I < Rows; ++I) {
            switch (I % 3) {
            case 0:
                T << (Rng.bounded(2) ? QString::number(Rng.bounded(1000000))
                                     : QString::number(Rng.generateDouble() * 1000 - 500, 'f', 3));
                break;
            case 1: {
                QString D = QStringLiteral("%1.%2.%3")
                                .arg(1 + Rng.bounded(28))
                                .arg(1 + Rng.bounded(12), 2, 10, QLatin1Char('0'))
                                .arg(1950 + Rng.bounded(100));
                if (Rng.bounded(4) == 0)
                    D += QStringLiteral(" %1:%2").arg(Rng.bounded(24)).arg(Rng.bounded(60), 2, 10, QLatin1Char('0'));
                T << D;
                break;
            }
            default:
                T << QString::fromLatin1(Words[Rng.bounded(12)]) + QString::number(Rng.bounded(1000));
            }
        }
        return T;
    }();
    return Texts;
}

void BM_SortCellCompare(benchmark::State& State)
{
    UseFixedLocale();
    const QStringList& Source = Column();
    for (auto _ : State) {
        State.PauseTiming();
        QStringList Rows = Source;
        Rows.detach();
        State.ResumeTiming();
        std::stable_sort(Rows.begin(), Rows.end(),
                         [](const QString& A, const QString& B) { return CompareCellTexts(A, B) < 0; });
        benchmark::DoNotOptimize(Rows.constData());
    }
}
BENCHMARK(BM_SortCellCompare)->Unit(benchmark::kMillisecond);

void BM_SortCollator(benchmark::State& State)
{
    UseFixedLocale();
    QCollator Collator(QLocale(QLocale::English, QLocale::UnitedStates));
    Collator.setCaseSensitivity(Qt::CaseSensitive);
    const QStringList& Source = Column();
    for (auto _ : State) {
        State.PauseTiming();
        QStringList Rows = Source;
        Rows.detach();
        State.ResumeTiming();
        std::stable_sort(Rows.begin(), Rows.end(),
                         [&Collator](const QString& A, const QString& B) { return Collator.compare(A, B) < 0; });
        benchmark::DoNotOptimize(Rows.constData());
    }
}
BENCHMARK(BM_SortCollator)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
