#include "ui/RigheCorso.h"

#include "engine/TestoNumero.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace zelvo {

namespace {

constexpr const char *kIndefinita = "∄";

class Scrittore
{
public:
    Scrittore(const Studio &s, const Scuola &c, char separatore)
        : s_(s)
        , c_(c)
        , separatore_(separatore)
    { }

    std::vector<RigaCorso> righe()
    {
        dominio();
        simmetrie();
        intersezioni();
        segno();
        limiti();
        derivataPrima();
        derivataSeconda();
        return std::move(righe_);
    }

private:
    std::string numero(double v) const
    {
        if (std::isinf(v))
            return v > 0 ? "+∞" : "-∞";
        return testoNumero(v, separatore_);
    }

    void riga(const char *chiave, std::string caratteristica, std::string x, std::string y,
              std::string descrizione)
    {
        righe_.push_back({sezione_, chiave, std::move(caratteristica), std::move(x), std::move(y),
                          std::move(descrizione)});
    }

    // f(x) at a point where f breaks, ∄ where it is not defined.
    std::string valoreIn(const PuntoLimite &p) const
    {
        return p.valore ? numero(*p.valore) : kIndefinita;
    }

    std::string limite(const Limite &l) const
    {
        switch (l.tipo) {
        case Limite::Tipo::Finito:
            return numero(l.valore);
        case Limite::Tipo::PiuInfinito:
            return "+∞";
        case Limite::Tipo::MenoInfinito:
            return "-∞";
        case Limite::Tipo::NonEsiste:
            return "non esiste";
        case Limite::Tipo::Assente:
            break;
        }
        return {};
    }

    // "y = 2·x - 3", "y = x", "y = -x + 1": the line as a student writes it.
    std::string retta(double m, double q) const
    {
        std::string t = "y = ";
        if (m == 1)
            t += "x";
        else if (m == -1)
            t += "-x";
        else if (m != 0)
            t += numero(m) + "·x";
        if (m == 0)
            return t + numero(q);
        if (q > 0)
            t += " + " + numero(q);
        else if (q < 0)
            t += " - " + numero(-q);
        return t;
    }

    // An interval of sign, growth or concavity: closed at a or b where f is
    // defined there (and, for the sign, not zero), open elsewhere: inside,
    // every end is a zero, a stationary point, an inflection or a point
    // where f breaks.
    std::string intervallo(const Intervallo &i, bool segno) const
    {
        const auto chiuso = [&](double x) {
            if (segno && std::find(s_.zeri.begin(), s_.zeri.end(), x) != s_.zeri.end())
                return false;
            return std::any_of(c_.dominio.begin(), c_.dominio.end(), [&](const TrattoChiuso &t) {
                return (t.da == x && t.chiusoDa && x == c_.dominio.front().da)
                        || (t.a == x && t.chiusoA && x == c_.dominio.back().a);
            });
        };
        // Appended piece by piece: GCC 12 sees an overlapping copy in
        // "literal" + string (-Wrestrict).
        std::string t;
        if (i.da == i.a) {
            t += '{';
            t += numero(i.da);
            t += '}';
            return t;
        }
        t += chiuso(i.da) ? '[' : '(';
        t += numero(i.da);
        t += "; ";
        t += numero(i.a);
        t += chiuso(i.a) ? ']' : ')';
        return t;
    }

    // Intervals of two kinds in ascending order, as they follow on the axis.
    void intervalli(const char *chiave1, const char *nome1, const std::vector<Intervallo> &v1,
                    const char *chiave2, const char *nome2, const std::vector<Intervallo> &v2,
                    bool segno)
    {
        struct Voce
        {
            const char *chiave, *nome;
            Intervallo i;
        };
        std::vector<Voce> voci;
        for (const Intervallo &i : v1)
            voci.push_back({chiave1, nome1, i});
        for (const Intervallo &i : v2)
            voci.push_back({chiave2, nome2, i});
        std::stable_sort(voci.begin(), voci.end(),
                         [](const Voce &p, const Voce &q) { return p.i.da < q.i.da; });
        for (const Voce &v : voci)
            riga(v.chiave, v.nome, {}, {}, intervallo(v.i, segno));
    }

