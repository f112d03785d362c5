// Which functions run as the numeric program, and whether its result is
// certainly a Double: if the compiler stopped taking a row, the value tables
// would still pass on the Variant program alone, and only this test fails.

#include "engine/Programma.h"
#include "engine/Sintassi.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

// The rows a compiled numeric program runs.
struct ProvaProgramma
{
    static std::vector<operazioni::Op> righe(const Programma &p)
    {
        std::vector<operazioni::Op> r;
        for (const auto &passo : p.numerica_.passi())
            r.push_back(passo.op);
        return r;
    }
};

namespace {

using operazioni::Op;

enum class Percorso { Variant, Numerico, NumericoDoppio };

struct Caso
{
    const char *espressione;
    Percorso percorso;
};

// clang-format off
const Caso kCasi[] = {
        // Double results: the Variant result is the numeric program's.
        {"x", Percorso::NumericoDoppio},
        {"1.5", Percorso::NumericoDoppio},
        {"x+1", Percorso::NumericoDoppio},
        {"x-1", Percorso::NumericoDoppio},
        {"x*x", Percorso::NumericoDoppio},
        {"1/x", Percorso::NumericoDoppio},
        {"2^x", Percorso::NumericoDoppio},
        {"x^2+x^3+x^4+x^5+x^6+x^7+x^8", Percorso::NumericoDoppio},
        {"-x", Percorso::NumericoDoppio},
        {"+x", Percorso::NumericoDoppio},
        {"(x>0)*x", Percorso::NumericoDoppio},
        {"Abs(x)", Percorso::NumericoDoppio},
        {"Atn(x)+Cos(x)+Exp(x)+Log(x)+Sin(x)+Sqr(x)+Tan(x)", Percorso::NumericoDoppio},
        {"Hypot(x, 1)", Percorso::NumericoDoppio},
        {"Fix(x)", Percorso::NumericoDoppio},
        {"Int(x)", Percorso::NumericoDoppio},
        {"Round(x)", Percorso::NumericoDoppio},
        {"Round(x, 2)", Percorso::NumericoDoppio},
        {"CDbl(x>0)", Percorso::NumericoDoppio},
        {"x+50*(Sgn(x-1)+1)/2", Percorso::NumericoDoppio},
        {"x+Empty", Percorso::NumericoDoppio},
        // Numbers, but maybe not a Double: the Variant program gives the subtype.
        {"2+3", Percorso::Numerico},
        {"CInt(x)*CInt(x)", Percorso::Numerico},
        {"-CInt(x)", Percorso::Numerico},
        {"x\\2", Percorso::Numerico},
        {"x Mod 3", Percorso::Numerico},
        {"(x=1)+(x<>1)+(x<1)+(x>1)+(x<=1)+(x>=1)", Percorso::Numerico},
        {"(x And 1)+(x Or 1)+(x Xor 1)+(x Eqv 1)+(x Imp 1)", Percorso::Numerico},
        {"Not x", Percorso::Numerico},
        {"Abs(CInt(x))", Percorso::Numerico},
        {"Sgn(x)", Percorso::Numerico},
        {"(Sgn(x)+1)*2", Percorso::Numerico},
        {"(CLng(x)-2147483647-10)*0", Percorso::Numerico},
        {"CInt(x)+CLng(x)+CBool(x)", Percorso::Numerico},
        {"True", Percorso::Numerico},
        // Not numbers the numeric program computes.
        {"x & 1", Percorso::Variant},
        {"\"1\"+x", Percorso::Variant},
        {"Len(x)", Percorso::Variant},
        {"Rnd(1)*x", Percorso::Variant},
        {"x+F(x-1)", Percorso::Variant},
        {"x+Null", Percorso::Variant},
        {"CSng(x)", Percorso::Variant},
        {"CByte(x)", Percorso::Variant},
        {"Round(CInt(x), 2)", Percorso::Variant},
        {"k*x", Percorso::Variant},
        {"x: F = 2", Percorso::Variant},
        {"x Is x", Percorso::Variant},
};
// clang-format on

TEST(EnginePercorsoNumerico, EachExpressionTakesItsPath)
{
    std::set<Op> usate;
    for (const Caso &c : kCasi) {
        SCOPED_TRACE(c.espressione);
        Script s;
        const std::string sorgente = "Option Explicit\r\nFunction F(x)\r\nF="
                + std::string(c.espressione) + "\r\nEnd Function";
        ASSERT_EQ(compilaScript(sorgente, ContestoOperazioni {}, s).errore, 0);
        Programma p;
        p.compila(s);
        EXPECT_EQ(p.numerico(), c.percorso != Percorso::Variant);
        EXPECT_EQ(p.numerico() && p.doppio(), c.percorso == Percorso::NumericoDoppio);
        for (const Op op : ProvaProgramma::righe(p))
            usate.insert(op);
    }
    // Every row of the numeric program is taken by some expression above.
#define ZELVO_RIGA(Nome, ...) EXPECT_TRUE(usate.count(Op::Nome)) << "row " #Nome " never compiled";
    ZELVO_OPERAZIONI(ZELVO_RIGA)
#undef ZELVO_RIGA
}

} // namespace
} // namespace zelvo
