// A whole run of calcolo at the finest step over the widest interval, drawing
// included, against a bare muparser sweep of the same expression over the
// same abscissas. Compare the times of each expression as ratios: calcolo to
// muparser, and calcolo to the engine alone (what the plot itself costs).

#include "engine/SpazzaFunzione.h"
#include "plot/Calcolo.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace zelvo;

// A Qt-free stand-in for the window's image: one pixel per 15 twips, 0xRRGGBB.
class SuperficieImmagine : public Superficie
{
public:
    static constexpr int larghezza = 640; // 9600 twips: the frame and some margin
    static constexpr int altezza = 400; // 6000 twips

    const std::vector<std::uint32_t> &pixel() const { return pixel_; }

protected:
    void cancella() override { std::fill(pixel_.begin(), pixel_.end(), rgb(coloreFacciaPulsante)); }

    void punto(float x, float y, Colore colore) override { mettiTwips(x, y, rgb(colore)); }

    void serieDiPunti(std::span<const Punto> punti) override
    {
        // A graph's points come in long runs of one colour: convert it once a run.
        Colore ultimo = coloreNero;
        std::uint32_t valore = rgb(ultimo);
        for (const Punto &p : punti) {
            if (p.colore != ultimo) {
                ultimo = p.colore;
                valore = rgb(ultimo);
            }
            mettiTwips(p.x, p.y, valore);
        }
    }

    void linea(float x1, float y1, float x2, float y2, Colore colore) override
    {
        const float dx = (x2 - x1) / 15, dy = (y2 - y1) / 15;
        const int passi = static_cast<int>(std::ceil(std::max(std::abs(dx), std::abs(dy))));
        for (int k = 0; k <= passi; ++k) {
            const float t = passi == 0 ? 0.f : static_cast<float>(k) / static_cast<float>(passi);
            metti(static_cast<int>(std::floor(x1 / 15 + t * dx)),
                  static_cast<int>(std::floor(y1 / 15 + t * dy)), rgb(colore));
        }
    }

private:
    static std::uint32_t rgb(Colore c)
    {
        if (c == coloreFacciaPulsante)
            return 0xF0F0F0;
        if (eColoreDiSistema(c))
            return 0x000000;
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }

    // Twips to pixels by truncation: the frame's coordinates are never negative,
    // and a point above the surface's top edge is dropped before the cast.
    void mettiTwips(float x, float y, std::uint32_t rgb)
    {
        if (x >= 0 && y >= 0)
            metti(static_cast<int>(x * (1 / 15.f)), static_cast<int>(y * (1 / 15.f)), rgb);
    }

    void metti(int x, int y, std::uint32_t rgb)
    {
        if (x >= 0 && x < larghezza && y >= 0 && y < altezza)
            pixel_[static_cast<std::size_t>(y * larghezza + x)] = rgb;
    }

    std::vector<std::uint32_t> pixel_ = std::vector<std::uint32_t>(larghezza * altezza);
};

const char *const espressioni[] = {"x^2-1", "sin(x)*exp(-x/5)"};

void calcoloIntero(benchmark::State &state)
{
    const TestiCalcolo testi {espressioni[state.range(0)], "-10.1", "10.1", "st0.0001", "", ""};
    Funzione funzione('.');
    StatoCalcolo stato;
    SuperficieImmagine superficie;
    for (auto _ : state) {
        const EsitoCalcolo esito = calcolo(testi, '.', funzione, stato, superficie);
        benchmark::DoNotOptimize(esito.stato.data());
        benchmark::DoNotOptimize(superficie.pixel().data());
    }
    state.SetLabel(espressioni[state.range(0)]);
}

void muparserSweep(benchmark::State &state)
{
    double x = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    for (auto _ : state) {
        parser.SetExpr(espressioni[state.range(0)]);
        double somma = 0;
        for (x = -10.1; x <= 10.1; x += 0.0001)
            somma += parser.Eval();
        benchmark::DoNotOptimize(somma);
    }
    state.SetLabel(espressioni[state.range(0)]);
}

// The engine alone over the same abscissas, swept as calcolo sweeps them:
// what calcolo adds on top of it.
void soloMotore(benchmark::State &state)
{
    Funzione funzione('.');
    for (auto _ : state) {
        funzione.DefinisciFunzione(espressioni[state.range(0)]);
        double somma = 0;
        for (const BloccoSpazzata &blocco : SpazzataFunzione(funzione, -10.1, 10.1, 0.0001))
            for (const double y : blocco.y)
                somma += y;
        benchmark::DoNotOptimize(somma);
    }
    state.SetLabel(espressioni[state.range(0)]);
}

BENCHMARK(calcoloIntero)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(muparserSweep)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(soloMotore)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
