#pragma once

// The numeric program's operations, each described once: what it is in the
// language (an operator or a built-in, and its arity), the kind of value it
// gives for the kinds it takes, its scalar function (VBScript's value and
// error for numeric operands) and, where the lanes can compute it, its block
// form. ZELVO_OPERAZIONI lists them; every dispatch is generated from it.
// Adding a built-in that takes and gives numbers is one row here; adding an
// operator that does, one row here (with `sottotipo`, the subtype of its
// Variant form, which Operatori.cpp makes from the row) and its line in
// Operatori.h.

#include "engine/Corsie.h"
#include "engine/Getto.h"
#include "engine/Numerico.h"
#include "engine/Operatori.h"
#include "engine/Valutazione.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>

namespace zelvo::operazioni {

using corsie::Vd;

// What a numeric value is known to be before it is computed. Intero: a
// Boolean, Integer or Long (integral, never -0); Incerto: integral, but
// possibly promoted to a Double by an overflow, so an operation whose
// result depends on the subtype (a zero's sign, Round's digits) cannot
// take it; No: not a number the numeric program computes.
enum class Genere : std::uint8_t { No, Double, Intero, Incerto };

// The result kinds of the rows below.
constexpr Genere doppioSeUno(Genere a, Genere b) noexcept // + and -
{
    return a == Genere::Double || b == Genere::Double ? Genere::Double : Genere::Incerto;
}
constexpr Genere soloDouble(Genere a, Genere b = Genere::No) noexcept
{
    return a == Genere::Double || b == Genere::Double ? Genere::Double : Genere::No;
}
constexpr Genere sempreDouble(Genere, Genere = Genere::No) noexcept
{
    return Genere::Double;
}
constexpr Genere sempreIntero(Genere, Genere = Genere::No) noexcept
{
    return Genere::Intero;
}
constexpr Genere comeOperando(Genere a, Genere = Genere::No) noexcept
{
    return a;
}

inline int finitoO6(double v, double &r) noexcept
{
    if (!reale::finito(v))
        return ErroreOverflow;
    r = v;
    return Nessuno;
}

inline double booleano(bool b) noexcept
{
    return b ? -1.0 : 0.0;
}

// Where a row may break, read from its operands as a student reads them:
// each point names the quantity of the operands (Su) that meets a level
// (Rottura) there. A row with no `rotture` member never breaks (Atn, Sin,
// Somma...); Potenza's depend on its exponent, when that is a constant.
enum class Su : std::uint8_t {
    Primo, // the first operand
    Secondo, // the second operand
    Differenza, // the first minus the second: where a comparison flips
    Scalato, // the first times 10^n, n the second rounded: Round(v, n)
};

struct PuntoRottura
{
    Su su = Su::Primo;
    Rottura rottura;
};

struct Rotture
{
    std::array<PuntoRottura, 4> punti {};
    std::uint8_t n = 0;

    constexpr Rotture() = default;
    constexpr Rotture(std::initializer_list<PuntoRottura> l)
    {
        for (const PuntoRottura &p : l)
            punti[n++] = p;
    }
};

// The levels past which a rounding to an Integer or a Long overflows (6).
constexpr double kLimiteInteger = 32767.5;
constexpr double kLimiteLong = 2147483647.5;
// Past it Exp overflows: ln of the largest double.
constexpr double kLimiteExp = 709.782712893384;

namespace punto {
constexpr PuntoRottura polo(Su su = Su::Primo) noexcept
{
    return {su, {TipoRottura::Polo, Soglia::Zero}};
}
constexpr PuntoRottura bordo(Su su = Su::Primo) noexcept
{
    return {su, {TipoRottura::Bordo, Soglia::Zero}};
}
constexpr PuntoRottura salto(Soglia soglia, Su su = Su::Primo) noexcept
{
    return {su, {TipoRottura::Salto, soglia}};
}
constexpr PuntoRottura oltre(double limite, Su su = Su::Primo) noexcept
{
    return {su, {TipoRottura::Bordo, Soglia::Limite, limite}};
}
// A rounding to a Long (\, Mod, the bitwise operators): a jump at each
// half-integer, an overflow beyond the Long range.
constexpr Rotture dueLong
        = {salto(Soglia::MezzoIntero, Su::Primo), salto(Soglia::MezzoIntero, Su::Secondo),
           oltre(kLimiteLong, Su::Primo), oltre(kLimiteLong, Su::Secondo)};
} // namespace punto

// The rows.
namespace riga {

// ---- operators ----

struct Somma
{
    static constexpr Operatore chiave = Operatore::Somma;
    static constexpr int arieta = 2;
    static constexpr auto sottotipo = tipoAritmetico;
    static constexpr auto genere = doppioSeUno;
    static int scalare(double a, double b, double &r) noexcept { return finitoO6(a + b, r); }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd b) noexcept { return a + b; }
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &) noexcept
    {
        return {r, a.d1 + b.d1, a.d2 + b.d2};
    }
};

