#include "analysis/Dominio.h"
#include "analysis/Infinito.h"
#include "analysis/Simmetrie.h"
#include "engine/Funzione.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace zelvo {
namespace {

using std::numbers::pi;
using Tipo = Limite::Tipo;
constexpr double kNo = NAN; // no such asymptote

// What a side at infinity must show: the limit, and the asymptote (L for a
// horizontal one; m and q for an oblique one; NaN for none).
struct CasoInfinito
{
    const char *espressione;
    int lato;
    bool definita;
    Tipo tipo;
    double valore; // the limit when tipo is Finito
    double m, q;
};

const CasoInfinito kInfiniti[] = {
        {"(2*x^2+1)/(x-1)", +1, true, Tipo::PiuInfinito, 0, 2, 2},
        {"(2*x^2+1)/(x-1)", -1, true, Tipo::MenoInfinito, 0, 2, 2},
        {"Atn(x)", +1, true, Tipo::Finito, pi / 2, kNo, kNo},
        {"Atn(x)", -1, true, Tipo::Finito, -pi / 2, kNo, kNo},
        {"Sin(x)/x^2", +1, true, Tipo::Finito, 0, kNo, kNo},
        {"Sin(x)/x", -1, true, Tipo::Finito, 0, kNo, kNo},
        {"Exp(x)", -1, true, Tipo::Finito, 0, kNo, kNo},
        {"Exp(x)", +1, true, Tipo::PiuInfinito, 0, kNo, kNo},
        {"Log(x)", +1, true, Tipo::PiuInfinito, 0, kNo, kNo},
        {"Log(x)", -1, false, Tipo::Assente, 0, kNo, kNo},
        {"x+Sin(x)", +1, true, Tipo::PiuInfinito, 0, kNo, kNo},
        {"x^2", -1, true, Tipo::PiuInfinito, 0, kNo, kNo},
        {"-x^3+x", +1, true, Tipo::MenoInfinito, 0, kNo, kNo},
        {"Sqr(x^2+x)", +1, true, Tipo::PiuInfinito, 0, 1, 0.5},
        {"Sqr(x^2+x)", -1, true, Tipo::PiuInfinito, 0, -1, -0.5},
        {"(3*x+1)/(x+2)", +1, true, Tipo::Finito, 3, kNo, kNo},
        {"x*Exp(-x)", +1, true, Tipo::Finito, 0, kNo, kNo},
        {"Sin(x)", +1, true, Tipo::NonEsiste, 0, kNo, kNo},
        {"x*Sin(x)", -1, true, Tipo::NonEsiste, 0, kNo, kNo},
        {"Sqr(1-x^2)", +1, false, Tipo::Assente, 0, kNo, kNo},
        {"5", -1, true, Tipo::Finito, 5, kNo, kNo},
        {"1/x", -1, true, Tipo::Finito, 0, kNo, kNo},
        {"Exp(-x)", +1, true, Tipo::Finito, 0, kNo, kNo},
        // Rational: the degrees decide.
        {"(2*x^2+1)/(x^2-4)", +1, true, Tipo::Finito, 2, kNo, kNo},
        {"(2*x^2+1)/(x^2-4)", -1, true, Tipo::Finito, 2, kNo, kNo},
        {"(x^2+1)/(x-1)", +1, true, Tipo::PiuInfinito, 0, 1, 1},
        {"(x^2+1)/(x-1)", -1, true, Tipo::MenoInfinito, 0, 1, 1},
        // Exponential and logarithmic.
        {"x+Exp(-x)", +1, true, Tipo::PiuInfinito, 0, 1, 0},
        {"x+Exp(-x)", -1, true, Tipo::PiuInfinito, 0, kNo, kNo},
        {"Log(x)/x", +1, true, Tipo::Finito, 0, kNo, kNo},
        {"x*Log(x)", +1, true, Tipo::PiuInfinito, 0, kNo, kNo},
        // Exp overflows past 709.78: f is known up to there only, enough
        // to tell the limit or the swing.
        {"Exp(x)/(Exp(x)+1)", +1, true, Tipo::Finito, 1, kNo, kNo},
        {"Exp(x)/(Exp(x)+1)", -1, true, Tipo::Finito, 0, kNo, kNo},
        {"Atn(Exp(x))", +1, true, Tipo::Finito, pi / 2, kNo, kNo},
        {"Exp(Exp(x))", +1, true, Tipo::PiuInfinito, 0, kNo, kNo}, // overflows past 6.57
        {"Exp(x)*Sin(x)", +1, true, Tipo::NonEsiste, 0, kNo, kNo},
        {"Sin(x)*Exp(-x)", -1, true, Tipo::NonEsiste, 0, kNo, kNo},
        // Periodic and not constant: no limit.
        {"Tan(x)", +1, true, Tipo::NonEsiste, 0, kNo, kNo},
        {"1/Sin(x)", -1, true, Tipo::NonEsiste, 0, kNo, kNo},
};

TEST(Infinito, LimitiEAsintoti)
{
    for (const CasoInfinito &c : kInfiniti) {
        SCOPED_TRACE(std::string(c.espressione) + (c.lato > 0 ? " a +inf" : " a -inf"));
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const Infinito r = infinito(f, c.lato);
        EXPECT_EQ(r.definita, c.definita);
        EXPECT_EQ(r.limite.tipo, c.tipo) << r.motivo;
        EXPECT_EQ(r.determinato, c.tipo != Tipo::Assente);
        if (c.tipo == Tipo::Finito) {
            EXPECT_EQ(r.limite.valore, c.valore);
            ASSERT_TRUE(r.orizzontale);
            EXPECT_EQ(*r.orizzontale, c.valore);
        } else {
            EXPECT_FALSE(r.orizzontale);
        }
        EXPECT_EQ(r.m.has_value(), !std::isnan(c.m));
        EXPECT_EQ(r.q.has_value(), !std::isnan(c.q));
        if (r.m && r.q && !std::isnan(c.m)) {
            EXPECT_EQ(*r.m, c.m);
            EXPECT_EQ(*r.q, c.q);
        }
    }
}

// Where the values approach their limit too slowly to tell it, nothing is
// claimed, and the reason is given.
TEST(Infinito, NonDeterminato)
{
    // x - Int(x) is 0 past 2^53 only because every double there is an
    // integer.
    for (const char *e : {"1/Log(x)", "1-1/Log(Log(x))", "1E-08/Log(x)", "x-Int(x)"}) {
        SCOPED_TRACE(e);
        Funzione f;
        f.DefinisciFunzione(e);
        const Infinito r = infinito(f, +1);
        EXPECT_TRUE(r.definita);
        EXPECT_FALSE(r.determinato);
        EXPECT_EQ(r.limite.tipo, Tipo::Assente);
        EXPECT_FALSE(r.orizzontale);
        EXPECT_EQ(r.motivo, "i valori non si stabilizzano");
    }
    // Values that swing ever wider until they overflow, faster than the
    // samples can follow.
    Funzione f;
    f.DefinisciFunzione("Exp(Exp(x))*Sin(x)");
    const Infinito r = infinito(f, +1);
    EXPECT_TRUE(r.definita);
    EXPECT_FALSE(r.determinato);
    EXPECT_EQ(r.motivo,
              "i valori di f superano il più grande numero rappresentabile senza crescere né "
              "decrescere in modo regolare");
}

TEST(Simmetrie, PariDispariSuMenoMM)
{
    using P = Parita::Tipo;
    const struct
    {
        const char *espressione;
        double a, b;
        P tipo;
        double m;
    } casi[] = {
            {"x^4-3*x^2", -2, 5, P::Pari, 2},
            {"Cos(x)+Abs(x)", -7, 3, P::Pari, 3},
            {"1/x^2", -1, 1, P::Pari, 1},
            {"x^3-x", -3, 3, P::Dispari, 3},
            {"Sin(x)/(x^2-1)", -4, 2.5, P::Dispari, 2.5},
            {"Int(x)", -2, 2, P::Nessuna, 2}, // Int(-0.5) = -1
            {"x^2+x", -1, 1, P::Nessuna, 1},
            {"Sqr(x)", -1, 1, P::Nessuna, 1}, // defined on one side only
            {"x^2", -1, 4, P::Pari, 1}, // symmetric on [-1; 1] only
            {"Exp(x)", -0.5, 8, P::Nessuna, 0.5},
            {"x^2+1E-09*x", -1, 1, P::Nessuna, 1},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const std::optional<Parita> p = parita(f, c.a, c.b);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->tipo, c.tipo);
        EXPECT_EQ(p->m, c.m);
    }
    // No interval about 0: no answer.
    Funzione f;
    f.DefinisciFunzione("x^2");
    EXPECT_FALSE(parita(f, 0, 3));
    EXPECT_FALSE(parita(f, -3, -1));
}

