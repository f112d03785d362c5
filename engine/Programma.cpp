#include "engine/Programma.h"

#include "engine/Numerico.h"

#include <algorithm>
#include <cmath>

namespace zelvo {

void Programma::compila(const Script &s)
{
    *this = Programma {};
    parametri_ = s.parametri;
    slot_ = s.slot;
    limiteChiamate_ = s.limiteChiamate;
    ripetibile_ = s.ripetibile;
    numerico_ = compilaNumerico(s);
    for (const Istruzione &ist : s.corpo) {
        emettiVariante(s, ist.espressione);
        if (ist.errore != 0)
            varianti_.push_back({OpVariante::Solleva, Operatore::Somma, Letterale::No,
                                 Letterale::No, ist.errore, 0});
        else
            varianti_.push_back({OpVariante::Assegna, Operatore::Somma, Letterale::No,
                                 Letterale::No, ist.slot, 0});
    }
}

// ---- numeric program ------------------------------------------------------

namespace {

// A constant the numeric program may hold as a plain double: every numeric
// subtype but Single, whose arithmetic rounds to float.
bool costanteNumerica(const Valore &v)
{
    return numerico(v.tipo) && v.tipo != Tipo::Single;
}

} // namespace

// Marks the nodes that are certainly a Double computed from x and numeric
// constants by operations whose Double form is the Variant one. Children
// precede their parents in the node vector, so one pass in order suffices.
std::vector<char> Programma::nodiNumerici(const Script &s)
{
    OpNumerica op {};
    std::vector<char> num(s.nodi.size(), 0);
    const auto operando = [&](int f) {
        const Nodo &m = s.nodi[static_cast<std::size_t>(f)];
        return num[static_cast<std::size_t>(f)]
                || (m.tipo == TipoNodo::Costante && costanteNumerica(m.valore));
    };
    for (std::size_t k = 0; k < s.nodi.size(); ++k) {
        const Nodo &n = s.nodi[k];
        bool si = false;
        switch (n.tipo) {
        case TipoNodo::Variabile:
            si = n.slot == 1; // x
            break;
        case TipoNodo::Unaria:
            si = (n.op == Operatore::Meno || n.op == Operatore::Piu)
                    && num[static_cast<std::size_t>(n.a)];
            break;
        case TipoNodo::Binaria:
            if (n.op == Operatore::Somma || n.op == Operatore::Differenza
                || n.op == Operatore::Prodotto)
                // A Double with any numeric operand gives a Double.
                si = operando(n.a) && operando(n.b)
                        && (num[static_cast<std::size_t>(n.a)]
                            || num[static_cast<std::size_t>(n.b)]);
            else if (n.op == Operatore::Quoziente || n.op == Operatore::Potenza)
                si = operando(n.a) && operando(n.b);
            break;
        case TipoNodo::Chiamata:
            si = n.argomenti.size() == 1 && num[static_cast<std::size_t>(n.argomenti[0])]
                    && opFunzione(builtin(n.builtin).doppio, op);
            break;
        default:
            break;
        }
        num[k] = si;
    }
    return num;
}

bool Programma::compilaNumerico(const Script &s)
{
    if (s.parametri != 1 || s.corpo.size() != 1 || s.corpo[0].slot != 0 || s.corpo[0].errore != 0
        || !nodiNumerici(s)[static_cast<std::size_t>(s.corpo[0].espressione)])
        return false;
    registri_.assign(1, 0.0); // x
    registroCostante_.assign(s.nodi.size(), 0);
    for (std::size_t k = 0; k < s.nodi.size(); ++k) {
        const Nodo &n = s.nodi[k];
        if (n.tipo == TipoNodo::Costante && costanteNumerica(n.valore)) {
            registroCostante_[k] = static_cast<std::uint32_t>(registri_.size());
            registri_.push_back(n.valore.numero + 0.0);
        }
    }
    primoRisultato_ = static_cast<std::uint32_t>(registri_.size());
    risultato_ = emettiNumerico(s, s.corpo[0].espressione);
    registri_.resize(registri_.size() + numerici_.size());
    // The fused tree recurses at run time, left operands too: a long chain
    // runs step by step instead.
    std::vector<int> altezza(s.nodi.size(), 1);
    for (std::size_t k = 0; k < s.nodi.size(); ++k) {
        const Nodo &n = s.nodi[k];
        for (int f : {n.a, n.b})
            if (f >= 0)
                altezza[k] = std::max(altezza[k], altezza[static_cast<std::size_t>(f)] + 1);
        for (int f : n.argomenti)
            altezza[k] = std::max(altezza[k], altezza[static_cast<std::size_t>(f)] + 1);
    }
    if (altezza[static_cast<std::size_t>(s.corpo[0].espressione)] <= kMaxAltezzaVeloce)
        compilaVeloce(s);
    compilaBlocco();
    return true;
}

namespace {

bool cuboVeloce()
{
#ifdef ZELVO_CUBO_FMA
    return reale::haFma();
#else
    return false;
#endif
}

} // namespace

Programma::OpNumerica Programma::opBinaria(Operatore op)
{
    switch (op) {
    case Operatore::Somma:
        return OpNumerica::Somma;
    case Operatore::Differenza:
        return OpNumerica::Differenza;
    case Operatore::Prodotto:
        return OpNumerica::Prodotto;
    case Operatore::Quoziente:
        return OpNumerica::Quoziente;
    default:
        return OpNumerica::Potenza;
    }
}

// The instruction of a Double function: the builtin table names each one by
// the very function the Variant path calls.
bool Programma::opFunzione(FunzioneDouble f, OpNumerica &op)
{
    struct Voce
    {
        FunzioneDouble f;
        OpNumerica op;
    };
    const Voce voci[] = {
            {reale::assoluto, OpNumerica::Abs},  {reale::arcotangente, OpNumerica::Atn},
            {reale::coseno, OpNumerica::Cos},    {reale::esponenziale, OpNumerica::Exp},
            {reale::troncato, OpNumerica::Fix},  {reale::parteIntera, OpNumerica::Int},
            {reale::logaritmo, OpNumerica::Log}, {reale::seno, OpNumerica::Sin},
            {reale::radice, OpNumerica::Sqr},    {reale::tangente, OpNumerica::Tan},
    };
    for (const Voce &v : voci) {
        if (v.f == f) {
            op = v.op;
            return true;
        }
    }
    return false;
}

// Emits node k and returns the register that holds its value.
std::uint32_t Programma::emettiNumerico(const Script &s, int k)
{
    const std::vector<int> catena = catenaSinistra(s, k);
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    std::uint32_t r = 0; // x
    if (n.tipo == TipoNodo::Costante)
        r = registroCostante_[static_cast<std::size_t>(k)];
    else if (n.tipo == TipoNodo::Unaria && n.op == Operatore::Piu)
        r = emettiNumerico(s, n.a);
    else if (n.tipo == TipoNodo::Unaria)
        r = passoNumerico({OpNumerica::Meno, emettiNumerico(s, n.a), 0, false});
    else if (n.tipo == TipoNodo::Chiamata) {
        PassoNumerico p {OpNumerica::Meno, emettiNumerico(s, n.argomenti[0]), 0, false};
        opFunzione(builtin(n.builtin).doppio, p.op);
        r = passoNumerico(p);
    }
    for (auto i = catena.rbegin(); i != catena.rend(); ++i) {
        const Nodo &m = s.nodi[static_cast<std::size_t>(*i)];
        PassoNumerico p {opBinaria(m.op), r, emettiNumerico(s, m.b), false};
        if (m.op == Operatore::Potenza
            && s.nodi[static_cast<std::size_t>(m.b)].tipo == TipoNodo::Costante) {
            const double esponente = s.nodi[static_cast<std::size_t>(m.b)].valore.numero;
            if (esponente == 2)
                p.op = OpNumerica::Quadrato;
            else if (esponente == 3)
                p.op = cuboVeloce() ? OpNumerica::CuboFma : OpNumerica::Cubo;
        }
        r = passoNumerico(p);
    }
    return r;
}

std::uint32_t Programma::passoNumerico(PassoNumerico p)
{
    p.aPrecedente = !numerici_.empty() && p.a == primoRisultato_ + numerici_.size() - 1;
    numerici_.push_back(p);
    return primoRisultato_ + static_cast<std::uint32_t>(numerici_.size()) - 1;
}

// Step by step, stopping at the first error.
int Programma::eseguiControllato(double x, double &r) noexcept
{
    using reale::finito;
    double *const reg = registri_.data();
    reg[0] = x;
    double *out = reg + primoRisultato_;
    double precedente = 0; // the last result, also kept in a register
    for (const PassoNumerico &p : numerici_) {
        const double a = p.aPrecedente ? precedente : reg[p.a];
        double v = 0;
        int e = Nessuno;
        switch (p.op) {
        case OpNumerica::Somma:
            v = a + reg[p.b];
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Differenza:
            v = a - reg[p.b];
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Prodotto:
            v = a * reg[p.b];
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Quoziente:
            e = reale::quoziente(a, reg[p.b], v);
            break;
        case OpNumerica::Potenza:
            e = reale::potenza(a, reg[p.b], v);
            break;
        case OpNumerica::Quadrato:
            v = reale::quadrato(a);
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Cubo:
            v = reale::cubo(a);
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::CuboFma:
#ifdef ZELVO_CUBO_FMA
            v = reale::cuboFma(a);
#else
            v = reale::cubo(a);
#endif
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Meno:
            v = -a;
            break;
        case OpNumerica::Abs:
            e = reale::assoluto(a, v);
            break;
        case OpNumerica::Atn:
            e = reale::arcotangente(a, v);
            break;
        case OpNumerica::Cos:
            e = reale::coseno(a, v);
            break;
        case OpNumerica::Exp:
            e = reale::esponenziale(a, v);
            break;
        case OpNumerica::Fix:
            e = reale::troncato(a, v);
            break;
        case OpNumerica::Int:
            e = reale::parteIntera(a, v);
            break;
        case OpNumerica::Log:
            e = reale::logaritmo(a, v);
            break;
        case OpNumerica::Sin:
            e = reale::seno(a, v);
            break;
        case OpNumerica::Sqr:
            e = reale::radice(a, v);
            break;
        case OpNumerica::Tan:
            e = reale::tangente(a, v);
            break;
        default:
            __builtin_unreachable(); // every instruction is listed above
        }
        if (e != Nessuno)
            return e;
        *out++ = v;
        precedente = v;
    }
    r = reg[risultato_];
    return Nessuno;
}

// ---- fused tree -------------------------------------------------------------
//
// The numeric program again, as a tree whose nodes each do one operation on
// x, constants or their children's values, chosen once here: a sample makes
// one indirect call per operation, keeps every value in registers and
// branches on failure once, at the end. Each node calls the same checked
// function as the step it mirrors, so a sample that does not fail has the
// same bits; one that fails runs again step by step for its first error.

namespace {

using NodoVeloce = Programma::NodoVeloce;
using Esito = Programma::Esito;
using FunzioneVeloce = Programma::FunzioneVeloce;

using Da = Programma::DaVeloce;

// m * x + q, the value of x + k, x - k, k - x, k * x and the same with -x:
// m is 1 or -1 (an exact product) or q is -0 (an exact sum, even for a zero
// product), so the one rounding is the original operation's, fused or not.
[[gnu::always_inline]] inline Esito lineare(const NodoVeloce *n, double x) noexcept
{
    const double v = n->ka * x + n->kb;
    return {v, reale::finito(v) ? 0u : 1u};
}

Esito nodoLineare(const NodoVeloce *n, double x) noexcept
{
    return lineare(n, x);
}

template<Da da, bool primo>
[[gnu::always_inline]] inline Esito operando(const NodoVeloce *n, double x) noexcept
{
    if constexpr (da == Da::X)
        return {x, 0};
    else if constexpr (da == Da::MenoX)
        return {-x, 0};
    else if constexpr (da == Da::K)
        return {primo ? n->ka : n->kb, 0};
    else if constexpr (da == Da::Lineare)
        return lineare(n + (primo ? n->a : n->b), x);
    else {
        const NodoVeloce *figlio = n + (primo ? n->a : n->b);
        return figlio->f(figlio, x);
    }
}

inline unsigned guasto(int errore) noexcept
{
    return errore != Nessuno ? 1u : 0u;
}

inline unsigned traboccato(double v) noexcept
{
    return reale::finito(v) ? 0u : 1u;
}

struct Somma
{
    static double f(double a, double b, unsigned &g) noexcept
    {
        const double v = a + b;
        g |= traboccato(v);
        return v;
    }
};

struct Differenza
{
    static double f(double a, double b, unsigned &g) noexcept
    {
        const double v = a - b;
        g |= traboccato(v);
        return v;
    }
};

struct Prodotto
{
    static double f(double a, double b, unsigned &g) noexcept
    {
        const double v = a * b;
        g |= traboccato(v);
        return v;
    }
};

struct Quoziente
{
    static double f(double a, double b, unsigned &g) noexcept
    {
        double v = 0;
        g |= guasto(reale::quoziente(a, b, v));
        return v;
    }
};

struct Potenza
{
    static double f(double a, double b, unsigned &g) noexcept
    {
        double v = 0;
        g |= guasto(reale::potenza(a, b, v));
        return v;
    }
};

struct Identita // F = x
{
    static double f(double a, unsigned &) noexcept { return a; }
};

struct Meno
{
    static double f(double a, unsigned &) noexcept { return -a; }
};

struct Quadrato
{
    static double f(double a, unsigned &g) noexcept
    {
        const double v = reale::quadrato(a);
        g |= traboccato(v);
        return v;
    }
};

struct Cubo
{
    static double f(double a, unsigned &g) noexcept
    {
        const double v = reale::cubo(a);
        g |= traboccato(v);
        return v;
    }
};

template<FunzioneDouble funzione> struct Reale
{
    static double f(double a, unsigned &g) noexcept
    {
        double v = 0;
        g |= guasto(funzione(a, v));
        return v;
    }
};

template<class Op, Da da, Da db> Esito binaria(const NodoVeloce *n, double x) noexcept
{
    const Esito a = operando<da, true>(n, x);
    const Esito b = operando<db, false>(n, x);
    unsigned g = a.guasto | b.guasto;
    const double v = Op::f(a.v, b.v, g);
    return {v, g};
}

template<class Op, Da da> Esito unaria(const NodoVeloce *n, double x) noexcept
{
    const Esito a = operando<da, true>(n, x);
    unsigned g = a.guasto;
    const double v = Op::f(a.v, g);
    return {v, g};
}

// Every kind of operand has its row and column below.
constexpr int kDa = static_cast<int>(Da::Lineare) + 1;

#define ZELVO_DA(Op, a)                                                                            \
    binaria<Op, a, Da::X>, binaria<Op, a, Da::K>, binaria<Op, a, Da::N>,                           \
            binaria<Op, a, Da::MenoX>, binaria<Op, a, Da::Lineare>

template<class Op> FunzioneVeloce binariaDa(Da a, Da b)
{
    static constexpr FunzioneVeloce tavola[kDa][kDa] = {
            {ZELVO_DA(Op, Da::X)},     {ZELVO_DA(Op, Da::K)},       {ZELVO_DA(Op, Da::N)},
            {ZELVO_DA(Op, Da::MenoX)}, {ZELVO_DA(Op, Da::Lineare)},
    };
    return tavola[static_cast<int>(a)][static_cast<int>(b)];
}

#undef ZELVO_DA

template<class Op> FunzioneVeloce unariaDa(Da a)
{
    static constexpr FunzioneVeloce tavola[kDa]
            = {unaria<Op, Da::X>, unaria<Op, Da::K>, unaria<Op, Da::N>, unaria<Op, Da::MenoX>,
               unaria<Op, Da::Lineare>};
    return tavola[static_cast<int>(a)];
}

#ifdef ZELVO_CUBO_FMA
// x^2 and x^3 on a processor with fused multiply-add: nodes compiled for it,
// so the exact products are inlined (same exact values, same bits).
template<Da da> [[gnu::target("fma")]] Esito quadratoFma(const NodoVeloce *n, double x) noexcept
{
    const Esito a = operando<da, true>(n, x);
    const double v = reale::quadratoFma(a.v);
    return {v, a.guasto | traboccato(v)};
}

template<Da da> [[gnu::target("fma")]] Esito cuboFma(const NodoVeloce *n, double x) noexcept
{
    const Esito a = operando<da, true>(n, x);
    const double v = reale::cuboFma(a.v);
    return {v, a.guasto | traboccato(v)};
}
#endif

// The node of a ^ 2 (cubo false) or a ^ 3 (cubo true).
FunzioneVeloce potenzaPiccolaDa(bool cubo, Da a)
{
#ifdef ZELVO_CUBO_FMA
    if (cuboVeloce()) {
        static constexpr FunzioneVeloce quadrati[kDa]
                = {quadratoFma<Da::X>, quadratoFma<Da::K>, quadratoFma<Da::N>,
                   quadratoFma<Da::MenoX>, quadratoFma<Da::Lineare>};
        static constexpr FunzioneVeloce cubi[kDa] = {cuboFma<Da::X>, cuboFma<Da::K>, cuboFma<Da::N>,
                                                     cuboFma<Da::MenoX>, cuboFma<Da::Lineare>};
        return (cubo ? cubi : quadrati)[static_cast<int>(a)];
    }
#endif
    return cubo ? unariaDa<Cubo>(a) : unariaDa<Quadrato>(a);
}

} // namespace

// The fused tree of the numeric program, the root first.
void Programma::compilaVeloce(const Script &s)
{
    veloci_.clear();
    const OperandoVeloce radice = emettiVeloce(s, s.corpo[0].espressione);
    if (radice.da != Da::N && radice.da != Da::Lineare) // F = x, F = -x
        veloci_.push_back({unariaDa<Identita>(radice.da), 0, 0, radice.k, 0});
}

// Emits node k when it is an operation and tells where its value comes from.
Programma::OperandoVeloce Programma::emettiVeloce(const Script &s, int k)
{
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    if (n.tipo == TipoNodo::Variabile)
        return {Da::X, 0, 0};
    if (n.tipo == TipoNodo::Costante)
        return {Da::K, n.valore.numero + 0.0, 0}; // as its register holds it
    if (n.tipo == TipoNodo::Unaria && n.op == Operatore::Piu)
        return emettiVeloce(s, n.a);
    if (n.tipo == TipoNodo::Unaria
        && s.nodi[static_cast<std::size_t>(n.a)].tipo == TipoNodo::Variabile)
        return {Da::MenoX, 0, 0}; // -x, read in place like x
    const std::size_t indice = veloci_.size();
    veloci_.push_back({});
    OperandoVeloce a;
    OperandoVeloce b;
    FunzioneVeloce f = nullptr;
    switch (n.tipo) {
    case TipoNodo::Unaria: // Meno
        a = emettiVeloce(s, n.a);
        f = unariaDa<Meno>(a.da);
        break;
    case TipoNodo::Binaria:
        a = emettiVeloce(s, n.a);
        b = emettiVeloce(s, n.b);
        if (double m = 0, q = 0; lineare(n.op, a, b, m, q)) {
            veloci_[indice] = {nodoLineare, 0, 0, m, q};
            return {Da::Lineare, 0, indice};
        }
        switch (opBinaria(n.op)) {
        case OpNumerica::Somma:
            f = binariaDa<Somma>(a.da, b.da);
            break;
        case OpNumerica::Differenza:
            f = binariaDa<Differenza>(a.da, b.da);
            break;
        case OpNumerica::Prodotto:
            f = binariaDa<Prodotto>(a.da, b.da);
            break;
        case OpNumerica::Quoziente:
            f = binariaDa<Quoziente>(a.da, b.da);
            break;
        default:
            f = binariaDa<Potenza>(a.da, b.da);
            break;
        }
        // The same choice as the step-by-step program makes.
        if (n.op == Operatore::Potenza
            && s.nodi[static_cast<std::size_t>(n.b)].tipo == TipoNodo::Costante) {
            const double esponente = s.nodi[static_cast<std::size_t>(n.b)].valore.numero;
            if (esponente == 2 || esponente == 3)
                f = potenzaPiccolaDa(esponente == 3, a.da);
        }
        break;
    default: { // Chiamata
        a = emettiVeloce(s, n.argomenti[0]);
        OpNumerica op {};
        opFunzione(builtin(n.builtin).doppio, op);
        f = unariaDi(op, a.da);
        break;
    }
    }
    NodoVeloce &nodo = veloci_[indice];
    nodo.f = f;
    if (a.da == Da::N || a.da == Da::Lineare)
        nodo.a = static_cast<std::int32_t>(a.indice) - static_cast<std::int32_t>(indice);
    nodo.ka = a.k;
    if (b.da == Da::N || b.da == Da::Lineare)
        nodo.b = static_cast<std::int32_t>(b.indice) - static_cast<std::int32_t>(indice);
    nodo.kb = b.k;
    return {Da::N, 0, indice};
}

// Whether a op b is m * x + q with the same bits (see lineare above).
bool Programma::lineare(Operatore op, const OperandoVeloce &a, const OperandoVeloce &b, double &m,
                        double &q)
{
    const auto segnoX = [](const OperandoVeloce &o) {
        return o.da == Da::X ? 1.0 : (o.da == Da::MenoX ? -1.0 : 0.0);
    };
    const bool xk = segnoX(a) != 0 && b.da == Da::K;
    const bool kx = a.da == Da::K && segnoX(b) != 0;
    if (!xk && !kx)
        return false;
    const double sx = xk ? segnoX(a) : segnoX(b);
    const double k = xk ? b.k : a.k;
    switch (op) {
    case Operatore::Somma:
        m = sx;
        q = k;
        return true;
    case Operatore::Differenza: // x - k is x + (-k), k - x is k + (-x)
        m = xk ? sx : -sx;
        q = xk ? -k : k;
        return true;
    case Operatore::Prodotto: // (-x) * k is x * (-k): negation is exact
        m = sx * k;
        q = -0.0;
        return true;
    default:
        return false;
    }
}

Programma::FunzioneVeloce Programma::unariaDi(OpNumerica op, DaVeloce a)
{
    switch (op) {
    case OpNumerica::Abs:
        return unariaDa<Reale<reale::assoluto>>(a);
    case OpNumerica::Atn:
        return unariaDa<Reale<reale::arcotangente>>(a);
    case OpNumerica::Cos:
        return unariaDa<Reale<reale::coseno>>(a);
    case OpNumerica::Exp:
        return unariaDa<Reale<reale::esponenziale>>(a);
    case OpNumerica::Fix:
        return unariaDa<Reale<reale::troncato>>(a);
    case OpNumerica::Int:
        return unariaDa<Reale<reale::parteIntera>>(a);
    case OpNumerica::Log:
        return unariaDa<Reale<reale::logaritmo>>(a);
    case OpNumerica::Sin:
        return unariaDa<Reale<reale::seno>>(a);
    case OpNumerica::Sqr:
        return unariaDa<Reale<reale::radice>>(a);
    default:
        return unariaDa<Reale<reale::tangente>>(a);
    }
}

// ---- Variant program ------------------------------------------------------

void Programma::emettiVariante(const Script &s, int k)
{
    const std::vector<int> catena = catenaSinistra(s, k);
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    PassoVariante p {OpVariante::Costante};
    switch (n.tipo) {
    case TipoNodo::Costante:
        p.a = static_cast<int>(costanti_.size());
        costanti_.push_back(n.valore);
        break;
    case TipoNodo::Variabile:
        p.op = OpVariante::Carica;
        p.a = n.slot;
        break;
    case TipoNodo::Binaria: // the chain's, below
        break;
    case TipoNodo::Unaria:
        emettiVariante(s, n.a);
        p.op = OpVariante::Unaria;
        p.operatore = n.op;
        break;
    case TipoNodo::Chiamata:
    case TipoNodo::Ricorsione:
    case TipoNodo::Errore:
        for (int f : n.argomenti)
            emettiVariante(s, f);
        p.op = n.tipo == TipoNodo::Chiamata
                ? OpVariante::Chiamata
                : (n.tipo == TipoNodo::Ricorsione ? OpVariante::Ricorsione : OpVariante::Errore);
        p.a = n.tipo == TipoNodo::Chiamata ? n.builtin : n.errore;
        p.b = static_cast<int>(n.argomenti.size());
        break;
    }
    varianti_.push_back(p);
    for (auto i = catena.rbegin(); i != catena.rend(); ++i) {
        const Nodo &m = s.nodi[static_cast<std::size_t>(*i)];
        emettiVariante(s, m.b);
        varianti_.push_back({OpVariante::Binaria, m.op, s.nodi[static_cast<std::size_t>(m.a)].letterale,
                             s.nodi[static_cast<std::size_t>(m.b)].letterale, 0, 0});
    }
}

int Programma::esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c)
{
    if (static_cast<int>(argomenti.size()) != parametri_)
        return NumeroArgomentiErrato;
    if (numerico_ && argomenti[0].tipo == Tipo::Double && std::isfinite(argomenti[0].numero)) {
        double v = 0;
        if (const int e = eseguiNumerico(argomenti[0].numero, v))
            return e;
        r = Valore::doppio(v);
        return Nessuno;
    }
    // The stack keeps its memory between runs, so a sample allocates nothing
    // unless it builds text.
    pila_.assign(argomenti.begin(), argomenti.end());
    basi_.clear();
    return chiamaVariante(0, r, c);
}

