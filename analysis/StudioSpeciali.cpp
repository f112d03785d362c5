// The special points: candidates classified by their limits, the pieces
// rebuilt between them, and what they add to the study.
#include "analysis/StudioInterno.h"

#include "engine/Errori.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace zelvo::studio {

// ---- special points -----------------------------------------------------------

// What f does at x, from the limits on each side within hMax (and within
// [a, b]).
Speciale Analisi::classifica(double x, double hMax)
{
    Speciale p;
    p.x = x;
    const Campione c = valuta(x);
    p.definito = c.definito();
    p.y = c.d.valore;
    if (x > a_)
        p.sinistro = limiti::limite(f_, x, -1, std::min(hMax, x - a_), 0);
    if (x < b_)
        p.destro = limiti::limite(f_, x, +1, std::min(hMax, b_ - x), 0);
    // Where f is not defined, a side where it overflowed all the way to
    // half the distance to the next point is looked at again, farther:
    // Exp(1/x) overflows on (0; 0,0014), and the point at -0,0014 (where
    // Exp underflows) is no reason to stop short of where f is finite again.
    const double lontano = (b_ - a_) / 16;
    if (!p.definito && p.sinistro.oltre && x > a_ && hMax < lontano)
        p.sinistro = limiti::limite(f_, x, -1, std::min(lontano, x - a_), 0);
    if (!p.definito && p.destro.oltre && x < b_ && hMax < lontano)
        p.destro = limiti::limite(f_, x, +1, std::min(lontano, b_ - x), 0);
    const bool sx = p.sinistro.limite.tipo != TipoLimite::Assente;
    const bool dx = p.destro.limite.tipo != TipoLimite::Assente;
    const auto nonEsiste = [](const Stima &s) {
        return s.limite.tipo == TipoLimite::NonEsiste;
    };
    // (0/0 is an overflow too: f's own error does not tell.)
    p.oltre = p.sinistro.oltre || p.destro.oltre;
    if (p.oltre)
        p.genere = Genere::Dentro; // where f overflows: its note tells
    else if (!sx && !dx)
        p.genere = p.definito ? Genere::Liscio : Genere::Dentro;
    else if (nonEsiste(p.sinistro) || nonEsiste(p.destro))
        p.genere = Genere::NonEsiste;
    else if (infinito(p.sinistro) || infinito(p.destro))
        p.genere = Genere::Asintoto;
    else if (sx != dx) {
        // One side only: an end of [a, b], or an edge of the domain.
        const bool fuori = (x == a_ && !sx) || (x == b_ && !dx);
        const Stima &u = sx ? p.sinistro : p.destro;
        if (!p.definito)
            p.genere = Genere::Bordo;
        else if (!vale(p.y, u))
            p.genere = Genere::Salto;
        else
            p.genere = fuori ? Genere::Liscio : Genere::Bordo;
    } else if (!limiti::uguali(p.sinistro, p.destro)) {
        p.genere = Genere::Salto;
    } else if (!p.definito || !vale(p.y, p.sinistro)) {
        p.genere = Genere::Eliminabile;
    } else {
        // Continuous: the slopes on each side.
        const Stima ms = limiti::limite(f_, x, -1, std::min(hMax, x - a_), 1);
        const Stima md = limiti::limite(f_, x, +1, std::min(hMax, b_ - x), 1);
        p.mSinistra = limiti::cifreCerte(pendenza(ms), ms.incertezza);
        p.mDestra = limiti::cifreCerte(pendenza(md), md.incertezza);
        if (finito(ms) && finito(md))
            p.genere = limiti::uguali(ms, md)
                            || std::fabs(p.mSinistra - p.mDestra)
                                    <= 1e-6 * std::max(std::fabs(p.mSinistra), std::fabs(p.mDestra))
                    ? Genere::Liscio
                    : Genere::Angoloso;
        else if (infinito(ms) && infinito(md))
            p.genere = (p.mSinistra > 0) == (p.mDestra > 0) ? Genere::FlessoVerticale
                                                            : Genere::Cuspide;
        else if ((infinito(ms) && finito(md)) || (finito(ms) && infinito(md)))
            p.genere = Genere::Angoloso;
    }
    // A corner on the axis is a zero: f there is 0 within what locating x
    // allows (Abs(x^2-3.6) is 4.4E-16 at the double nearest its root).
    const double m = std::max(std::isfinite(p.mSinistra) ? std::fabs(p.mSinistra) : 0.0,
                              std::isfinite(p.mDestra) ? std::fabs(p.mDestra) : 0.0);
    if (p.continuo() && p.definito && std::fabs(p.y) <= 8 * ulp(x) * m)
        p.y = 0;
    if (p.genere != Genere::Liscio && p.genere != Genere::Dentro && derivate_) {
        if (finito(p.sinistro))
            p.raggioSinistro = limiti::raggioRumore(f_, x, -1, std::min(hMax, x - a_));
        if (finito(p.destro))
            p.raggioDestro = limiti::raggioRumore(f_, x, +1, std::min(hMax, b_ - x));
    }
    return p;
}

