#include "tests/engine/ProvaScriptControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace zelvo {
namespace {

int esegui(ScriptControl &sc, std::string_view nome, std::vector<Valore> args, Valore &r)
{
    return ProvaScriptControl::Run(sc, nome, args, r);
}

TEST(ScriptControl, ResetAndAddCodeDefineAndDiscardTheFunction)
{
    ScriptControl sc;
    Valore r;
    EXPECT_EQ(esegui(sc, "F", {Valore::doppio(1)}, r), 35); // nothing added yet
    EXPECT_EQ(sc.AddCode("Function F(x)\r\nF = x + 1\r\nEnd Function").numero, 0);
    EXPECT_EQ(esegui(sc, "f", {Valore::doppio(1)}, r), 0); // names ignore case
    EXPECT_EQ(r, Valore::doppio(2));
    EXPECT_EQ(esegui(sc, "G", {Valore::doppio(1)}, r), 35);
    EXPECT_EQ(esegui(sc, "F", {}, r), 450);
    EXPECT_EQ(sc.AddCode("Function F(y)\nF = y\nEnd Function").numero, 1041); // one function only
    sc.Reset();
    EXPECT_EQ(esegui(sc, "F", {Valore::doppio(1)}, r), 35);
}

TEST(ScriptControl, RefusedCodeLeavesTheEngineAsItWas)
{
    ScriptControl sc;
    const ErroreScript e = sc.AddCode("Function F(x)\r\nF = (x\r\nEnd Function");
    EXPECT_EQ(e.numero, 1006);
    EXPECT_EQ(e.messaggio, "Previsto ')'");
    EXPECT_EQ(e.posizione, 21); // the line break where ')' was due
    Valore r;
    EXPECT_EQ(esegui(sc, "F", {Valore::doppio(1)}, r), 35);
}

TEST(ScriptControl, WholeScripts)
{
    struct Caso
    {
        const char *codice;
        const char *nome;
        std::vector<Valore> args;
        int errore;
        Valore valore;
    };
    const Caso casi[] = {
            // no Option Explicit: undeclared names are Empty locals
            {"Function F(x)\nF = k + x\nEnd Function",
             "F",
             {Valore::doppio(2)},
             0,
             Valore::doppio(2)},
            {"Option Explicit\nFunction F(x)\nF = k + x\nEnd Function",
             "F",
             {Valore::doppio(2)},
             500,
             {}},
            // two parameters, statements over lines and after ':', comments
            {"' header\r\nOption Explicit\r\n\r\nFunction Area(b, h) ' c\r\n  Dim a : a = b * h\r\n"
             "  Rem half of it\r\n  Area = a / 2\r\nEnd Function\r\n",
             "AREA",
             {Valore::intero(3), Valore::intero(4)},
             0,
             Valore::doppio(6)},
            {"Function F()\nF = 7\nEnd Function", "F", {}, 0, Valore::intero(7)},
            // the function gets copies of non-Double arguments too
            {"Function F(x)\nF = x & \"!\"\nEnd Function",
             "F",
             {Valore::stringa("a")},
             0,
             Valore::stringa("a!")},
            {"Function F(x)\nF = x * 2\nEnd Function", "F", {Valore::stringa("a")}, 13, {}},
            {"Function F(x)\nF = x * 2\nEnd Function",
             "F",
             {Valore::intero(20000)},
             0,
             Valore::di(Tipo::Long, 40000)},
            // only one function, and nothing but Option Explicit outside it
            {"Function F(x)\nEnd Function\nFunction G(x)\nEnd Function", "F", {}, 1002, {}},
            {"x = 1\nFunction F(x)\nEnd Function", "F", {}, 1002, {}},
            {"Function F(x)\nF = 1", "F", {}, 1014, {}},
            {"Function F(x, x)\nEnd Function", "F", {}, 1041, {}},
            {"Function (x)\nEnd Function", "F", {}, 1010, {}},
            {"Function F(x) F = 1\nEnd Function", "F", {}, 1025, {}},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.codice);
        ScriptControl sc;
        const int e = sc.AddCode(c.codice).numero;
        Valore r;
        const int errore = e != 0 ? e : esegui(sc, c.nome, c.args, r);
        EXPECT_EQ(errore, c.errore);
        if (c.errore == 0) {
            EXPECT_EQ(r, c.valore);
        }
    }
}

TEST(ScriptControl, NonFiniteArgumentsAreOverflow)
{
    ScriptControl sc;
    ASSERT_EQ(sc.AddCode("Function F(x)\nF = x * 0\nEnd Function").numero, 0);
    for (double x :
         {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(sc.Valuta(x).errore, 6);
    EXPECT_EQ(sc.Valuta(2.0).errore, 0);
    EXPECT_EQ(sc.Valuta(2.0).valore, 0);
}

} // namespace
} // namespace zelvo
