#include "engine/Funzione.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace zelvo {
namespace {

TEST(Funzione, EvaluatesTheDefinedExpression)
{
    Funzione f;
    f.DefinisciFunzione("x*x");
    EXPECT_TRUE(f.definita());
    EXPECT_EQ(f.CalcolaFunzione(3), 9);
    EXPECT_EQ(f.CalcolaFunzione(-0.5), 0.25);
    f.DefinisciFunzione("x^2-1");
    EXPECT_EQ(f.CalcolaFunzione(3), 8);
}

TEST(Funzione, RefusedTextsGiveZeroEverywhere)
{
    Funzione f;
    for (const char *testo : {"", "x*", "(x", "1,5", "x y", "sin x"}) {
        SCOPED_TRACE(testo);
        f.DefinisciFunzione(testo);
        EXPECT_FALSE(f.definita());
        EXPECT_NE(f.esitoDefinizione().numero, 0);
        EXPECT_FALSE(f.esitoDefinizione().messaggio.empty());
        for (double x : {-1.0, 0.0, 2.0}) {
            EXPECT_EQ(f.CalcolaFunzione(x), 0);
            EXPECT_EQ(f.Valuta(x).errore, 35);
        }
    }
}

TEST(Funzione, RefusalTellsNumberMessageAndPositionInTheExpression)
{
    struct Caso
    {
        const char *testo;
        int numero;
        const char *messaggio;
        int posizione;
    };
    const Caso casi[] = {
            {"", 1023, "Prevista espressione", 0},
            {"x*", 1023, "Prevista espressione", 2},
            {"(x+1", 1006, "Previsto ')'", 4},
            {"1,5", 1025, "Prevista fine dell'istruzione", 1},
            {"x+\"abc", 1033, "Costante di stringa non terminata", 2},
            {"x # 2", 1032, "Carattere non valido", 2},
            {"1 + Not 0", 1023, "Prevista espressione", 4},
    };
    Funzione f;
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.testo);
        f.DefinisciFunzione(c.testo);
        EXPECT_EQ(f.esitoDefinizione().numero, c.numero);
        EXPECT_EQ(f.esitoDefinizione().messaggio, c.messaggio);
        EXPECT_EQ(f.esitoDefinizione().posizione, c.posizione);
    }
    f.DefinisciFunzione("x+1");
    EXPECT_TRUE(f.definita());
    EXPECT_EQ(f.esitoDefinizione().numero, 0);
}

TEST(Funzione, TextsBeyondAMebibyteAreRefusedUnread)
{
    Funzione f;
    f.DefinisciFunzione(std::string(std::size_t {1} << 21, 'x'));
    EXPECT_FALSE(f.definita());
    EXPECT_EQ(f.esitoDefinizione().numero, 7);
    EXPECT_EQ(f.esitoDefinizione().messaggio, "Memoria esaurita");
    EXPECT_EQ(f.CalcolaFunzione(1), 0);
}

TEST(Funzione, ErrorsAtSomeXGiveZeroThereOnly)
{
    Funzione f;
    f.DefinisciFunzione("1/x");
    EXPECT_EQ(f.CalcolaFunzione(2), 0.5);
    EXPECT_EQ(f.CalcolaFunzione(0), 0);
    EXPECT_EQ(f.Valuta(0).errore, 11);
    EXPECT_EQ(f.Valuta(2).errore, 0);
}

// A failed step whose value a later step would turn finite again (atan of an
// overflow, a quotient by it, an exponential of its negation) still fails,
// with the first error even when a later step has another one.
TEST(Funzione, TheFirstFailedStepDecidesEvenWhenLaterStepsHideIt)
{
    struct Caso
    {
        const char *testo;
        double x;
        int errore;
    };
    const Caso casi[] = {
            {"atn(x*1e308*10)", 1, 6},      {"1/(x*1e308*10)", 1, 6},  {"exp(-x*1e308*10)", 1, 6},
            {"(x*1e308*10)/(x-x)", 1, 6},   {"(x-x)/(x-x)^-1", 1, 11}, {"sqr(-x)^0", 1, 5},
            {"1^(1/(x-x))+log(-x)", 1, 11}, {"x^0.5*0+1", 2, 0},
    };
    Funzione f;
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.testo);
        f.DefinisciFunzione(c.testo);
        ASSERT_TRUE(f.definita());
        EXPECT_EQ(f.Valuta(c.x).errore, c.errore);
    }
    EXPECT_EQ(f.Valuta(2).valore, 1);
}

