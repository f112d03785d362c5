// Sweeps evaluate f a block at a time: every value and every error must be
// the one a single evaluation at that x gives, to the bit, and the abscissas
// must be those of repeated addition.

#include "Tabella.h"

#include "engine/SpazzaFunzione.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zelvo {
namespace {

std::uint64_t bits(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

struct Campione
{
    double x;
    Valutazione v;
};

std::vector<Campione> perBlocchi(Funzione &f, double a, double b, double s)
{
    std::vector<Campione> c;
    for (const BloccoSpazzata &blocco : SpazzataFunzione(f, a, b, s))
        for (std::size_t i = 0; i < blocco.size(); ++i)
            c.push_back({blocco.x[i], blocco[i]});
    return c;
}

// The same sweep with one evaluation per sample, written out plainly.
std::vector<Campione> unoAllaVolta(Funzione &f, double a, double b, double s)
{
    std::vector<Campione> c;
    for (double x = a; x <= b; x += s)
        c.push_back({x, f.Valuta(x)});
    return c;
}

void confronta(const std::string &testo, double a, double b, double s)
{
    Funzione f;
    f.DefinisciFunzione(testo);
    ASSERT_TRUE(f.definita()) << testo;
    const std::vector<Campione> blocchi = perBlocchi(f, a, b, s);
    const std::vector<Campione> attesi = unoAllaVolta(f, a, b, s);
    ASSERT_EQ(blocchi.size(), attesi.size()) << testo;
    for (std::size_t i = 0; i < attesi.size(); ++i) {
        ASSERT_EQ(bits(blocchi[i].x), bits(attesi[i].x)) << testo << " sample " << i;
        ASSERT_EQ(blocchi[i].v.errore, attesi[i].v.errore)
                << testo << " at x = " << std::hexfloat << attesi[i].x;
        ASSERT_EQ(bits(blocchi[i].v.valore), bits(attesi[i].v.valore))
                << testo << " at x = " << std::hexfloat << attesi[i].x;
    }
}

TEST(EngineSweep, BlocksGiveEverySamplesOwnValueAndError)
{
    const char *const espressioni[]
            = {// the benchmark's
               "x^2-1", "x*x", "1/x", "sin(x)", "sin(x)*exp(-x/5)", "x^3-3*x",
               "sqr(abs(x))+cos(2*x)^2", "(x+1)*(x-1)*(x+2)/(x*x+1)",
               "exp(-x*x/2)/sqr(2*3.141592653589793)",
               // failures in some lanes only, and a failure a later step hides
               "1/(x-1)", "0/x", "sqr(x)", "log(x)", "log(abs(x))", "x^x", "x^0.5", "(-x)^(1/3)",
               "exp(x*100)", "atn(x*1e308*10)", "(x*1e308*10)/(x-x)", "1/int(x)",
               // every other operation of the numeric program
               "x", "-x^3", "+x-2", "int(x)+fix(-x)", "tan(x)+atn(x)", "x^2^2", "(x/3)^3", "2^x",
               "x*1e300*1e10",
               // not numeric: evaluated one at a time
               "x & \"\"", "CInt(x)", "x Mod 3", "IIf(x, 1, 2)"};
    for (const char *e : espressioni) {
        Funzione prova;
        prova.DefinisciFunzione(e);
        if (!prova.definita())
            continue; // a name the language lacks: nothing to sweep
        confronta(e, -10.1, 10.1, 0.0001);
        if (HasFatalFailure())
            return;
    }
}

TEST(EngineSweep, RandomNumericExpressionsAgreeInBlocks)
{
    const char *const foglie[] = {"x", "x", "x", "2", "3", "0.5", "1e308", "1e-300", "0"};
    // The operators and the built-ins of numbers from the language's tables.
    const std::vector<prova::FunzioneNumerica> funzioni = prova::funzioniNumeriche();
    const std::vector<std::string> operatori = prova::operatoriBinari();
    std::mt19937_64 g(20261210);
    const auto scegli = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(g);
    };
    std::function<std::string(int)> genera = [&](int profondita) -> std::string {
        if (profondita == 0 || scegli(4) == 0)
            return foglie[scegli(std::size(foglie))];
        switch (scegli(4)) {
        case 0: {
            const prova::FunzioneNumerica &f = funzioni[scegli(funzioni.size())];
            std::string t = std::string(f.nome) + "(" + genera(profondita - 1);
            for (int i = 1; i < f.argomenti; ++i)
                t += ", " + genera(profondita - 1);
            return t + ")";
        }
        case 1:
            return "-(" + genera(profondita - 1) + ")";
        case 2:
            switch (scegli(3)) {
            case 0:
                return "(not " + genera(profondita - 1) + ")";
            case 1:
                return "(" + genera(profondita - 1) + ")^" + std::to_string(2 + scegli(7));
            default:
                return "round(" + genera(profondita - 1) + ", 2)";
            }
        default:
            return "(" + genera(profondita - 1) + operatori[scegli(operatori.size())]
                    + genera(profondita - 1) + ")";
        }
    };
    for (int i = 0; i < 300; ++i) {
        confronta(genera(5), -10.1, 10.1, 0.01);
        if (HasFatalFailure())
            return;
    }
}

TEST(EngineSweep, AFunctionTooBigForBlocksStillAgrees)
{
    // 150 distinct constants, more than the blocks a function may hold: it
    // runs sample by sample, with the same values and errors.
    std::string f = "1/(x-0.5)";
    for (int k = 1; k <= 150; ++k)
        f += "+x*" + std::to_string(k) + ".25";
    confronta(f, -10.1, 10.1, 0.001);
}

TEST(EngineSweep, AbscissasAreThoseOfRepeatedAddition)
{
    Funzione f;
    f.DefinisciFunzione("x");
    struct Caso
    {
        double a, b, s;
        std::size_t campioni;
        double ultimo;
    };
    const Caso casi[] = {
            {-10, 10, 0.1, 201, 9.999999999999963}, // b not reached by rounding
            {-10.1, 10.1, 0.0001, 202001, 10.099999999979602},
            {2, 2, 0.1, 1, 2}, // a = b: one sample
            {1e17, 2e17, 1, 1, 1e17}, // the step no longer moves x: one sample, no hang
            {0, 0.25, 0.125, 3, 0.25},
    };
    for (const Caso &c : casi) {
        const std::vector<Campione> s = perBlocchi(f, c.a, c.b, c.s);
        ASSERT_EQ(s.size(), c.campioni) << c.a << ".." << c.b << " by " << c.s;
        EXPECT_EQ(s.back().x, c.ultimo) << c.a << ".." << c.b << " by " << c.s;
        EXPECT_EQ(s.back().v.valore, c.ultimo);
    }
    EXPECT_TRUE(perBlocchi(f, 1, 0, 0.1).empty()); // a > b
}

// Abscissas added up in runs inside each binade are bit for bit those of one
// addition after another: over the window's intervals at its four steps, from
// many starts, in blocks of every size, and for steps and intervals of any
// size, ties in units of the spacing and steps too small to move x included.
TEST(EngineSweep, AbscissasInRunsAreThoseOfOneAdditionAfterAnother)
{
    const auto unaPerVolta = [](double a, double b, double s, std::size_t massimo) {
        std::vector<double> v;
        double x = a;
        bool altri = x <= b;
        while (altri && v.size() < massimo) {
            v.push_back(x);
            const double successivo = x + s;
            altri = successivo > x && successivo <= b;
            x = successivo;
        }
        return v;
    };
    std::mt19937_64 caso(1210);
    const auto aCorse = [&](double a, double b, double s, std::size_t massimo) {
        std::vector<double> v;
        double buffer[300];
        double x = a;
        bool altri = x <= b;
        std::uniform_int_distribution<std::size_t> lunghezza(1, 300);
        while (altri && v.size() < massimo) {
            const std::size_t k = ascisse(x, altri, b, s, buffer,
                                          std::min(lunghezza(caso), massimo - v.size()));
            v.insert(v.end(), buffer, buffer + k);
        }
        return v;
    };
    struct Caso
    {
        double a, b, s;
    };
    std::vector<Caso> casi;
    std::uniform_real_distribution<double> estremo(-10.1, 10.1);
    for (const double s : {0.1, 0.01, 0.001, 0.0001}) {
        for (const double a : {-10.1, -10.0, -1.0, -0.5, 0.0, 1e-5, 2.0})
            casi.push_back({a, 10.1, s});
        for (int i = 0; i < 6; ++i)
            casi.push_back({estremo(caso), 10.1, s});
    }
    std::uniform_real_distribution<double> esponente(-12, 6);
    for (int i = 0; i < 60; ++i) { // any step, any interval
        const double s = std::pow(10.0, esponente(caso));
        const double a = (i % 2 ? -1 : 1) * std::pow(10.0, esponente(caso) + 2);
        casi.push_back({a, a + s * 150000, s});
    }
    casi.push_back({1.0, 2.0, 1.5 * 0x1p-52}); // a tie in units of the spacing: 1.5 u
    casi.push_back({-3.0, 3.0, 2.5 * 0x1p-51});
    casi.push_back({1e12, 2e12, 0.0001}); // the step moves x by rounding up or not at all
    casi.push_back({1e17, 2e17, 1}); // no move at all: one abscissa
    for (const Caso &c : casi) {
        const std::vector<double> attese = unaPerVolta(c.a, c.b, c.s, 400000);
        const std::vector<double> ottenute = aCorse(c.a, c.b, c.s, 400000);
        ASSERT_EQ(ottenute.size(), attese.size()) << c.a << ".." << c.b << " by " << c.s;
        for (std::size_t i = 0; i < attese.size(); ++i)
            ASSERT_EQ(bits(ottenute[i]), bits(attese[i]))
                    << i << " of " << c.a << ".." << c.b << " by " << c.s;
    }
}

TEST(EngineSweep, ALoopLeftWithBreakEvaluatesNoFurtherBlock)
{
    Funzione f;
    f.DefinisciFunzione("x*2");
    std::vector<double> visti;
    for (const BloccoSpazzata &blocco : SpazzataFunzione(f, 0, 1000, 1)) {
        visti.insert(visti.end(), blocco.y.begin(), blocco.y.end());
        if (blocco.x.back() >= 300) // past one block
            break;
    }
    ASSERT_EQ(visti.size(), 2 * kBloccoSpazzata);
    EXPECT_EQ(visti.back(), 2 * (2 * kBloccoSpazzata - 1.0)); // no block evaluated after it
}

TEST(EngineSweep, RandomNumbersAreDrawnOnlyForTheSamplesReached)
{
    // A sweep that stops after 3 samples leaves the generator where 3
    // evaluations leave it: the next value is the 4th of a fresh sequence.
    Funzione fresca;
    fresca.DefinisciFunzione("Rnd + x*0");
    std::vector<double> sequenza;
    for (int i = 0; i < 4; ++i)
        sequenza.push_back(fresca.Valuta(0).valore);

    Funzione f;
    f.DefinisciFunzione("Rnd + x*0");
    EXPECT_FALSE(f.senzaStato());
    std::vector<double> visti;
    for (const BloccoSpazzata &blocco : SpazzataFunzione(f, 0, 1000, 1)) {
        visti.push_back(blocco.y[0]);
        if (visti.size() == 3)
            break;
    }
    ASSERT_EQ(visti.size(), 3u);
    EXPECT_EQ(visti[2], sequenza[2]);
    EXPECT_EQ(f.Valuta(0).valore, sequenza[3]);
}

TEST(EngineSweep, ManyAtOnceMatchesOneAtATimeAtAnyX)
{
    // Non-finite abscissas and a block shorter than the lanes.
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> xs
            = {0, -0.0, 1, -1, 5e-324, 1e308, -1e308, inf, -inf, std::nan(""), 3, 0x1p-450, 7};
    for (const char *e : {"1/x", "x^2", "x^3", "sqr(x)", "log(x)", "x*x*x*x", "x & \"\""}) {
        Funzione f;
        f.DefinisciFunzione(e);
        for (std::size_t n = 1; n <= xs.size(); ++n) {
            std::vector<double> y(n);
            std::vector<int> errori(n);
            std::size_t falliti = 0;
            for (std::size_t i = 0; i < n; ++i)
                falliti += !f.Valuta(xs[i]).ok();
            EXPECT_EQ(f.Valuta(std::span<const double>(xs.data(), n), y.data(), errori.data()),
                      falliti);
            for (std::size_t i = 0; i < n; ++i) {
                const Valutazione uno = f.Valuta(xs[i]);
                ASSERT_EQ(errori[i], uno.errore) << e << " at " << xs[i];
                ASSERT_EQ(bits(y[i]), bits(uno.valore)) << e << " at " << xs[i];
            }
        }
    }
}

} // namespace
} // namespace zelvo
