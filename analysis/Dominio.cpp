#include "analysis/Dominio.h"

#include "engine/Funzione.h"
#include "engine/TestoNumero.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelvo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Two values the study gives for one (a limit and the value attaining it)
// may differ in the last digits.
bool vicini(double u, double v) noexcept
{
    if (u == v)
        return true;
    return std::isfinite(u) && std::isfinite(v)
            && std::fabs(u - v) <= 1e-12 * std::max({1.0, std::fabs(u), std::fabs(v)});
}

bool definita(Funzione &f, double x)
{
    const Valutazione v = f.Valuta(x);
    return v.ok() && std::isfinite(v.valore);
}

// Joins intervals that overlap or touch at an end one of them holds.
std::vector<TrattoChiuso> unisci(std::vector<TrattoChiuso> v)
{
    std::sort(v.begin(), v.end(), [](const TrattoChiuso &p, const TrattoChiuso &q) {
        return p.da < q.da || (p.da == q.da && p.chiusoDa && !q.chiusoDa);
    });
    std::vector<TrattoChiuso> r;
    for (const TrattoChiuso &t : v) {
        if (!r.empty()) {
            TrattoChiuso &u = r.back();
            const bool tocca = vicini(t.da, u.a) && (u.chiusoA || t.chiusoDa);
            if (tocca || t.da < u.a) {
                if (vicini(t.da, u.da))
                    u.chiusoDa = u.chiusoDa || t.chiusoDa;
                if (vicini(t.a, u.a))
                    u.chiusoA = u.chiusoA || t.chiusoA;
                else if (t.a > u.a) {
                    u.a = t.a;
                    u.chiusoA = t.chiusoA;
                }
                continue;
            }
        }
        r.push_back(t);
    }
    return r;
}

const PuntoLimite *limiteIn(const Studio &s, double x)
{
    for (const PuntoLimite &l : s.limiti)
        if (vicini(l.x, x))
            return &l;
    return nullptr;
}

// The value f approaches at the end x of a piece from inside it (verso
// +1: from the right): a number, -inf or +inf; NaN where not known.
double estremo(Funzione &f, const Studio &s, double x, int verso, bool illimitata)
{
    if (const PuntoLimite *p = limiteIn(s, x)) {
        const Limite &l = verso > 0 ? p->destro : p->sinistro;
        switch (l.tipo) {
        case Limite::Tipo::Finito:
            return l.valore;
        case Limite::Tipo::PiuInfinito:
            return kInf;
        case Limite::Tipo::MenoInfinito:
            return -kInf;
        case Limite::Tipo::NonEsiste:
            return NAN;
        case Limite::Tipo::Assente:
            break;
        }
    }
    if (illimitata)
        return NAN; // unbounded, but towards which infinity the study does not say
    const Valutazione v = f.Valuta(x);
    return v.ok() ? v.valore : NAN;
}

} // namespace

std::vector<TrattoChiuso> dominio(Funzione &f, const Studio &s, double a, double b)
{
    // An end belongs to the domain where f is defined there, unless f runs
    // to an infinity towards it (Log(x^2-0.1) at the double nearest
    // Sqr(0.1) is computed, as a large negative number).
    const auto chiusa = [&](double x, int verso) {
        if (const PuntoLimite *p = limiteIn(s, x)) {
            const Limite::Tipo t = (verso > 0 ? p->destro : p->sinistro).tipo;
            if (t == Limite::Tipo::PiuInfinito || t == Limite::Tipo::MenoInfinito)
                return false;
        }
        return definita(f, x);
    };
    std::vector<Intervallo> fuori = s.nonDefinita;
    std::sort(fuori.begin(), fuori.end(),
              [](const Intervallo &p, const Intervallo &q) { return p.da < q.da; });
    std::vector<TrattoChiuso> r;
    double da = a;
    bool chiuso = chiusa(a, +1);
    const auto tratto = [&](double fino, bool chiusoFino) {
        if (da < fino || (da == fino && chiuso && chiusoFino))
            r.push_back({da, fino, chiuso, chiusoFino});
    };
    for (const Intervallo &n : fuori) {
        tratto(n.da, chiusa(n.da, -1));
        da = n.a;
        chiuso = chiusa(n.a, +1);
    }
    tratto(b, chiusa(b, -1));
    return unisci(std::move(r));
}

