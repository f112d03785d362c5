#include "engine/ProgrammaVariante.h"

#include "engine/Errori.h"

#include <algorithm>
#include <string>

namespace zelvo {

void ProgrammaVariante::compila(const Script &s)
{
    *this = ProgrammaVariante {};
    parametri_ = s.parametri;
    slot_ = s.slot;
    limiteChiamate_ = s.limiteChiamate;
    ripetibile_ = s.ripetibile;
    for (const Istruzione &ist : s.corpo) {
        switch (ist.tipo) {
        case TipoIstruzione::Assegnazione:
            emetti(s, ist.espressione);
            if (ist.errore != 0)
                passi_.push_back({Op::Solleva, Operatore::Somma, Letterale::No, Letterale::No,
                                  ist.errore, 0});
            else
                passi_.push_back(
                        {Op::Assegna, Operatore::Somma, Letterale::No, Letterale::No, ist.slot, 0});
            break;
        case TipoIstruzione::RiprendiDopoErrore:
        case TipoIstruzione::FermaSuErrore:
            passi_.push_back({Op::Gestione, Operatore::Somma, Letterale::No, Letterale::No,
                              ist.tipo == TipoIstruzione::RiprendiDopoErrore ? 1 : 0, 0});
            break;
        case TipoIstruzione::EsciFunzione:
            passi_.push_back({Op::Esci});
            break;
        case TipoIstruzione::AzzeraErr:
            passi_.push_back({Op::AzzeraErr});
            break;
        }
        prossima_.resize(passi_.size(), static_cast<std::uint32_t>(passi_.size()));
    }
}

void ProgrammaVariante::emetti(const Script &s, int k)
{
    const std::vector<int> catena = catenaSinistra(s, k);
    const Nodo &n = s.nodi[static_cast<std::size_t>(k)];
    Passo p {Op::Costante};
    switch (n.tipo) {
    case TipoNodo::Costante:
        p.a = static_cast<int>(costanti_.size());
        costanti_.push_back(n.valore);
        break;
    case TipoNodo::Variabile:
        p.op = Op::Carica;
        p.a = n.slot;
        break;
    case TipoNodo::Binaria: // the chain's, below
        break;
    case TipoNodo::ErrNumero:
    case TipoNodo::ErrDescrizione:
        p.op = Op::LeggiErr;
        p.a = n.tipo == TipoNodo::ErrNumero ? 0 : 1;
        break;
    case TipoNodo::Unaria:
        emetti(s, n.a);
        p.op = Op::Unaria;
        p.operatore = n.op;
        break;
    case TipoNodo::Chiamata:
    case TipoNodo::Ricorsione:
    case TipoNodo::Errore:
        for (int f : n.argomenti)
            emetti(s, f);
        p.op = n.tipo == TipoNodo::Chiamata
                ? Op::Chiamata
                : (n.tipo == TipoNodo::Ricorsione ? Op::Ricorsione : Op::Errore);
        p.a = n.tipo == TipoNodo::Chiamata ? n.builtin : n.errore;
        p.b = static_cast<int>(n.argomenti.size());
        break;
    }
    passi_.push_back(p);
    for (auto i = catena.rbegin(); i != catena.rend(); ++i) {
        const Nodo &m = s.nodi[static_cast<std::size_t>(*i)];
        emetti(s, m.b);
        passi_.push_back({Op::Binaria, m.op, s.nodi[static_cast<std::size_t>(m.a)].letterale,
                          s.nodi[static_cast<std::size_t>(m.b)].letterale, 0, 0});
    }
}

int ProgrammaVariante::esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c)
{
    if (static_cast<int>(argomenti.size()) != parametri_)
        return NumeroArgomentiErrato;
    // The stack keeps its memory between runs, so a sample allocates nothing
    // unless it builds text.
    pila_.assign(argomenti.begin(), argomenti.end());
    basi_.clear();
    return chiama(0, r, c);
}

// One call of the function, its arguments on the stack from base to the
// top. The call's slots go above them, then its operands; a call of F to
// itself leaves its arguments below the new call, untouched while it runs.
int ProgrammaVariante::chiama(std::size_t base, Valore &r, ContestoEsecuzione &c)
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
    for (std::size_t i = 0; i < passi_.size();) {
        const Passo &p = passi_[i++];
        switch (p.op) {
        case Op::Costante:
            pila_.push_back(costanti_[static_cast<std::size_t>(p.a)]);
            break;
        case Op::Carica: {
            Valore v = pila_[slot + static_cast<std::size_t>(p.a)]; // a copy before the stack grows
            pila_.push_back(std::move(v));
            break;
        }
        case Op::Binaria: {
            Valore v;
            const std::size_t n = pila_.size();
            e = operazioneBinaria(p.operatore, pila_[n - 2], pila_[n - 1], v, c.operazioni, p.la,
                                  p.lb);
            pila_.pop_back();
            pila_.back() = std::move(v);
            break;
        }
        case Op::Unaria: {
            Valore v;
            e = operazioneUnaria(p.operatore, pila_.back(), v, c.operazioni);
            pila_.back() = std::move(v);
            break;
        }
        case Op::Chiamata:
        case Op::Ricorsione:
        case Op::Errore: {
            const std::size_t sotto = pila_.size() - static_cast<std::size_t>(p.b);
            Valore v;
            if (p.op == Op::Chiamata)
                e = builtin(p.a).funzione({pila_.data() + sotto, static_cast<std::size_t>(p.b)}, v,
                                          c);
            else if (p.op == Op::Ricorsione)
                e = chiama(sotto, v, c);
            else
                e = p.a;
            pila_.resize(sotto);
            pila_.push_back(std::move(v));
            break;
        }
        case Op::Assegna:
            pila_[slot + static_cast<std::size_t>(p.a)] = std::move(pila_.back());
            pila_.pop_back();
            break;
        case Op::Solleva:
            e = p.a;
            break;
        case Op::LeggiErr:
            pila_.push_back(
                    p.a == 0 ? Valore::di(Tipo::Long, c.err)
                             : Valore::stringa(c.err == Nessuno
                                                       ? std::string()
                                                       : std::string(messaggioErrore(c.err))));
            break;
        case Op::Gestione:
            riprendi = p.a != 0;
            c.err = Nessuno;
            break;
        case Op::AzzeraErr:
            c.err = Nessuno;
            break;
        case Op::Esci:
            i = passi_.size();
            break;
        }
        if (e == Nessuno && pila_.size() > operandi && p.op != Op::Assegna)
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
