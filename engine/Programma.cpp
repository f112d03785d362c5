#include "engine/Programma.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelvo {

using operazioni::Genere;
using operazioni::Op;

static_assert(static_cast<int>(Op::Potenza8) - static_cast<int>(Op::Potenza2) == 6,
              "the rows of x^2 to x^8 follow one another");

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

// What a constant is to the numeric program.
Genere genereCostante(const Valore &v)
{
    switch (v.tipo) {
    case Tipo::Double:
        return Genere::Double;
    case Tipo::Empty: // 0 as an Integer
    case Tipo::Boolean:
    case Tipo::Integer:
    case Tipo::Long:
        return Genere::Intero;
    default: // Single rounds to float, Byte masks its bits: left to Variants
        return Genere::No;
    }
}

} // namespace

bool Programma::compilaNumerico(const Script &s)
{
    if (s.parametri != 1 || s.corpo.size() != 1 || s.corpo[0].slot != 0 || s.corpo[0].errore != 0)
        return false;
    // Each node's row and kind; children precede their parents.
    std::vector<Genere> genere(s.nodi.size(), Genere::No);
    std::vector<Op> op(s.nodi.size(), Op::Somma);
    const auto di = [&](int k) {
        return genere[static_cast<std::size_t>(k)];
    };
    for (std::size_t k = 0; k < s.nodi.size(); ++k) {
        const Nodo &n = s.nodi[k];
        operazioni::Scelta scelta;
        switch (n.tipo) {
        case TipoNodo::Variabile:
            scelta.genere = n.slot == 1 ? Genere::Double : Genere::No; // x
            break;
        case TipoNodo::Costante:
            scelta.genere = genereCostante(n.valore);
            break;
        case TipoNodo::Unaria:
            if (n.op == Operatore::Piu)
                scelta.genere = di(n.a);
            else if (di(n.a) != Genere::No)
                scelta = operazioni::scegli(n.op, 1, di(n.a));
            break;
        case TipoNodo::Binaria: {
            if (di(n.a) == Genere::No || di(n.b) == Genere::No)
                break;
            const Nodo &b = s.nodi[static_cast<std::size_t>(n.b)];
            if (n.op == Operatore::Potenza && b.tipo == TipoNodo::Costante
                && reale::esponenteIntero(b.valore.numero) != 0)
                scelta = {static_cast<Op>(static_cast<int>(Op::Potenza2)
                                          + reale::esponenteIntero(b.valore.numero) - 2),
                          Genere::Double};
            else
                scelta = operazioni::scegli(n.op, 2, di(n.a), di(n.b));
            break;
        }
        case TipoNodo::Chiamata: {
            const std::size_t argomenti = n.argomenti.size();
            if (argomenti < 1 || argomenti > 2
                || std::any_of(n.argomenti.begin(), n.argomenti.end(),
                               [&](int f) { return di(f) == Genere::No; }))
                break;
            scelta = operazioni::scegli(builtin(n.builtin).nome, static_cast<int>(argomenti),
                                        di(n.argomenti[0]),
                                        argomenti == 2 ? di(n.argomenti[1]) : Genere::No);
            break;
        }
        default:
            break;
        }
        genere[k] = scelta.genere;
        op[k] = scelta.op;
    }
    const int radice = s.corpo[0].espressione;
    if (di(radice) == Genere::No)
        return false;
    doppio_ = di(radice) == Genere::Double;
    registri_.assign(1, 0.0); // x
    std::vector<std::uint32_t> registro(s.nodi.size(), 0);
    for (std::size_t k = 0; k < s.nodi.size(); ++k) {
        const Nodo &n = s.nodi[k];
        if (n.tipo == TipoNodo::Costante && genere[k] != Genere::No) {
            registro[k] = static_cast<std::uint32_t>(registri_.size());
            registri_.push_back(n.valore.numero);
        }
    }
    registroCostante_ = std::move(registro);
    primoRisultato_ = static_cast<std::uint32_t>(registri_.size());
    risultato_ = emettiNumerico(s, op, radice);
    registri_.resize(registri_.size() + passi_.size());
    registroCostante_.clear();
    compilaBlocco();
    compilaCodice();
    return true;
}