struct Differenza
{
    static constexpr Operatore chiave = Operatore::Differenza;
    static constexpr int arieta = 2;
    static constexpr auto sottotipo = tipoAritmetico;
    static constexpr auto genere = doppioSeUno;
    static int scalare(double a, double b, double &r) noexcept { return finitoO6(a - b, r); }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd b) noexcept { return a - b; }
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &) noexcept
    {
        return {r, a.d1 - b.d1, a.d2 - b.d2};
    }
};

struct Prodotto
{
    static constexpr Operatore chiave = Operatore::Prodotto;
    static constexpr int arieta = 2;
    static constexpr auto sottotipo = tipoAritmetico;
    static constexpr auto genere = soloDouble;
    static int scalare(double a, double b, double &r) noexcept { return finitoO6(a * b, r); }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd b) noexcept { return a * b; }
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &) noexcept
    {
        return {r, a.d1 * b.v + a.v * b.d1, a.d2 * b.v + 2 * a.d1 * b.d1 + a.v * b.d2};
    }
};

// Two integral operands ((Sgn(x)+1)*2): the product of two Integers or
// Longs never holds -0. An operand that an overflow promoted to a Double
// lies beyond a Long's range, and makes the product a Double, with the
// sign IEEE gives its zero.
struct ProdottoIntero : Prodotto
{
    static constexpr double kLongMassimo = 2147483647.0;
    static constexpr Genere genere(Genere a, Genere b) noexcept
    {
        const auto integrale = [](Genere g) {
            return g == Genere::Intero || g == Genere::Incerto;
        };
        return integrale(a) && integrale(b) ? Genere::Incerto : Genere::No;
    }
    static int scalare(double a, double b, double &r) noexcept
    {
        const double p = a * b;
        const bool doppio = std::fabs(a) > kLongMassimo || std::fabs(b) > kLongMassimo;
        return finitoO6(doppio ? p : p + 0.0, r);
    }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd b) noexcept
    {
        const Vd p = a * b;
        const Vd limite = Vd {} + kLongMassimo;
        return corsie::scegli((corsie::assoluto(a) > limite) | (corsie::assoluto(b) > limite), p,
                              p + 0.0);
    }
};

// A failure is always a non-finite lane: a / 0 and 0 / 0 too.
struct Quoziente
{
    static constexpr Operatore chiave = Operatore::Quoziente;
    static constexpr int arieta = 2;
    static constexpr auto sottotipo = tipoQuoziente;
    static constexpr auto genere = sempreDouble;
    static int scalare(double a, double b, double &r) noexcept { return reale::quoziente(a, b, r); }
    static constexpr Rotture rotture = {punto::polo(Su::Secondo)};
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd b) noexcept { return a / b; }
    // (a / b)' = (a' - q b') / b, (a / b)'' = (a'' - 2 q' b' - q b'') / b.
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &) noexcept
    {
        const double d1 = (a.d1 - r * b.d1) / b.v;
        return {r, d1, (a.d2 - 2 * d1 * b.d1 - r * b.d2) / b.v};
    }
};

