#include "ui/TabellaStudio.h"

#include "analysis/Dominio.h"
#include "analysis/Infinito.h"
#include "analysis/Simmetrie.h"
#include "engine/TestoNumero.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace zelvo {

namespace {

// Two abscissas the study gives for one point (the end of an interval and
// the zero that ends it, say) may differ in the last digits: within this,
// the chart takes them as one breakpoint.
bool vicini(double u, double v) noexcept
{
    return std::fabs(u - v) <= 1e-12 * std::max({1.0, std::fabs(u), std::fabs(v)});
}

template<class T, class Chiave> std::vector<T> ordinati(std::vector<T> v, Chiave chiave)
{
    std::stable_sort(v.begin(), v.end(),
                     [&](const T &p, const T &q) { return chiave(p) < chiave(q); });
    return v;
}

// A limit as the command line writes it: a number, "+inf", "-inf",
// "non_esiste", or empty where that side is absent.
std::string testoLimite(const Limite &l, char separatore)
{
    switch (l.tipo) {
    case Limite::Tipo::Finito:
        return testoNumero(l.valore, separatore);
    case Limite::Tipo::PiuInfinito:
        return "+inf";
    case Limite::Tipo::MenoInfinito:
        return "-inf";
    case Limite::Tipo::NonEsiste:
        return "non_esiste";
    case Limite::Tipo::Assente:
        break;
    }
    return {};
}

} // namespace

std::vector<RigaStudio> righeStudio(const Studio &s, char separatore)
{
    std::vector<RigaStudio> righe;
    const auto numero = [separatore](double v) {
        return testoNumero(v, separatore);
    };
    const auto punti = [&](const char *chiave, const char *nome,
                           const std::vector<PuntoNotevole> &v) {
        for (const PuntoNotevole &p : ordinati(v, [](const PuntoNotevole &q) { return q.x; }))
            righe.push_back({chiave, nome, numero(p.x), numero(p.y)});
    };
    const auto ascisse = [&](const char *chiave, const char *nome, const std::vector<double> &v) {
        for (const double x : ordinati(v, [](double q) { return q; }))
            righe.push_back({chiave, nome, numero(x), {}});
    };
    const auto intervalli
            = [&](const char *chiave, const char *nome, const std::vector<Intervallo> &v) {
                  for (const Intervallo &i : ordinati(v, [](const Intervallo &q) { return q.da; }))
                      righe.push_back({chiave, nome, numero(i.da), numero(i.a)});
              };
    const auto assoluto
            = [&](const char *chiave, const char *nome, const std::optional<PuntoNotevole> &p) {
                  if (p)
                      righe.push_back({chiave, nome, numero(p->x), numero(p->y)});
              };

    ascisse("zero", "zero", s.zeri);
    punti("massimo_relativo", "massimo relativo", s.massimiRelativi);
    punti("minimo_relativo", "minimo relativo", s.minimiRelativi);
    punti("flesso", "flesso", s.flessi);
    assoluto("massimo_assoluto", "massimo assoluto", s.massimoAssoluto);
    assoluto("minimo_assoluto", "minimo assoluto", s.minimoAssoluto);
    intervalli("non_definita", "non definita", s.nonDefinita);
    ascisse("asintoto_verticale", "asintoto verticale", s.asintotiVerticali);
    ascisse("salto", "salto", s.salti);
    for (const PuntoNotevole &p :
         ordinati(s.eliminabili, [](const PuntoNotevole &q) { return q.x; }))
        righe.push_back({"eliminabile", "discontinuità eliminabile", numero(p.x), numero(p.y)});
    for (const PuntoLimite &p : ordinati(s.limiti, [](const PuntoLimite &q) { return q.x; }))
        righe.push_back(
                {"limite", "limite (sinistro; destro)", numero(p.x),
                 testoLimite(p.sinistro, separatore) + "; " + testoLimite(p.destro, separatore)});
    const auto pendenza = [&](double m) {
        return std::isinf(m) ? std::string(m > 0 ? "+inf" : "-inf") : numero(m);
    };
    for (const PuntoAngoloso &p :
         ordinati(s.puntiAngolosi, [](const PuntoAngoloso &q) { return q.x; }))
        righe.push_back({"punto_angoloso", "punto angoloso (y; pendenze)", numero(p.x),
                         numero(p.y) + "; " + pendenza(p.sinistra) + "; " + pendenza(p.destra)});
    punti("cuspide", "cuspide", s.cuspidi);
    punti("flesso_tangente_verticale", "flesso a tangente verticale", s.flessiVerticali);
    punti("flesso_tangente_orizzontale", "flesso a tangente orizzontale", s.flessiOrizzontali);
    const auto estremo
            = [&](const char *chiave, const char *nome, const std::optional<PuntoNotevole> &p) {
                  if (p)
                      righe.push_back({chiave, nome, numero(p->x), pendenza(p->y)});
              };
    estremo("estremo_superiore", "estremo superiore (non raggiunto)", s.estremoSuperiore);
    estremo("estremo_inferiore", "estremo inferiore (non raggiunto)", s.estremoInferiore);
    intervalli("positiva", "positiva", s.positiva);
    intervalli("negativa", "negativa", s.negativa);
    intervalli("crescente", "crescente", s.crescente);
    intervalli("decrescente", "decrescente", s.decrescente);
    intervalli("concava_alto", "concava verso l'alto", s.concavaAlto);
    intervalli("concava_basso", "concava verso il basso", s.concavaBasso);
    return righe;
}