// Sums and products of x (or -x) with a constant keep the bits of the
// operation as written, the sign of a zero result included.
TEST(Funzione, SumsAndProductsWithAConstantKeepEveryBit)
{
    struct Caso
    {
        const char *testo;
        double (*atteso)(double);
    };
    const Caso casi[] = {
            {"x+0.1",
             [](double x) {
                 return x + 0.1;
             }},
            {"0.1-x",
             [](double x) {
                 return 0.1 - x;
             }},
            {"-x-0.1",
             [](double x) {
                 return -x - 0.1;
             }},
            {"x-0",
             [](double x) {
                 return x - 0.0;
             }},
            {"-x+0",
             [](double x) {
                 return -x + 0.0;
             }},
            {"x*0",
             [](double x) {
                 return x * 0.0;
             }},
            {"-x*3.7",
             [](double x) {
                 return -x * 3.7;
             }},
            {"0.3*-x",
             [](double x) {
                 return 0.3 * -x;
             }},
            {"(x+1)*(x-1)/(x*x+1)",
             [](double x) {
                 return (x + 1) * (x - 1) / (x * x + 1);
             }},
    };
    Funzione f;
    for (const Caso &c : casi) {
        f.DefinisciFunzione(c.testo);
        for (const double x : {0.0, -0.0, -1.0, 0.7, -10.0999, 1e150}) {
            SCOPED_TRACE(std::string(c.testo) + " at " + std::to_string(x));
            const Valutazione v = f.Valuta(x);
            ASSERT_EQ(v.errore, 0);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(v.valore),
                      std::bit_cast<std::uint64_t>(c.atteso(x)));
        }
    }
}

TEST(Funzione, ValuesThatAreNotNumbers)
{
    struct Caso
    {
        const char *testo;
        double valore;
        int errore;
    };
    const Caso casi[] = {
            {"x > 1", -1, 0},
            {"x < 1", 0, 0},
            {"\"12\"", 12, 0},
            {"x & \"\"", 3, 0},
            {"\"abc\"", 0, 13},
            {"Null", 0, 94},
            {"Empty", 0, 0},
            {"F", 0, 0},
            {"F + 1", 1, 0},
            {"\"a\" & x", 0, 13},
            {"1 & 100000", 1100000, 0},
    };
    Funzione f;
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.testo);
        f.DefinisciFunzione(c.testo);
        ASSERT_TRUE(f.definita());
        const Valutazione v = f.Valuta(3);
        EXPECT_EQ(v.valore, c.valore);
        EXPECT_EQ(v.errore, c.errore);
    }
}

TEST(Funzione, UndeclaredNamesFailWhenFRuns)
{
    Funzione f;
    for (const char *testo : {"k*x", "Val(x)", "Pi", "CreateObject(\"x\")", "Eval(\"1\")"}) {
        SCOPED_TRACE(testo);
        f.DefinisciFunzione(testo);
        EXPECT_TRUE(f.definita());
        EXPECT_EQ(f.CalcolaFunzione(1), 0);
        EXPECT_EQ(f.Valuta(1).errore, 500);
    }
}

TEST(Funzione, BeforeAnyDefinitionEveryValueIsZero)
{
    Funzione f;
    EXPECT_FALSE(f.definita());
    EXPECT_EQ(f.esitoDefinizione().numero, 0);
    EXPECT_EQ(f.CalcolaFunzione(1), 0);
    EXPECT_EQ(f.Valuta(1).errore, 35);
}

TEST(Funzione, DefinitionStaysUntilTheNextOne)
{
    Funzione f;
    f.DefinisciFunzione("x+1");
    std::string testo = "x+2"; // the text box changes; nothing is redefined
    EXPECT_EQ(f.CalcolaFunzione(0), 1);
    f.DefinisciFunzione(testo);
    EXPECT_EQ(f.CalcolaFunzione(0), 2);
    f.DefinisciFunzione("x+");
    EXPECT_EQ(f.CalcolaFunzione(0), 0); // a refused text empties the engine
}

// A minus before a power keeps the language's meaning, (-x)^2, and is told;
// a minus that is not a sign, or one whose operand is not raised, is not.
TEST(Funzione, AMinusBeforeAPowerIsToldNotRefused)
{
    const std::string avviso = "Attenzione: in questo linguaggio -x^2 vale (−x)², non −x²: "
                               "per −x² si scrive -(x^2) o 0-x^2";
    struct Caso
    {
        const char *testo;
        bool detto;
        double a3; // f(3)
    };
    const Caso casi[] = {
            {"-x^2", true, 9},          {"Exp(-x^2)", true, std::exp(9.0)},
            {"2*-x^2", true, 18},       {"-(x)^2", true, 9},
            {"1 + - -x^2", true, 10},   {"-3^2+2^-2", true, 9.25},
            {"-(x^2)", false, -9},      {"0-x^2", false, -9},
            {"5-x^2", false, -4},       {"x^-2", false, 1.0 / 9},
            {"2^-x", false, 0.125},     {"-x*x", false, -9},
            {"Abs(-1-x^2)", false, 10}, // -1 is not raised: x^2 is
    };
    Funzione f;
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.testo);
        f.DefinisciFunzione(c.testo);
        ASSERT_TRUE(f.definita());
        EXPECT_EQ(f.avviso(), c.detto ? avviso : "");
        EXPECT_DOUBLE_EQ(f.CalcolaFunzione(3), c.a3);
    }
    f.DefinisciFunzione("-x^"); // refused: its error says why, nothing else
    EXPECT_FALSE(f.definita());
    EXPECT_EQ(f.avviso(), "");
}