struct Potenza
{
    static constexpr Operatore chiave = Operatore::Potenza;
    static constexpr int arieta = 2;
    static constexpr auto sottotipo = tipoDouble;
    static constexpr auto genere = sempreDouble;
    static int scalare(double a, double b, double &r) noexcept { return reale::potenza(a, b, r); }
    // A constant integral exponent: none, or a pole at base 0 when it is
    // negative. Any other (NaN: a varying one): an edge where the base
    // turns negative.
    static constexpr Rotture rotture(double esponente) noexcept
    {
        if (esponente > -0x1p62 && esponente < 0x1p62 // NaN is not
            && esponente == static_cast<double>(static_cast<long long>(esponente)))
            return esponente < 0 ? Rotture {punto::polo()} : Rotture {};
        return {punto::bordo()};
    }
    // A constant exponent: the power rule, which also holds for a base <= 0
    // (an integral exponent there). A varying one: a^b = e^(b ln a), for a
    // base > 0 only.
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &) noexcept
    {
        if (b.d1 == 0 && b.d2 == 0)
            return getto::catena(a, r, b.v * std::pow(a.v, b.v - 1),
                                 b.v * (b.v - 1) * std::pow(a.v, b.v - 2));
        if (a.v <= 0)
            return {r, NAN, NAN};
        const double ln = std::log(a.v);
        const double u1 = b.d1 * ln + b.v * a.d1 / a.v;
        const double u2 = b.d2 * ln + 2 * b.d1 * a.d1 / a.v
                + b.v * (a.d2 * a.v - a.d1 * a.d1) / (a.v * a.v);
        return {r, r * u1, r * (u1 * u1 + u2)};
    }
};

// a ^ N for a constant N that reale::esponenteIntero takes: chosen by the
// compiler, never looked up. One row for each N, so each runs its own
// unrolled product.
template<int N> struct PotenzaIntera
{
    static constexpr int esponente = N;
    static constexpr Operatore chiave = Operatore::Potenza;
    static constexpr int arieta = 0;
    static constexpr auto genere = sempreDouble;
    static int scalare(double a, double, double &r) noexcept
    {
        return finitoO6(reale::potenzaIntera<N>(a), r);
    }
    static Getto derivata(const Getto &a, const Getto &, double r, bool &) noexcept
    {
        double p = 1; // a^(N-2)
        for (int k = 2; k < N; ++k)
            p *= a.v;
        return getto::catena(a, r, N * p * a.v, N * (N - 1) * p);
    }
};
using Potenza2 = PotenzaIntera<2>;
using Potenza3 = PotenzaIntera<3>;
using Potenza4 = PotenzaIntera<4>;
using Potenza5 = PotenzaIntera<5>;
using Potenza6 = PotenzaIntera<6>;
using Potenza7 = PotenzaIntera<7>;
using Potenza8 = PotenzaIntera<8>;

// The operators of two operands rounded to Longs (\, Mod, the bitwise
// ones): an integral result, constant while both rounded operands are, a
// jump where either rounds the other way, an overflow beyond the Long range.
struct DueLong
{
    static constexpr int arieta = 2;
    static constexpr auto genere = sempreIntero;
    static constexpr Rotture rotture = punto::dueLong;
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &angolo) noexcept
    {
        getto::costante(a, r, getto::mezzoIntero(a.v), angolo);
        return getto::costante(b, r, getto::mezzoIntero(b.v), angolo);
    }
};

// \ and Mod: both operands rounded to a Long (6 beyond), then a Long result;
// the divisor rounding to 0 lies between its levels -1/2 and 1/2.
template<bool kModulo> struct Intera : DueLong
{
    static constexpr Operatore chiave = kModulo ? Operatore::Modulo : Operatore::DivisioneIntera;
    static int scalare(double a, double b, double &r) noexcept
    {
        double la = 0, lb = 0;
        if (const int e = reale::dueLong(a, b, la, lb))
            return e;
        return reale::divisioneIntera(kModulo, la, lb, r);
    }
};
using DivisioneIntera = Intera<false>;
using Modulo = Intera<true>;

