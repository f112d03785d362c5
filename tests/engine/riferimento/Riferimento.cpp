#include "Riferimento.h"

#include "engine/Errori.h"
#include "engine/Sintassi.h"

#include <cmath>
#include <new>
#include <string>
#include <vector>

namespace zelvo::riferimento {

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
        if (static_cast<int>(inCorso_.size()) >= s_.limiteChiamate)
            return StackEsaurito;
        if (s_.ripetibile)
            for (const std::vector<Valore> &altri : inCorso_)
                if (uguali(altri, argomenti))
                    return StackEsaurito; // it would call itself forever
        if (c_.chiamateRestanti <= 0)
            return StackEsaurito;
        --c_.chiamateRestanti;
        inCorso_.emplace_back(argomenti.begin(), argomenti.end());
        std::vector<Valore> slot(static_cast<std::size_t>(s_.slot));
        for (std::size_t i = 0; i < argomenti.size(); ++i)
            slot[i + 1] = argomenti[i];
        int e = Nessuno;
        bool riprendi = false; // On Error Resume Next, in this call only
        for (const Istruzione &ist : s_.corpo) {
            if (ist.tipo == TipoIstruzione::EsciFunzione)
                break;
            switch (ist.tipo) {
            case TipoIstruzione::Assegnazione: {
                Valore v;
                e = valuta(ist.espressione, slot, v);
                if (e == Nessuno)
                    e = ist.errore;
                if (e == Nessuno)
                    slot[static_cast<std::size_t>(ist.slot)] = std::move(v);
                break;
            }
            case TipoIstruzione::RiprendiDopoErrore:
            case TipoIstruzione::FermaSuErrore:
                riprendi = ist.tipo == TipoIstruzione::RiprendiDopoErrore;
                c_.err = Nessuno;
                break;
            case TipoIstruzione::AzzeraErr:
                c_.err = Nessuno;
                break;
            case TipoIstruzione::EsciFunzione:
                break;
            }
            if (e != Nessuno && riprendi) {
                c_.err = e;
                e = Nessuno;
            }
            if (e != Nessuno)
                break;
        }
        inCorso_.pop_back();
        if (e == Nessuno)
            r = std::move(slot[0]);
        return e;
    }

private:
    static bool uguali(const std::vector<Valore> &a, std::span<const Valore> b)
    {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!stessoValore(a[i], b[i]))
                return false;
        return true;
    }

    const Nodo &nodo(int k) const { return s_.nodi[static_cast<std::size_t>(k)]; }

    int argomenti(const Nodo &n, std::vector<Valore> &slot, std::vector<Valore> &args)
    {
        args.resize(n.argomenti.size());
        for (std::size_t i = 0; i < args.size(); ++i)
            if (const int e = valuta(n.argomenti[i], slot, args[i]))
                return e;
        return Nessuno;
    }

    // Node k's value, each step charged to the run's text budget.
    int valuta(int k, std::vector<Valore> &slot, Valore &r)
    {
        const std::vector<int> catena = catenaSinistra(s_, k);
        int e = valutaNodo(k, slot, r);
        if (e == Nessuno)
            e = addebita(r, c_);
        for (auto i = catena.rbegin(); e == Nessuno && i != catena.rend(); ++i) {
            const Nodo &n = nodo(*i);
            Valore b, v;
            e = valuta(n.b, slot, b);
            if (e == Nessuno)
                e = operazioneBinaria(n.op, r, b, v, c_.operazioni, nodo(n.a).letterale,
                                      nodo(n.b).letterale);
            if (e == Nessuno)
                e = addebita(v, c_);
            r = std::move(v);
        }
        return e;
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
        case TipoNodo::Binaria: // run by valuta
            break;
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
        case TipoNodo::ErrNumero:
            r = Valore::di(Tipo::Long, c_.err);
            return Nessuno;
        case TipoNodo::ErrDescrizione:
            r = Valore::stringa(c_.err == Nessuno ? std::string()
                                                  : std::string(messaggioErrore(c_.err)));
            return Nessuno;
        }
        return ErroreSintassi;
    }

    const Script &s_;
    ContestoEsecuzione &c_;
    std::vector<std::vector<Valore>> inCorso_; // the arguments of the calls running
};

} // namespace

Riferimento::Riferimento(char separatoreDecimale)
    : controllo_(separatoreDecimale)
{
    contesto_.operazioni.separatore = separatoreDecimale;
}

ErroreScript Riferimento::AddCode(std::string_view codice)
{
    ErroreScript e = controllo_.AddCode(codice);
    if (e.numero == 0) {
        Script nuovo;
        compilaScript(codice, contesto_.operazioni, nuovo);
        if (nuovo.haFunzione)
            script_ = std::move(nuovo);
    }
    return e;
}

int Riferimento::Run(std::string_view nome, std::span<const Valore> argomenti, Valore &risultato)
{
    const Script &s = script_;
    if (!s.haFunzione || !stessoNome(s.nome, nome))
        return ProceduraNonDefinita;
    for (const Valore &v : argomenti)
        if (!std::isfinite(v.numero))
            return ErroreOverflow;
    if (static_cast<int>(argomenti.size()) != s.parametri)
        return NumeroArgomentiErrato;
    contesto_.nuovaCorsa();
    try {
        return Albero(s, contesto_).funzione(argomenti, risultato);
    } catch (const std::bad_alloc &) {
        return MemoriaEsaurita;
    }
}

} // namespace zelvo::riferimento
