#include "engine/Funzione.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace zelvo {
namespace {

using enum TipoRottura;
using enum Soglia;

// One rottura with its operand at the case's x.
struct Punto
{
    TipoRottura tipo;
    Soglia soglia;
    double u, du;
    double limite = 0;
};

struct Caso
{
    const char *espressione;
    double x;
    std::vector<Punto> punti; // in the program's order
};

std::string descrivi(const Rottura &r, const Operando &o)
{
    return std::to_string(static_cast<int>(r.tipo)) + "/"
            + std::to_string(static_cast<int>(r.soglia)) + " limite " + std::to_string(r.limite)
            + " u " + std::to_string(o.u) + " du " + std::to_string(o.du);
}

bool uguale(double atteso, double avuto)
{
    return (std::isnan(atteso) && std::isnan(avuto))
            || std::fabs(atteso - avuto) <= 1e-14 * std::max(1.0, std::fabs(atteso));
}

void verifica(const Caso &c)
{
    SCOPED_TRACE(std::string(c.espressione) + " at " + std::to_string(c.x));
    Funzione f;
    f.DefinisciFunzione(c.espressione);
    ASSERT_TRUE(f.definita());
    const std::span<const Rottura> rotture = f.rotture();
    std::vector<Operando> operandi(rotture.size());
    f.operandiRotture(c.x, operandi);
    ASSERT_EQ(rotture.size(), c.punti.size());
    for (std::size_t i = 0; i < rotture.size(); ++i) {
        const Punto &p = c.punti[i];
        SCOPED_TRACE("rottura " + std::to_string(i) + ": " + descrivi(rotture[i], operandi[i]));
        EXPECT_EQ(rotture[i].tipo, p.tipo);
        EXPECT_EQ(rotture[i].soglia, p.soglia);
        EXPECT_EQ(rotture[i].limite, p.limite);
        EXPECT_TRUE(uguale(p.u, operandi[i].u));
        EXPECT_TRUE(uguale(p.du, operandi[i].du));
    }
}

// Each operation that may break names its level and its operand; the
// operations that never break (x^3, Sin, Atn, Hypot...) and those whose
// operands are constants (1/2 in x^(1/2), the base of 2^x) name none.
TEST(Rotture, EachBreakingOperationWithItsOperand)
{
    const double limiteExp = 709.782712893384;
    const Caso casi[] = {
            {"(x^2-4)/(x-2)", 3, {{Polo, Zero, 1, 1}}},
            {"(x^2-4)/(x-2)", -1, {{Polo, Zero, -3, 1}}},
            {"Atn(1/x)", 2, {{Polo, Zero, 2, 1}}},
            {"Sqr(1+Sin(x))", 0.5, {{Bordo, Zero, 1 + std::sin(0.5), std::cos(0.5)}}},
            {"Int(x)", 2.5, {{Salto, Intero, 2.5, 1}}},
            {"x-Int(x)", -1.5, {{Salto, Intero, -1.5, 1}}},
            {"Fix(-2*x)", 1, {{Salto, Intero, -2, -2}}},
            {"Tan(3*x)", 0.2, {{Polo, PiMezzi, 3 * 0.2, 3}}},
            {"Abs(x^2-3.6)", 2, {{Angolo, Zero, 4 - 3.6, 4}}},
            {"Sgn(x-0.6)*x", 1, {{Salto, Zero, 1 - 0.6, 1}}},
            {"CBool(x)", 1, {{Salto, Zero, 1, 1}}},
            {"Exp(1/x)", 0.5, {{Polo, Zero, 0.5, 1}, {Bordo, Limite, 2, -4, limiteExp}}},
            {"x < 1", 3, {{Salto, Zero, 2, 1}}},
            {"x^2 >= 2*x", 3, {{Salto, Zero, 3, 4}}}, // the difference of the two sides
            {"Round(x)", 1.25, {{Salto, MezzoIntero, 1.25, 1}}},
            {"Round(x, 2)", 1.25, {{Salto, MezzoIntero, 125, 100}}}, // where x * 100 rounds
            {"CInt(x)", 2, {{Salto, MezzoIntero, 2, 1}, {Bordo, Limite, 2, 1, 32767.5}}},
            {"CLng(2*x)", 2, {{Salto, MezzoIntero, 4, 2}, {Bordo, Limite, 4, 2, 2147483647.5}}},
            {"x Mod 3", 2, {{Salto, MezzoIntero, 2, 1}, {Bordo, Limite, 2, 1, 2147483647.5}}},
            {"7 \\ x",
             2,
             {{Salto, MezzoIntero, 2, 1}, {Bordo, Limite, 2, 1, 2147483647.5}}}, // 0 within +-1/2
            {"Not x", 2, {{Salto, MezzoIntero, 2, 1}, {Bordo, Limite, 2, 1, 2147483647.5}}},
            {"x^0.5", 4, {{Bordo, Zero, 4, 1}}},
            {"x^(1/3)", 8, {{Bordo, Zero, 8, 1}}},
            {"x^x", 2, {{Bordo, Zero, 2, 1}}},
            {"(x-1)^-1", 3, {{Polo, Zero, 2, 1}}}, // a negative integral exponent: a pole
            {"Log(x)/Sqr(x)", 4, {{Bordo, Zero, 4, 1}, {Bordo, Zero, 4, 1}, {Polo, Zero, 2, 0.25}}},
            {"x^3+x^12+2^x+Sin(x)*Cos(x)+Atn(x)+Hypot(x, 1)+Abs(2)/4", 1, {}},
    };
    for (const Caso &c : casi)
        verifica(c);
}

// A rottura whose instruction follows a failed one has no operand; the
// failing instruction has its own: Log(x - 1) at 0 shows u = -1.
TEST(Rotture, OperandsStopAtTheFirstError)
{
    verifica({"Log(x-1) + 1/(x-3)", 0, {{Bordo, Zero, -1, 1}, {Polo, Zero, NAN, NAN}}});
    verifica({"Log(x-1) + 1/(x-3)", 2, {{Bordo, Zero, 1, 1}, {Polo, Zero, -1, 1}}});
    verifica({"1/(x-3) + Log(x-1)", 3, {{Polo, Zero, 0, 1}, {Bordo, Zero, NAN, NAN}}});
}

// Without exact derivatives there is no program to read: no rotture.
TEST(Rotture, NoneWithoutDerivatives)
{
    for (const char *testo : {"1/x + Rnd", "Len(CStr(x))/x", "1/(x-", "F(x)/x"}) {
        SCOPED_TRACE(testo);
        Funzione f;
        f.DefinisciFunzione(testo);
        EXPECT_FALSE(f.conDerivate());
        EXPECT_TRUE(f.rotture().empty());
        std::vector<Operando> nessuno;
        f.operandiRotture(1, nessuno); // nothing to fill, nothing read
    }
}

} // namespace
} // namespace zelvo