// The comparisons of two numbers: True is -1.
template<Operatore Op> struct Confronto
{
    static constexpr Operatore chiave = Op;
    static constexpr int arieta = 2;
    static constexpr auto genere = sempreIntero;
    static int scalare(double a, double b, double &r) noexcept
    {
        r = booleano(reale::confronta(Op, a, b));
        return Nessuno;
    }
    static constexpr Rotture rotture = {punto::salto(Soglia::Zero, Su::Differenza)};
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &angolo) noexcept
    {
        if (a.v == b.v && (a.d1 != b.d1 || a.d2 != b.d2))
            angolo = true;
        return {r, 0, 0};
    }
};
using Uguale = Confronto<Operatore::Uguale>;
using Diverso = Confronto<Operatore::Diverso>;
using Minore = Confronto<Operatore::Minore>;
using Maggiore = Confronto<Operatore::Maggiore>;
using MinoreUguale = Confronto<Operatore::MinoreUguale>;
using MaggioreUguale = Confronto<Operatore::MaggioreUguale>;

// And, Or, Xor, Eqv, Imp on the 32 bits of each operand rounded to a Long.
template<Operatore Op> struct Logica : DueLong
{
    static constexpr Operatore chiave = Op;
    static int scalare(double a, double b, double &r) noexcept
    {
        double la = 0, lb = 0;
        if (const int e = reale::dueLong(a, b, la, lb))
            return e;
        r = reale::bitLogici(Op, static_cast<std::int32_t>(la), static_cast<std::int32_t>(lb));
        return Nessuno;
    }
};
using And = Logica<Operatore::And>;
using Or = Logica<Operatore::Or>;
using Xor = Logica<Operatore::Xor>;
using Eqv = Logica<Operatore::Eqv>;
using Imp = Logica<Operatore::Imp>;

struct Meno
{
    static constexpr Operatore chiave = Operatore::Meno;
    static constexpr int arieta = 1;
    static constexpr auto genere = soloDouble;
    static int scalare(double a, double, double &r) noexcept
    {
        r = -a;
        return Nessuno;
    }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd) noexcept { return -a; }
    static Getto derivata(const Getto &a, const Getto &, double r, bool &) noexcept
    {
        return {r, -a.d1, -a.d2};
    }
};

// An integral subtype never holds -0: -0 is 0.
struct MenoIntero : Meno
{
    static constexpr Genere genere(Genere a, Genere = Genere::No) noexcept
    {
        return a == Genere::Intero ? Genere::Incerto : Genere::No;
    }
    static int scalare(double a, double, double &r) noexcept
    {
        r = -a + 0.0;
        return Nessuno;
    }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd) noexcept { return -a + 0.0; }
};

struct Not
{
    static constexpr Operatore chiave = Operatore::Not;
    static constexpr int arieta = 1;
    static constexpr auto genere = sempreIntero;
    static int scalare(double a, double, double &r) noexcept
    {
        double la = 0;
        if (const int e = reale::aLong(a, la))
            return e;
        r = static_cast<double>(~static_cast<std::int32_t>(la));
        return Nessuno;
    }
    static constexpr Rotture rotture
            = {punto::salto(Soglia::MezzoIntero), punto::oltre(kLimiteLong)};
    static Getto derivata(const Getto &a, const Getto &, double r, bool &angolo) noexcept
    {
        return getto::costante(a, r, getto::mezzoIntero(a.v), angolo);
    }
};

// ---- built-in functions ----