    void dominio()
    {
        sezione_ = "dominio";
        riga("dominio", "dominio", {}, {}, testoTratti(c_.dominio, separatore_));
        riga("codominio", "codominio", {}, {},
             c_.codominio ? testoTratti(*c_.codominio, separatore_)
                          : "non determinato: un limite agli estremi non esiste");
    }

    void simmetrie()
    {
        sezione_ = "simmetrie";
        if (c_.parita) {
            const Parita &p = *c_.parita;
            const char *tipo = p.tipo == Parita::Tipo::Pari
                    ? "pari: f(-x) = f(x)"
                    : (p.tipo == Parita::Tipo::Dispari ? "dispari: f(-x) = -f(x)"
                                                       : "né pari né dispari");
            riga("parita", "parità", {}, {},
                 std::string(tipo) + " nell'intervallo [" + numero(-p.m) + "; " + numero(p.m)
                         + "]");
        }
        if (c_.periodo)
            riga("periodo", "periodica", {}, {}, "periodo T = " + numero(*c_.periodo));
    }

    void intersezioni()
    {
        sezione_ = "intersezioni con gli assi";
        if (c_.intersezioneY)
            riga("intersezione_y", "con l'asse y", numero(c_.intersezioneY->x),
                 numero(c_.intersezioneY->y), {});
        std::vector<double> zeri = s_.zeri;
        std::sort(zeri.begin(), zeri.end());
        for (const double x : zeri)
            riga("zero", "con l'asse x (zero)", numero(x), "0", {});
    }

    void segno()
    {
        sezione_ = "segno";
        intervalli("positiva", "positiva", s_.positiva, "negativa", "negativa", s_.negativa, true);
    }

    void limiti()
    {
        sezione_ = "limiti e asintoti";
        const auto tra = [](const std::vector<double> &v, double x) {
            return std::find(v.begin(), v.end(), x) != v.end();
        };
        std::vector<PuntoLimite> punti = s_.limiti;
        std::stable_sort(punti.begin(), punti.end(),
                         [](const PuntoLimite &p, const PuntoLimite &q) { return p.x < q.x; });
        for (const PuntoLimite &p : punti) {
            const std::string x = numero(p.x);
            const auto buco = std::find_if(s_.eliminabili.begin(), s_.eliminabili.end(),
                                           [&](const PuntoNotevole &e) { return e.x == p.x; });
            if (tra(s_.asintotiVerticali, p.x))
                riga("asintoto_verticale", "asintoto verticale", x, valoreIn(p), "x = " + x);
            else if (buco != s_.eliminabili.end())
                riga("eliminabile", "discontinuità eliminabile", x, valoreIn(p),
                     "limite " + numero(buco->y) + (p.valore ? ", diverso da f(x)" : ", f(x) ∄"));
            else if (tra(s_.salti, p.x))
                riga("salto", "salto", x, valoreIn(p), "limiti sinistro e destro finiti e diversi");
            else if (p.sinistro.tipo != Limite::Tipo::Assente
                     && p.destro.tipo != Limite::Tipo::Assente)
                riga("limite", "discontinuità di seconda specie", x, valoreIn(p), {});
            else
                riga("limite", "bordo del dominio", x, valoreIn(p), {});
            if (p.sinistro.tipo != Limite::Tipo::Assente)
                riga("limite", "limite per x → " + x + "⁻", x, limite(p.sinistro), {});
            if (p.destro.tipo != Limite::Tipo::Assente)
                riga("limite", "limite per x → " + x + "⁺", x, limite(p.destro), {});
        }
        for (const Infinito *i : {&c_.menoInfinito, &c_.piuInfinito}) {
            if (!i->definita)
                continue;
            const std::string verso = i->lato < 0 ? "-∞" : "+∞";
            riga("limite_infinito", "limite per x → " + verso, verso,
                 i->determinato ? limite(i->limite) : "non determinato",
                 i->determinato ? std::string() : i->motivo);
            if (i->orizzontale)
                riga("asintoto_orizzontale", "asintoto orizzontale", verso, {},
                     retta(0, *i->orizzontale));
            if (i->m && i->q)
                riga("asintoto_obliquo", "asintoto obliquo", verso, {}, retta(*i->m, *i->q));
        }
    }

