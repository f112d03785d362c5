// The study window, real and offscreen: from the study's end (the Studio in
// hand) to the window shown and painted, against the study itself in the
// same run. Compare each expression's pair as a ratio: Finestra / Studio.
// Schema and Righe are the parts of the window's time spent turning the
// study into the chart's and the table's texts.
#include "analysis/Studio.h"
#include "engine/Funzione.h"
#include "ui/FormStudio.h"
#include "ui/TabellaStudio.h"

#include <QApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zelvo;

struct Caso
{
    const char *funzione;
    double a, b;
};
constexpr Caso kCasi[] = {
        {"Sin(1/x)", -1, 1},
        {"Sin(x)/x", -10, 10},
};

Studio studio(const Caso &c)
{
    Funzione f;
    f.DefinisciFunzione(c.funzione);
    return studia(f, c.a, c.b);
}

// Counts the paint events of the window's children: the tables painted
// tell that the window has been drawn.
class ContaPitture : public QObject
{
public:
    int pitture = 0;

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        pitture += evento->type() == QEvent::Paint;
        return false;
    }
};

void Studio_(benchmark::State &state)
{
    const Caso &c = kCasi[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(studio(c));
    state.SetLabel(c.funzione);
}

void Finestra(benchmark::State &state)
{
    const Caso &c = kCasi[state.range(0)];
    const Studio s = studio(c);
    ContaPitture conta;
    std::unique_ptr<FormStudio> finestra;
    for (auto _ : state) {
        state.PauseTiming(); // the previous window closed, a new one made, the study copied
        finestra.reset();
        Studio copia = s;
        finestra = std::make_unique<FormStudio>([](const Studio &, const Scuola &) {}, '.');
        state.ResumeTiming();
        finestra->mostra(std::move(copia), {}, c.funzione, c.a, c.b);
        QApplication::instance()->installEventFilter(&conta);
        finestra->show();
        const int prima = conta.pitture;
        while (conta.pitture == prima)
            QApplication::processEvents();
        QApplication::instance()->removeEventFilter(&conta);
    }
    finestra.reset();
    state.SetLabel(std::string(c.funzione) + ", " + std::to_string(righeStudio(s, '.').size())
                   + " righe");
}

void Schema(benchmark::State &state)
{
    const Caso &c = kCasi[state.range(0)];
    const Studio s = studio(c);
    for (auto _ : state)
        benchmark::DoNotOptimize(schemaStudio(s, c.a, c.b, '.'));
    state.SetLabel(c.funzione);
}

void Righe(benchmark::State &state)
{
    const Caso &c = kCasi[state.range(0)];
    const Studio s = studio(c);
    for (auto _ : state)
        benchmark::DoNotOptimize(righeStudio(s, '.'));
    state.SetLabel(c.funzione);
}

BENCHMARK(Studio_)->Name("Studio")->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Finestra)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Schema)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Righe)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