// The derivative rules of the built-ins of one operand: g(a) with value r.
namespace derivata {

inline Getto atn(const Getto &a, double r, bool &) noexcept
{
    const double q = 1 + a.v * a.v;
    return getto::catena(a, r, 1 / q, -2 * a.v / (q * q));
}
inline Getto cos(const Getto &a, double r, bool &) noexcept
{
    return getto::catena(a, r, -std::sin(a.v), -r);
}
inline Getto exp(const Getto &a, double r, bool &) noexcept
{
    return getto::catena(a, r, r, r);
}
inline Getto log(const Getto &a, double r, bool &) noexcept
{
    return getto::catena(a, r, 1 / a.v, -1 / (a.v * a.v));
}
inline Getto sin(const Getto &a, double r, bool &) noexcept
{
    return getto::catena(a, r, std::cos(a.v), -r);
}
// At 0 the slope is infinite: the derivatives are not finite there.
inline Getto sqr(const Getto &a, double r, bool &) noexcept
{
    return getto::catena(a, r, 0.5 / r, -0.25 / (r * a.v));
}
inline Getto tan(const Getto &a, double r, bool &) noexcept
{
    const double g1 = 1 + r * r;
    return getto::catena(a, r, g1, 2 * r * g1);
}
inline Getto identita(const Getto &a, double r, bool &) noexcept
{
    return {r, a.d1, a.d2};
}
// h = Hypot(a, b): h' = (a a' + b b') / h, h'' = (a'^2 + a a'' + b'^2 + b b'' - h'^2) / h;
// at the origin a corner, where they are not finite.
inline Getto hypot(const Getto &a, const Getto &b, double r, bool &) noexcept
{
    const double d1 = (a.v * a.d1 + b.v * b.d1) / r;
    return {r, d1, (a.d1 * a.d1 + a.v * a.d2 + b.d1 * b.d1 + b.v * b.d2 - d1 * d1) / r};
}
// |a|: at a = 0 a corner, with the derivative from the right.
inline Getto abs(const Getto &a, double r, bool &angolo) noexcept
{
    // Without branches: a sweep computes this rule in lanes.
    angolo = angolo | (a.v == 0 && a.d1 != 0);
    const bool crescente = a.v > 0 || (a.v == 0 && (a.d1 > 0 || (a.d1 == 0 && a.d2 >= 0)));
    const double s = crescente ? 1 : -1;
    return {r, s * a.d1, s * a.d2};
}
// The piecewise constant ones, each with where it jumps.
inline Getto intero(const Getto &a, double r, bool &angolo) noexcept // Int
{
    return getto::costante(a, r, getto::intero(a.v), angolo);
}
inline Getto troncato(const Getto &a, double r, bool &angolo) noexcept // Fix
{
    return getto::costante(a, r, a.v != 0 && getto::intero(a.v), angolo);
}
inline Getto arrotondato(const Getto &a, double r, bool &angolo) noexcept // Round, CInt, CLng
{
    return getto::costante(a, r, getto::mezzoIntero(a.v), angolo);
}
inline Getto segno(const Getto &a, double r, bool &angolo) noexcept // Sgn, CBool
{
    return getto::costante(a, r, a.v == 0, angolo);
}

} // namespace derivata

// The built-ins that take one or two Doubles and give a Double: each line
// makes the Variant built-in (Builtin.cpp, its arity that of the reale::
// function), the row of the numeric program and its derivative. Adding such
// a function is one line here, with its reale:: function, its derivative
// rule and where it breaks.
#define ZELVO_FUNZIONI_DOUBLE(Y)                                                                   \
    Y(Atn, reale::arcotangente, derivata::atn, {})                                                 \
    Y(Cos, reale::coseno, derivata::cos, {})                                                       \
    Y(Exp, reale::esponenziale, derivata::exp, {punto::oltre(kLimiteExp)})                         \
    Y(Log, reale::logaritmo, derivata::log, {punto::bordo()})                                      \
    Y(Sin, reale::seno, derivata::sin, {})                                                         \
    Y(Sqr, reale::radice, derivata::sqr, {punto::bordo()})                                         \
    Y(Tan, reale::tangente, derivata::tan, {{Su::Primo, {TipoRottura::Polo, Soglia::PiMezzi}}})    \
    Y(Hypot, reale::ipotenusa, derivata::hypot, {})

