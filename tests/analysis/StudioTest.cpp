#include "analysis/Studio.h"
#include "analysis/Integrale.h"
#include "engine/Funzione.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

// The table leaves the intervals out where they are not checked.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zelvo {
namespace {

using std::numbers::pi;
const double e = std::numbers::e;
const double r2 = std::sqrt(2.0), r3 = std::sqrt(3.0);
constexpr double kMancante = NAN;
const double kMezzaDistanza = (1.000001 - 1) / 2; // an integral that does not exist over [a, b]

// Within 1e-12 relative (and a hair absolute, for the points at 0).
bool vicino(double atteso, double avuto, double assoluta = 1e-15)
{
    return std::fabs(avuto - atteso) <= 1e-12 * std::fabs(atteso) + assoluta;
}

using Punti = std::vector<PuntoNotevole>;
using Intervalli = std::vector<Intervallo>;

// One function with every feature worked out by hand. Intervals are checked
// where given (tutti true).
struct Caso
{
    const char *espressione;
    double a, b;
    std::vector<double> zeri;
    Punti massimi, minimi, flessi;
    std::vector<double> assoluti; // x and y of the maximum, then of the minimum; NaN: none
    Intervalli nonDefinita;
    std::vector<double> asintoti, salti;
    double integrale; // NaN: does not exist over [a, b]
    bool conIntervalli = false;
    Intervalli positiva, negativa, crescente, decrescente, concavaAlto, concavaBasso;
};

const Caso kCasi[] = {
        {"x^2-1",
         -3,
         3,
         {-1, 1},
         {},
         {{0, -1}},
         {},
         {3, 8, 0, -1},
         {},
         {},
         {},
         12,
         true,
         {{-3, -1}, {1, 3}},
         {{-1, 1}},
         {{0, 3}},
         {{-3, 0}},
         {{-3, 3}},
         {}},
        {"x^3",
         -3,
         3,
         {0},
         {},
         {},
         {{0, 0}},
         {3, 27, -3, -27},
         {},
         {},
         {},
         0,
         true,
         {{0, 3}},
         {{-3, 0}},
         {{-3, 3}},
         {},
         {{0, 3}},
         {{-3, 0}}},
        {"0.001*x-0.001", -3, 3, {1}, {}, {}, {}, {3, 0.002, -3, -0.004}, {}, {}, {}, -0.006},
        {"x^2+0.0005",
         -3,
         3,
         {},
         {},
         {{0, 0.0005}},
         {},
         {3, 9.0005, 0, 0.0005},
         {},
         {},
         {},
         18.003,
         true,
         {{-3, 3}},
         {},
         {{0, 3}},
         {{-3, 0}},
         {{-3, 3}},
         {}},
        {"1000*(x-1.00005)",
         -3,
         3,
         {1.00005},
         {},
         {},
         {},
         {3, 1999.95, -3, -4000.05},
         {},
         {},
         {},
         -6000.3},
        // The minimum is -((c - 1) / 2)^2 for c the double nearest 1.000001.
        {"(x-1)*(x-1.000001)",
         -3,
         3,
         {1, 1.000001},
         {},
         {{1.0000005, -kMezzaDistanza *kMezzaDistanza}},
         {},
         {-3, 16.000004, 1.0000005, -kMezzaDistanza *kMezzaDistanza},
         {},
         {},
         {},
         24.000006},
        {"x^4-2*x^2",
         -3,
         3,
         {-r2, 0, r2},
         {{0, 0}},
         {{-1, -1}, {1, -1}},
         {{-1 / r3, -5.0 / 9}, {1 / r3, -5.0 / 9}},
         {3, 63, 1, -1},
         {},
         {},
         {},
         61.2,
         true,
         {{-3, -r2}, {r2, 3}},
         {{-r2, 0}, {0, r2}},
         {{-1, 0}, {1, 3}},
         {{-3, -1}, {0, 1}},
         {{-3, -1 / r3}, {1 / r3, 3}},
         {{-1 / r3, 1 / r3}}},
        {"(x-1)^2*(x+2)",
         -3,
         3,
         {-2, 1},
         {{-1, 4}},
         {{1, 0}},
         {{0, 2}},
         {3, 20, -3, -16},
         {},
         {},
         {},
         12},
        {"Abs(x^2-4)",
         -3,
         3,
         {-2, 2},
         {{0, 4}},
         {{-2, 0}, {2, 0}},
         {},
         {3, 5, 2, 0},
         {},
         {},
         {},
         46.0 / 3,
         true,
         {{-3, -2}, {-2, 2}, {2, 3}},
         {},
         {{-2, 0}, {2, 3}},
         {{-3, -2}, {0, 2}},
         {{-3, -2}, {2, 3}},
         {{-2, 2}}},
        {"Abs(x)-1", -2, 2, {-1, 1}, {}, {{0, -1}}, {}, {2, 1, 0, -1}, {}, {}, {}, 0},
        {"Sqr(4-x^2)",
         -3,
         3,
         {-2, 2},
         {{0, 2}},
         {},
         {},
         {0, 2, 2, 0},
         {{-3, -2}, {2, 3}},
         {},
         {},
         kMancante,
         true,
         {{-2, 2}},
         {},
         {{-2, 0}},
         {{0, 2}},
         {},
         {{-2, 2}}},
        {"Sqr(x)",
         -10,
         10,
         {0},
         {},
         {},
         {},
         {10, std::sqrt(10.0), 0, 0},
         {{-10, 0}},
         {},
         {},
         kMancante},
        {"1/(x-2)",
         -3,
         3,
         {},
         {},
         {},
         {},
         {NAN, NAN, NAN, NAN},
         {{2, 2}},
         {2},
         {},
         kMancante,
         true,
         {{2, 3}},
         {{-3, 2}},
         {},
         {{-3, 2}, {2, 3}},
         {{2, 3}},
         {{-3, 2}}},
        {"Tan(x)",
         -3,
         3,
         {0},
         {},
         {},
         {{0, 0}},
         {NAN, NAN, NAN, NAN},
         {},
         {-pi / 2, pi / 2},
         {},
         kMancante},
        {"Log(Abs(x-1))",
         -3,
         3,
         {0, 2},
         {},
         {},
         {},
         {-3, std::log(4.0), NAN, NAN},
         {{1, 1}},
         {1},
         {},
         10 * std::log(2.0) - 6},
        {"Log(x)",
         -3,
         3,
         {1},
         {},
         {},
         {},
         {3, std::log(3.0), NAN, NAN},
         {{-3, 0}},
         {0},
         {},
         kMancante,
         true,
         {{1, 3}},
         {{0, 1}},
         {{0, 3}},
         {},
         {},
         {{0, 3}}},
        {"Int(x)", -2.5, 2.5, {0}, {}, {}, {}, {}, {}, {}, {-2, -1, 0, 1, 2}, -2.5},
        {"Sin(x)",
         -4,
         4,
         {-pi, 0, pi},
         {{pi / 2, 1}},
         {{-pi / 2, -1}},
         {{-pi, 0}, {0, 0}, {pi, 0}},
         {pi / 2, 1, -pi / 2, -1},
         {},
         {},
         {},
         0},
        {"Exp(x)",
         -1,
         1,
         {},
         {},
         {},
         {},
         {1, e, -1, 1 / e},
         {},
         {},
         {},
         e - 1 / e,
         true,
         {{-1, 1}},
         {},
         {{-1, 1}},
         {},
         {{-1, 1}},
         {}},
        {"1/(1+x^2)",
         -3,
         3,
         {},
         {{0, 1}},
         {},
         {{-1 / r3, 0.75}, {1 / r3, 0.75}},
         {0, 1, 3, 0.1},
         {},
         {},
         {},
         2 * std::atan(3.0)},
        {"x*Exp(-x)",
         -1,
         5,
         {0},
         {{1, 1 / e}},
         {},
         {{2, 2 / (e * e)}},
         {1, 1 / e, -1, -e},
         {},
         {},
         {},
         -6 * std::exp(-5.0)},
        {"x*Abs(x)", -2, 2, {0}, {}, {}, {{0, 0}}, {2, 4, -2, -4}, {}, {}, {}, 0},
        // Where g is 0 on a stretch of doubles (x-2 rounds to -2 near 0), the
        // point is the simplest of them: exactly 0.
        {"1/(x-2)+x/4",
         -3,
         1,
         {},
         {{0, -0.5}},
         {},
         {},
         {0, -0.5, -3, -0.95},
         {},
         {},
         {},
         std::log(0.2) + (1 - 9) / 8.0},
        {"Sin(x)*Exp(-x/5)",
         -3,
         3,
         {0},
         {{1.37340076694502, 0.745060012641511}},
         {{-1.76819188664478, -1.39658227631229}},
         {{-0.394791119699762, -0.416215043377658}, {2.74680153389003, 0.222045768974948}},
         {1.37340076694502, 0.745060012641511, -1.76819188664478, -1.39658227631229},
         {},
         {},
         {},
         NAN},
};

void confrontaPunti(const char *nome, const Punti &attesi, const Punti &avuti)
{
    ASSERT_EQ(avuti.size(), attesi.size()) << nome;
    for (std::size_t i = 0; i < attesi.size(); ++i) {
        EXPECT_TRUE(vicino(attesi[i].x, avuti[i].x, 1e-14)) << nome << " x " << avuti[i].x;
        EXPECT_TRUE(vicino(attesi[i].y, avuti[i].y, 1e-15)) << nome << " y " << avuti[i].y;
    }
}

void confrontaIntervalli(const char *nome, const Intervalli &attesi, const Intervalli &avuti)
{
    ASSERT_EQ(avuti.size(), attesi.size()) << nome;
    for (std::size_t i = 0; i < attesi.size(); ++i) {
        EXPECT_TRUE(vicino(attesi[i].da, avuti[i].da)) << nome << " da " << avuti[i].da;
        EXPECT_TRUE(vicino(attesi[i].a, avuti[i].a)) << nome << " a " << avuti[i].a;
    }
}

void confrontaX(const char *nome, const std::vector<double> &attesi,
                const std::vector<double> &avuti)
{
    ASSERT_EQ(avuti.size(), attesi.size()) << nome;
    for (std::size_t i = 0; i < attesi.size(); ++i)
        EXPECT_TRUE(vicino(attesi[i], avuti[i], 1e-14)) << nome << " " << avuti[i];
}

// Every feature of each function, and nothing it does not have.
TEST(Studio, EveryFeatureOfEachFunctionToTheLastDigits)
{
    for (const Caso &c : kCasi) {
        SCOPED_TRACE(std::string(c.espressione) + " on [" + std::to_string(c.a) + ", "
                     + std::to_string(c.b) + "]");
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        ASSERT_TRUE(f.definita());
        const Studio s = studia(f, c.a, c.b);
        ASSERT_TRUE(s.eseguito);
        confrontaX("zeri", c.zeri, s.zeri);
        confrontaPunti("massimi relativi", c.massimi, s.massimiRelativi);
        confrontaPunti("minimi relativi", c.minimi, s.minimiRelativi);
        confrontaPunti("flessi", c.flessi, s.flessi);
        if (c.assoluti.size() == 4) {
            for (int k = 0; k < 2; ++k) {
                const auto &avuto = k == 0 ? s.massimoAssoluto : s.minimoAssoluto;
                const double x = c.assoluti[static_cast<std::size_t>(2 * k)];
                const double y = c.assoluti[static_cast<std::size_t>(2 * k + 1)];
                if (std::isnan(x)) {
                    EXPECT_FALSE(avuto.has_value()) << (k ? "minimo" : "massimo");
                    continue;
                }
                ASSERT_TRUE(avuto.has_value()) << (k ? "minimo" : "massimo");
                EXPECT_TRUE(vicino(x, avuto->x, 1e-14))
                        << (k ? "minimo x " : "massimo x ") << avuto->x;
                EXPECT_TRUE(vicino(y, avuto->y, 1e-15))
                        << (k ? "minimo y " : "massimo y ") << avuto->y;
            }
        }
        confrontaIntervalli("non definita", c.nonDefinita, s.nonDefinita);
        confrontaX("asintoti", c.asintoti, s.asintotiVerticali);
        confrontaX("salti", c.salti, s.salti);
        if (c.conIntervalli) {
            confrontaIntervalli("positiva", c.positiva, s.positiva);
            confrontaIntervalli("negativa", c.negativa, s.negativa);
            confrontaIntervalli("crescente", c.crescente, s.crescente);
            confrontaIntervalli("decrescente", c.decrescente, s.decrescente);
            confrontaIntervalli("concava verso l'alto", c.concavaAlto, s.concavaAlto);
            confrontaIntervalli("concava verso il basso", c.concavaBasso, s.concavaBasso);
        }
        // The integral against its closed form, where it exists.
        const Integrale i = integra(f, s, c.a, c.b);
        if (!std::isnan(c.integrale)) {
            EXPECT_EQ(i.esito, Integrale::Esito::Valore);
            EXPECT_TRUE(vicino(c.integrale, i.valore, 1e-13)) << "integrale " << i.valore;
            EXPECT_TRUE(i.preciso);
        } else if (std::string(c.espressione) != "Sin(x)*Exp(-x/5)") {
            EXPECT_NE(i.esito, Integrale::Esito::Valore);
        }
    }
}

// Polynomials from random roots: simple ones, double ones, pairs a hair
// apart (1E-7 to 1E-2); every root is found to 1e-12 and none is added.
TEST(Studio, EveryRootOfRandomPolynomials)
{
    std::mt19937 generatore(20261210);
    // A number of 4 decimals in [-2.9, 2.9], the same on every library.
    // Read back from its text, so the root is the double the expression holds.
    const auto radice = [&] {
        char testo[32];
        std::snprintf(testo, sizeof testo, "%.4f",
                      static_cast<double>(generatore() % 58001) / 10000 - 2.9);
        return std::strtod(testo, nullptr);
    };
    for (int prova = 0; prova < 150; ++prova) {
        std::string espressione;
        std::vector<double> attese;
        const auto fattore = [&](double r, int potenza) {
            char testo[64];
            std::snprintf(testo, sizeof testo, "%s(x-(%.4f))^%d", espressione.empty() ? "" : "*", r,
                          potenza);
            espressione += testo;
        };
        switch (prova % 3) {
        case 0: // up to 5 simple roots
            for (unsigned k = 0; k <= generatore() % 5; ++k) {
                const double r = radice();
                if (std::find(attese.begin(), attese.end(), r) == attese.end()) {
                    fattore(r, 1);
                    attese.push_back(r);
                }
            }
            break;
        case 1: { // a double root beside a simple one
            const double r = radice();
            fattore(r, 2);
            fattore(2.95, 1);
            attese = {r, 2.95};
            break;
        }
        default: { // two roots a hair apart
            const double r = radice(), d = std::pow(10.0, -static_cast<int>(2 + generatore() % 6));
            fattore(r, 1);
            char testo[64];
            std::snprintf(testo, sizeof testo, "*(x-(%.4f+%.0e))", r, d);
            espressione += testo;
            attese = {r, r + d};
            break;
        }
        }
        std::sort(attese.begin(), attese.end());
        SCOPED_TRACE(espressione);
        Funzione f;
        f.DefinisciFunzione(espressione);
        const Studio s = studia(f, -3, 3);
        confrontaX("zeri", attese, s.zeri);
    }
}

// The integrals that do not exist say why; where f is defined on part of
// [a, b] the integral over that part is given.
TEST(Studio, IntegralsThatDoNotExistSayWhy)
{
    struct Divergente
    {
        const char *espressione;
        double a, b;
        Integrale::Esito esito;
        double x; // where f is unbounded, or the integral over where f is defined
    };
    const Divergente casi[] = {
            {"1/x", -10, 10, Integrale::Esito::NonConverge, 0},
            {"1/(x-2)", -3, 3, Integrale::Esito::NonConverge, 2},
            {"Tan(x)", 0, 3, Integrale::Esito::NonConverge, pi / 2},
            {"1/x^2", 0, 1, Integrale::Esito::NonConverge, 0},
            {"Log(x)", -3, 3, Integrale::Esito::ParzialmenteDefinita, 3 * std::log(3.0) - 3},
            {"Sqr(x)", -10, 10, Integrale::Esito::ParzialmenteDefinita,
             2.0 / 3 * std::pow(10, 1.5)},
            {"Sqr(4-x^2)", -3, 3, Integrale::Esito::ParzialmenteDefinita, 2 * pi},
            {"Sqr(-1-x^2)", -3, 3, Integrale::Esito::NonDefinita, 0},
    };
    for (const Divergente &c : casi) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const Studio s = studia(f, c.a, c.b);
        const Integrale i = integra(f, s, c.a, c.b);
        EXPECT_EQ(i.esito, c.esito);
        if (c.esito == Integrale::Esito::ParzialmenteDefinita) {
            EXPECT_TRUE(vicino(c.x, i.valore, 1e-13)) << i.valore;
        }
        if (c.esito == Integrale::Esito::NonConverge) {
            EXPECT_TRUE(vicino(c.x, i.xIllimitata, 1e-9) || c.x == 0) << i.xIllimitata;
        }
    }
    // Integrable singularities converge: 1/Sqr(x) on (0, 1] is 2.
    Funzione f;
    f.DefinisciFunzione("1/Sqr(x)");
    const Studio s = studia(f, 0, 1);
    const Integrale i = integra(f, s, 0, 1);
    EXPECT_EQ(i.esito, Integrale::Esito::Valore);
    EXPECT_TRUE(vicino(2, i.valore, 1e-12)) << i.valore;
}

