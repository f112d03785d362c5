#include "engine/Programma.h"

#include "engine/Errori.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

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
        switch (ist.tipo) {
        case TipoIstruzione::Assegnazione:
            emettiVariante(s, ist.espressione);
            if (ist.errore != 0)
                varianti_.push_back({OpVariante::Solleva, Operatore::Somma, Letterale::No,
                                     Letterale::No, ist.errore, 0});
            else
                varianti_.push_back({OpVariante::Assegna, Operatore::Somma, Letterale::No,
                                     Letterale::No, ist.slot, 0});
            break;
        case TipoIstruzione::RiprendiDopoErrore:
        case TipoIstruzione::FermaSuErrore:
            varianti_.push_back({OpVariante::Gestione, Operatore::Somma, Letterale::No,
                                 Letterale::No,
                                 ist.tipo == TipoIstruzione::RiprendiDopoErrore ? 1 : 0, 0});
            break;
        case TipoIstruzione::EsciFunzione:
            varianti_.push_back({OpVariante::Esci});
            break;
        case TipoIstruzione::AzzeraErr:
            varianti_.push_back({OpVariante::AzzeraErr});
            break;
        }
        prossima_.resize(varianti_.size(), static_cast<std::uint32_t>(varianti_.size()));
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
    compilaRotture();
    compilaBlocco();
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

int arieta(Op op) noexcept
{
    switch (op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome:                                                                                 \
        return operazioni::riga::Nome::arieta;
        ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
    }
    return 2;
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

void Programma::compilaRotture()
{
    // Which registers hold a constant (the constants, and the instructions
    // on constants only: -1, 1/2), with its value.
    std::vector<char> costante(primoRisultato_, 1);
    costante[0] = 0; // x
    costante.resize(registri_.size(), 0);
    for (std::size_t j = 0; j < passi_.size(); ++j) {
        const Passo &p = passi_[j];
        const bool unaria = arieta(p.op) == 1; // x^N's exponent is a constant register
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
}

Valutazione Programma::eseguiNumerico(double x) noexcept
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
    case TipoNodo::ErrNumero:
    case TipoNodo::ErrDescrizione:
        p.op = OpVariante::LeggiErr;
        p.a = n.tipo == TipoNodo::ErrNumero ? 0 : 1;
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
    if (c.chiamateRestanti <= 0)
        return StackEsaurito;
    --c.chiamateRestanti;
    basi_.push_back(base);
    pila_.resize(slot + static_cast<std::size_t>(slot_));
    for (std::size_t i = 0; base + i < slot; ++i)
        pila_[slot + 1 + i] = pila_[base + i];
    const std::size_t operandi = pila_.size();
    int e = Nessuno;
    bool riprendi = false; // On Error Resume Next, in this call only
    for (std::size_t i = 0; i < varianti_.size();) {
        const PassoVariante &p = varianti_[i++];
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
        case OpVariante::LeggiErr:
            pila_.push_back(
                    p.a == 0 ? Valore::di(Tipo::Long, c.err)
                             : Valore::stringa(c.err == Nessuno
                                                       ? std::string()
                                                       : std::string(messaggioErrore(c.err))));
            break;
        case OpVariante::Gestione:
            riprendi = p.a != 0;
            c.err = Nessuno;
            break;
        case OpVariante::AzzeraErr:
            c.err = Nessuno;
            break;
        case OpVariante::Esci:
            i = varianti_.size();
            break;
        }
        if (e == Nessuno && pila_.size() > operandi && p.op != OpVariante::Assegna)
            e = addebita(pila_.back(), c);
        if (e != Nessuno) {
            if (!riprendi)
                break;
            // The failing statement is dropped with its operands; Err keeps
            // its error and the next statement runs.
            c.err = e;
            e = Nessuno;
            pila_.resize(operandi);
            i = prossima_[i - 1];
        }
    }
    basi_.pop_back();
    if (e == Nessuno)
        r = std::move(pila_[slot]);
    pila_.resize(slot);
    return e;
}

} // namespace zelvo
