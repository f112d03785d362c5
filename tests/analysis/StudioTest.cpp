#include "analysis/Studio.h"
#include "analysis/Integrale.h"
#include "engine/Funzione.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <optional>
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

// A step written with integers, (Sgn(x-1)+1)*25, keeps the exact
// derivatives: the study sees the jump at 1 and its two limits.
TEST(Studio, AStepOfIntegersIsStudiedWithItsDerivatives)
{
    Funzione f;
    f.DefinisciFunzione("x+50*(Sgn(x-1)+1)/2");
    ASSERT_TRUE(f.conDerivate());
    const Studio s = studia(f, -3, 3);
    EXPECT_EQ(s.salti, std::vector<double> {1});
    ASSERT_EQ(s.limiti.size(), 1u);
    EXPECT_EQ(s.limiti[0].sinistro.valore, 1);
    EXPECT_EQ(s.limiti[0].destro.valore, 51);
    EXPECT_TRUE(s.note.empty()) << s.note.front();
}

// A pole and a hole are followed to adjacent doubles: the cells beside
// them are no stretch the study could not resolve, and no note says so.
TEST(Studio, NoResolutionNoteBesidePolesAndHoles)
{
    for (const char *testo : {"(x^2-4)/(x-2)+1/(x+3)", "(x^2-4)/(x-2)+1/x"}) {
        Funzione f;
        f.DefinisciFunzione(testo);
        const Studio s = studia(f, -5, 5);
        ASSERT_TRUE(s.eseguito) << testo;
        EXPECT_TRUE(s.note.empty()) << testo << ": " << s.note.front();
    }
}