// A function of one or two Doubles with its errors (reale::...) and its
// derivative rule, under its name.
template<auto F, Genere (*G)(Genere, Genere), auto D, Rotture R = Rotture {}> struct FunzioneReale
{
    static constexpr Rotture rotture = R;
    static constexpr int arieta = std::is_invocable_v<decltype(F), double, double &> ? 1 : 2;
    static constexpr auto genere = G;
    static int scalare(double a, double b, double &r) noexcept
    {
        if constexpr (arieta == 1)
            return F(a, r);
        else
            return F(a, b, r);
    }
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &angolo) noexcept
    {
        if constexpr (arieta == 1)
            return D(a, r, angolo);
        else
            return D(a, b, r, angolo);
    }
};

#define ZELVO_FUNZIONE(Nome, f, g, d, ...)                                                         \
    struct Nome : FunzioneReale<&f, g, &d, Rotture __VA_ARGS__>                                    \
    {                                                                                              \
        static constexpr std::string_view chiave = #Nome;                                          \
    }

#define ZELVO_FUNZIONE_DOUBLE(Nome, f, d, ...)                                                     \
    ZELVO_FUNZIONE(Nome, f, sempreDouble, d, __VA_ARGS__);
ZELVO_FUNZIONI_DOUBLE(ZELVO_FUNZIONE_DOUBLE)
#undef ZELVO_FUNZIONE_DOUBLE
ZELVO_FUNZIONE(Fix, reale::troncato, comeOperando, derivata::troncato,
               {punto::salto(Soglia::Intero)});
ZELVO_FUNZIONE(Int, reale::parteIntera, comeOperando, derivata::intero,
               {punto::salto(Soglia::Intero)});
ZELVO_FUNZIONE(Sgn, reale::segno, sempreIntero, derivata::segno, {punto::salto(Soglia::Zero)});
ZELVO_FUNZIONE(Round, reale::arrotondato, comeOperando, derivata::arrotondato,
               {punto::salto(Soglia::MezzoIntero)});
ZELVO_FUNZIONE(CInt, reale::interoCInt, sempreIntero, derivata::arrotondato,
               {punto::salto(Soglia::MezzoIntero), punto::oltre(kLimiteInteger)});
ZELVO_FUNZIONE(CLng, reale::interoCLng, sempreIntero, derivata::arrotondato,
               {punto::salto(Soglia::MezzoIntero), punto::oltre(kLimiteLong)});
ZELVO_FUNZIONE(CBool, reale::booleanoCBool, sempreIntero, derivata::segno,
               {punto::salto(Soglia::Zero)});
ZELVO_FUNZIONE(CDbl, reale::doppioCDbl, sempreDouble, derivata::identita, {});

#undef ZELVO_FUNZIONE

// Abs may take a Long beyond its range (Abs(-2147483648) is a Double).
struct Abs : FunzioneReale<&reale::assoluto, comeOperando, &derivata::abs,
                           Rotture {{Su::Primo, {TipoRottura::Angolo, Soglia::Zero}}}>
{
    static constexpr std::string_view chiave = "Abs";
    static constexpr Genere genere(Genere a, Genere = Genere::No) noexcept
    {
        return a == Genere::Double ? a : Genere::Incerto;
    }
    ZELVO_IN_LINEA static Vd corsie(Vd a, Vd) noexcept { return corsie::assoluto(a); }
};

// Round(v, n) of a Double: an integral subtype keeps its value instead.
struct Round2
{
    static constexpr std::string_view chiave = "Round";
    static constexpr int arieta = 2;
    static constexpr Genere genere(Genere a, Genere) noexcept
    {
        return a == Genere::Double ? a : Genere::No;
    }
    static int scalare(double a, double b, double &r) noexcept
    {
        double decimali = 0;
        if (const int e = reale::decimali(b, decimali))
            return e;
        r = reale::arrotonda(a, decimali);
        return Nessuno;
    }
    // n < 0 (5) lies past the level -1/2 of n.
    static constexpr Rotture rotture = {punto::salto(Soglia::MezzoIntero, Su::Scalato),
                                        punto::salto(Soglia::MezzoIntero, Su::Secondo)};
    // Flat between the places where a * 10^n rounds the other way.
    static Getto derivata(const Getto &a, const Getto &b, double r, bool &angolo) noexcept
    {
        getto::costante(b, r, getto::mezzoIntero(b.v), angolo);
        const double scala = std::pow(10.0, std::nearbyint(b.v));
        return getto::costante(a, r, getto::mezzoIntero(a.v * scala), angolo);
    }
};

} // namespace riga

