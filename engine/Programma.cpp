#include "engine/Programma.h"

#include "engine/Numerico.h"

#include <cmath>

namespace zelvo {

void Programma::compila(const Script &s)
{
    *this = Programma {};
    parametri_ = s.parametri;
    slot_ = s.slot;
    limiteChiamate_ = s.limiteChiamate;
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
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    if (n.tipo == TipoNodo::Variabile)
        return 0;
    if (n.tipo == TipoNodo::Costante)
        return registroCostante_[static_cast<std::size_t>(k)];
    PassoNumerico p {OpNumerica::Meno, 0, 0, false};
    switch (n.tipo) {
    case TipoNodo::Unaria:
        if (n.op == Operatore::Piu)
            return emettiNumerico(s, n.a);
        p.a = emettiNumerico(s, n.a);
        break;
    case TipoNodo::Binaria:
        p.a = emettiNumerico(s, n.a);
        p.b = emettiNumerico(s, n.b);
        p.op = opBinaria(n.op);
        if (n.op == Operatore::Potenza
            && s.nodi[static_cast<std::size_t>(n.b)].tipo == TipoNodo::Costante) {
            const double esponente = s.nodi[static_cast<std::size_t>(n.b)].valore.numero;
            if (esponente == 2)
                p.op = OpNumerica::Quadrato;
            else if (esponente == 3)
                p.op = cuboVeloce() ? OpNumerica::CuboFma : OpNumerica::Cubo;
        }
        break;
    default: // Chiamata
        p.a = emettiNumerico(s, n.argomenti[0]);
        opFunzione(builtin(n.builtin).doppio, p.op);
        break;
    }
    p.aPrecedente = !numerici_.empty() && p.a == primoRisultato_ + numerici_.size() - 1;
    numerici_.push_back(p);
    return primoRisultato_ + static_cast<std::uint32_t>(numerici_.size()) - 1;
}

// ---- Variant program ------------------------------------------------------

void Programma::emettiVariante(const Script &s, int k)
{
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
    case TipoNodo::Binaria:
        emettiVariante(s, n.a);
        emettiVariante(s, n.b);
        p.op = OpVariante::Binaria;
        p.operatore = n.op;
        p.la = s.nodi[static_cast<std::size_t>(n.a)].letterale;
        p.lb = s.nodi[static_cast<std::size_t>(n.b)].letterale;
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
    int chiamate = 0;
    return eseguiVariante(argomenti, r, c, chiamate);
}

int Programma::eseguiVariante(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c,
                              int &chiamate)
{
    if (chiamate >= limiteChiamate_)
        return StackEsaurito;
    ++chiamate;
    // The outermost call reuses the program's buffers, so a sample allocates
    // nothing unless it builds text; calls of F to itself get their own.
    Cornice propria;
    Cornice &cornice = chiamate == 1 ? cornice_ : propria;
    std::vector<Valore> &slot = cornice.slot;
    std::vector<Valore> &pila = cornice.pila;
    slot.assign(static_cast<std::size_t>(slot_), Valore {});
    pila.clear();
    for (std::size_t i = 0; i < argomenti.size(); ++i)
        slot[i + 1] = argomenti[i];
    int e = Nessuno;
    for (const PassoVariante &p : varianti_) {
        switch (p.op) {
        case OpVariante::Costante:
            pila.push_back(costanti_[static_cast<std::size_t>(p.a)]);
            break;
        case OpVariante::Carica:
            pila.push_back(slot[static_cast<std::size_t>(p.a)]);
            break;
        case OpVariante::Binaria: {
            Valore v;
            const std::size_t n = pila.size();
            e = operazioneBinaria(p.operatore, pila[n - 2], pila[n - 1], v, c.operazioni, p.la,
                                  p.lb);
            pila.pop_back();
            pila.back() = std::move(v);
            break;
        }
        case OpVariante::Unaria: {
            Valore v;
            e = operazioneUnaria(p.operatore, pila.back(), v, c.operazioni);
            pila.back() = std::move(v);
            break;
        }
        case OpVariante::Chiamata:
        case OpVariante::Ricorsione:
        case OpVariante::Errore: {
            const std::size_t base = pila.size() - static_cast<std::size_t>(p.b);
            const std::span<const Valore> args(pila.data() + base, static_cast<std::size_t>(p.b));
            Valore v;
            if (p.op == OpVariante::Chiamata)
                e = builtin(p.a).funzione(args, v, c);
            else if (p.op == OpVariante::Ricorsione)
                e = eseguiVariante(args, v, c, chiamate);
            else
                e = p.a;
            pila.resize(base);
            pila.push_back(std::move(v));
            break;
        }
        case OpVariante::Assegna:
            slot[static_cast<std::size_t>(p.a)] = std::move(pila.back());
            pila.pop_back();
            break;
        case OpVariante::Solleva:
            e = p.a;
            break;
        }
        if (e == Nessuno && !pila.empty() && p.op != OpVariante::Assegna)
            e = addebita(pila.back(), c);
        if (e != Nessuno)
            break;
    }
    --chiamate;
    if (e == Nessuno)
        r = std::move(slot[0]);
    return e;
}

} // namespace zelvo