// x + 2 + 1/x = (x+1)^2/x computes 0 on a stretch 1.4E-8 wide around -1:
// the zero is where it touches the axis, as f' says, not the stretch's
// start, and the stretch is no flat zero worth a note.
TEST(Studio, AMultipleRootThatRoundsToAStretchOfZeros)
{
    Funzione f;
    f.DefinisciFunzione("x+2+1/x");
    const Studio s = studia(f, -5, 5);
    EXPECT_EQ(s.zeri, std::vector<double> {-1});
    EXPECT_TRUE(s.note.empty()) << s.note.front();
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
    // The intervals too, each kind with its note.
    for (const auto *v :
         {&s.positiva, &s.negativa, &s.crescente, &s.decrescente, &s.concavaAlto, &s.concavaBasso})
        EXPECT_EQ(v->size(), 1000u);
    EXPECT_TRUE(std::any_of(s.note.begin(), s.note.end(), [](const std::string &n) {
        return n.starts_with("Altri ")
                && n.find(" intervalli dove f è crescente non mostrati: ne "
                          "sono mostrati i primi 1000")
                != std::string::npos;
    }));
    // 0 is a point where the limit does not exist.
    ASSERT_EQ(s.limiti.size(), 1u);
    EXPECT_EQ(s.limiti[0].x, 0);
    EXPECT_EQ(s.limiti[0].sinistro.tipo, Limite::Tipo::NonEsiste);
    EXPECT_EQ(s.limiti[0].destro.tipo, Limite::Tipo::NonEsiste);
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

namespace zelvo {
namespace {

constexpr double kInf = INFINITY;
constexpr double kNo = NAN; // the side is outside [a, b] or the domain

// A limit as a double: the value, +-inf, NaN where absent; non_esiste is
// matched by its own flag.
struct Lato
{
    double valore;
    bool nonEsiste = false;
};

bool come(const Lato &atteso, const Limite &l)
{
    switch (l.tipo) {
    case Limite::Tipo::Assente:
        return std::isnan(atteso.valore) && !atteso.nonEsiste;
    case Limite::Tipo::Finito:
        return vicino(atteso.valore, l.valore, 1e-15);
    case Limite::Tipo::PiuInfinito:
        return atteso.valore == kInf;
    case Limite::Tipo::MenoInfinito:
        return atteso.valore == -kInf;
    case Limite::Tipo::NonEsiste:
        return atteso.nonEsiste;
    }
    return false;
}

enum class Classe {
    Eliminabile,
    Salto,
    Asintoto,
    Bordo,
    NonEsiste,
    Angoloso,
    Cuspide,
    FlessoVerticale,
    FlessoOrizzontale
};

// One special point of each class, worked out by hand: where, what, the
// limits on each side (or the slopes at a corner), and f there.
struct Speciale
{
    const char *espressione;
    double a, b;
    Classe classe;
    double x;
    Lato sinistro, destro; // limits of f; slopes for a corner
    double y = NAN; // f(x) where f is defined there
};

const Speciale kSpeciali[] = {
        {"(x^2-1)/(x-1)", -3, 3, Classe::Eliminabile, 1, {2}, {2}},
        {"Sin(x)/x", -10, 10, Classe::Eliminabile, 0, {1}, {1}},
        {"(1-Cos(x))/x^2", -1, 1, Classe::Eliminabile, 0, {0.5}, {0.5}},
        {"Exp(-1/x^2)", -3, 3, Classe::Eliminabile, 0, {0}, {0}},
        {"Atn(1/x)", -3, 3, Classe::Salto, 0, {-pi / 2}, {pi / 2}},
        {"Int(x)", -0.5, 2.5, Classe::Salto, 1, {0}, {1}, 1},
        {"x-Int(x)", -2, 2, Classe::Salto, 2, {1}, {kNo}, 0},
        {"Sgn(x-0.6)*x", -3.8, 2.04, Classe::Salto, 0.6, {-0.6}, {0.6}, 0},
        {"1/(x-2.2)", -3, 3, Classe::Asintoto, 2.2, {-kInf}, {kInf}},
        {"Log(Abs(x-1))", -3, 3, Classe::Asintoto, 1, {-kInf}, {-kInf}},
        {"Exp(1/x)", -3, 3, Classe::Asintoto, 0, {0}, {kInf}},
        {"Tan(3*x)", -1, 1, Classe::Asintoto, pi / 6, {kInf}, {-kInf}},
        {"x*Log(x)", 0, 3, Classe::Bordo, 0, {kNo}, {0}},
        {"Sqr(x)*x-2", -1, 1, Classe::Bordo, 0, {kNo}, {-2}, -2},
        {"x/Log(x)", 0, 3, Classe::Bordo, 0, {kNo}, {0}},
        {"Sin(1/x)", -1, 1, Classe::NonEsiste, 0, {kNo, true}, {kNo, true}},
        {"Abs(x^2-3.6)",
         0.5,
         5.8,
         Classe::Angoloso,
         std::sqrt(3.6),
         {-2 * std::sqrt(3.6)},
         {2 * std::sqrt(3.6)},
         0},
        {"Abs(x-1)+x", 0, 2, Classe::Angoloso, 1, {0}, {2}, 1},
        {"Sqr(1+Sin(x))",
         -3.92,
         4,
         Classe::Angoloso,
         -pi / 2,
         {-std::sqrt(0.5)},
         {std::sqrt(0.5)},
         0},
        {"Sqr(Abs(x))", -1, 1, Classe::Cuspide, 0, {-kInf}, {kInf}, 0},
        {"Sgn(x)*Abs(x)^(1/3)", -1, 1, Classe::FlessoVerticale, 0, {kInf}, {kInf}, 0},
        {"(x-1/3)^3+1", -3, 3, Classe::FlessoOrizzontale, 1.0 / 3, {}, {}, 1},
};

// Each class of special point, found from the expression on any interval,
// with its limits: the table of a course's examples in closed form.
TEST(StudioSpeciale, OgniClasseConIsuoiLimiti)
{
    for (const Speciale &c : kSpeciali) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const Studio s = studia(f, c.a, c.b);
        ASSERT_TRUE(s.eseguito);
        const auto vicinoX = [&](double x) {
            return vicino(c.x, x, 1e-15);
        };
        const auto trovaLimite = [&]() -> const PuntoLimite * {
            for (const PuntoLimite &p : s.limiti)
                if (vicinoX(p.x))
                    return &p;
            return nullptr;
        };
        const auto unico = [&](const auto &v) {
            return std::count_if(v.begin(), v.end(), [&](const auto &p) { return vicinoX(p.x); })
                    == 1;
        };
        const auto tra = [&](const std::vector<double> &v) {
            return std::count_if(v.begin(), v.end(), vicinoX) == 1;
        };
        switch (c.classe) {
        case Classe::Eliminabile:
            ASSERT_TRUE(unico(s.eliminabili));
            EXPECT_TRUE(vicino(c.sinistro.valore, s.eliminabili.front().y, 1e-15))
                    << s.eliminabili.front().y;
            break;
        case Classe::Salto:
            EXPECT_TRUE(tra(s.salti));
            break;
        case Classe::Asintoto:
            EXPECT_TRUE(tra(s.asintotiVerticali));
            break;
        case Classe::Bordo:
        case Classe::NonEsiste:
            break;
        case Classe::Angoloso: {
            ASSERT_TRUE(unico(s.puntiAngolosi));
            const PuntoAngoloso &p = s.puntiAngolosi.front();
            EXPECT_TRUE(vicino(c.sinistro.valore, p.sinistra, 1e-5)) << p.sinistra;
            EXPECT_TRUE(vicino(c.destro.valore, p.destra, 1e-5)) << p.destra;
            EXPECT_EQ(p.y, c.y);
            break;
        }
        case Classe::Cuspide:
            EXPECT_TRUE(unico(s.cuspidi));
            break;
        case Classe::FlessoVerticale:
            EXPECT_TRUE(unico(s.flessiVerticali));
            break;
        case Classe::FlessoOrizzontale:
            EXPECT_TRUE(unico(s.flessiOrizzontali));
            EXPECT_TRUE(unico(s.flessi)); // a stationary inflection is an inflection
            break;
        }
        const bool discontinuo = c.classe == Classe::Eliminabile || c.classe == Classe::Salto
                || c.classe == Classe::Asintoto || c.classe == Classe::Bordo
                || c.classe == Classe::NonEsiste;
        const PuntoLimite *l = trovaLimite();
        ASSERT_EQ(l != nullptr, discontinuo);
        if (l) {
            EXPECT_TRUE(come(c.sinistro, l->sinistro)) << l->sinistro.valore;
            EXPECT_TRUE(come(c.destro, l->destro)) << l->destro.valore;
        }
        // A zero at the point where f is 0 there, and none elsewhere made
        // by the point (4.94E-324, 1.99999994).
        EXPECT_EQ(tra(s.zeri), c.y == 0);
        for (const double z : s.zeri)
            EXPECT_TRUE(vicinoX(z) || std::fabs(z - c.x) > 1e-6) << z;
        for (const auto *v : {&s.flessi, &s.massimiRelativi, &s.minimiRelativi})
            for (const PuntoNotevole &p : *v)
                EXPECT_TRUE(vicinoX(p.x) || std::fabs(p.x - c.x) > 1e-6) << p.x;
    }
}

// The absolute extremes where f only approaches them: a supremum or infimum
// not attained, at the point it is approached at, and no maximum.
TEST(StudioSpeciale, EstremiNonRaggiunti)
{
    struct CasoEstremo
    {
        const char *espressione;
        double a, b;
        std::optional<PuntoNotevole> massimo, minimo, superiore, inferiore;
    };
    const CasoEstremo casi[] = {
            {"Sin(x)/x",
             -10,
             10,
             {},
             PuntoNotevole {4.493409457909064, -0.21723362821122166},
             PuntoNotevole {0, 1},
             {}},
            {"x-Int(x)", -2, 2, {}, PuntoNotevole {2, 0}, PuntoNotevole {2, 1}, {}},
            // Int(x) reaches -3 on [-2.5; -2) and tends to it at -2.
            {"Int(x)", -2.5, 2.5, PuntoNotevole {2.5, 2}, PuntoNotevole {-2.5, -3}, {}, {}},
            {"Sgn(x-0.6)*x",
             -3.8,
             2.04,
             PuntoNotevole {-3.8, 3.8},
             {},
             {},
             PuntoNotevole {0.6, -0.6}},
            {"Atn(1/x)", -3, 3, {}, {}, PuntoNotevole {0, pi / 2}, PuntoNotevole {0, -pi / 2}},
            {"1/(x-2.2)", -3, 3, {}, {}, PuntoNotevole {2.2, kInf}, PuntoNotevole {2.2, -kInf}},
            {"Exp(1/x)", -3, 3, {}, {}, PuntoNotevole {0, kInf}, PuntoNotevole {0, 0}},
            // The corner on the axis is the minimum, 0.
            {"Abs(x^2-3.6)",
             0.5,
             5.8,
             PuntoNotevole {5.8, 30.04},
             PuntoNotevole {std::sqrt(3.6), 0},
             {},
             {}},
    };
    const auto uguale = [](const std::optional<PuntoNotevole> &u,
                           const std::optional<PuntoNotevole> &v) {
        return u.has_value() == v.has_value()
                && (!u
                    || (vicino(u->x, v->x, 1e-15) && (u->y == v->y || vicino(u->y, v->y, 1e-15))));
    };
    for (const CasoEstremo &c : casi) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const Studio s = studia(f, c.a, c.b);
        EXPECT_TRUE(uguale(c.massimo, s.massimoAssoluto));
        EXPECT_TRUE(uguale(c.minimo, s.minimoAssoluto));
        EXPECT_TRUE(uguale(c.superiore, s.estremoSuperiore));
        EXPECT_TRUE(uguale(c.inferiore, s.estremoInferiore));
    }
}

// Random functions of the families a course studies, with a hole, a jump
// and a cluster of close roots, against their closed forms: with seeds r,
// the hole p and the jump q, f = c/2*Sgn(x-q)+c/2 (0 on the left of q, c on
// its right) + (x-r)^2*(x-r-d)*(x-p)/(x-p).
TEST(StudioSpeciale, FunzioniCasualiConBuchiSaltiERadiciVicine)
{
    std::mt19937 gen(24);
    std::uniform_real_distribution<double> u(-2, 2);
    int provate = 0;
    for (int k = 0; k < 40; ++k) {
        const double r = std::round(u(gen) * 100) / 100;
        const double d = 1e-5;
        double p = std::round(u(gen) * 100) / 100, q = std::round(u(gen) * 100) / 100;
        if (std::fabs(p - r) < 0.2 || std::fabs(q - r) < 0.2 || std::fabs(p - q) < 0.2)
            continue;
        ++provate;
        const double c = 50;
        char testo[200];
        std::snprintf(testo, sizeof testo,
                      "%g*Sgn(x-(%.17g))+%g+(x-(%.17g))^2*(x-(%.17g))*(x-(%.17g))/(x-(%.17g))",
                      c / 2, q, c / 2, r, r + d, p, p);
        SCOPED_TRACE(testo);
        Funzione f;
        f.DefinisciFunzione(testo);
        ASSERT_TRUE(f.definita());
        const Studio s = studia(f, -3, 3);
        const auto g = [&](double x) {
            return (x - r) * (x - r) * (x - r - d) + (x > q ? c : 0);
        };
        ASSERT_EQ(s.eliminabili.size(), 1u);
        EXPECT_TRUE(vicino(p, s.eliminabili[0].x, 1e-15));
        EXPECT_TRUE(vicino(g(p), s.eliminabili[0].y, 1e-9)) << s.eliminabili[0].y;
        ASSERT_EQ(s.salti.size(), 1u);
        EXPECT_TRUE(vicino(q, s.salti[0], 1e-15));
        ASSERT_EQ(s.limiti.size(), 2u);
        const PuntoLimite &salto = s.limiti[s.limiti[0].x == p ? 1 : 0];
        EXPECT_TRUE(vicino(g(q), salto.sinistro.valore, 1e-9)) << salto.sinistro.valore;
        EXPECT_TRUE(vicino(g(q) + c, salto.destro.valore, 1e-9)) << salto.destro.valore;
        // Left of the jump f is the cubic: the double root r and its
        // neighbour r + d; f' = (x-r)*(3x-3r-2d): the maximum 0 at r, the
        // minimum at r + 2d/3 between them.
        if (q > r + d) {
            const auto uno = [](const auto &v, auto dove) {
                return std::count_if(v.begin(), v.end(), dove) == 1;
            };
            EXPECT_TRUE(uno(s.zeri, [&](double z) { return vicino(r, z, 1e-15); }));
            EXPECT_TRUE(uno(s.zeri, [&](double z) { return vicino(r + d, z, 1e-12); }));
            EXPECT_TRUE(uno(s.massimiRelativi, [&](const PuntoNotevole &m) {
                return vicino(r, m.x, 1e-15) && m.y == 0;
            }));
            EXPECT_TRUE(uno(s.minimiRelativi, [&](const PuntoNotevole &m) {
                return vicino(r + 2 * d / 3, m.x, 1e-9);
            }));
        }
    }
    EXPECT_GE(provate, 10);
}

// An end typed as -0 is the point 0: the edge of Sqr's domain there is no
// relative minimum, as it is not on [0, 10] (found by the study's fuzzer).
TEST(Studio, MenoZeroComeEstremoEZero)
{
    Funzione f;
    f.DefinisciFunzione("Sqr(100*x)");
    const Studio s = studia(f, -0.0, 10);
    EXPECT_TRUE(s.minimiRelativi.empty());
    ASSERT_TRUE(s.minimoAssoluto.has_value());
    EXPECT_EQ(s.minimoAssoluto->x, 0);
    EXPECT_EQ(s.zeri, std::vector<double> {0});
}

// At the edge a = 0, Sin(1/x) has no limit: 1/x overflowing beside 0 is no
// sign that f grows (found by the study's fuzzer: it read +inf, and the
// range [-1; +inf)).
TEST(Studio, UnOverflowDentroFNonLaRendeIllimitata)
{
    Funzione f;
    f.DefinisciFunzione("Sin(1/x)");
    const Studio s = studia(f, 0, 1);
    ASSERT_FALSE(s.limiti.empty());
    EXPECT_EQ(s.limiti.front().x, 0);
    EXPECT_EQ(s.limiti.front().destro.tipo, Limite::Tipo::NonEsiste);
    EXPECT_FALSE(s.estremoSuperiore.has_value());
}

// Exp(1/x) whatever the interval, also where the study's first grid holds 0:
// no zero where f underflows, one special point at 0 (0 on the left, +inf
// on the right), not one at -0,0014 where Exp underflows, nor at 0,0014
// where it stops overflowing.
TEST(Studio, ExpDiUnoSuXSuOgniIntervallo)
{
    Funzione f;
    f.DefinisciFunzione("Exp(1/x)");
    for (const auto &[a, b] : {std::pair {-1.0, 1.0}, {-0.5, 0.5}, {-1.0, 2.0}, {-2.0, 2.0}}) {
        SCOPED_TRACE(testing::Message() << a << ".." << b);
        const Studio s = studia(f, a, b);
        EXPECT_TRUE(s.zeri.empty());
        ASSERT_EQ(s.limiti.size(), 1u);
        EXPECT_EQ(s.limiti[0].x, 0);
        EXPECT_EQ(s.limiti[0].sinistro.tipo, Limite::Tipo::Finito);
        EXPECT_EQ(s.limiti[0].sinistro.valore, 0);
        EXPECT_EQ(s.limiti[0].destro.tipo, Limite::Tipo::PiuInfinito);
        EXPECT_EQ(s.asintotiVerticali, std::vector<double> {0});
    }
}

} // namespace
} // namespace zelvo