namespace {

std::string testoRighe(const std::vector<RigaStudio> &righe)
{
    std::string testo;
    for (const RigaStudio &r : righe) {
        testo.append(r.chiave).append(" = ").append(r.primo);
        if (!r.secondo.empty())
            testo.append("; ").append(r.secondo);
        testo += '\n';
    }
    return testo;
}

// An end of an interval of the domain or range: "-inf", "+inf" or the number.
std::string estremoTratto(double v, char separatore)
{
    return std::isinf(v) ? std::string(v > 0 ? "+inf" : "-inf") : testoNumero(v, separatore);
}

std::string testoTratto(const TrattoChiuso &t, char separatore)
{
    // Appended piece by piece: GCC 12 sees an overlapping copy in
    // "literal" + string (-Wrestrict).
    std::string testo(1, t.chiusoDa && !std::isinf(t.da) ? '[' : '(');
    testo += estremoTratto(t.da, separatore);
    testo += "; ";
    testo += estremoTratto(t.a, separatore);
    testo += t.chiusoA && !std::isinf(t.a) ? ']' : ')';
    return testo;
}

} // namespace

std::string testoStudio(const Studio &studio, char separatore)
{
    return testoRighe(righeStudio(studio, separatore));
}

std::vector<RigaStudio> righeScuola(const Scuola &s, char separatore)
{
    std::vector<RigaStudio> righe;
    const auto numero = [separatore](double v) {
        return testoNumero(v, separatore);
    };
    for (const TrattoChiuso &t : s.dominio)
        righe.push_back({"dominio", "dominio", testoTratto(t, separatore), {}});
    if (const auto &valori = s.codominio)
        for (const TrattoChiuso &t : *valori)
            righe.push_back({"codominio", "codominio", testoTratto(t, separatore), {}});
    if (const auto &y = s.intersezioneY)
        righe.push_back(
                {"intersezione_y", "intersezione con l'asse y", numero(y->x), numero(y->y)});
    if (const auto &p = s.parita) {
        const char *tipo = p->tipo == Parita::Tipo::Pari
                ? "pari"
                : (p->tipo == Parita::Tipo::Dispari ? "dispari" : "nessuna");
        righe.push_back({"parita", "parità", tipo, numero(p->m)});
    }
    if (s.periodo)
        righe.push_back({"periodo", "periodo", numero(*s.periodo), {}});
    for (const Infinito *lato : {&s.menoInfinito, &s.piuInfinito}) {
        const Infinito &i = *lato;
        if (!i.definita)
            continue;
        const std::string verso = i.lato < 0 ? "-inf" : "+inf";
        const std::string l = i.determinato ? testoLimite(i.limite, separatore) : "non determinato";
        righe.push_back({"limite_infinito", "limite all'infinito", verso, l});
        if (i.orizzontale)
            righe.push_back({"asintoto_orizzontale", "asintoto orizzontale", verso,
                             numero(*i.orizzontale)});
        if (i.m && i.q)
            righe.push_back({"asintoto_obliquo", "asintoto obliquo", verso,
                             numero(*i.m) + "; " + numero(*i.q)});
    }
    for (const Tangente &t : s.tangentiFlessi)
        righe.push_back({"tangente_flesso", "tangente nel flesso", numero(t.x),
                         numero(t.m) + "; " + numero(t.q)});
    return righe;
}

std::string testoStudio(const Scuola &scuola, const Studio &studio, char separatore)
{
    return testoRighe(righeScuola(scuola, separatore)) + testoStudio(studio, separatore);
}

namespace {

// The intervals of one kind, ascending and disjoint as the study gives
// them, looked up by bisection: the chart asks about every breakpoint, and a
// study may have thousands of each.
class Intervalli
{
public:
    explicit Intervalli(std::vector<Intervallo> v)
        : v_(std::move(v))
    {
        std::sort(v_.begin(), v_.end(),
                  [](const Intervallo &p, const Intervallo &q) { return p.da < q.da; });
    }

    // x in one of them, ends included (or within rounding of an end).
    bool contiene(double x) const noexcept
    {
        const auto dopo = primoDopo(x);
        if (dopo != v_.end() && vicini(x, dopo->da))
            return true;
        if (dopo == v_.begin())
            return false;
        const Intervallo &i = *std::prev(dopo);
        return x <= i.a || vicini(x, i.a);
    }

