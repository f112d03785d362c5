// The engine against muparser on the widest sweep a plot makes: x from -10.1
// by repeated addition of 0.0001 while x <= 10.1 (202,001 evaluations), the
// same expressions, the same x, in the same run. Prints ns per evaluation of
// each (the fastest repetition) and the ratio engine / muparser, then their
// geometric mean: for the engine as Zelvo's sweeps run it (spazzaFunzione)
// and with one CalcolaFunzione call per sample. Run with --benchmark_repetitions=5 on a busy
// machine.

#include "engine/Funzione.h"
#include "engine/SpazzaFunzione.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Espressione
{
    const char *vbscript;
    const char *muparser; // the same function in muparser's syntax
};

const std::vector<Espressione> kEspressioni = {
        {"x^2-1", "x^2-1"},
        {"x*x", "x*x"},
        {"1/x", "1/x"},
        {"sin(x)", "sin(x)"},
        {"sin(x)*exp(-x/5)", "sin(x)*exp(-x/5)"},
        {"x^3-3*x", "x^3-3*x"},
        {"sqr(abs(x))+cos(2*x)^2", "sqrt(abs(x))+cos(2*x)^2"},
        {"(x+1)*(x-1)*(x+2)/(x*x+1)", "(x+1)*(x-1)*(x+2)/(x*x+1)"},
        {"exp(-x*x/2)/sqr(2*3.141592653589793)", "exp(-x*x/2)/sqrt(2*3.141592653589793)"},
};

constexpr double kInizio = -10.1;
constexpr double kFine = 10.1;
constexpr double kPasso = 0.0001;

int campioni()
{
    int n = 0;
    for (double x = kInizio; x <= kFine; x += kPasso)
        ++n;
    return n;
}

// The way every sweep of Zelvo evaluates: spazzaFunzione, block by block.
void motoreZelvo(benchmark::State &state, const char *testo)
{
    zelvo::Funzione f;
    f.DefinisciFunzione(testo);
    int n = 0;
    for (auto _ : state) {
        double somma = 0;
        n = 0;
        zelvo::spazzaFunzione(f, kInizio, kFine, kPasso, [&](double, const zelvo::Valutazione &v) {
            somma += v.valore;
            ++n;
        });
        benchmark::DoNotOptimize(somma);
    }
    state.counters["evaluations"] = n;
}

// One CalcolaFunzione per sample, as a single evaluation makes it.
void perCampione(benchmark::State &state, const char *testo)
{
    zelvo::Funzione f;
    f.DefinisciFunzione(testo);
    int n = 0;
    for (auto _ : state) {
        double somma = 0;
        n = 0;
        for (double x = kInizio; x <= kFine; x += kPasso, ++n)
            somma += f.CalcolaFunzione(x);
        benchmark::DoNotOptimize(somma);
    }
    state.counters["evaluations"] = n;
}

void muparser(benchmark::State &state, const char *testo)
{
    mu::Parser p;
    double x = 0;
    p.DefineVar("x", &x);
    p.SetExpr(testo);
    int n = 0;
    for (auto _ : state) {
        double somma = 0;
        n = 0;
        for (x = kInizio; x <= kFine; x += kPasso, ++n)
            somma += p.Eval();
        benchmark::DoNotOptimize(somma);
    }
    state.counters["evaluations"] = n;
}

// Keeps each benchmark's time per iteration to print the ratios at the end.
class Rapporti : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration) {
                // The fastest repetition: the least disturbed by other load.
                const auto [it, nuovo]
                        = tempi_.emplace(r.run_name.function_name, r.GetAdjustedRealTime());
                if (!nuovo)
                    it->second = std::min(it->second, r.GetAdjustedRealTime());
            }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        double logSweep = 0, logPerCampione = 0;
        int n = 0;
        const double scala = 1e6 / campioni(); // ms per sweep -> ns per evaluation
        std::printf("\n%-40s %9s %10s %9s %8s %10s\n", "expression", "zelvo ns", "per-sample",
                    "muparser", "ratio", "per-sample");
        for (const Espressione &e : kEspressioni) {
            const auto z = tempi_.find(std::string("zelvo/") + e.vbscript);
            const auto p = tempi_.find(std::string("zelvo-per-sample/") + e.vbscript);
            const auto m = tempi_.find(std::string("muparser/") + e.vbscript);
            if (z == tempi_.end() || p == tempi_.end() || m == tempi_.end())
                continue;
            const double ratio = z->second / m->second;
            const double ratioPerCampione = p->second / m->second;
            std::printf("%-40s %9.2f %10.2f %9.2f %8.3f %10.3f\n", e.vbscript, z->second * scala,
                        p->second * scala, m->second * scala, ratio, ratioPerCampione);
            logSweep += std::log(ratio);
            logPerCampione += std::log(ratioPerCampione);
            ++n;
        }
        if (n > 0)
            std::printf("geometric mean of the ratios: %.3f (one call per sample: %.3f)\n",
                        std::exp(logSweep / n), std::exp(logPerCampione / n));
    }

private:
    std::map<std::string, double> tempi_;
};

} // namespace

int main(int argc, char **argv)
{
    for (const Espressione &e : kEspressioni) {
        benchmark::RegisterBenchmark((std::string("zelvo/") + e.vbscript).c_str(), motoreZelvo,
                                     e.vbscript)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("zelvo-per-sample/") + e.vbscript).c_str(),
                                     perCampione, e.vbscript)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("muparser/") + e.vbscript).c_str(), muparser,
                                     e.muparser)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Rapporti rapporti;
    benchmark::RunSpecifiedBenchmarks(&rapporti);
    benchmark::Shutdown();
    return 0;
}