// The candidate points (from the expression, the edges of the stretches
// where f is not defined, and what the sweep found) classified by their
// limits; those inside the rounding of a surer point are dropped.
void Analisi::puntiSpeciali()
{
    // Stretches where f only overflowed are not undefined: f is there,
    // beyond the largest double.
    std::vector<Intervallo> nonDef;
    std::vector<double> sicuri(candidati_.begin(), candidati_.end());
    for (const Intervallo &n : s_.nonDefinita) {
        if (n.a > n.da) {
            const Campione m = valuta(ricerca::medio(n.da, n.a));
            if (m.d.errore == Errore::ErroreOverflow) {
                oltre_.push_back(n);
                if (n.da <= 0 && n.a >= 0 && !valuta(0.0).definito())
                    sicuri.push_back(0);
                continue;
            }
        }
        nonDef.push_back(n);
        sicuri.push_back(n.da);
        sicuri.push_back(n.a);
    }
    s_.nonDefinita = nonDef;
    std::vector<double> trovati = s_.asintotiVerticali;
    trovati.insert(trovati.end(), s_.salti.begin(), s_.salti.end());
    for (const Angolo &k : angoli_)
        trovati.push_back(k.x);
    const auto ordina = [](std::vector<double> &v) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
    };
    ordina(sicuri);
    ordina(trovati);
    // Half the distance to the nearest other point: how far the limits look.
    const auto distanze = [this](const std::vector<double> &v, std::size_t i) {
        double h = (b_ - a_) / 16;
        if (i > 0)
            h = std::min(h, (v[i] - v[i - 1]) / 2);
        if (i + 1 < v.size())
            h = std::min(h, (v[i + 1] - v[i]) / 2);
        return h;
    };
    const auto dentroStretto = [&](double x) {
        return std::any_of(s_.nonDefinita.begin(), s_.nonDefinita.end(),
                           [x](const Intervallo &n) { return n.da < x && x < n.a; });
    };
    std::erase_if(sicuri, dentroStretto);
    // Points closer than the study can tell apart are one: the simplest
    // (1/x^2 overflows within 1.6E-162 of 0: the point is 0).
    std::vector<double> uniti;
    for (const double x : sicuri) {
        if (!uniti.empty() && x - uniti.back() <= 1e-12 * (b_ - a_))
            uniti.back() = uniti.back() <= 0 && x >= 0 ? 0.0 : semplice(uniti.back(), x);
        else
            uniti.push_back(x);
    }
    sicuri = std::move(uniti);
    if (sicuri.size() > 4 * kMaxPerTipo)
        sicuri.resize(4 * kMaxPerTipo);
    std::vector<Speciale> punti;
    for (std::size_t i = 0; i < sicuri.size(); ++i)
        punti.push_back(classifica(sicuri[i], distanze(sicuri, i)));
    // A point inside what f cannot compute (1/x^2 overflows within
    // 1.6E-162 of 0) is no neighbour: its neighbours look again, farther.
    const auto trabocca = [](const Speciale &p) {
        return p.genere == Genere::Dentro && p.oltre;
    };
    if (std::any_of(punti.begin(), punti.end(), trabocca)) {
        std::erase_if(punti, trabocca);
        sicuri.clear();
        for (const Speciale &p : punti)
            sicuri.push_back(p.x);
        for (std::size_t i = 0; i < sicuri.size(); ++i)
            punti[i] = classifica(sicuri[i], distanze(sicuri, i));
    }
    // What the sweep found near a surer point (within its rounding, or a few
    // digits from it) is that point.
    const auto coperto = [&](double x) {
        if (dentroStretto(x))
            return true;
        return std::any_of(punti.begin(), punti.end(), [x](const Speciale &p) {
            const double d = x - p.x;
            return std::fabs(d) <= 1e-9 * std::max(1.0, std::fabs(x))
                    || (d < 0 && -d <= p.raggioSinistro) || (d > 0 && d <= p.raggioDestro);
        });
    };
    std::vector<double> resto;
    for (const double x : trovati)
        if (!coperto(x))
            resto.push_back(x);
    std::vector<double> tutti = sicuri;
    tutti.insert(tutti.end(), resto.begin(), resto.end());
    ordina(tutti);
    for (std::size_t i = 0; i < resto.size() && i < 4 * kMaxPerTipo; ++i) {
        const std::size_t k = static_cast<std::size_t>(
                std::lower_bound(tutti.begin(), tutti.end(), resto[i]) - tutti.begin());
        punti.push_back(classifica(resto[i], distanze(tutti, k)));
    }
    std::sort(punti.begin(), punti.end(),
              [](const Speciale &p, const Speciale &q) { return p.x < q.x; });
    // Where f stops overflowing it is huge or overflows itself: its note
    // tells, not a limit read half in overflow (Exp(1/x) at 0,0014). A point
    // where f fails otherwise (1/x at 0) stays.
    const auto bordoOltre = [this](const Speciale &p) {
        const Campione c = valuta(p.x);
        if (!c.definito() && c.d.errore != Errore::ErroreOverflow)
            return false;
        const auto presso = [&p](double e) {
            return std::fabs(p.x - e)
                    <= 8 * (std::nextafter(std::fabs(e), INFINITY) - std::fabs(e));
        };
        return std::any_of(oltre_.begin(), oltre_.end(),
                           [&](const Intervallo &o) { return presso(o.da) || presso(o.a); });
    };
    for (const Speciale &p : punti)
        if (p.genere != Genere::Liscio && p.genere != Genere::Dentro && !bordoOltre(p))
            speciali_.push_back(p);
}

