// "Grafico" in the real main window, offscreen: from the click to the end of
// the repaint it causes (the window's pixels in the platform's backing store),
// over -10.1..10.1 by 0.0001 (202,001 samples), against a bare muparser sweep
// of the same expression over the same abscissas in the same run. Compare
// each expression's pair as a ratio: Grafico / Riferimento_Sweep. The same
// click on a screen at 200 % (Grafico_200, on the second of two offscreen
// screens of this run) against the window at 100 % gives the cost of drawing
// at the device pixels of a dense screen: Grafico_200 / Grafico.
#include "ui/Form2.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <memory>

namespace {

using namespace zelvo;

// The same function in both languages.
struct Espressione
{
    const char *zelvo;
    const char *muparser;
};
constexpr Espressione kEspressioni[] = {
        {"x^2-1", "x^2-1"},
        {"Sin(x)*Exp(-x/5)", "sin(x)*exp(-x/5)"},
};

// Counts the paint events of the window itself, to tell that the click's
// repaint has happened before the clock stops.
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

void misuraGrafico(benchmark::State &state, QScreen *schermo)
{
    const Espressione &e = kEspressioni[state.range(0)];
    Form2 form;
    form.setScreen(schermo);
    form.move(schermo->geometry().topLeft());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    const auto numero = [&](const char *testo) {
        return QString::fromUtf8(testo).replace('.', QChar::fromLatin1(form.separatoreDecimale()));
    };
    form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::fromUtf8(e.zelvo));
    form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(numero("-10.1"));
    form.findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(numero("10.1"));
    form.findChild<QComboBox *>(QStringLiteral("Combo3"))->setEditText(QStringLiteral("st0.0001"));
    auto *grafico = form.findChild<QPushButton *>(QStringLiteral("Command1"));
    QApplication::processEvents();

    ContaPitture conta;
    form.installEventFilter(&conta);
    for (auto _ : state) {
        const int prima = conta.pitture;
        QTest::mouseClick(grafico, Qt::LeftButton);
        // The click only asks for the repaint; it is done, and the pixels
        // flushed, when the posted update request is handled.
        QApplication::processEvents();
        if (conta.pitture == prima) {
            state.SkipWithError("the click caused no repaint");
            break;
        }
    }
    if (form.stato().valoriY.size() < 202'000)
        state.SkipWithError("the graph was not swept at the finest step");
    state.SetLabel(QStringLiteral("%1 at %2 %")
                           .arg(QString::fromUtf8(e.zelvo))
                           .arg(form.devicePixelRatioF() * 100)
                           .toStdString());
}

void Grafico(benchmark::State &state)
{
    misuraGrafico(state, QGuiApplication::screens().front());
}

void Grafico_200(benchmark::State &state)
{
    const QList<QScreen *> schermi = QGuiApplication::screens();
    if (schermi.size() < 2 || schermi[1]->devicePixelRatio() != 2) {
        state.SkipWithError("no screen at 200 %: run without QT_QPA_PLATFORM");
        return;
    }
    misuraGrafico(state, schermi[1]);
}

void Riferimento_Sweep(benchmark::State &state)
{
    double x = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    for (auto _ : state) {
        parser.SetExpr(kEspressioni[state.range(0)].muparser);
        double somma = 0;
        for (x = -10.1; x <= 10.1; x += 0.0001)
            somma += parser.Eval();
        benchmark::DoNotOptimize(somma);
    }
    state.SetLabel(kEspressioni[state.range(0)].muparser);
}

BENCHMARK(Riferimento_Sweep)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(Grafico)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(Grafico_200)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Two offscreen screens, at 100 % and at 200 %.
    QTemporaryFile schermi;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && schermi.open()) {
        schermi.write(R"({"screens": [
            {"name": "s100", "x": 0, "y": 0, "width": 1600, "height": 1200,
             "logicalDpi": 96, "logicalBaseDpi": 96},
            {"name": "s200", "x": 1600, "y": 0, "width": 3200, "height": 2400,
             "logicalDpi": 192, "logicalBaseDpi": 96}]})");
        schermi.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + schermi.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
