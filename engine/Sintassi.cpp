#include "engine/Sintassi.h"

#include "engine/Builtin.h"
#include "engine/Lessico.h"
#include "engine/Nomi.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelvo {

namespace {

struct ErroreCompilazione
{
    int numero;
    int posizione;
};

// A name as written, before resolution.
struct Riferimento
{
    std::string_view nome;
    bool parentesi = false; // written as a call: nome(...)
};

class Compilatore
{
public:
    Compilatore(std::vector<Gettone> gettoni, const ContestoOperazioni &c, Script &s)
        : g_(std::move(gettoni))
        , c_(c)
        , s_(s)
    { }

    // script := [Option Explicit] { Function ... End Function }, with empty
    // statements anywhere; at most one Function.
    void script()
    {
        saltaFini();
        if (vede(Simbolo::Option)) {
            avanza();
            atteso(Simbolo::Explicit, ErroreSintassi);
            esplicito_ = true;
            fineIstruzione();
        }
        for (saltaFini(); !vede(Simbolo::Fine); saltaFini()) {
            if (!vede(Simbolo::Function) || s_.haFunzione)
                throw ErroreCompilazione {ErroreSintassi, pos()};
            funzione();
        }
    }

private:
    // function := Function nome [( [nome {, nome}] )] fine {statement} End Function
    void funzione()
    {
        avanza();
        const Gettone &n = atteso(Simbolo::Nome, PrevistoIdentificatore);
        s_.haFunzione = true;
        s_.nome = std::string(n.testo);
        dichiara(n.testo, n.posizione); // slot 0: the return value
        if (vede(Simbolo::ParentesiAperta)) {
            avanza();
            if (!vede(Simbolo::ParentesiChiusa)) {
                do {
                    const Gettone &p = atteso(Simbolo::Nome, PrevistoIdentificatore);
                    dichiara(p.testo, p.posizione);
                    ++s_.parametri;
                } while (accetta(Simbolo::Virgola));
            }
            atteso(Simbolo::ParentesiChiusa, PrevistaParentesiChiusa);
        }
        fineIstruzione();
        for (;;) {
            saltaFini();
            if (vede(Simbolo::Fine))
                throw ErroreCompilazione {PrevistoEnd, pos()};
            if (accetta(Simbolo::End)) {
                atteso(Simbolo::Function, ErroreSintassi);
                fineIstruzione();
                break;
            }
            istruzione();
        }
        risolviTutto();
    }

    // statement := Dim nome {, nome} | nome = expression
    //            | On Error Resume Next | On Error GoTo 0 | Exit Function
    //            | Err.Clear [()]
    void istruzione()
    {
        if (vede(Simbolo::On) || vede(Simbolo::Exit) || vede(Simbolo::Err)) {
            Istruzione ist;
            ist.posizione = pos();
            ist.tipo = controllo();
            fineIstruzione();
            destinazioni_.emplace_back();
            s_.corpo.push_back(ist);
            return;
        }
        if (accetta(Simbolo::Dim)) {
            do {
                const Gettone &n = atteso(Simbolo::Nome, PrevistoIdentificatore);
                if (cercaBuiltin(n.testo) >= 0 || cercaCostante(n.testo))
                    throw ErroreCompilazione {NomeRidefinito, n.posizione};
                dichiara(n.testo, n.posizione);
            } while (accetta(Simbolo::Virgola));
            fineIstruzione();
            return;
        }
        if (!vede(Simbolo::Nome))
            throw ErroreCompilazione {ErroreSintassi, pos()};
        const Gettone &n = g_[i_];
        avanza();
        if (!(vede(Simbolo::Operatore) && g_[i_].op == Operatore::Uguale))
            throw ErroreCompilazione {PrevistoUguale, pos()};
        avanza();
        Istruzione ist;
        ist.posizione = n.posizione;
        ist.espressione = espressione(1);
        fineIstruzione();
        destinazioni_.push_back(n.testo);
        s_.corpo.push_back(ist);
    }