// The pieces again, between the special points kept and the stretches where
// f is not defined, from the sweep's samples; none within the rounding
// around a special point.
void Analisi::ricomponi()
{
    std::vector<Campione> tutti;
    std::size_t quanti = 0;
    for (const Tratto &t : tratti_)
        quanti += t.c.size();
    tutti.reserve(quanti);
    for (Tratto &t : tratti_) {
        tutti.insert(tutti.end(), t.c.begin(), t.c.end());
        t.c = {};
    }
    std::sort(tutti.begin(), tutti.end(),
              [](const Campione &u, const Campione &v) { return u.x < v.x; });
    tutti.erase(std::unique(tutti.begin(), tutti.end(),
                            [](const Campione &u, const Campione &v) { return u.x == v.x; }),
                tutti.end());
    std::vector<double> tagli {a_, b_};
    for (const Speciale &p : speciali_)
        tagli.push_back(p.x);
    for (const Intervallo &n : s_.nonDefinita)
        tagli.insert(tagli.end(), {n.da, n.a});
    std::sort(tagli.begin(), tagli.end());
    tagli.erase(std::unique(tagli.begin(), tagli.end()), tagli.end());
    const auto speciale = [this](double x) -> const Speciale * {
        const auto i = std::lower_bound(speciali_.begin(), speciali_.end(), x,
                                        [](const Speciale &p, double v) { return p.x < v; });
        return i != speciali_.end() && i->x == x ? &*i : nullptr;
    };
    const auto nonDefinitaIn = [this](double x) {
        return std::any_of(s_.nonDefinita.begin(), s_.nonDefinita.end(),
                           [x](const Intervallo &n) { return n.da <= x && x <= n.a; });
    };
    std::vector<Tratto> nuovi;
    for (std::size_t i = 0; i + 1 < tagli.size(); ++i) {
        const double lo = tagli[i], hi = tagli[i + 1];
        if (nonDefinitaIn(ricerca::medio(lo, hi)))
            continue;
        const Speciale *sl = speciale(lo), *sh = speciale(hi);
        // Samples kept: inside, beyond the rounding of the ends.
        const double da = sl ? lo + std::max(sl->raggioDestro, guardia(lo)) : lo;
        const double fino = sh ? hi - std::max(sh->raggioSinistro, guardia(hi)) : hi;
        Tratto t;
        const auto primo = std::lower_bound(tutti.begin(), tutti.end(), lo,
                                            [](const Campione &c, double v) { return c.x < v; });
        t.c.reserve(static_cast<std::size_t>(
                std::upper_bound(primo, tutti.end(), hi,
                                 [](double v, const Campione &c) { return v < c.x; })
                - primo));
        for (auto k = std::lower_bound(tutti.begin(), tutti.end(), lo,
                                       [](const Campione &c, double v) { return c.x < v; });
             k != tutti.end() && k->x <= hi; ++k) {
            // A special point's own sample has its derivatives from one
            // side: it is left to the point's own study.
            const bool estremo = (k->x == lo && !sl) || (k->x == hi && !sh);
            if (estremo || (k->x > da && k->x < fino))
                t.c.push_back(*k);
        }
        if (t.c.size() < 2) {
            for (const double q : {0.25, 0.5, 0.75}) {
                const Campione m = valuta(lo + (hi - lo) * q);
                if (m.definito() && (t.c.empty() || m.x > t.c.back().x))
                    t.c.push_back(m);
            }
            std::sort(t.c.begin(), t.c.end(),
                      [](const Campione &u, const Campione &v) { return u.x < v.x; });
        }
        if (t.c.empty())
            continue;
        t.da = lo;
        t.a = hi;
        const auto fine = [&](const Speciale *p, double x) {
            if (!p)
                return x == a_ || x == b_ ? Fine::Estremo : Fine::Bordo;
            switch (p->genere) {
            case Genere::Asintoto:
                return Fine::Asintoto;
            case Genere::Salto:
            case Genere::Eliminabile:
            case Genere::NonEsiste:
                return Fine::Salto;
            case Genere::Bordo:
                return Fine::Bordo;
            default:
                return Fine::Angolo;
            }
        };
        t.inizio = fine(sl, lo);
        t.fine = fine(sh, hi);
        t.illimitataInizio = sl && infinito(sl->destro);
        t.illimitataFine = sh && infinito(sh->sinistro);
        nuovi.push_back(std::move(t));
    }
    tratti_ = std::move(nuovi);
    // The corners, for the extrema.
    angoli_.clear();
    for (const Speciale &p : speciali_)
        if (p.continuo())
            angoli_.push_back({p.x, p.y, p.mSinistra, p.mDestra});
}