    // Inside one of them, away from its ends: what a stretch of the chart is.
    bool dentro(double x) const noexcept
    {
        const auto dopo = std::lower_bound(v_.begin(), v_.end(), x,
                                           [](const Intervallo &i, double t) { return i.da < t; });
        return dopo != v_.begin() && x < std::prev(dopo)->a;
    }

private:
    std::vector<Intervallo>::const_iterator primoDopo(double x) const noexcept
    {
        return std::upper_bound(v_.begin(), v_.end(), x,
                                [](double t, const Intervallo &i) { return t < i.da; });
    }

    std::vector<Intervallo> v_;
};

// Abscissas of one kind, looked up within rounding.
class Punti
{
public:
    explicit Punti(std::vector<double> x)
        : x_(std::move(x))
    {
        std::sort(x_.begin(), x_.end());
    }
    explicit Punti(const std::vector<PuntoNotevole> &p)
    {
        for (const PuntoNotevole &q : p)
            x_.push_back(q.x);
        std::sort(x_.begin(), x_.end());
    }

    bool tra(double x) const noexcept
    {
        const auto i = std::lower_bound(x_.begin(), x_.end(), x);
        return (i != x_.end() && vicini(*i, x)) || (i != x_.begin() && vicini(*std::prev(i), x));
    }

private:
    std::vector<double> x_;
};

// Every abscissa where a row of the chart may change, ascending, each once.
std::vector<double> puntiDiSvolta(const Studio &s, double a, double b)
{
    std::vector<double> p {a, b};
    for (const auto *v : {&s.positiva, &s.negativa, &s.crescente, &s.decrescente, &s.concavaAlto,
                          &s.concavaBasso, &s.nonDefinita})
        for (const Intervallo &i : *v)
            p.insert(p.end(), {i.da, i.a});
    for (const auto *v : {&s.zeri, &s.asintotiVerticali, &s.salti})
        p.insert(p.end(), v->begin(), v->end());
    for (const PuntoLimite &l : s.limiti)
        p.push_back(l.x);
    for (const PuntoAngoloso &q : s.puntiAngolosi)
        p.push_back(q.x);
    for (const auto *v : {&s.massimiRelativi, &s.minimiRelativi, &s.flessi, &s.eliminabili,
                          &s.cuspidi, &s.flessiVerticali})
        for (const PuntoNotevole &q : *v)
            p.push_back(q.x);
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end(), vicini), p.end());
    return p;
}

} // namespace

SchemaStudio schemaStudio(const Studio &s, double a, double b, char separatore)
{
    SchemaStudio schema;
    if (!s.eseguito || !(a <= b))
        return schema;
    const std::vector<double> punti = puntiDiSvolta(s, a, b);
    const auto colonna = [&schema](std::string intestazione, std::string segno,
                                   std::string crescenza, std::string concavita) {
        schema.intestazione.push_back(std::move(intestazione));
        schema.righe[0].push_back(std::move(segno));
        schema.righe[1].push_back(std::move(crescenza));
        schema.righe[2].push_back(std::move(concavita));
    };
    const Intervalli nonDefinita(s.nonDefinita), positiva(s.positiva), negativa(s.negativa),
            crescente(s.crescente), decrescente(s.decrescente), concavaAlto(s.concavaAlto),
            concavaBasso(s.concavaBasso);
    const Punti zeri(s.zeri), massimi(s.massimiRelativi), minimi(s.minimiRelativi),
            flessi(s.flessi);
    for (std::size_t k = 0; k < punti.size(); ++k) {
        const double p = punti[k];
        // The end of a stretch where f is not defined may be a point where
        // it is (Sqr(4-x^2) at ±2, where it is 0).
        const auto definita = [&s](double x) {
            return std::any_of(s.limiti.begin(), s.limiti.end(),
                               [x](const PuntoLimite &l) { return l.x == x && l.valore; });
        };
        if (nonDefinita.contiene(p) && !zeri.tra(p) && !definita(p))
            colonna(testoNumero(p, separatore), "∄", "∄", "∄");
        else
            colonna(testoNumero(p, separatore), zeri.tra(p) ? "0" : "",
                    massimi.tra(p) ? "max" : (minimi.tra(p) ? "min" : ""),
                    flessi.tra(p) ? "flesso" : "");
        if (k + 1 == punti.size())
            break;
        const double m = p + (punti[k + 1] - p) / 2;
        if (nonDefinita.dentro(m)) {
            colonna({}, "∄", "∄", "∄");
            continue;
        }
        colonna({}, positiva.dentro(m) ? "+" : (negativa.dentro(m) ? "−" : "0"),
                crescente.dentro(m) ? "↗" : (decrescente.dentro(m) ? "↘" : "→"),
                concavaAlto.dentro(m) ? "∪" : (concavaBasso.dentro(m) ? "∩" : ""));
    }
    return schema;
}

} // namespace zelvo