// Emits node k and returns the register that holds its value; a chain of
// binary operators is emitted from its first operand up, in a loop.
std::uint32_t Programma::emettiNumerico(const Script &s, const std::vector<Op> &op, int k)
{
    const std::vector<int> catena = catenaSinistra(s, k);
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    std::uint32_t r = 0; // x
    if (n.tipo == TipoNodo::Costante)
        r = registroCostante_[static_cast<std::size_t>(k)];
    else if (n.tipo == TipoNodo::Unaria && n.op == Operatore::Piu)
        r = emettiNumerico(s, op, n.a);
    else if (n.tipo == TipoNodo::Unaria)
        r = passo({op[static_cast<std::size_t>(k)], emettiNumerico(s, op, n.a), 0});
    else if (n.tipo == TipoNodo::Chiamata) {
        const std::uint32_t a = emettiNumerico(s, op, n.argomenti[0]);
        const std::uint32_t b = n.argomenti.size() > 1 ? emettiNumerico(s, op, n.argomenti[1]) : 0;
        r = passo({op[static_cast<std::size_t>(k)], a, b});
    }
    for (auto i = catena.rbegin(); i != catena.rend(); ++i) {
        const Nodo &m = s.nodi[static_cast<std::size_t>(*i)];
        r = passo({op[static_cast<std::size_t>(*i)], r, emettiNumerico(s, op, m.b)});
    }
    return r;
}

std::uint32_t Programma::passo(Passo p)
{
    passi_.push_back(p);
    return primoRisultato_ + static_cast<std::uint32_t>(passi_.size()) - 1;
}

// ---- the numeric program's code -------------------------------------------
//
// Each row of the table has its code once for every pair of operand sources,
// so no instruction branches on where its operands are.

namespace {

// Where an operand comes from: P the previous instruction's result, X the
// argument, R a register (a constant or an earlier result).
enum Sorgente : std::uint8_t { P, X, R };

template<Sorgente S>
ZELVO_IN_LINEA double operando(std::uint32_t i, double x, double ultimo, const double *reg) noexcept
{
    if constexpr (S == P)
        return ultimo;
    else if constexpr (S == X)
        return x;
    else
        return reg[i];
}

using Codice = Programma::Codice;

// Row Riga on a and b: its value, or 0 and its error.
template<class Riga> ZELVO_IN_LINEA Valutazione calcola(double a, double b) noexcept
{
    double r = 0;
    const int e = Riga::scalare(a, b, r);
    return {e != Nessuno ? 0.0 : r, e};
}

// What follows an instruction's result: stored for a later instruction and
// the next one's code (Salva), only the next one's code (Segue), or the end
// of the run, whose value it is (Fine).
enum Seguito : std::uint8_t { Salva, Segue, Fine };

// Each instruction's code ends in a call of the next one's, which an
// optimising compiler makes a jump (a tail call).
template<class Riga, Sorgente A, Sorgente B, Seguito S>
ZELVO_IN_LINEA Valutazione corpo(const Codice *c, double x, double ultimo, double *reg) noexcept
{
    const Valutazione v
            = calcola<Riga>(operando<A>(c->a, x, ultimo, reg), operando<B>(c->b, x, ultimo, reg));
    if constexpr (S != Fine) {
        if (v.errore != Nessuno) [[unlikely]]
            return v;
        if constexpr (S == Salva)
            reg[c->r] = v.valore;
        ++c;
        return c->esegui(c, x, v.valore, reg);
    }
    return v;
}

template<class Riga, Sorgente A, Sorgente B, Seguito S>
[[gnu::flatten]] Valutazione istruzione(const Codice *c, double x, double ultimo,
                                        double *reg) noexcept
{
    return corpo<Riga, A, B, S>(c, x, ultimo, reg);
}

// x^N where the processor fuses a multiply and an add: the exact power's
// error terms cost one instruction each instead of a dozen, with a fifth of
// the latency, and the same bits (reale::potenzaEsatta).
#if defined(__x86_64__) && defined(__GNUC__)
#define ZELVO_FMA 1
template<int N> struct PotenzaFma
{
    static int scalare(double a, double, double &r) noexcept
    {
        return operazioni::finitoO6(reale::potenzaIntera<N, true>(a), r);
    }
};

template<int N, Sorgente A, Seguito S>
[[gnu::target("fma"), gnu::flatten]] Valutazione potenzaFma(const Codice *c, double x,
                                                            double ultimo, double *reg) noexcept
{
    return corpo<PotenzaFma<N>, A, X, S>(c, x, ultimo, reg);
}

#define ZELVO_SEGUITI(A) &potenzaFma<N, A, Salva>, &potenzaFma<N, A, Segue>, &potenzaFma<N, A, Fine>
template<int N>
constexpr Programma::Esecutore kPotenzaFma[]
        = {ZELVO_SEGUITI(P), ZELVO_SEGUITI(X), ZELVO_SEGUITI(R)};
#undef ZELVO_SEGUITI

// The code of x^N for N = 2 to 8 from source a, followed by s, is
// kPotenzeFma[N - 2][a * 3 + s].
constexpr const Programma::Esecutore *kPotenzeFma[]
        = {kPotenzaFma<2>, kPotenzaFma<3>, kPotenzaFma<4>, kPotenzaFma<5>,
           kPotenzaFma<6>, kPotenzaFma<7>, kPotenzaFma<8>};

bool conFma() noexcept
{
    static const bool fma = __builtin_cpu_supports("fma");
    return fma;
}
#endif

// F's value when F computes nothing: x or a constant.
template<Sorgente A>
Valutazione valoreFisso(const Codice *c, double x, double ultimo, double *reg) noexcept
{
    return {operando<A>(c->a, x, ultimo, reg), Nessuno};
}

// The end of a stretch: its number rides on a negative error, x in register 0.
Valutazione pausa(const Codice *c, double x, double ultimo, double *reg) noexcept
{
    reg[0] = x;
    return {ultimo, -static_cast<int>(c->a)};
}

// clang-format off
#define ZELVO_FORME(Y, Nome)                                                                       \
    Y(Nome, P, P) Y(Nome, P, X) Y(Nome, P, R)                                                      \
    Y(Nome, X, P) Y(Nome, X, X) Y(Nome, X, R)                                                      \
    Y(Nome, R, P) Y(Nome, R, X) Y(Nome, R, R)
#define ZELVO_FORMA(Nome, A, B)                                                                    \
    &istruzione<operazioni::riga::Nome, A, B, Salva>,                                              \
    &istruzione<operazioni::riga::Nome, A, B, Segue>,                                              \
    &istruzione<operazioni::riga::Nome, A, B, Fine>,
// clang-format on
#define ZELVO_CODICE(Nome, ...) ZELVO_FORME(ZELVO_FORMA, Nome)
// The code of row op for sources a and b followed by s is
// kCodice[(op * 9 + a * 3 + b) * 3 + s].
constexpr Programma::Esecutore kCodice[] = {ZELVO_OPERAZIONI(ZELVO_CODICE)};
#undef ZELVO_CODICE
#undef ZELVO_FORMA
#undef ZELVO_FORME

} // namespace