    // The statements that steer a call rather than compute.
    TipoIstruzione controllo()
    {
        if (accetta(Simbolo::Exit)) {
            atteso(Simbolo::Function, ErroreSintassi);
            return TipoIstruzione::EsciFunzione;
        }
        if (accetta(Simbolo::Err)) {
            atteso(Simbolo::Punto, ErroreSintassi);
            const Gettone &m = atteso(Simbolo::Nome, PrevistoIdentificatore);
            if (!stessoNome(m.testo, "clear"))
                throw ErroreCompilazione {ErroreSintassi, m.posizione};
            if (accetta(Simbolo::ParentesiAperta))
                atteso(Simbolo::ParentesiChiusa, PrevistaParentesiChiusa);
            return TipoIstruzione::AzzeraErr;
        }
        avanza(); // On
        atteso(Simbolo::Error, ErroreSintassi);
        if (accetta(Simbolo::Resume)) {
            atteso(Simbolo::Next, ErroreSintassi);
            return TipoIstruzione::RiprendiDopoErrore;
        }
        atteso(Simbolo::GoTo, ErroreSintassi);
        const Gettone &zero = atteso(Simbolo::Letterale, ErroreSintassi);
        if (zero.valore.tipo != Tipo::Integer || zero.valore.numero != 0)
            throw ErroreCompilazione {ErroreSintassi, zero.posizione}; // no labels
        return TipoIstruzione::FermaSuErrore;
    }

    // expression(minimo) := operand { binop expression(level(binop) + 1) }
    // for the binary operators of level >= minimo: precedence climbing.
    int espressione(int minimo)
    {
        Annidamento a(*this);
        int sinistro = operando(minimo);
        while (vede(Simbolo::Operatore)) {
            const RigaOperatore &r = rigaOperatore(g_[i_].op);
            if (r.infisso == 0 || r.infisso < minimo)
                break;
            const int posizione = pos();
            avanza();
            const int destro = espressione(
                    r.associativita == Associativita::Sinistra ? r.infisso + 1 : r.infisso);
            sinistro = nodoBinario(r.op, sinistro, destro, posizione);
        }
        return sinistro;
    }

    // operand := Not expression(level of Not) | signed
    // Not binds looser than the comparisons, so "1 + Not 0" is refused.
    int operando(int minimo)
    {
        if (vede(Simbolo::Operatore) && g_[i_].op == Operatore::Not) {
            const int livello = rigaOperatore(Operatore::Not).prefisso;
            if (minimo > livello)
                throw ErroreCompilazione {PrevistaEspressione, pos()};
            const int posizione = pos();
            avanza();
            return nodoUnario(Operatore::Not, espressione(livello), posizione);
        }
        return segno();
    }

    // signed := sign signed | primary, for the prefix operators other than
    // Not (the signs), which bind tighter than every binary operator.
    int segno()
    {
        const Operatore op = vede(Simbolo::Operatore) ? prefisso(g_[i_].op) : Operatore::Not;
        if (op != Operatore::Not && rigaOperatore(op).prefisso != 0) {
            Annidamento a(*this);
            const int posizione = pos();
            avanza();
            const int operando = segno();
            if (op == Operatore::Meno && vede(Simbolo::Operatore)
                && g_[i_].op == Operatore::Potenza)
                s_.menoPrimaDiPotenza = true;
            return nodoUnario(op, operando, posizione);
        }
        return primario();
    }