// Infinitely many features near 0: the study ends, shows what it found at
// its resolution and says that there are more.
TEST(Studio, InfinitelyManyFeaturesStayBounded)
{
    Funzione f;
    f.DefinisciFunzione("Sin(1/x)");
    const Studio s = studia(f, -10, 10);
    ASSERT_TRUE(s.eseguito);
    EXPECT_EQ(s.zeri.size(), 1000u);
    ASSERT_FALSE(s.note.empty());
    EXPECT_NE(s.note.front().find("Altri "), std::string::npos) << s.note.front();
    EXPECT_NE(s.note.back().find("risoluzione"), std::string::npos) << s.note.back();
    // Those it shows are true zeros: 1/(k pi).
    for (const double x : {s.zeri.front(), s.zeri[500]}) {
        const double k = 1 / (x * pi);
        EXPECT_TRUE(vicino(std::round(k), k, 1e-9)) << x;
    }
    // The absolute extremes are the rightmost 1 and -1.
    ASSERT_TRUE(s.massimoAssoluto && s.minimoAssoluto);
    EXPECT_TRUE(vicino(2 / pi, s.massimoAssoluto->x, 1e-14));
    EXPECT_TRUE(vicino(2 / (3 * pi), s.minimoAssoluto->x, 1e-14));
}

// Without exact derivatives the study says so and still finds the zeros.
TEST(Studio, WithoutDerivativesOnlyZerosSignAndAbsoluteExtremes)
{
    Funzione f;
    f.DefinisciFunzione("x^2-1+0*Len(\"a\")");
    ASSERT_FALSE(f.conDerivate());
    const Studio s = studia(f, -3, 3, ',');
    confrontaX("zeri", {-1, 1}, s.zeri);
    EXPECT_TRUE(s.massimiRelativi.empty());
    EXPECT_TRUE(s.flessi.empty());
    ASSERT_EQ(s.note.size(), 1u);
    EXPECT_EQ(s.note[0].rfind("Derivate non disponibili", 0), 0u);
    ASSERT_TRUE(s.massimoAssoluto && s.minimoAssoluto);
    EXPECT_EQ(s.massimoAssoluto->x, 3);
    EXPECT_NEAR(s.minimoAssoluto->y, -1, 1e-4); // the grid's lowest sample
}

} // namespace
} // namespace zelvo