// One call of the function, its arguments on the stack from base to the
// top. The call's slots go above them, then its operands; a call of F to
// itself leaves its arguments below the new call, untouched while it runs.
int Programma::chiamaVariante(std::size_t base, Valore &r, ContestoEsecuzione &c)
{
    if (static_cast<int>(basi_.size()) >= limiteChiamate_)
        return StackEsaurito;
    const std::size_t slot = pila_.size();
    if (ripetibile_)
        for (const std::size_t altra : basi_)
            if (std::equal(pila_.begin() + static_cast<std::ptrdiff_t>(altra),
                           pila_.begin() + static_cast<std::ptrdiff_t>(altra + slot - base),
                           pila_.begin() + static_cast<std::ptrdiff_t>(base), stessoValore))
                return StackEsaurito; // it would call itself forever
    basi_.push_back(base);
    pila_.resize(slot + static_cast<std::size_t>(slot_));
    for (std::size_t i = 0; base + i < slot; ++i)
        pila_[slot + 1 + i] = pila_[base + i];
    const std::size_t operandi = pila_.size();
    int e = Nessuno;
    for (const PassoVariante &p : varianti_) {
        switch (p.op) {
        case OpVariante::Costante:
            pila_.push_back(costanti_[static_cast<std::size_t>(p.a)]);
            break;
        case OpVariante::Carica: {
            Valore v = pila_[slot + static_cast<std::size_t>(p.a)]; // a copy before the stack grows
            pila_.push_back(std::move(v));
            break;
        }
        case OpVariante::Binaria: {
            Valore v;
            const std::size_t n = pila_.size();
            e = operazioneBinaria(p.operatore, pila_[n - 2], pila_[n - 1], v, c.operazioni, p.la,
                                  p.lb);
            pila_.pop_back();
            pila_.back() = std::move(v);
            break;
        }
        case OpVariante::Unaria: {
            Valore v;
            e = operazioneUnaria(p.operatore, pila_.back(), v, c.operazioni);
            pila_.back() = std::move(v);
            break;
        }
        case OpVariante::Chiamata:
        case OpVariante::Ricorsione:
        case OpVariante::Errore: {
            const std::size_t sotto = pila_.size() - static_cast<std::size_t>(p.b);
            Valore v;
            if (p.op == OpVariante::Chiamata)
                e = builtin(p.a).funzione({pila_.data() + sotto, static_cast<std::size_t>(p.b)}, v,
                                          c);
            else if (p.op == OpVariante::Ricorsione)
                e = chiamaVariante(sotto, v, c);
            else
                e = p.a;
            pila_.resize(sotto);
            pila_.push_back(std::move(v));
            break;
        }
        case OpVariante::Assegna:
            pila_[slot + static_cast<std::size_t>(p.a)] = std::move(pila_.back());
            pila_.pop_back();
            break;
        case OpVariante::Solleva:
            e = p.a;
            break;
        }
        if (e == Nessuno && pila_.size() > operandi && p.op != OpVariante::Assegna)
            e = addebita(pila_.back(), c);
        if (e != Nessuno)
            break;
    }
    basi_.pop_back();
    if (e == Nessuno)
        r = std::move(pila_[slot]);
    pila_.resize(slot);
    return e;
}

} // namespace zelvo
