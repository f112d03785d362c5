#include "analysis/Studio.h"

#include "analysis/Candidati.h"
#include "analysis/Integrale.h"
#include "analysis/StudioInterno.h"
#include "engine/TestoNumero.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvo {

namespace studio {

// ---- the absolute extremes and the whole study ------------------------------

// The absolute extremes: the largest (smallest) of the values f attains
// (at a and b, at the extrema, at the special points where f is defined)
// and of the limits it only approaches; where a limit wins, the supremum
// (infimum) is not attained.
Assoluti Analisi::assoluti()
{
    Assoluti r;
    struct Candidato
    {
        double x, y;
        bool raggiunto;
    };
    std::vector<Candidato> c;
    const auto raggiunto = [&c](double x, double y) {
        c.push_back({x, y, true});
    };
    bool oltreSopra = false, oltreSotto = false; // beyond the largest double
    for (const Intervallo &o : oltre_) {
        const Campione v = valuta(o.da > a_ ? std::nextafter(o.da, -INFINITY) : o.a);
        (v.definito() && v.d.valore < 0 ? oltreSotto : oltreSopra) = true;
    }
    for (const Tratto &t : tratti_) {
        if (t.da == a_ && t.c.front().x == a_)
            raggiunto(t.c.front().x, t.c.front().d.valore);
        if (t.a == b_ && t.c.back().x == b_)
            raggiunto(t.c.back().x, t.c.back().d.valore);
        // Where f was not followed in detail (or without f'), its samples.
        if (!derivate_)
            for (const Campione &k : t.c)
                raggiunto(k.x, k.d.valore);
        else if (forzate_ > 0)
            for (const Campione &k : t.c)
                if (k.x >= forzateDa_ && k.x <= forzateA_)
                    raggiunto(k.x, k.d.valore);
    }
    for (const auto *v : {&s_.massimiRelativi, &s_.minimiRelativi})
        for (const PuntoNotevole &p : *v)
            raggiunto(p.x, p.y);
    for (const Speciale &p : speciali_) {
        if (p.definito)
            raggiunto(p.x, p.y);
        if (p.continuo())
            continue; // its limits are f(x)
        for (const limiti::Stima *s : {&p.sinistro, &p.destro}) {
            if (finito(*s))
                c.push_back({p.x, s->limite.valore, false});
            else if (infinito(*s))
                c.push_back({p.x, pendenza(*s), false});
        }
    }
    if (c.empty())
        return r;
    std::stable_sort(c.begin(), c.end(),
                     [](const Candidato &p, const Candidato &q) { return p.x < q.x; });
    const auto uguali = [](double u, double v) {
        return u == v
                || (std::isfinite(u) && std::isfinite(v)
                    && std::fabs(u - v) <= 1e-12 * std::max(std::fabs(u), std::fabs(v)));
    };
    // The rightmost of the best; one attained wins over a limit of the
    // same value (Int(x) reaches -3 on [-2.5; -2), and tends to it at -2).
    const auto migliore = [&](int verso) {
        const Candidato *m = nullptr;
        for (const Candidato &p : c) {
            if (!m)
                m = &p;
            else if (uguali(p.y, m->y)) {
                if (p.raggiunto || !m->raggiunto)
                    m = &p;
            } else if (verso * p.y > verso * m->y)
                m = &p;
        }
        return *m;
    };
    const Candidato massimo = migliore(+1), minimo = migliore(-1);
    if (!oltreSopra || massimo.y == INFINITY) {
        if (massimo.raggiunto)
            r.massimo = PuntoNotevole {massimo.x, massimo.y};
        else
            r.superiore = PuntoNotevole {massimo.x, massimo.y};
    }
    if (!oltreSotto || minimo.y == -INFINITY) {
        if (minimo.raggiunto)
            r.minimo = PuntoNotevole {minimo.x, minimo.y};
        else
            r.inferiore = PuntoNotevole {minimo.x, minimo.y};
    }
    return r;
}

// Adjacent intervals of one kind that touch become one, except where a
// point between them is no part of either (f = 0 between two positive
// stretches: x^2 at 0).
void unisci(std::vector<Intervallo> &v, const std::vector<double> &tagli)
{
    std::vector<Intervallo> r;
    for (const Intervallo &i : v) {
        if (!r.empty() && r.back().a == i.da
            && !std::binary_search(tagli.begin(), tagli.end(), i.da))
            r.back().a = i.a;
        else
            r.push_back(i);
    }
    v = std::move(r);
}

template<class T> void limita(std::vector<T> &v, const char *nome, std::vector<std::string> &note)
{
    if (v.size() > kMaxPerTipo) {
        note.push_back("Altri " + std::to_string(v.size() - kMaxPerTipo) + " " + nome
                       + " non mostrati: ne sono mostrati i primi " + std::to_string(kMaxPerTipo));
        v.resize(kMaxPerTipo);
    }
}

Studio Analisi::esegui()
{
    if (!f_.definita()) {
        s_.note.push_back("Funzione non accettata: correggerla");
        return s_;
    }
    if (!(a_ <= b_) || !std::isfinite(a_) || !std::isfinite(b_)) {
        s_.note.push_back("a > b: nessun campione");
        return s_;
    }
    s_.eseguito = true;
    derivate_ = f_.conDerivate();
    if (!derivate_)
        s_.note.push_back("Derivate non disponibili (la funzione usa testi, Rnd o chiama F): "
                          "solo zeri, segno e massimo e minimo assoluti");
    if (a_ == b_) {
        const Campione c = valuta(a_);
        if (!c.definito()) {
            s_.nonDefinita.push_back({a_, a_});
            return s_;
        }
        if (c.d.valore == 0)
            s_.zeri.push_back(a_);
        s_.massimoAssoluto = s_.minimoAssoluto = PuntoNotevole {a_, c.d.valore};
        return s_;
    }
    if (derivate_)
        candidati_ = puntiCandidati(f_, a_, b_, kCelleIniziali, 4 * kMaxPerTipo);
    percorri();
    // 1/x^2 overflows on a tiny interval around 0: one asymptote, at the
    // simplest point of it, not one at each of its edges.
    for (const Intervallo &n : s_.nonDefinita) {
        if (n.a - n.da > 1e-9 * (b_ - a_))
            continue;
        auto &v = s_.asintotiVerticali;
        const auto dentro = [&](double x) {
            return x >= n.da && x <= n.a;
        };
        if (std::any_of(v.begin(), v.end(), dentro)) {
            v.erase(std::remove_if(v.begin(), v.end(), dentro), v.end());
            v.push_back(n.da <= 0 && n.a >= 0 ? 0.0 : semplice(n.da, n.a));
        }
    }
    // 1/x overflows on [0, 5.6E-309], 1/x^2 on [-7.5E-155, 7.5E-155]: an
    // undefined stretch around 0 too short to show at 15 digits is the
    // point 0 where f is not defined.
    for (Intervallo &n : s_.nonDefinita) {
        if (!(n.da <= 0 && n.a >= 0 && n.a - n.da <= 1e-15 * (b_ - a_)))
            continue;
        for (Tratto &t : tratti_) {
            if (t.da == n.a)
                t.da = 0;
            if (t.a == n.da)
                t.a = 0;
        }
        n.da = n.a = 0;
    }
    puntiSpeciali();
    ricomponi();
    for (const Tratto &t : tratti_) {
        CaratteristichePezzo k = studiaTratto(t);
        const auto unisci = [](auto &in, auto &da) {
            in.insert(in.end(), da.begin(), da.end());
        };
        unisci(s_.zeri, k.zeri);
        unisci(s_.massimiRelativi, k.massimi);
        unisci(s_.minimiRelativi, k.minimi);
        unisci(s_.flessi, k.flessi);
        unisci(s_.flessiOrizzontali, k.flessiOrizzontali);
        unisci(s_.positiva, k.positiva);
        unisci(s_.negativa, k.negativa);
        unisci(s_.crescente, k.crescente);
        unisci(s_.decrescente, k.decrescente);
        unisci(s_.concavaAlto, k.concavaAlto);
        unisci(s_.concavaBasso, k.concavaBasso);
        unisci(s_.note, k.note);
        s_.pezzi.push_back({t.da, t.a, t.illimitataInizio, t.illimitataFine});
    }
    riportaSpeciali();
    // Corners where f' changes sign are relative extrema.
    for (const Angolo &a : angoli_) {
        if (a.x <= a_ || a.x >= b_)
            continue;
        if (a.sinistra > 0 && a.destra < 0)
            s_.massimiRelativi.push_back({a.x, a.y});
        else if (a.sinistra < 0 && a.destra > 0)
            s_.minimiRelativi.push_back({a.x, a.y});
    }
    const Assoluti estremi = assoluti();
    s_.massimoAssoluto = estremi.massimo;
    s_.minimoAssoluto = estremi.minimo;
    s_.estremoSuperiore = estremi.superiore;
    s_.estremoInferiore = estremi.inferiore;

    const auto ordina = [](std::vector<PuntoNotevole> &v) {
        std::sort(v.begin(), v.end(),
                  [](const PuntoNotevole &p, const PuntoNotevole &q) { return p.x < q.x; });
        v.erase(std::unique(
                        v.begin(), v.end(),
                        [](const PuntoNotevole &p, const PuntoNotevole &q) { return p.x == q.x; }),
                v.end());
    };
    std::sort(s_.zeri.begin(), s_.zeri.end());
    s_.zeri.erase(std::unique(s_.zeri.begin(), s_.zeri.end()), s_.zeri.end());
    ordina(s_.massimiRelativi);
    ordina(s_.minimiRelativi);
    ordina(s_.flessi);
    ordina(s_.flessiOrizzontali);
    for (auto *v : {&s_.asintotiVerticali, &s_.salti}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    // Intervals split only where the property fails at a point: f = 0
    // (sign); an undefined stretch between pieces splits them already.
    std::vector<double> tagliSegno = s_.zeri;
    for (const Intervallo &n : s_.nonDefinita)
        tagliSegno.push_back(n.da), tagliSegno.push_back(n.a);
    for (double x : s_.asintotiVerticali)
        tagliSegno.push_back(x);
    // Intervals never run across a special point of any kind.
    for (const Speciale &p : speciali_)
        tagliSegno.push_back(p.x);
    std::sort(tagliSegno.begin(), tagliSegno.end());
    std::vector<double> tagli;
    for (const Speciale &p : speciali_)
        tagli.push_back(p.x);
    for (const Intervallo &n : s_.nonDefinita)
        tagli.push_back(n.da), tagli.push_back(n.a);
    for (double x : s_.asintotiVerticali)
        tagli.push_back(x);
    std::sort(tagli.begin(), tagli.end());
    for (auto *v : {&s_.positiva, &s_.negativa})
        unisci(*v, tagliSegno);
    unisci(s_.crescente, tagli);
    unisci(s_.decrescente, tagli);
    // Concavity does not carry across a corner or a jump (Sqr(Abs(x)) is
    // concave down on each side of 0, not across it).
    for (const Angolo &a : angoli_)
        tagli.push_back(a.x);
    tagli.insert(tagli.end(), s_.salti.begin(), s_.salti.end());
    std::sort(tagli.begin(), tagli.end());
    unisci(s_.concavaAlto, tagli);
    unisci(s_.concavaBasso, tagli);

    limita(s_.zeri, "zeri", s_.note);
    limita(s_.massimiRelativi, "massimi relativi", s_.note);
    limita(s_.minimiRelativi, "minimi relativi", s_.note);
    limita(s_.flessi, "flessi", s_.note);
    limita(s_.flessiOrizzontali, "flessi a tangente orizzontale", s_.note);
    limita(s_.nonDefinita, "intervalli dove f non è definita", s_.note);
    limita(s_.asintotiVerticali, "asintoti verticali", s_.note);
    limita(s_.salti, "salti", s_.note);
    limita(s_.eliminabili, "punti di discontinuità eliminabile", s_.note);
    limita(s_.limiti, "limiti", s_.note);
    limita(s_.puntiAngolosi, "punti angolosi", s_.note);
    limita(s_.cuspidi, "cuspidi", s_.note);
    limita(s_.flessiVerticali, "flessi a tangente verticale", s_.note);
    limita(s_.positiva, "intervalli dove f è positiva", s_.note);
    limita(s_.negativa, "intervalli dove f è negativa", s_.note);
    limita(s_.crescente, "intervalli dove f è crescente", s_.note);
    limita(s_.decrescente, "intervalli dove f è decrescente", s_.note);
    limita(s_.concavaAlto, "intervalli dove f è concava verso l'alto", s_.note);
    limita(s_.concavaBasso, "intervalli dove f è concava verso il basso", s_.note);
    notaRisoluzione();
    return s_;
}

// Where f was followed down to the study's resolution and still varied
// faster. Cells beside a special point do not count: f breaks there, and
// its limits, not the sweep, say what it does. A few cells, or a stretch
// too short to matter (where f' loses digits to cancellation, as Sin(x)/x
// near 0), are no reason for a note either.
void Analisi::notaRisoluzione()
{
    const double vicino = 1e-6 * (b_ - a_);
    std::size_t quante = 0;
    double da = INFINITY, a = -INFINITY, larga = 0;
    for (const Intervallo &c : celleForzate_) {
        const auto accanto = std::lower_bound(speciali_.begin(), speciali_.end(), c.da - vicino,
                                              [](const Speciale &p, double x) { return p.x < x; });
        if (accanto != speciali_.end() && accanto->x <= c.a + vicino)
            continue;
        ++quante;
        da = std::min(da, c.da);
        a = std::max(a, c.a);
        larga = std::max(larga, c.a - c.da);
    }
    if (celleForzate_.size() < forzate_) // past the cells kept: as before, all of them
        quante = forzate_, da = forzateDa_, a = forzateA_, larga = forzataMassima_;
    if (quante > 16 && a - da > vicino)
        s_.note.push_back("Tra x = " + numero(da) + " e x = " + numero(a)
                          + " f varia più in fretta della risoluzione dello studio ("
                          + numero(std::max(passoMinimo_, larga))
                          + "): lì possono esserci altri zeri, estremi e flessi");
}

} // namespace studio

std::string avvisiStudio(const Studio &studio, char separatoreDecimale)
{
    std::string t;
    if (!studio.nonDefinita.empty())
        t = "f non definita in " + testoNonDefinita(studio.nonDefinita, separatoreDecimale);
    for (const std::string &n : studio.note)
        t += (t.empty() ? "" : "; ") + n;
    return t;
}

Studio studia(Funzione &f, double a, double b, char separatoreDecimale)
{
    // -0 typed as an end is 0: the stages order doubles by their bits too,
    // where -0 and 0 are two points.
    return studio::Analisi(f, a + 0.0, b + 0.0, separatoreDecimale).esegui();
}

} // namespace zelvo
