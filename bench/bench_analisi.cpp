// The root, extremes, integral and value-list commands and the whole study
// of a function (with the course's features: domain, range, parity, period,
// behaviour at infinity) over the widest accepted interval, each beside a
// muparser reference sweeping the finest grid (-10.1..10.1 by 0.0001:
// 202,001 points) in the same run. Compare the pairs as ratios:
//   Radice, IntegraleDefinito, Massimo, Minimo, StudioFunzione  /  Riferimento_Sweep
//   Elenco                                              /  Riferimento_ElencoSnprintf
// Funzione_Sweep is the engine alone over the same points.
// IntegraleSingolare/k/n integrates the k-th function with corners, cusps
// and square roots touching 0 over the same interval given as n pieces (1:
// the study of a continuous f; 6101: one that saw jumps everywhere), the
// quadrature alone; compare it with Riferimento_SweepSingolare/k.
#include "analysis/Estremi.h"
#include "analysis/Integrale.h"
#include "analysis/Radice.h"
#include "analysis/Scuola.h"
#include "analysis/Studio.h"
#include "engine/Funzione.h"
#include "tables/ElencoValori.h"
#include "tests/support/StatoAccettato.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdio>

namespace {

using namespace zelvo;

constexpr double kA = -10.1;
constexpr double kB = 10.1;
constexpr double kGriglia = 0.0001;

// The same function in both languages.
struct Espressione
{
    const char *zelvo;
    const char *muparser;
};
constexpr Espressione kEspressioni[] = {
        {"x^2-1", "x^2-1"},
        {"Sin(x)*x+Cos(x)", "sin(x)*x+cos(x)"},
        {"Sin(x)*Exp(-x/5)", "sin(x)*exp(-x/5)"},
        {"1/(x-2)+Abs(x^2-4)", "1/(x-2)+abs(x^2-4)"},
};

// Continuous on [kA, kB], not differentiable inside it.
constexpr Espressione kSingolari[] = {
        {"Sqr(Abs(x-1.5))", "sqrt(abs(x-1.5))"},
        {"Sqr(1+Sin(x))", "sqrt(1+sin(x))"},
        {"Abs(x^2-3.6)", "abs(x^2-3.6)"},
};

const Espressione &espressione(const benchmark::State &state)
{
    return kEspressioni[static_cast<std::size_t>(state.range(0))];
}

StatoCalcolo statoLargo()
{
    return accettato(kA, kB, kGriglia);
}

struct Riferimento
{
    explicit Riferimento(const char *testo)
    {
        parser.DefineVar("x", &x);
        parser.SetExpr(testo);
    }
    mu::Parser parser;
    double x = 0;
};

void Riferimento_Sweep(benchmark::State &state)
{
    Riferimento rif(espressione(state).muparser);
    for (auto _ : state) {
        double somma = 0;
        for (rif.x = kA; rif.x <= kB; rif.x += kGriglia)
            somma += rif.parser.Eval();
        benchmark::DoNotOptimize(somma);
    }
}

void Riferimento_ElencoSnprintf(benchmark::State &state)
{
    Riferimento rif(espressione(state).muparser);
    char testoX[32];
    char testoY[32];
    for (auto _ : state) {
        for (rif.x = kA; rif.x <= kB; rif.x += kGriglia) {
            const double y = rif.parser.Eval();
            std::snprintf(testoX, sizeof testoX, "%.15G", rif.x);
            std::snprintf(testoY, sizeof testoY, "%.15G", y);
            benchmark::DoNotOptimize(testoX);
            benchmark::DoNotOptimize(testoY);
        }
    }
}

// The bare engine sweep, to tell the cost of the evaluations from that of the
// commands around them.
void Funzione_Sweep(benchmark::State &state)
{
    Funzione funzione(',');
    funzione.DefinisciFunzione(espressione(state).zelvo);
    for (auto _ : state) {
        double somma = 0;
        for (double x = kA; x <= kB; x += kGriglia)
            somma += funzione.Valuta(x).valore;
        benchmark::DoNotOptimize(somma);
    }
}

template<class Comando> void sweep(benchmark::State &state, Comando comando)
{
    Funzione funzione(',');
    funzione.DefinisciFunzione(espressione(state).zelvo);
    StatoCalcolo stato = statoLargo();
    for (auto _ : state)
        benchmark::DoNotOptimize(comando(stato, funzione));
}

void Radice(benchmark::State &state)
{
    sweep(state, [](StatoCalcolo &s, Funzione &f) { return cercaRadice(s, f, ','); });
}

void IntegraleDefinito(benchmark::State &state)
{
    sweep(state, [](StatoCalcolo &s, Funzione &f) { return calcolaIntegrale(s, f, ','); });
}

void Massimo(benchmark::State &state)
{
    sweep(state, [](StatoCalcolo &s, Funzione &f) { return cercaMassimo(s, f, ','); });
}

void Minimo(benchmark::State &state)
{
    sweep(state, [](StatoCalcolo &s, Funzione &f) { return cercaMinimo(s, f, ','); });
}

// The study as the user gets it: the study of [a, b], then the course's
// features (domain, range, parity, period, behaviour at infinity...).
void StudioFunzione(benchmark::State &state)
{
    sweep(state, [](StatoCalcolo &s, Funzione &f) {
        const Studio studio = studia(f, s.estremoA, s.estremoB, ',');
        return studio.zeri.size() + studioScuola(f, studio, s.estremoA, s.estremoB).dominio.size();
    });
}

void Riferimento_SweepSingolare(benchmark::State &state)
{
    Riferimento rif(kSingolari[static_cast<std::size_t>(state.range(0))].muparser);
    for (auto _ : state) {
        double somma = 0;
        for (rif.x = kA; rif.x <= kB; rif.x += kGriglia)
            somma += rif.parser.Eval();
        benchmark::DoNotOptimize(somma);
    }
}

void IntegraleSingolare(benchmark::State &state)
{
    Funzione funzione(',');
    funzione.DefinisciFunzione(kSingolari[static_cast<std::size_t>(state.range(0))].zelvo);
    Studio studio;
    studio.eseguito = true;
    const auto n = static_cast<int>(state.range(1));
    for (int k = 0; k < n; ++k)
        studio.pezzi.push_back(
                {kA + (kB - kA) * k / n, k + 1 == n ? kB : kA + (kB - kA) * (k + 1) / n});
    for (auto _ : state)
        benchmark::DoNotOptimize(integra(funzione, studio, kA, kB).valore);
}

// A list pressed again: every row is rewritten in place.
void Elenco(benchmark::State &state)
{
    ElencoValori elenco;
    sweep(state, [&elenco](StatoCalcolo &s, Funzione &f) {
        return riempiElenco(elenco, s, f, ',').righe;
    });
}

} // namespace

BENCHMARK(Riferimento_Sweep)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(Funzione_Sweep)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(StudioFunzione)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(Radice)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(IntegraleDefinito)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(Massimo)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(Minimo)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(Riferimento_SweepSingolare)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(IntegraleSingolare)->ArgsProduct({{0, 1, 2}, {1, 6101}})->Unit(benchmark::kMillisecond);
BENCHMARK(Riferimento_ElencoSnprintf)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(Elenco)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