// The least period, where the expression makes f periodic: the period read
// from it, or that over a small integer where the values repeat sooner.
TEST(Simmetrie, PeriodoMinimo)
{
    const struct
    {
        const char *espressione;
        double periodo; // NaN: none claimed
    } casi[] = {
            {"Sin(x)", 2 * pi},
            {"Cos(2*x)+Sin(3*x)", 2 * pi},
            {"Tan(x)", pi},
            {"Sin(x)^2", pi},
            {"Abs(Sin(x))", pi},
            {"Sin(x/2)+Cos(x/3)", 12 * pi},
            {"Exp(Sin(x))", 2 * pi},
            {"Cos(5*x)*Cos(7*x)", pi},
            {"Sqr(Sin(x))", 2 * pi}, // defined on half of each period only
            {"Int(3*Sin(x))", 2 * pi},
            {"Abs(Sin(x))+Abs(Cos(x))", pi / 2},
            // A small term is no rounding; a large constant added to x
            // rounds as much at T/2 as at T.
            {"Sin(x)+1E-12*Sin(x/2)", 4 * pi},
            {"Sin(x+1E+6)^2", pi},
            {"Sin(x)+Sin(Sqr(2)*x)", kNo},
            {"x*Sin(x)", kNo},
            {"Sin(x^2)", kNo},
            {"Sin(x)+x", kNo},
            // Every T > 0 is a period of a constant: none is the least.
            {"3", kNo},
            {"Sin(x)^2+Cos(x)^2", kNo},
            {"Sqr(Sin(x)-2)", kNo}, // nowhere defined
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const std::optional<double> t = periodo(f);
        ASSERT_EQ(t.has_value(), !std::isnan(c.periodo));
        if (t) {
            EXPECT_EQ(*t, c.periodo);
        }
    }
}