TEST(Funzione, RndGoesOnAcrossSamplesAndRestartsWithEachDefinition)
{
    Funzione f;
    f.DefinisciFunzione("Rnd");
    const double primo = f.CalcolaFunzione(0);
    EXPECT_EQ(primo, 0.7055475115776062);
    EXPECT_NE(f.CalcolaFunzione(0), primo);
    f.DefinisciFunzione("Rnd");
    EXPECT_EQ(f.CalcolaFunzione(0), primo);
    f.DefinisciFunzione("Rnd(-x)");
    EXPECT_EQ(f.CalcolaFunzione(1), f.CalcolaFunzione(1)); // a negative argument reseeds
}

TEST(Funzione, CommaLocaleReadsStringsWithComma)
{
    Funzione virgola(',');
    virgola.DefinisciFunzione("\"1,5\" + x");
    EXPECT_EQ(virgola.CalcolaFunzione(1), 2.5);
    virgola.DefinisciFunzione("\"1.5\" + x");
    EXPECT_EQ(virgola.Valuta(1).errore, 13);
    virgola.DefinisciFunzione("x & \"\"");
    EXPECT_EQ(virgola.CalcolaFunzione(0.5), 0.5);
    Funzione punto('.');
    punto.DefinisciFunzione("\"1.5\" + x");
    EXPECT_EQ(punto.CalcolaFunzione(1), 2.5);
}

TEST(Funzione, StatementsInsideTheLine)
{
    Funzione f;
    f.DefinisciFunzione("x: F=3");
    EXPECT_EQ(f.CalcolaFunzione(1), 3);
    f.DefinisciFunzione("1: Dim y: y=5*x: F=y+1");
    EXPECT_EQ(f.CalcolaFunzione(2), 11);
    f.DefinisciFunzione("x ' a comment");
    EXPECT_EQ(f.CalcolaFunzione(2), 2);
    f.DefinisciFunzione("x: Rem a comment");
    EXPECT_EQ(f.CalcolaFunzione(2), 2);
    f.DefinisciFunzione("x Rem c");
    EXPECT_FALSE(f.definita());
    f.DefinisciFunzione("x: On Error Resume Next: F=1/0");
    EXPECT_EQ(f.CalcolaFunzione(2), 2);
}

// The period read from the expression: the least common multiple of the
// periods of the Sin, Cos and Tan of k·x + c that hold every x, whatever is
// done with them; not always the least (Sin(x)^2, Abs(Sin(x))).
TEST(Funzione, PeriodoDallaStruttura)
{
    constexpr double pi = 3.14159265358979323846;
    const struct
    {
        const char *testo;
        double periodo; // NaN: none
    } casi[] = {
            {"Sin(x)", 2 * pi},
            {"Cos(2*x)+Sin(3*x)", 2 * pi},
            {"Tan(x)", pi},
            {"Tan(2*x-1)/3", pi / 2},
            {"Sin(x)^2", 2 * pi},
            {"Abs(Sin(x))", 2 * pi},
            {"Sin(x/2)+Cos(x/3)", 12 * pi},
            {"Exp(Sin(x))", 2 * pi},
            {"Sin(-x)*Cos(1-x/0.5)", 2 * pi},
            {"Sqr(Cos(x))+Int(Sin(2*x)+Tan(x))", 2 * pi},
            {"Sin(4*Atn(1)*x)", 2}, // k from constants
            {"Sin(x)+Sin(Sqr(2)*x)", NAN}, // not commensurate
            {"Sin(x)+Sin(1000.5*x)", NAN}, // 2001/2: too large a ratio to tell
            {"Sin(1E-310*x)", NAN}, // a period past the largest double
            {"x*Sin(x)", NAN},
            {"Sin(x^2)", NAN},
            {"Sin(x)+x", NAN},
            {"Sin(x*0)+Cos(x)", NAN},
            {"3", NAN},
            {"x", NAN},
            {"Atn(x)", NAN},
            {"Sin(x)+Rnd", NAN}, // no exact derivatives
            {"1: Dim y: y=Sin(x): F=y", NAN}, // statements: nothing read
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.testo);
        Funzione f;
        f.DefinisciFunzione(c.testo);
        ASSERT_TRUE(f.definita());
        const std::optional<double> t = f.periodo();
        ASSERT_EQ(t.has_value(), !std::isnan(c.periodo));
        if (t) {
            EXPECT_DOUBLE_EQ(*t, c.periodo);
        }
    }
}

} // namespace
} // namespace zelvo