    // primary := literal | True | False | Empty | Null | Nothing
    //          | nome [( [expression {, expression}] )] | ( expression )
    int primario()
    {
        const Gettone &t = corrente();
        switch (t.simbolo) {
        case Simbolo::Letterale: {
            avanza();
            const int n = costante(t.valore, t.posizione);
            s_.nodi[idx(n)].letterale
                    = t.valore.tipo == Tipo::String ? Letterale::Testo : Letterale::Numero;
            return n;
        }
        case Simbolo::True:
            avanza();
            return costante(Valore::booleano(true), t.posizione);
        case Simbolo::False:
            avanza();
            return costante(Valore::booleano(false), t.posizione);
        case Simbolo::Empty:
            avanza();
            return costante(Valore {}, t.posizione);
        case Simbolo::Null:
            avanza();
            return costante(Valore::nullo(), t.posizione);
        case Simbolo::Nothing: {
            avanza();
            Nodo n;
            n.tipo = TipoNodo::Errore;
            n.errore = OggettoNonImpostato; // no objects: Nothing is never a value
            n.posizione = t.posizione;
            return aggiungi(std::move(n));
        }
        case Simbolo::Nome:
            return nome();
        case Simbolo::Err:
            return err();
        case Simbolo::ParentesiAperta: {
            avanza();
            const int n = espressione(1);
            atteso(Simbolo::ParentesiChiusa, PrevistaParentesiChiusa);
            return n;
        }
        default:
            throw ErroreCompilazione {PrevistaEspressione, pos()};
        }
    }

    int nome()
    {
        const Gettone &t = g_[i_];
        avanza();
        Nodo n;
        n.tipo = TipoNodo::Variabile;
        n.posizione = t.posizione;
        Riferimento r {t.testo, false};
        if (accetta(Simbolo::ParentesiAperta)) {
            r.parentesi = true;
            if (!vede(Simbolo::ParentesiChiusa)) {
                do
                    n.argomenti.push_back(espressione(1));
                while (accetta(Simbolo::Virgola));
            }
            atteso(Simbolo::ParentesiChiusa, PrevistaParentesiChiusa);
        }
        const int k = aggiungi(std::move(n));
        riferimenti_.emplace_back(k, r);
        return k;
    }

    // Err [. member]: Number (Err's default) and Description are read; any
    // other member is 438 when it runs.
    int err()
    {
        const Gettone &t = g_[i_];
        avanza();
        Nodo n;
        n.tipo = TipoNodo::ErrNumero;
        n.posizione = t.posizione;
        if (accetta(Simbolo::Punto)) {
            const Gettone &m = atteso(Simbolo::Nome, PrevistoIdentificatore);
            if (stessoNome(m.testo, "description")) {
                n.tipo = TipoNodo::ErrDescrizione;
            } else if (!stessoNome(m.testo, "number")) {
                n.tipo = TipoNodo::Errore;
                n.errore = MetodoNonSupportato;
            }
        }
        // A call that reads Err may differ from one with the same arguments.
        s_.ripetibile = false;
        return aggiungi(std::move(n));
    }

    // ---- nodes ----

    int aggiungi(Nodo n)
    {
        // A binary node's left operand adds no level: every evaluator runs a
        // chain of binary operators down its left operands in a loop.
        int altezza = 0;
        if (n.a >= 0)
            altezza = s_.nodi[idx(n.a)].profondita - (n.tipo == TipoNodo::Binaria ? 1 : 0);
        if (n.b >= 0)
            altezza = std::max(altezza, s_.nodi[idx(n.b)].profondita);
        for (int f : n.argomenti)
            altezza = std::max(altezza, s_.nodi[idx(f)].profondita);
        n.profondita = altezza + 1;
        if (n.profondita > kMaxProfondita)
            throw ErroreCompilazione {StackEsaurito, n.posizione};
        s_.nodi.push_back(std::move(n));
        return static_cast<int>(s_.nodi.size()) - 1;
    }

    int costante(Valore v, int posizione)
    {
        Nodo n;
        n.tipo = TipoNodo::Costante;
        n.valore = std::move(v);
        n.posizione = posizione;
        return aggiungi(std::move(n));
    }

    int nodoBinario(Operatore op, int a, int b, int posizione)
    {
        Nodo n;
        n.tipo = TipoNodo::Binaria;
        n.op = op;
        n.a = a;
        n.b = b;
        n.posizione = posizione;
        return aggiungi(std::move(n));
    }

    int nodoUnario(Operatore op, int a, int posizione)
    {
        Nodo n;
        n.tipo = TipoNodo::Unaria;
        n.op = op;
        n.a = a;
        n.posizione = posizione;
        return aggiungi(std::move(n));
    }

    // ---- names ----

