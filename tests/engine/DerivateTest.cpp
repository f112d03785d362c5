#include "engine/Funzione.h"

#include "Tabella.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>
#include <vector>

namespace zelvo {
namespace {

// Within a few units in the last place: each derivative is the calculus
// rule computed in doubles, so exact to rounding.
::testing::AssertionResult vicino(double atteso, double avuto)
{
    if (atteso == avuto || std::fabs(atteso - avuto) <= 1e-13 * std::max(1.0, std::fabs(atteso)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "atteso " << atteso << ", avuto " << avuto;
}

struct Caso
{
    const char *espressione;
    double x;
    double f, f1, f2;
};

// Every row of the numeric program, against its closed form.
TEST(Derivate, EveryRowAgainstItsClosedForm)
{
    const double e = std::exp(1.0);
    const Caso casi[] = {
            {"x", 2, 2, 1, 0},
            {"3", 2, 3, 0, 0},
            {"x+x*x", 3, 12, 7, 2},
            {"5-x", 3, 2, -1, 0},
            {"x*x*x", -2, -8, 12, -12},
            {"CInt(2)*x", 1.5, 3, 2, 0}, // the product of an integral and a Double
            {"1/x", 2, 0.5, -0.25, 0.25},
            {"(x+1)/(x-1)", 3, 2, -0.5, 0.5},
            {"x^2", 3, 9, 6, 2},
            {"x^3", -2, -8, 12, -12},
            {"x^4", 2, 16, 32, 48},
            {"x^5", 1, 1, 5, 20},
            {"x^6", 1, 1, 6, 30},
            {"x^7", -1, -1, 7, -42},
            {"x^8", 1, 1, 8, 56},
            {"x^0.5", 4, 2, 0.25, -1.0 / 32},
            {"x^-1", 2, 0.5, -0.25, 0.25},
            {"2^x", 3, 8, 8 * std::log(2.0), 8 * std::log(2.0) * std::log(2.0)},
            {"x^x", 1, 1, 1, 2},
            {"-(x^2)", 3, -9, -6, -2},
            {"-x^2", 3, 9, 6, 2}, // negation binds before ^
            {"-CInt(x)+x", 2.2, 0.2 + 2.2 - 2.2 - 0.0, 1, 0},
            {"Sin(x)", 0.5, std::sin(0.5), std::cos(0.5), -std::sin(0.5)},
            {"Cos(x)", 0.5, std::cos(0.5), -std::sin(0.5), -std::cos(0.5)},
            {"Tan(x)", 0.5, std::tan(0.5), 1 + std::tan(0.5) * std::tan(0.5),
             2 * std::tan(0.5) * (1 + std::tan(0.5) * std::tan(0.5))},
            {"Atn(x)", 2, std::atan(2.0), 0.2, -4.0 / 25},
            {"Exp(x)", 1, e, e, e},
            {"Exp(2*x)", 0, 1, 2, 4},
            {"Log(x)", 2, std::log(2.0), 0.5, -0.25},
            {"Sqr(x)", 4, 2, 0.25, -1.0 / 32},
            {"Hypot(x, 4)", 3, 5, 0.6, 16.0 / 125},
            {"Hypot(3, x*x)", 2, 5, 3.2, (16 + 8 - 3.2 * 3.2) / 5},
            {"Abs(x)", -3, 3, -1, 0},
            {"Abs(x^2-4)", 1, 3, -2, -2},
            {"Int(x)", 2.5, 2, 0, 0},
            {"Fix(x)", -2.5, -2, 0, 0},
            {"Sgn(x)*x", -2, 2, -1, 0},
            {"Round(x)", 2.2, 2, 0, 0},
            {"Round(x, 1)", 2.22, 2.2, 0, 0},
            {"CInt(x)", 2.2, 2, 0, 0},
            {"CLng(x)", 2.2, 2, 0, 0},
            {"CBool(x)", 2.2, -1, 0, 0},
            {"CDbl(x)*x", 3, 9, 6, 2},
            {"x \\ 2", 5, 2, 0, 0},
            {"x Mod 3", 5, 2, 0, 0},
            {"(x > 1)*x", 2, -2, -1, 0},
            {"(x = 1)", 2, 0, 0, 0},
            {"(x <> 1)", 2, -1, 0, 0},
            {"(x < 1)", 2, 0, 0, 0},
            {"(x <= 1)", 2, 0, 0, 0},
            {"(x >= 1)", 2, -1, 0, 0},
            {"x And 3", 5, 1, 0, 0},
            {"x Or 2", 5, 7, 0, 0},
            {"x Xor 1", 5, 4, 0, 0},
            {"x Eqv -1", 5, 5, 0, 0},
            {"x Imp 0", 0, -1, 0, 0},
            {"Not x", 5, -6, 0, 0},
            {"Sin(x)*Exp(-x/5)", 1, std::sin(1.0) * std::exp(-0.2),
             std::exp(-0.2) * (std::cos(1.0) - std::sin(1.0) / 5),
             std::exp(-0.2) * (-std::sin(1.0) - 2 * std::cos(1.0) / 5 + std::sin(1.0) / 25)},
    };
    Funzione f;
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string(c.espressione) + " at x = " + std::to_string(c.x));
        f.DefinisciFunzione(c.espressione);
        ASSERT_TRUE(f.conDerivate());
        const Derivate d = f.Deriva(c.x);
        ASSERT_EQ(d.errore, 0);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(d.valore),
                  std::bit_cast<std::uint64_t>(f.Valuta(c.x).valore));
        EXPECT_TRUE(vicino(c.f, d.valore));
        EXPECT_TRUE(vicino(c.f1, d.prima));
        EXPECT_TRUE(vicino(c.f2, d.seconda));
        EXPECT_TRUE(d.derivabile);
    }
}

// Corners, jumps and infinite slopes are told; the derivatives there are the
// ones from the right (a step: 0).
TEST(Derivate, TellsWhereFIsNotDifferentiable)
{
    struct NonDerivabile
    {
        const char *espressione;
        double x;
        double f1; // NaN: not finite
    };
    const NonDerivabile casi[] = {
            {"Abs(x)", 0, 1},  {"Abs(x^2-4)", 2, 4}, {"Abs(2-x)", 2, 1},      {"Int(x)", 1, 0},
            {"Fix(x)", -1, 0}, {"Round(x)", 2.5, 0}, {"CInt(x)", 0.5, 0},     {"Sgn(x)", 0, 0},
            {"(x < 1)", 1, 0}, {"x \\ 2", 2.5, 0},   {"Sqr(x)", 0, NAN},      {"x^(1/3)", 0, NAN},
            {"x^0.5", 0, NAN}, {"Sqr(x^2)", 0, NAN}, {"Hypot(x, 0)", 0, NAN},
    };
    Funzione f;
    for (const NonDerivabile &c : casi) {
        SCOPED_TRACE(std::string(c.espressione) + " at x = " + std::to_string(c.x));
        f.DefinisciFunzione(c.espressione);
        const Derivate d = f.Deriva(c.x);
        ASSERT_EQ(d.errore, 0);
        EXPECT_FALSE(d.derivabile);
        if (std::isnan(c.f1))
            EXPECT_FALSE(std::isfinite(d.prima));
        else
            EXPECT_EQ(d.prima, c.f1);
    }
    // Beside those points, they are smooth again; Fix is continuous at 0.
    for (const auto &[espressione, x] : {std::pair {"Abs(x)", 1e-300}, std::pair {"Int(x)", 0.999},
                                         std::pair {"Fix(x)", 0.0}, std::pair {"Sqr(x)", 1e-100}}) {
        f.DefinisciFunzione(espressione);
        EXPECT_TRUE(f.Deriva(x).derivabile) << espressione;
    }
}

// VBScript's errors stay where they arise, with the plain evaluation's number.
TEST(Derivate, ErrorsAreThoseOfTheEvaluation)
{
    struct Errore
    {
        const char *espressione;
        double x;
        int numero;
    };
    Funzione f;
    for (const Errore &c :
         {Errore {"1/x", 0, 11}, Errore {"Log(x)", 0, 5}, Errore {"Sqr(x)", -1, 5},
          Errore {"Exp(x)", 1000, 6}, Errore {"x^0.5", -4, 5}, Errore {"CInt(x)", 1e6, 6},
          Errore {"x Mod 0", 3, 11}}) {
        SCOPED_TRACE(c.espressione);
        f.DefinisciFunzione(c.espressione);
        const Derivate d = f.Deriva(c.x);
        EXPECT_EQ(d.errore, c.numero);
        EXPECT_EQ(d.errore, f.Valuta(c.x).errore);
        EXPECT_EQ(d.valore, 0);
        EXPECT_FALSE(d.derivabile);
    }
}

// Strings, Rnd and a call of F to itself have no derivatives; the value is
// still the evaluation's.
TEST(Derivate, NotAvailableWithoutTheNumericProgram)
{
    Funzione f;
    for (const char *espressione : {"Len(\"ab\")*x", "Rnd(1)*x", "x+F(1)", "CSng(x)"}) {
        SCOPED_TRACE(espressione);
        f.DefinisciFunzione(espressione);
        ASSERT_TRUE(f.definita());
        EXPECT_FALSE(f.conDerivate());
        const Derivate d = f.Deriva(2);
        EXPECT_FALSE(d.derivabile);
        EXPECT_TRUE(std::isnan(d.prima));
    }
    f.DefinisciFunzione("x*");
    EXPECT_FALSE(f.conDerivate());
    EXPECT_EQ(f.Deriva(1).errore, 35);
}

// A sweep of f, f', f'' gives what single evaluations give, bit for bit:
// every operator and numeric built-in of the language's tables, in lanes and
// in blocks that fail somewhere.
TEST(Derivate, SweepEqualsSingleEvaluations)
{
    std::vector<std::string> espressioni
            = {"Sin(x)*Exp(-x/5)+x^3/(x-1)+Abs(x)", "x", "7", "(x+1)^6-x^2", "Sqr(x)+Log(x)"};
    for (const std::string &op : prova::operatoriBinari())
        espressioni.push_back("(x*x-2)" + op + "(x/3+0.5)");
    for (const std::string &op : prova::operatoriPrefissi())
        espressioni.push_back(op + "(x*x-2)");
    for (const prova::FunzioneNumerica &g : prova::funzioniNumeriche())
        espressioni.push_back(std::string(g.nome) + (g.argomenti == 1 ? "(x*x/7-1)" : "(x, 2)"));

    std::vector<double> x;
    for (double v = -10; v <= 10; v += 0.01)
        x.push_back(v);
    x.push_back(1); // an error inside the sweep for 1/(x-1)
    x.push_back(INFINITY);
    Funzione f;
    for (const std::string &e : espressioni) {
        f.DefinisciFunzione(e);
        ASSERT_TRUE(f.definita()) << e;
        std::vector<Derivate> d(x.size());
        f.Deriva(x, d.data());
        for (std::size_t i = 0; i < x.size(); ++i) {
            const Derivate s = f.Deriva(x[i]);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(d[i].valore),
                      std::bit_cast<std::uint64_t>(s.valore))
                    << e << " at " << x[i];
            ASSERT_EQ(d[i].errore, s.errore) << e << " at " << x[i];
            ASSERT_EQ(d[i].errore, f.Valuta(x[i]).errore) << e << " at " << x[i];
            if (!s.ok())
                continue;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(d[i].prima),
                      std::bit_cast<std::uint64_t>(s.prima))
                    << e << " at " << x[i];
            ASSERT_EQ(std::bit_cast<std::uint64_t>(d[i].seconda),
                      std::bit_cast<std::uint64_t>(s.seconda))
                    << e << " at " << x[i];
            ASSERT_EQ(d[i].derivabile, s.derivabile) << e << " at " << x[i];
        }
    }
    f.DefinisciFunzione("x^3/(x-1)");
    std::vector<Derivate> d(x.size());
    f.Deriva(x, d.data());
    EXPECT_EQ(d[x.size() - 2].errore, 11);
    EXPECT_EQ(d.back().errore, 6);
    EXPECT_TRUE(vicino(300.0 / -11 + 1000.0 / 121, d[0].prima)) << "3x^2/(x-1) - x^3/(x-1)^2";
}

} // namespace
} // namespace zelvo
