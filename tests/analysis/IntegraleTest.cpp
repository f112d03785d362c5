#include "analysis/Integrale.h"

#include "engine/Funzione.h"
#include "tests/support/StatoAccettato.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace zelvo {
namespace {

using std::numbers::pi;

// The study's answer reduced to what the integral reads: the pieces.
Studio pezzi(std::vector<Pezzo> p)
{
    Studio s;
    s.eseguito = true;
    s.pezzi = std::move(p);
    return s;
}

// [da, a] cut into n equal pieces, as a study that saw jumps everywhere.
Studio tagliato(double da, double a, int n)
{
    std::vector<Pezzo> p;
    for (int k = 0; k < n; ++k)
        p.push_back({da + (a - da) * k / n, k + 1 == n ? a : da + (a - da) * (k + 1) / n});
    return pezzi(std::move(p));
}

double relativo(double atteso, double avuto)
{
    return std::fabs(avuto - atteso) / std::max(1.0, std::fabs(atteso));
}

// sqrt(1 + sin x) = sqrt(2) |sin(x/2 + pi/4)|, whose sign turns at -pi/2.
double radiceUnoPiuSeno(double a, double b)
{
    const auto primitiva = [](double x) {
        return -2 * std::numbers::sqrt2 * std::cos(x / 2 + pi / 4);
    };
    const double c = -pi / 2;
    return primitiva(a) + primitiva(b) - 2 * primitiva(c); // a < c < b
}

const double kCuspide = 2.0 / 3 * (std::pow(1.5 - 0.821, 1.5) + std::pow(2.47 - 1.5, 1.5));

// 3.6 - x^2 on [0.5, r], x^2 - 3.6 on [r, 5.8], r = sqrt(3.6).
const double kAngolo = (3.6 * std::sqrt(3.6) - std::pow(3.6, 1.5) / 3 - (3.6 * 0.5 - 0.125 / 3))
        + (5.8 * 5.8 * 5.8 / 3 - 3.6 * 5.8 - (std::pow(3.6, 1.5) / 3 - 3.6 * std::sqrt(3.6)));

// Corners, cusps, jumps and square roots that touch 0 inside a piece: each
// integral to 1e-12 whatever the pieces, with the points where f breaks
// read from the expression, or, for a function without derivatives (Len
// makes it one), found by halving where the quadrature does not settle.
TEST(Integrale, SingularPointsInsideAPieceToTwelveDigits)
{
    struct Caso
    {
        const char *espressione;
        Studio studio;
        double atteso;
    };
    const Caso casi[] = {
            {"Sqr(Abs(x-1.5))", pezzi({{0.821, 2.47}}), kCuspide},
            {"Sqr(Abs(x-1.5))+Len(\"\")", pezzi({{0.821, 2.47}}), kCuspide},
            {"Sqr(Abs(x-1.5))", tagliato(0.821, 2.47, 6101), kCuspide},
            {"Sqr(1+Sin(x))", pezzi({{-3.92, 4}}), radiceUnoPiuSeno(-3.92, 4)},
            {"Sqr(1+Sin(x))+Len(\"\")", pezzi({{-3.92, 4}}), radiceUnoPiuSeno(-3.92, 4)},
            {"Sqr(1+Sin(x))", tagliato(-3.92, 4, 6101), radiceUnoPiuSeno(-3.92, 4)},
            {"Abs(x^2-3.6)", pezzi({{0.5, 5.8}}), kAngolo},
            {"Int(x)", pezzi({{-2.5, 2.5}}), -2.5},
            {"x-Int(x)", pezzi({{-2, 2}}), 2},
            {"Sgn(x-0.6)*x", pezzi({{-3.8, 2.04}}),
             -(0.36 - 3.8 * 3.8) / 2 + (2.04 * 2.04 - 0.36) / 2},
            {"Abs(x)^(1/3)", pezzi({{-1, 8}}), 0.75 * (1 + 16)}, // a vertical cusp
            {"Tan(x)^2", pezzi({{-1, 1}}), 2 * (std::tan(1.0) - 1)},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione + std::string(" on ") + std::to_string(c.studio.pezzi.size())
                     + " pieces");
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        ASSERT_TRUE(f.definita());
        const Integrale i
                = integra(f, c.studio, c.studio.pezzi.front().da, c.studio.pezzi.back().a);
        EXPECT_EQ(i.esito, Integrale::Esito::Valore);
        EXPECT_LE(relativo(c.atteso, i.valore), 1e-12) << i.valore << " for " << c.atteso;
        EXPECT_TRUE(i.preciso);
    }
}

// The whole command, the study included: the figures the user reads, to
// 12 digits (the last of 15 is the closed form's on one piece, and may move
// by one on thousands).
TEST(Integrale, TheCommandShowsTwelveDigitsOfTheClosedForm)
{
    struct Caso
    {
        const char *espressione;
        double a, b;
        double atteso;
    };
    const Caso casi[] = {
            {"Sqr(Abs(x-1.5))", 0.821, 2.47, kCuspide},
            {"Sqr(1+Sin(x))", -3.92, 4, radiceUnoPiuSeno(-3.92, 4)},
            {"Abs(x^2-3.6)", 0.5, 5.8, kAngolo},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const EsitoIntegrale e = calcolaIntegrale(accettato(c.a, c.b), f, ',');
        ASSERT_TRUE(e.calcolato) << e.integrale;
        std::string testo = e.integrale;
        std::replace(testo.begin(), testo.end(), ',', '.');
        EXPECT_LE(relativo(c.atteso, std::stod(testo)), 1e-12) << e.integrale;
        EXPECT_EQ(e.stato, "");
    }
}

// Infinitely many oscillations (Sin(1/x) near 0): the work is capped; the
// integral keeps the digits it has and says it may not have them all.
TEST(Integrale, UnendingOscillationsStopAndSaySo)
{
    Funzione f;
    f.DefinisciFunzione("Sin(1/x)");
    const Integrale i = integra(f, pezzi({{0, 1}}), 0, 1);
    EXPECT_EQ(i.esito, Integrale::Esito::Valore);
    EXPECT_FALSE(i.preciso);
    EXPECT_LE(relativo(0.504067061906928, i.valore), 1e-6) << i.valore; // sin 1 - Ci(1)
}

// An integral past the largest double is infinite, with its sign; before,
// the overflowed sum was taken for a cancellation and shown as 0.
TEST(Integrale, PastTheLargestDoubleIsInfinite)
{
    for (const double segno : {1.0, -1.0}) {
        Funzione f;
        f.DefinisciFunzione(segno > 0 ? "1e308+x*0" : "-1e308+x*0");
        const Integrale i = integra(f, pezzi({{0, 10}}), 0, 10);
        EXPECT_EQ(i.valore, segno * INFINITY);
    }
}

} // namespace
} // namespace zelvo