void Programma::compilaCodice()
{
    const std::size_t n = passi_.size();
    // Where each operand comes from, and which results a later instruction
    // reads from their register.
    std::vector<std::array<Sorgente, 2>> sorgenti(n);
    std::vector<char> letto(n, 0);
    for (std::size_t j = 0; j < n; ++j) {
        const auto precedente = static_cast<std::uint32_t>(primoRisultato_ + j - 1);
        for (int i = 0; i < 2; ++i) {
            const std::uint32_t r = i == 0 ? passi_[j].a : passi_[j].b;
            sorgenti[j][static_cast<std::size_t>(i)]
                    = j > 0 && r == precedente ? P : (r == 0 ? X : R);
            if (sorgenti[j][static_cast<std::size_t>(i)] == R && r >= primoRisultato_)
                letto[r - primoRisultato_] = 1;
        }
    }
    codice_.clear();
    for (std::size_t j = 0; j < n; ++j) {
        if (codice_.size() % kTratto == kTratto - 1)
            codice_.push_back(
                    {pausa, static_cast<std::uint32_t>(codice_.size() / kTratto + 1), 0, 0});
        const Passo &p = passi_[j];
        const auto [a, b] = sorgenti[j];
        const Seguito s = j + 1 == n ? Fine : (letto[j] != 0 ? Salva : Segue);
        Esecutore salto = kCodice[(static_cast<std::size_t>(p.op) * 9 + a * 3u + b) * 3 + s];
#ifdef ZELVO_FMA
        if (p.op >= Op::Potenza2 && p.op <= Op::Potenza8 && conFma())
            salto = kPotenzeFma[static_cast<int>(p.op) - static_cast<int>(Op::Potenza2)][a * 3 + s];
#endif
        codice_.push_back({salto, p.a, p.b, static_cast<std::uint32_t>(primoRisultato_ + j)});
    }
    if (n == 0)
        codice_.push_back({risultato_ == 0 ? valoreFisso<X> : valoreFisso<R>, risultato_, 0, 0});
}

// The stretches after the first, each from where the one before paused.
Valutazione Programma::riprendi(Valutazione v) noexcept
{
    const double x = registri_[0];
    while (v.errore < 0) {
        const Codice *c = codice_.data() + static_cast<std::size_t>(-v.errore) * kTratto;
        v = c->esegui(c, x, v.valore, registri_.data());
    }
    return v;
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
        varianti_.push_back({OpVariante::Binaria, m.op,
                             s.nodi[static_cast<std::size_t>(m.a)].letterale,
                             s.nodi[static_cast<std::size_t>(m.b)].letterale, 0, 0});
    }
}

int Programma::esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c)
{
    if (static_cast<int>(argomenti.size()) != parametri_)
        return NumeroArgomentiErrato;
    if (doppio_ && argomenti[0].tipo == Tipo::Double && std::isfinite(argomenti[0].numero)) {
        const Valutazione v = eseguiNumerico(argomenti[0].numero);
        if (v.errore != Nessuno)
            return v.errore;
        r = Valore::doppio(v.valore);
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
