#include "engine/Interprete.h"

#include "engine/Sintassi.h"

#include <vector>

namespace zelvo {

namespace {

class Albero
{
public:
    Albero(const Script &s, ContestoEsecuzione &c)
        : s_(s)
        , c_(c)
    { }

    // One call of the function: fresh slots, the statements in order.
    int funzione(std::span<const Valore> argomenti, Valore &r)
    {
        if (chiamate_ >= s_.limiteChiamate)
            return StackEsaurito;
        ++chiamate_;
        std::vector<Valore> slot(static_cast<std::size_t>(s_.slot));
        for (std::size_t i = 0; i < argomenti.size(); ++i)
            slot[i + 1] = argomenti[i];
        int e = Nessuno;
        for (const Istruzione &ist : s_.corpo) {
            Valore v;
            e = valuta(ist.espressione, slot, v);
            if (e == Nessuno)
                e = ist.errore;
            if (e != Nessuno)
                break;
            slot[static_cast<std::size_t>(ist.slot)] = std::move(v);
        }
        --chiamate_;
        if (e == Nessuno)
            r = std::move(slot[0]);
        return e;
    }

private:
    const Nodo &nodo(int k) const { return s_.nodi[static_cast<std::size_t>(k)]; }

    int argomenti(const Nodo &n, std::vector<Valore> &slot, std::vector<Valore> &args)
    {
        args.resize(n.argomenti.size());
        for (std::size_t i = 0; i < args.size(); ++i)
            if (const int e = valuta(n.argomenti[i], slot, args[i]))
                return e;
        return Nessuno;
    }

    // Node k's value, charged to the run's text budget.
    int valuta(int k, std::vector<Valore> &slot, Valore &r)
    {
        const int e = valutaNodo(k, slot, r);
        return e != Nessuno ? e : addebita(r, c_);
    }

    int valutaNodo(int k, std::vector<Valore> &slot, Valore &r)
    {
        const Nodo &n = nodo(k);
        switch (n.tipo) {
        case TipoNodo::Costante:
            r = n.valore;
            return Nessuno;
        case TipoNodo::Variabile:
            r = slot[static_cast<std::size_t>(n.slot)];
            return Nessuno;
        case TipoNodo::Binaria: {
            Valore a, b;
            if (const int e = valuta(n.a, slot, a))
                return e;
            if (const int e = valuta(n.b, slot, b))
                return e;
            return operazioneBinaria(n.op, a, b, r, c_.operazioni, nodo(n.a).letterale,
                                     nodo(n.b).letterale);
        }
        case TipoNodo::Unaria: {
            Valore a;
            if (const int e = valuta(n.a, slot, a))
                return e;
            return operazioneUnaria(n.op, a, r, c_.operazioni);
        }
        case TipoNodo::Chiamata: {
            std::vector<Valore> args;
            if (const int e = argomenti(n, slot, args))
                return e;
            return builtin(n.builtin).funzione(args, r, c_);
        }
        case TipoNodo::Ricorsione: {
            std::vector<Valore> args;
            if (const int e = argomenti(n, slot, args))
                return e;
            return funzione(args, r);
        }
        case TipoNodo::Errore: {
            std::vector<Valore> args;
            if (const int e = argomenti(n, slot, args))
                return e;
            return n.errore;
        }
        }
        return ErroreSintassi;
    }

    const Script &s_;
    ContestoEsecuzione &c_;
    int chiamate_ = 0;
};

} // namespace

int eseguiAlbero(const Script &s, std::span<const Valore> argomenti, Valore &r,
                 ContestoEsecuzione &c)
{
    if (static_cast<int>(argomenti.size()) != s.parametri)
        return NumeroArgomentiErrato;
    return Albero(s, c).funzione(argomenti, r);
}

} // namespace zelvo