std::optional<std::vector<TrattoChiuso>> codominio(Funzione &f, const Studio &s)
{
    if (!s.eseguito)
        return std::nullopt;
    // A single point (a = b): the one value f takes there.
    if (s.pezzi.empty() && s.massimoAssoluto && s.minimoAssoluto)
        return std::vector<TrattoChiuso> {{s.minimoAssoluto->y, s.massimoAssoluto->y, true, true}};
    std::vector<TrattoChiuso> v;
    for (const Pezzo &p : s.pezzi) {
        const double sinistro = estremo(f, s, p.da, +1, p.illimitataDa);
        const double destro = estremo(f, s, p.a, -1, p.illimitataA);
        if (std::isnan(sinistro) || std::isnan(destro))
            return std::nullopt;
        // The ends of the piece are held where f attains the limit there.
        TrattoChiuso t {std::min(sinistro, destro), std::max(sinistro, destro), false, false};
        for (const double x : {p.da, p.a}) {
            // At a corner the study's value (0 for a corner on the axis,
            // where f computes 4.4E-16 at the double nearest √2).
            const auto angolo = std::find_if(s.puntiAngolosi.begin(), s.puntiAngolosi.end(),
                                             [x](const PuntoAngoloso &q) { return q.x == x; });
            if (angolo != s.puntiAngolosi.end()) {
                v.push_back({angolo->y, angolo->y, true, true});
                continue;
            }
            const Valutazione y = f.Valuta(x);
            if (y.ok() && std::isfinite(y.valore))
                v.push_back({y.valore, y.valore, true, true});
        }
        for (const auto *estremi : {&s.massimiRelativi, &s.minimiRelativi})
            for (const PuntoNotevole &q : *estremi)
                if (p.da < q.x && q.x < p.a) {
                    if (q.y <= t.da || vicini(q.y, t.da)) {
                        t.chiusoDa = true;
                        t.da = std::min(t.da, q.y);
                    }
                    if (q.y >= t.a || vicini(q.y, t.a)) {
                        t.chiusoA = true;
                        t.a = std::max(t.a, q.y);
                    }
                }
        if (vicini(t.da, t.a))
            t.chiusoDa = t.chiusoA = true; // constant on the piece
        v.push_back(t);
    }
    if (v.empty())
        return std::nullopt;
    return unisci(std::move(v));
}

std::optional<PuntoNotevole> intersezioneY(Funzione &f, double a, double b)
{
    if (!(a <= 0 && 0 <= b))
        return std::nullopt;
    const Valutazione v = f.Valuta(0);
    if (!v.ok() || !std::isfinite(v.valore))
        return std::nullopt;
    return PuntoNotevole {0, v.valore};
}

std::vector<Tangente> tangentiFlessi(Funzione &f, const Studio &s)
{
    std::vector<Tangente> r;
    for (const PuntoNotevole &p : s.flessi) {
        const Derivate d = f.Deriva(p.x);
        if (!d.ok() || !std::isfinite(d.prima))
            continue;
        // q from the study's y, the value the table shows at the point.
        r.push_back({p.x, d.prima, p.y - d.prima * p.x});
    }
    std::sort(r.begin(), r.end(), [](const Tangente &u, const Tangente &w) { return u.x < w.x; });
    return r;
}

std::string testoTratti(const std::vector<TrattoChiuso> &tratti, char separatore)
{
    if (tratti.empty())
        return "∅";
    const auto numero = [separatore](double v) {
        return std::isinf(v) ? std::string(v > 0 ? "+∞" : "-∞") : testoNumero(v, separatore);
    };
    std::string t;
    for (const TrattoChiuso &c : tratti) {
        if (!t.empty())
            t += " ∪ ";
        // Appended piece by piece: GCC 12 sees an overlapping copy in
        // "literal" + string (-Wrestrict).
        if (c.da == c.a && c.chiusoDa && c.chiusoA) {
            t += '{';
            t += numero(c.da);
            t += '}';
            continue;
        }
        t += c.chiusoDa && !std::isinf(c.da) ? "[" : "(";
        t += numero(c.da);
        t += "; ";
        t += numero(c.a);
        t += c.chiusoA && !std::isinf(c.a) ? "]" : ")";
    }
    return t;
}

} // namespace zelvo