    void dichiara(std::string_view nome, int posizione)
    {
        if (slotDi(nome) >= 0)
            throw ErroreCompilazione {NomeRidefinito, posizione};
        nuovoSlot(nome);
    }

    int nuovoSlot(std::string_view nome)
    {
        locali_.emplace(nomeMinuscolo(nome), s_.slot);
        return s_.slot++;
    }

    int slotDi(std::string_view nome) const
    {
        const auto it = locali_.find(nomeMinuscolo(nome));
        return it == locali_.end() ? -1 : it->second;
    }

    // An undeclared name: under Option Explicit an error when it runs,
    // otherwise a new local that starts Empty.
    int implicito(std::string_view nome)
    {
        if (esplicito_)
            return -1;
        return nuovoSlot(nome);
    }

    void risolviTutto()
    {
        for (std::size_t i = 0; i < s_.corpo.size(); ++i)
            if (s_.corpo[i].tipo == TipoIstruzione::Assegnazione)
                risolviDestinazione(s_.corpo[i], destinazioni_[i]);
        for (const auto &[k, r] : riferimenti_)
            risolvi(s_.nodi[idx(k)], r);
        int altezza = 1;
        for (std::size_t k = 0; k < s_.nodi.size(); ++k) {
            piega(s_.nodi[k]);
            altezza = std::max(altezza, s_.nodi[k].profondita);
        }
        s_.limiteChiamate = std::clamp(kBudgetProfondita / (altezza + 1), 1, kMaxChiamate);
    }

    void risolviDestinazione(Istruzione &ist, std::string_view nome)
    {
        ist.slot = slotDi(nome);
        if (ist.slot >= 0)
            return;
        if (cercaBuiltin(nome) >= 0 || cercaCostante(nome)) {
            ist.errore = AssegnazioneNonValida;
            return;
        }
        ist.slot = implicito(nome);
        if (ist.slot < 0)
            ist.errore = VariabileNonDefinita;
    }

    static void errore(Nodo &n, int numero, bool conArgomenti)
    {
        n.tipo = TipoNodo::Errore;
        n.errore = numero;
        if (!conArgomenti)
            n.argomenti.clear();
    }

    void risolvi(Nodo &n, const Riferimento &r)
    {
        const bool argomenti = !n.argomenti.empty();
        if (const int slot = slotDi(r.nome); slot >= 0) {
            if (slot == 0 && r.parentesi) {
                n.tipo = TipoNodo::Ricorsione;
                if (static_cast<int>(n.argomenti.size()) != s_.parametri)
                    errore(n, NumeroArgomentiErrato, true);
            } else if (argomenti) {
                errore(n, TipoNonCorrispondente, true); // not an array
            } else {
                n.slot = slot;
            }
        } else if (const Valore *v = cercaCostante(r.nome)) {
            if (argomenti) {
                errore(n, TipoNonCorrispondente, true);
            } else {
                n.tipo = TipoNodo::Costante;
                n.valore = *v;
            }
        } else if (const int b = cercaBuiltin(r.nome); b >= 0) {
            const Builtin &f = builtin(b);
            const auto k = n.argomenti.size();
            n.tipo = TipoNodo::Chiamata;
            n.builtin = b;
            s_.ripetibile = s_.ripetibile && f.pura;
            if (k < f.minimo || k > f.massimo)
                errore(n, NumeroArgomentiErrato, true);
        } else if (const int slot2 = implicito(r.nome); slot2 >= 0) {
            if (argomenti)
                errore(n, TipoNonCorrispondente, true);
            else
                n.slot = slot2;
        } else {
            errore(n, VariabileNonDefinita, false);
        }
    }

