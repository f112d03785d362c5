// Sweeps evaluate f a block at a time: every value and every error must be
// the one a single evaluation at that x gives, to the bit, and the abscissas
// must be the decimal numbers a + i * s as a person writes them.

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
    const Ascisse x(a, b, s);
    for (std::uint64_t i = 0; i < x.quante(); ++i)
        c.push_back({x[i], f.Valuta(x[i])});
    return c;
}

// A decimal as typed ("-10.1", "1e-4"): its digits as a whole number and
// the power of ten they are counted in.
struct Scritto
{
    std::int64_t cifre = 0;
    int esponente = 0;
};

Scritto leggiScritto(const std::string &testo)
{
    Scritto d;
    std::size_t i = testo[0] == '-' ? 1 : 0;
    bool punto = false;
    for (; i < testo.size() && testo[i] != 'e'; ++i) {
        if (testo[i] == '.') {
            punto = true;
            continue;
        }
        d.cifre = d.cifre * 10 + (testo[i] - '0');
        d.esponente -= punto ? 1 : 0;
    }
    if (i < testo.size())
        d.esponente += std::stoi(testo.substr(i + 1));
    if (testo[0] == '-')
        d.cifre = -d.cifre;
    return d;
}

// The abscissas of a sweep from a to b by s, as typed, worked out on the
// decimal text: the i-th is the text of a + i * s read by strtod.
std::vector<double> ascisseScritte(const std::string &a, const std::string &b, const std::string &s,
                                   std::size_t massimo)
{
    const Scritto da = leggiScritto(a), db = leggiScritto(b), ds = leggiScritto(s);
    const int e = std::min({0, da.esponente, db.esponente, ds.esponente});
    const auto intero = [e](Scritto d) {
        for (; d.esponente > e; --d.esponente)
            d.cifre *= 10;
        return d.cifre;
    };
    std::vector<double> v;
    for (std::int64_t n = intero(da); n <= intero(db) && v.size() < massimo; n += intero(ds))
        v.push_back(std::strtod((std::to_string(n) + "e" + std::to_string(e)).c_str(), nullptr));
    return v;
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

// What a list shows: -0.3 + 3 * 0.1 is 0, and b is reached whenever b - a
// is a whole number of steps.
TEST(EngineSweep, AbscissasAreTheDecimalsAPersonWrites)
{
    Funzione f;
    f.DefinisciFunzione("x");
    struct Caso
    {
        const char *a, *b, *s;
        std::size_t campioni;
        double ultimo;
    };
    const Caso casi[] = {
            {"-0.3", "0.3", "0.1", 7, 0.3},  {"-2", "2", "0.1", 41, 2},
            {"-10", "10", "0.1", 201, 10},   {"-10.1", "10.1", "0.0001", 202001, 10.1},
            {"0", "1", "0.3", 4, 0.9}, // not a whole number of steps: b is not reached
            {"2", "2", "0.1", 1, 2}, // a = b: one sample
            {"0", "0.25", "0.125", 3, 0.25},
    };
    for (const Caso &c : casi) {
        const double a = std::stod(c.a), b = std::stod(c.b), s = std::stod(c.s);
        const std::vector<Campione> ottenuti = perBlocchi(f, a, b, s);
        const std::vector<double> attese = ascisseScritte(c.a, c.b, c.s, 300000);
        ASSERT_EQ(ottenuti.size(), c.campioni) << c.a << ".." << c.b << " by " << c.s;
        ASSERT_EQ(attese.size(), c.campioni);
        EXPECT_EQ(ottenuti.back().x, c.ultimo) << c.a << ".." << c.b << " by " << c.s;
        for (std::size_t i = 0; i < attese.size(); ++i)
            ASSERT_EQ(bits(ottenuti[i].x), bits(attese[i]))
                    << i << " of " << c.a << ".." << c.b << " by " << c.s;
    }
    // 0 itself, not -0 or 2.8E-17.
    const std::vector<Campione> zero = perBlocchi(f, -0.3, 0.3, 0.1);
    EXPECT_EQ(bits(zero[3].x), bits(0.0));
    EXPECT_TRUE(perBlocchi(f, 1, 0, 0.1).empty()); // a > b
    for (const double passo : {0.0, -0.1, std::nan("")}) // no step: a alone, no hang
        EXPECT_EQ(perBlocchi(f, 1, 2, passo).size(), 1u) << passo;
}

// Any block length gives the same abscissas, each the nearest double to its
// decimal: over the window's intervals at its four steps from many starts,
// and for ends of 17 digits, whose whole numbers no longer fit a double.
TEST(EngineSweep, AbscissasInAnyBlocksAreTheNearestToTheirDecimals)
{
    std::mt19937_64 caso(1210);
    struct Caso
    {
        std::string a, b, s;
    };
    std::vector<Caso> casi;
    std::uniform_int_distribution<int> decimillesimi(-101000, 101000);
    for (const char *s : {"0.1", "0.01", "0.001", "0.0001"}) {
        for (const char *a : {"-10.1", "-10", "-1", "-0.5", "0", "0.00001", "2"})
            casi.push_back({a, "10.1", s});
        for (int i = 0; i < 4; ++i)
            casi.push_back({std::to_string(decimillesimi(caso)) + "e-4",
                            std::to_string(decimillesimi(caso) / 2 + 50500) + "e-4", s});
    }
    casi.push_back({"0.30000000000000004", "10", "0.1"});
    casi.push_back({"-0.30000000000000004", "10.1", "0.0001"});
    casi.push_back({"1e17", "100000000000100000", "1"}); // 1E+17 + 1 is 1E+17 again
    for (const Caso &c : casi) {
        const double a = std::stod(c.a), b = std::stod(c.b), s = std::stod(c.s);
        const std::vector<double> attese = ascisseScritte(c.a, c.b, c.s, 300000);
        const Ascisse x(a, b, s);
        ASSERT_EQ(x.quante(), attese.size()) << c.a << ".." << c.b << " by " << c.s;
        std::vector<double> ottenute(attese.size());
        std::uniform_int_distribution<std::size_t> lunghezza(1, 300);
        for (std::size_t da = 0; da < ottenute.size();)
            da += x.scrivi(da, ottenute.data() + da, lunghezza(caso));
        for (std::size_t i = 0; i < attese.size(); ++i)
            ASSERT_EQ(bits(ottenute[i]), bits(attese[i]))
                    << i << " of " << c.a << ".." << c.b << " by " << c.s;
    }
    // A step of 1E-300 beside 1: no common decimal unit fits, a + i * s in binary.
    const Ascisse binarie(1, 1 + 0x1p-50, 0x1p-52);
    ASSERT_EQ(binarie.quante(), 5u);
    EXPECT_EQ(binarie[4], 1 + 0x1p-50);
    const Ascisse minime(1, 1 + 1e-15, 1e-300);
    EXPECT_EQ(minime[1], 1.0);
    EXPECT_GT(minime.quante(), std::uint64_t {1} << 50);
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