// Domain and range on [a, b] as the school writes them, from the study.
TEST(Dominio, DominioECodominio)
{
    const struct
    {
        const char *espressione;
        double a, b;
        const char *dominio, *codominio; // nullptr: no range claimed
    } casi[] = {
            {"Sqr(4-x^2)", -3, 3, "[-2; 2]", "[0; 2]"},
            {"1/x", -2, 2, "[-2; 0) ∪ (0; 2]", "(-∞; -0,5] ∪ [0,5; +∞)"},
            {"x-Int(x)", -2, 2, "[-2; 2]", "[0; 1)"},
            {"x^2-1", -3, 3, "[-3; 3]", "[-1; 8]"},
            // A corner on the axis: 0, not the 4.4E-16 f computes beside it.
            {"Abs(x^2-2)", -3, 0.7, "[-3; 0,7]", "[0; 7]"},
            {"Log(x)", -1, 2, "(0; 2]", "(-∞; 0,693147180559945]"},
            {"(x^2-1)/(x-1)", -2, 2, "[-2; 1) ∪ (1; 2]", "[-1; 2) ∪ (2; 3]"},
            {"1/x^2", -1, 2, "[-1; 0) ∪ (0; 2]", "[0,25; +∞)"},
            {"Sgn(x)", -1, 1, "[-1; 1]", "{-1} ∪ {0} ∪ {1}"},
            {"Sin(1/x)", -1, 1, "[-1; 0) ∪ (0; 1]", nullptr},
            // f is computed at the doubles nearest ±Sqr(0.1), as large
            // negative numbers: no end of the domain.
            {"Log(x^2-0.1)", -1, 1, "[-1; -0,316227766016838) ∪ (0,316227766016838; 1]",
             "(-∞; -0,105360515657826]"},
            {"Sqr(x)*Sgn(x-0.5)", -1, 1, "[0; 1]",
             "(-0,707106781186548; 0] ∪ (0,707106781186547; 1]"},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.espressione);
        Funzione f;
        f.DefinisciFunzione(c.espressione);
        const Studio s = studia(f, c.a, c.b, ',');
        EXPECT_EQ(testoTratti(dominio(f, s, c.a, c.b), ','), c.dominio);
        const auto r = codominio(f, s);
        EXPECT_EQ(r.has_value(), c.codominio != nullptr);
        if (r && c.codominio) {
            EXPECT_EQ(testoTratti(*r, ','), c.codominio);
        }
    }
}

TEST(Dominio, IntersezioneYETangentiAiFlessi)
{
    Funzione f;
    f.DefinisciFunzione("x^3-3*x^2+2");
    const auto y = intersezioneY(f, -1, 3);
    ASSERT_TRUE(y);
    EXPECT_EQ(y->y, 2);
    EXPECT_FALSE(intersezioneY(f, 0.5, 3));
    // Inflection at (1; 0), f'(1) = -3: y = -3x + 3.
    const std::vector<Tangente> t = tangentiFlessi(f, studia(f, -1, 3));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].x, 1);
    EXPECT_EQ(t[0].m, -3);
    EXPECT_EQ(t[0].q, 3);

    f.DefinisciFunzione("1/x");
    EXPECT_FALSE(intersezioneY(f, -1, 1));
    f.DefinisciFunzione("Sin(x)");
    const std::vector<Tangente> s = tangentiFlessi(f, studia(f, -4, 4));
    ASSERT_EQ(s.size(), 3u);
    EXPECT_NEAR(s[0].x, -M_PI, 1e-15 * M_PI);
    EXPECT_EQ(s[1].x, 0);
    EXPECT_EQ(s[1].m, 1);
    EXPECT_EQ(s[1].q, 0);
    EXPECT_EQ(s[2].m, -1);
    EXPECT_NEAR(s[2].q, M_PI, 1e-14);
}

// f runs to +inf, but whether it has an oblique asymptote the values do not
// tell: f(x)/x = 1 + 1/Log(x) approaches 1 too slowly.
TEST(Infinito, ObliquoNonDeterminato)
{
    Funzione f;
    f.DefinisciFunzione("x*(1+1/Log(x))");
    const Infinito r = infinito(f, +1);
    EXPECT_EQ(r.limite.tipo, Tipo::PiuInfinito);
    EXPECT_FALSE(r.m);
    EXPECT_EQ(r.motivo, "asintoto obliquo non determinato: f(x)/x non si stabilizza");
    f.DefinisciFunzione("x^2");
    EXPECT_EQ(infinito(f, +1).motivo, "");
}

} // namespace
} // namespace zelvo
