// The evaluator on long expressions: sums, mixed priorities, functions,
// nested groups, and the longest accepted input.
#include "calc/evaluator.h"

#include <benchmark/benchmark.h>
#include <QString>

namespace {

QString repeter(const QString& premier, const QString& suite, int termes)
{
    QString s = premier;
    for (int i = 1; i < termes; ++i)
        s += suite;
    return s;
}

void mesurer(benchmark::State& state, const QString& expression, qint16 mode = tolvi::modeDegres)
{
    qint16 code = 0;
    for (auto _ : state) {
        QString s = expression;
        tolvi::evaluer(s, code, mode);
        benchmark::DoNotOptimize(s);
    }
    if (code != tolvi::calculReussi)
        state.SkipWithError("calculation failed");
    state.SetComplexityN(state.range(0));
    state.counters["chars"] = double(expression.size());
}

void BM_Somme(benchmark::State& state)
{
    mesurer(state, repeter(QStringLiteral("1"), QStringLiteral("+1"), int(state.range(0))));
}
BENCHMARK(BM_Somme)->RangeMultiplier(4)->Range(16, 2048)->Complexity();

void BM_Priorites(benchmark::State& state)
{
    mesurer(state, repeter(QStringLiteral("2"), QStringLiteral("*3-4/5+2^-1"), int(state.range(0))));
}
BENCHMARK(BM_Priorites)->RangeMultiplier(4)->Range(4, 256)->Complexity();

void BM_Fonctions(benchmark::State& state)
{
    mesurer(state, repeter(QStringLiteral("sin 30"), QStringLiteral("+ln (2+3)*cos 60"), int(state.range(0))));
}
BENCHMARK(BM_Fonctions)->RangeMultiplier(4)->Range(4, 256)->Complexity();

void BM_Groupes(benchmark::State& state)
{
    // (((1+1)/2+1)/2+1)... : one group per level.
    QString s = QStringLiteral("1");
    for (int i = 0; i < state.range(0); ++i)
        s = QStringLiteral("(") + s + QStringLiteral("+1)/2");
    mesurer(state, s);
}
BENCHMARK(BM_Groupes)->RangeMultiplier(4)->Range(4, 512)->Complexity();

void BM_ParenthesesAutourDUnNombre(benchmark::State& state)
{
    const int n = int(state.range(0));
    mesurer(state, QString(n, QLatin1Char('(')) + QStringLiteral("-2") + QString(n, QLatin1Char(')')));
}
BENCHMARK(BM_ParenthesesAutourDUnNombre)->RangeMultiplier(4)->Range(16, 2048)->Complexity();

// The typical pupil's expression.
void BM_Typique(benchmark::State& state)
{
    qint16 code = 0;
    for (auto _ : state) {
        QString s = QStringLiteral("2 * sin 30 + SQR (3 ^ 2 + 4 ^ 2) / 1E-3");
        tolvi::evaluer(s, code, tolvi::modeDegres);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_Typique);

// The worst accepted inputs: the longest expression of each kind.
void BM_PlusLongue(benchmark::State& state)
{
    const QString motifs[] = {QStringLiteral("+1"), QStringLiteral("-(1)"), QStringLiteral("*sin 1"),
                              QStringLiteral("/(1+1)")};
    const QString& motif = motifs[state.range(0)];
    QString s = QStringLiteral("1");
    while (s.size() + motif.size() <= tolvi::longueurMaximale)
        s += motif;
    qint16 code = 0;
    for (auto _ : state) {
        QString t = s;
        tolvi::evaluer(t, code, tolvi::modeDegres);
        benchmark::DoNotOptimize(t);
    }
    state.counters["chars"] = double(s.size());
}
BENCHMARK(BM_PlusLongue)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