// The special points into the study: each kind, the limits, the points
// where f is not defined, and a corner on the axis as a zero.
void Analisi::riportaSpeciali()
{
    s_.asintotiVerticali.clear();
    s_.salti.clear();
    for (const Speciale &p : speciali_) {
        const auto limite = [](const limiti::Stima &s) {
            return s.limite;
        };
        switch (p.genere) {
        case Genere::Asintoto:
            s_.asintotiVerticali.push_back(p.x);
            break;
        case Genere::Salto:
            s_.salti.push_back(p.x);
            break;
        case Genere::Eliminabile:
            s_.eliminabili.push_back({p.x, p.sinistro.limite.valore});
            break;
        case Genere::Angoloso:
            s_.puntiAngolosi.push_back({p.x, p.y, p.mSinistra, p.mDestra});
            break;
        case Genere::Cuspide:
            s_.cuspidi.push_back({p.x, p.y});
            break;
        case Genere::FlessoVerticale:
            s_.flessiVerticali.push_back({p.x, p.y});
            break;
        default:
            break;
        }
        if (!p.continuo())
            s_.limiti.push_back({p.x, limite(p.sinistro), limite(p.destro),
                                 p.definito ? std::optional(p.y) : std::nullopt});
        if (!p.definito)
            s_.nonDefinita.push_back({p.x, p.x});
        if (p.definito && p.y == 0)
            s_.zeri.push_back(p.x);
    }
    auto &n = s_.nonDefinita;
    std::sort(n.begin(), n.end(),
              [](const Intervallo &u, const Intervallo &v) { return u.da < v.da; });
    std::vector<Intervallo> r;
    for (const Intervallo &i : n) {
        if (!r.empty() && i.da <= r.back().a)
            r.back().a = std::max(r.back().a, i.a);
        else
            r.push_back(i);
    }
    n = std::move(r);
    for (const Intervallo &o : oltre_)
        s_.note.push_back("Tra x = " + numero(o.da) + " e x = " + numero(o.a)
                          + " |f| supera il più grande double: lì f non è calcolabile");
}

} // namespace zelvo::studio
