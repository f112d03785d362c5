#include "engine/ProgrammaNumerico.h"

#include "engine/Builtin.h"
#include "engine/Errori.h"

#include <algorithm>
#include <cmath>

namespace zelvo {

using operazioni::Genere;
using operazioni::Op;

static_assert(static_cast<int>(Op::Potenza8) - static_cast<int>(Op::Potenza2) == 6,
              "the rows of x^2 to x^8 follow one another");

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

bool ProgrammaNumerico::compila(const Script &s)
{
    *this = ProgrammaNumerico {};
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
    risultato_ = emetti(s, op, radice);
    registri_.resize(registri_.size() + passi_.size());
    registroCostante_.clear();
    compilaPeriodo(compilaRotture());
    return true;
}

// Emits node k and returns the register that holds its value; a chain of
// binary operators is emitted from its first operand up, in a loop.
std::uint32_t ProgrammaNumerico::emetti(const Script &s, const std::vector<Op> &op, int k)
{
    const std::vector<int> catena = catenaSinistra(s, k);
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    std::uint32_t r = 0; // x
    if (n.tipo == TipoNodo::Costante)
        r = registroCostante_[static_cast<std::size_t>(k)];
    else if (n.tipo == TipoNodo::Unaria && n.op == Operatore::Piu)
        r = emetti(s, op, n.a);
    else if (n.tipo == TipoNodo::Unaria)
        r = passo({op[static_cast<std::size_t>(k)], emetti(s, op, n.a), 0});
    else if (n.tipo == TipoNodo::Chiamata) {
        const std::uint32_t a = emetti(s, op, n.argomenti[0]);
        const std::uint32_t b = n.argomenti.size() > 1 ? emetti(s, op, n.argomenti[1]) : 0;
        r = passo({op[static_cast<std::size_t>(k)], a, b});
    }
    for (auto i = catena.rbegin(); i != catena.rend(); ++i) {
        const Nodo &m = s.nodi[static_cast<std::size_t>(*i)];
        r = passo({op[static_cast<std::size_t>(*i)], r, emetti(s, op, m.b)});
    }
    return r;
}

std::uint32_t ProgrammaNumerico::passo(Passo p)
{
    passi_.push_back(p);
    return primoRisultato_ + static_cast<std::uint32_t>(passi_.size()) - 1;
}

namespace {

// Row op on a and b: its value in r, or its error.
int passoNumerico(Op op, double a, double b, double &r) noexcept
{
    switch (op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome:                                                                                 \
        return operazioni::riga::Nome::scalare(a, b, r);
        ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
    }
    return Nessuno;
}

// Each row's rotture; Potenza's from its exponent (NaN: not a constant).
operazioni::Rotture rottureRiga(Op op, double esponente) noexcept
{
    switch (op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome:                                                                                 \
        return operazioni::rottureDi<operazioni::riga::Nome>(esponente);
        ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
    }
    return {};
}

} // namespace

std::vector<char> ProgrammaNumerico::compilaRotture()
{
    // Which registers hold a constant (the constants, and the instructions
    // on constants only: -1, 1/2), with its value.
    std::vector<char> costante(primoRisultato_, 1);
    costante[0] = 0; // x
    costante.resize(registri_.size(), 0);
    for (std::size_t j = 0; j < passi_.size(); ++j) {
        const Passo &p = passi_[j];
        const bool unaria = operazioni::arieta(p.op) == 1; // x^N's exponent is a constant register
        const bool fissi = costante[p.a] && (unaria || costante[p.b]);
        const std::size_t r = primoRisultato_ + j;
        if (fissi) {
            costante[r]
                    = passoNumerico(p.op, registri_[p.a], registri_[p.b], registri_[r]) == Nessuno;
            continue; // its operands never move: it never breaks
        }
        const double esponente = !unaria && costante[p.b] ? registri_[p.b] : NAN;
        const operazioni::Rotture rr = rottureRiga(p.op, esponente);
        for (std::uint8_t k = 0; k < rr.n; ++k) {
            const operazioni::PuntoRottura &pr = rr.punti[k];
            const bool muove = pr.su == operazioni::Su::Primo ? !costante[p.a]
                    : pr.su == operazioni::Su::Secondo        ? !costante[p.b]
                                                              : true;
            if (!muove)
                continue;
            rotture_.push_back(pr.rottura);
            siti_.push_back({static_cast<std::uint32_t>(j), pr.su});
        }
    }
    return costante;
}

Valutazione ProgrammaNumerico::esegui(double x) noexcept
{
    double *const reg = registri_.data();
    reg[0] = x;
    double *r = reg + primoRisultato_;
    for (const Passo &p : passi_) {
        if (const int e = passoNumerico(p.op, reg[p.a], reg[p.b], *r++)) [[unlikely]]
            return {0.0, e};
    }
    return {reg[risultato_], Nessuno};
}

} // namespace zelvo