    // Folds a node whose operands are all constants, with the very
    // operations a run would use; a subtree that fails stays, so its error
    // is raised when (and only if) it runs.
    void piega(Nodo &n)
    {
        const auto costante = [&](int k) {
            const Nodo &m = s_.nodi[idx(k)];
            return m.tipo == TipoNodo::Costante && m.valore.tipo != Tipo::String;
        };
        Valore r;
        int e = -1;
        if (n.tipo == TipoNodo::Binaria && costante(n.a) && costante(n.b)) {
            const Nodo &a = s_.nodi[idx(n.a)];
            const Nodo &b = s_.nodi[idx(n.b)];
            e = operazioneBinaria(n.op, a.valore, b.valore, r, c_, a.letterale, b.letterale);
        } else if (n.tipo == TipoNodo::Unaria && costante(n.a)) {
            e = operazioneUnaria(n.op, s_.nodi[idx(n.a)].valore, r, c_);
        } else if (n.tipo == TipoNodo::Chiamata && builtin(n.builtin).pura
                   && std::all_of(n.argomenti.begin(), n.argomenti.end(), costante)) {
            std::vector<Valore> args;
            for (int k : n.argomenti)
                args.push_back(s_.nodi[idx(k)].valore);
            ContestoEsecuzione ce;
            ce.operazioni = c_;
            e = builtin(n.builtin).funzione(args, r, ce);
        }
        // Text is never folded: every string a run sees is built (and
        // charged to its budget) by the run itself.
        if (e != 0 || r.tipo == Tipo::String)
            return;
        n.tipo = TipoNodo::Costante;
        n.letterale = Letterale::No;
        n.valore = std::move(r);
        n.a = n.b = -1;
        n.argomenti.clear();
    }

    // ---- tokens ----

    // Counts nested parse levels, so no text can overflow the parser's stack.
    class Annidamento
    {
    public:
        explicit Annidamento(Compilatore &c)
            : c_(c)
        {
            if (++c_.annidamento_ > kMaxAnnidamento)
                throw ErroreCompilazione {StackEsaurito, c_.pos()};
        }
        ~Annidamento() { --c_.annidamento_; }
        Annidamento(const Annidamento &) = delete;
        Annidamento &operator=(const Annidamento &) = delete;

    private:
        Compilatore &c_;
    };

    static std::size_t idx(int k) { return static_cast<std::size_t>(k); }
    int pos() const { return g_[i_].posizione; }
    // The current token; text the lexer could not read is reported here.
    const Gettone &corrente() const
    {
        const Gettone &t = g_[i_];
        if (t.simbolo == Simbolo::Errore)
            throw ErroreCompilazione {static_cast<int>(t.valore.numero), t.posizione};
        return t;
    }
    bool vede(Simbolo s) const { return corrente().simbolo == s; }
    void avanza()
    {
        if (g_[i_].simbolo != Simbolo::Fine)
            ++i_;
    }
    bool accetta(Simbolo s)
    {
        if (!vede(s))
            return false;
        avanza();
        return true;
    }
    const Gettone &atteso(Simbolo s, int errore)
    {
        if (!vede(s))
            throw ErroreCompilazione {errore, pos()};
        const Gettone &t = g_[i_];
        avanza();
        return t;
    }
    void fineIstruzione()
    {
        if (!vede(Simbolo::Fine) && !accetta(Simbolo::FineIstruzione))
            throw ErroreCompilazione {PrevistaFineIstruzione, pos()};
    }
    void saltaFini()
    {
        while (accetta(Simbolo::FineIstruzione)) { }
    }

    std::vector<Gettone> g_;
    std::size_t i_ = 0;
    const ContestoOperazioni &c_;
    Script &s_;
    bool esplicito_ = false;
    int annidamento_ = 0;
    std::unordered_map<std::string, int> locali_; // lower-case name -> slot
    std::vector<std::string_view> destinazioni_; // statement -> target name
    std::vector<std::pair<int, Riferimento>> riferimenti_;
};

} // namespace

EsitoCompilazione compilaScript(std::string_view sorgente, const ContestoOperazioni &c,
                                Script &script)
{
    script = Script {};
    if (sorgente.size() > kMaxLunghezzaSorgente)
        return EsitoCompilazione {MemoriaEsaurita, static_cast<int>(kMaxLunghezzaSorgente)};
    try {
        Compilatore(analizzaLessico(sorgente), c, script).script();
    } catch (const ErroreCompilazione &e) {
        script = Script {};
        return EsitoCompilazione {e.numero, e.posizione};
    }
    return {};
}

} // namespace zelvo