    void derivataPrima()
    {
        sezione_ = "derivata prima";
        intervalli("crescente", "crescente", s_.crescente, "decrescente", "decrescente",
                   s_.decrescente, false);
        struct Voce
        {
            const char *chiave, *nome;
            PuntoNotevole p;
            std::string descrizione;
        };
        std::vector<Voce> voci;
        for (const PuntoNotevole &p : s_.massimiRelativi)
            voci.push_back({"massimo_relativo", "massimo relativo", p, {}});
        for (const PuntoNotevole &p : s_.minimiRelativi)
            voci.push_back({"minimo_relativo", "minimo relativo", p, {}});
        for (const PuntoAngoloso &p : s_.puntiAngolosi)
            voci.push_back({"punto_angoloso",
                            "punto angoloso",
                            {p.x, p.y},
                            "pendenza " + numero(p.sinistra) + " a sinistra, " + numero(p.destra)
                                    + " a destra"});
        for (const PuntoNotevole &p : s_.cuspidi)
            voci.push_back({"cuspide", "cuspide", p, "tangente verticale x = " + numero(p.x)});
        std::stable_sort(voci.begin(), voci.end(),
                         [](const Voce &u, const Voce &v) { return u.p.x < v.p.x; });
        for (const Voce &v : voci)
            riga(v.chiave, v.nome, numero(v.p.x), numero(v.p.y), v.descrizione);
        if (s_.massimoAssoluto)
            riga("massimo_assoluto", "massimo assoluto", numero(s_.massimoAssoluto->x),
                 numero(s_.massimoAssoluto->y), {});
        else if (s_.estremoSuperiore)
            riga("estremo_superiore", "estremo superiore", numero(s_.estremoSuperiore->x),
                 numero(s_.estremoSuperiore->y), "non raggiunto: nessun massimo assoluto");
        if (s_.minimoAssoluto)
            riga("minimo_assoluto", "minimo assoluto", numero(s_.minimoAssoluto->x),
                 numero(s_.minimoAssoluto->y), {});
        else if (s_.estremoInferiore)
            riga("estremo_inferiore", "estremo inferiore", numero(s_.estremoInferiore->x),
                 numero(s_.estremoInferiore->y), "non raggiunto: nessun minimo assoluto");
    }

    void derivataSeconda()
    {
        sezione_ = "derivata seconda";
        intervalli("concava_alto", "concava verso l'alto", s_.concavaAlto, "concava_basso",
                   "concava verso il basso", s_.concavaBasso, false);
        struct Voce
        {
            const char *chiave, *nome;
            PuntoNotevole p;
            std::string descrizione;
        };
        std::vector<Voce> voci;
        for (const PuntoNotevole &p : s_.flessi) {
            const bool orizzontale
                    = std::any_of(s_.flessiOrizzontali.begin(), s_.flessiOrizzontali.end(),
                                  [&](const PuntoNotevole &o) { return o.x == p.x; });
            std::string tangente;
            for (const Tangente &t : c_.tangentiFlessi)
                if (t.x == p.x)
                    tangente = "tangente " + retta(t.m, t.q);
            if (orizzontale)
                voci.push_back({"flesso_tangente_orizzontale", "flesso a tangente orizzontale", p,
                                tangente.empty() ? "tangente " + retta(0, p.y) : tangente});
            else
                voci.push_back({"flesso", "flesso", p, tangente});
        }
        for (const PuntoNotevole &p : s_.flessiVerticali)
            voci.push_back({"flesso_tangente_verticale", "flesso a tangente verticale", p,
                            "tangente x = " + numero(p.x)});
        std::stable_sort(voci.begin(), voci.end(),
                         [](const Voce &u, const Voce &v) { return u.p.x < v.p.x; });
        for (const Voce &v : voci)
            riga(v.chiave, v.nome, numero(v.p.x), numero(v.p.y), v.descrizione);
    }

    const Studio &s_;
    const Scuola &c_;
    char separatore_;
    const char *sezione_ = "";
    std::vector<RigaCorso> righe_;
};

} // namespace

std::vector<RigaCorso> righeCorso(const Studio &studio, const Scuola &scuola, char separatore)
{
    if (!studio.eseguito)
        return {};
    return Scrittore(studio, scuola, separatore).righe();
}

std::array<std::string, 5> testiCorso(const RigaCorso &r, bool primaDellaParte)
{
    return {primaDellaParte ? std::string(r.sezione) : std::string(), r.caratteristica, r.x, r.y,
            r.descrizione};
}

} // namespace zelvo