// Where row R breaks; `esponente` is its second operand when a constant, else NaN.
template<class R> constexpr Rotture rottureDi(double esponente) noexcept
{
    if constexpr (requires { R::rotture(esponente); })
        return R::rotture(esponente);
    else if constexpr (requires { R::rotture; })
        return R::rotture;
    else
        return {};
}

// Every row, once: X(Nome, ...) for each.
#define ZELVO_OPERAZIONI(X)                                                                        \
    X(Somma)                                                                                       \
    X(Differenza)                                                                                  \
    X(Prodotto)                                                                                    \
    X(ProdottoIntero)                                                                              \
    X(Quoziente)                                                                                   \
    X(Potenza)                                                                                     \
    X(Potenza2)                                                                                    \
    X(Potenza3)                                                                                    \
    X(Potenza4)                                                                                    \
    X(Potenza5)                                                                                    \
    X(Potenza6)                                                                                    \
    X(Potenza7)                                                                                    \
    X(Potenza8)                                                                                    \
    X(DivisioneIntera)                                                                             \
    X(Modulo)                                                                                      \
    X(Uguale)                                                                                      \
    X(Diverso)                                                                                     \
    X(Minore)                                                                                      \
    X(Maggiore)                                                                                    \
    X(MinoreUguale)                                                                                \
    X(MaggioreUguale)                                                                              \
    X(And)                                                                                         \
    X(Or)                                                                                          \
    X(Xor)                                                                                         \
    X(Eqv)                                                                                         \
    X(Imp)                                                                                         \
    X(Meno)                                                                                        \
    X(MenoIntero)                                                                                  \
    X(Not)                                                                                         \
    X(Abs)                                                                                         \
    ZELVO_FUNZIONI_DOUBLE(X)                                                                       \
    X(Fix)                                                                                         \
    X(Int)                                                                                         \
    X(Sgn)                                                                                         \
    X(Round)                                                                                       \
    X(Round2)                                                                                      \
    X(CInt)                                                                                        \
    X(CLng)                                                                                        \
    X(CBool)                                                                                       \
    X(CDbl)

#define ZELVO_VOCE(Nome, ...) Nome,
enum class Op : std::uint8_t { ZELVO_OPERAZIONI(ZELVO_VOCE) };
#undef ZELVO_VOCE

// How many operands row op takes from its registers: x^N (arity 0) reads
// its constant exponent from the second all the same.
constexpr int arieta(Op op) noexcept
{
    switch (op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome:                                                                                 \
        return riga::Nome::arieta;
        ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
    }
    return 2;
}

// The row of op `chiave` (an Operatore or a built-in's name) with `n`
// operands of kinds a and b, and the kind it gives; Genere::No when no row
// takes them.
struct Scelta
{
    Op op {};
    Genere genere = Genere::No;
};

template<class K> Scelta scegli(K chiave, int n, Genere a, Genere b = Genere::No) noexcept
{
    Scelta s;
#define ZELVO_PROVA(Nome, ...)                                                                     \
    if constexpr (std::is_same_v<std::remove_cv_t<decltype(riga::Nome::chiave)>, K>)               \
        if (s.genere == Genere::No && riga::Nome::arieta == n && riga::Nome::chiave == chiave)     \
            s = {Op::Nome, riga::Nome::genere(a, b)};
    ZELVO_OPERAZIONI(ZELVO_PROVA)
#undef ZELVO_PROVA
    return s;
}

} // namespace zelvo::operazioni
