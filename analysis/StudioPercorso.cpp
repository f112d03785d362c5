// The sweep: the grid refined until f is smooth between samples, and what
// breaks it located to two adjacent doubles.
#include "analysis/StudioInterno.h"

#include "engine/Errori.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace zelvo::studio {

// ---- the sweep ---------------------------------------------------------------

void Analisi::percorri()
{
    const double h = (b_ - a_) / kCelleIniziali;
    passoMinimo_ = std::ldexp(h, -kLivelli);
    Campione p = valuta(a_);
    if (p.definito())
        apri(p, Fine::Estremo, false);
    else
        nonDefinitaDa_ = a_;
    // The candidate points from the expression are nodes of the grid, so
    // a hole between two nodes is never stepped over.
    std::size_t j = 0;
    const auto passo = [&](double x) {
        if (!(x > p.x))
            return;
        const Campione q = valuta(x);
        cella(p, q, 0);
        p = q;
    };
    for (std::size_t i = 1; i <= kCelleIniziali; ++i) {
        const double x = i == kCelleIniziali ? b_ : a_ + static_cast<double>(i) * h;
        for (; j < candidati_.size() && candidati_[j] < x; ++j)
            passo(candidati_[j]);
        passo(x);
    }
    if (aperto_)
        chiudi(Fine::Estremo, false);
    else if (!std::isnan(nonDefinitaDa_))
        nonDefinita(nonDefinitaDa_, b_);
}

// The cell (p, q), whose start p has been taken already: refined until the
// middle is predicted, or classified when it cannot be refined further.
void Analisi::cella(const Campione &p, const Campione &q, int livello)
{
    if (!p.definito() && !q.definito()) {
        // Inside an undefined stretch; a defined island in between is
        // looked for only while refining.
        if (livello < 8 && q.x - p.x > passoMinimo_ * 2) {
            const Campione m = valuta(p.x + (q.x - p.x) / 2);
            if (m.definito()) {
                cella(p, m, livello + 1);
                cella(m, q, livello + 1);
            }
        }
        return;
    }
    if (p.definito() != q.definito()) {
        if (livello < kLivelli && q.x - p.x > passoMinimo_ && valutazioni_ < kBudget) {
            const Campione m = valuta(p.x + (q.x - p.x) / 2);
            cella(p, m, livello + 1);
            cella(m, q, livello + 1);
        } else {
            bordo(p, q);
        }
        return;
    }
    const Campione m = valuta(p.x + (q.x - p.x) / 2);
    if (m.x <= p.x || m.x >= q.x) { // adjacent doubles
        difficile(p, q);
        return;
    }
    if (prevede(p, m, q)) {
        aggiungi(m, Cella::Liscia);
        aggiungi(q, Cella::Liscia);
        return;
    }
    if (valutazioni_ >= kBudget) {
        aggiungi(m.definito() ? m : q, Cella::Forzata);
        aggiungi(q, Cella::Forzata);
        return;
    }
    if (livello >= kLivelli || q.x - p.x <= passoMinimo_) {
        difficile(p, q);
        return;
    }
    cella(p, m, livello + 1);
    cella(m, q, livello + 1);
}

// How far f and f' in the middle m of (p, q) are from what the quintic that
// takes f, f' and f'' of both ends predicts, each relative to the scale of
// f (of f') over the cell; the larger of the two. Infinite where m is not
// defined or a derivative is missing.
double difetto(const Campione &p, const Campione &m, const Campione &q)
{
    if (!m.definito() || !p.d.derivabile || !m.d.derivabile || !q.d.derivabile)
        return INFINITY;
    const double h = q.x - p.x;
    const Derivate &f0 = p.d, &f1 = q.d, &fm = m.d;
    const double valore = (f0.valore + f1.valore) / 2 + 5 * h * (f0.prima - f1.prima) / 32
            + h * h * (f0.seconda + f1.seconda) / 64;
    const double pendenza = 15 * (f1.valore - f0.valore) / (8 * h) - 7 * (f0.prima + f1.prima) / 16
            + h * (f1.seconda - f0.seconda) / 32;
    const double scala = std::fabs(f0.valore) + std::fabs(f1.valore) + std::fabs(fm.valore)
            + h * (std::fabs(f0.prima) + std::fabs(f1.prima) + std::fabs(fm.prima))
            + h * h * (std::fabs(f0.seconda) + std::fabs(f1.seconda));
    const double scalaPendenza = std::fabs(f0.prima) + std::fabs(f1.prima) + std::fabs(fm.prima)
            + h * (std::fabs(f0.seconda) + std::fabs(f1.seconda) + std::fabs(fm.seconda));
    const double d = std::max(std::fabs(fm.valore - valore) / (scala + 1e-300),
                              std::fabs(fm.prima - pendenza) / (scalaPendenza + 1e-300));
    return std::isnan(d) ? INFINITY : d;
}

// True when f is smooth on (p, q) as far as the middle tells: the quintic
// predicts f and f' there, and the sign of f'' in the middle agrees with one
// end's (else the cell may hide two inflections).
bool Analisi::prevede(const Campione &p, const Campione &m, const Campione &q) const
{
    if (!derivate_) // only f: every defined cell is taken as it comes
        return m.definito();
    const int s = segno(m.d.seconda);
    const bool curvatura = s == segno(p.d.seconda) || s == segno(q.d.seconda) || m.d.seconda == 0;
    return difetto(p, m, q) <= 1e-5 && curvatura;
}

// The piece ends at p, before a jump or a pole at x; the next begins at q
// and runs on to q0.
void Analisi::separa(const Campione &p, const Campione &q, const Campione &q0, Fine fine,
                     bool sinistra, bool destra, double x)
{
    aggiungi(p, Cella::Liscia);
    chiudi(fine, sinistra);
    tratti_.back().a = x;
    apri(q, fine, destra);
    tratti_.back().da = x;
    aggiungi(q0, Cella::Liscia);
}

// A cell too small to refine that is still not smooth: bisection to two
// adjacent doubles across what breaks it, then what it is.
void Analisi::difficile(const Campione &p0, const Campione &q0)
{
    Campione p = p0, q = q0;
    // Far from the break, the half that breaks more: whose middle its ends
    // predict worse. Near it, the end whose f and f' the middle is closer to
    // (a jump in f, a pole's sign, a corner's slope).
    const auto somiglia = [](const Campione &m, const Campione &u, const Campione &v) {
        const double s0 = std::fabs(u.d.valore) + std::fabs(v.d.valore) + 1e-300;
        const double s1 = std::fabs(u.d.prima) + std::fabs(v.d.prima) + 1e-300;
        const auto distanza = [&](const Campione &e) {
            return std::fabs(m.d.valore - e.d.valore) / s0 + std::fabs(m.d.prima - e.d.prima) / s1;
        };
        return distanza(u) <= distanza(v);
    };
    const auto rottura = [this](const Campione &u, const Campione &v) {
        const double x = ricerca::medio(u.x, v.x);
        if (!(x > u.x && x < v.x)) // two adjacent doubles: the jump in f
            return std::fabs(v.d.valore - u.d.valore);
        return difetto(u, valuta(x), v);
    };
    for (int i = 0; i < 128; ++i) {
        const double xm = ricerca::medio(p.x, q.x);
        if (xm <= p.x || xm >= q.x)
            break;
        const Campione m = valuta(xm);
        if (!m.definito()) {
            // An undefined stretch inside: two edges.
            bordo(p, m);
            bordo(m, q);
            aggiungi(q0, Cella::Liscia);
            return;
        }
        if (q.x - p.x > 0x1p-30 * std::max({std::fabs(p.x), std::fabs(q.x), 1e-300}))
            (rottura(p, m) >= rottura(m, q) ? q : p) = m;
        else // near the break rounding blurs that: the end m resembles
            (somiglia(m, p, q) ? p : q) = m;
    }
    const Derivate &l = p.d, &r = q.d;
    const double h = q.x - p.x;
    // A pole first: |f| grows without bound towards the point from one side
    // (near it f' times a step is as large as f, so no bound on f' tells).
    const bool sinistra = illimitata(p.x, -1);
    const bool destra = illimitata(q.x, +1);
    if (sinistra || destra) {
        const double x = semplice(p.x, q.x);
        s_.asintotiVerticali.push_back(x);
        separa(p, q, q0, Fine::Asintoto, sinistra, destra, x);
        return;
    }
    const double salita = std::fabs(r.valore - l.valore);
    const double ammessa = 16 * h * (std::fabs(l.prima) + std::fabs(r.prima))
            + 1e-12 * std::max(std::fabs(l.valore), std::fabs(r.valore)) + 1e-300;
    if (salita > ammessa) {
        // Int(x) at 1 names 1 (where it is not derivable), else the point
        // with the simpler text.
        const double x = !l.derivabile ? p.x : (!r.derivabile ? q.x : semplice(p.x, q.x));
        s_.salti.push_back(x);
        separa(p, q, q0, Fine::Salto, false, false, x);
        return;
    }
    // f is continuous across: a corner when f' changes beyond what f''
    // explains, or where the engine says f has none (then the point is the
    // one it names).
    // The corner is the point the engine names, else the right one; the
    // slope on its left is that of the double before it, on its right its
    // own (the engine's derivative there is the one from the right).
    const Campione &c = !l.derivabile ? p : q;
    const Campione sx = c.x == q.x ? p : valuta(std::nextafter(c.x, -INFINITY));
    const double cambio = std::fabs(c.d.prima - sx.d.prima);
    const bool angolo = sx.definito() && std::isfinite(cambio)
            && cambio > 1e-6 * (std::fabs(c.d.prima) + std::fabs(sx.d.prima))
                            + 16 * h * (std::fabs(c.d.seconda) + std::fabs(sx.d.seconda)) + 1e-300;
    if (angolo) {
        angoli_.push_back({c.x, c.d.valore, sx.d.prima, c.d.prima});
        // The piece on the left ends just before the corner, whose
        // derivatives are those from the right.
        if (sx.definito())
            aggiungi(sx, Cella::Liscia);
        chiudi(Fine::Angolo, false);
        tratti_.back().a = c.x;
        apri(c, Fine::Angolo, false);
        aggiungi(q, Cella::Liscia);
        aggiungi(q0, Cella::Liscia);
        return;
    }
    // Smooth at the finest scale: taken as smooth, and counted.
    aggiungi(q0, Cella::Forzata);
}

// p and q on either side of an edge of the domain: the edge to the last
// double, then the piece closed or opened there.
void Analisi::bordo(const Campione &p0, const Campione &q0)
{
    Campione p = p0, q = q0;
    const bool entra = q.definito(); // undefined before, defined after
    for (int i = 0; i < 128; ++i) {
        const double xm = ricerca::medio(p.x, q.x);
        if (xm <= p.x || xm >= q.x)
            break;
        const Campione m = valuta(xm);
        (m.definito() == p.definito() ? p : q) = m;
    }
    // The edge is told by the simpler of the two doubles beside it (Sqr(x)
    // is not defined on [-3, 0), said -3 and 0, not -4.94E-324).
    const double x = semplice(p.x, q.x);
    if (entra) {
        // [.., p] undefined, q the first defined double.
        nonDefinita(std::isnan(nonDefinitaDa_) ? p.x : nonDefinitaDa_, x);
        nonDefinitaDa_ = NAN;
        const bool infinita = illimitata(q.x, +1);
        apri(q, Fine::Bordo, infinita);
        tratti_.back().da = x;
        if (infinita)
            s_.asintotiVerticali.push_back(x);
    } else {
        aggiungi(p, Cella::Liscia);
        const bool infinita = illimitata(p.x, -1);
        chiudi(Fine::Bordo, infinita);
        tratti_.back().a = x;
        nonDefinitaDa_ = x;
        if (infinita)
            s_.asintotiVerticali.push_back(x);
    }
}

void Analisi::nonDefinita(double da, double a)
{
    if (!s_.nonDefinita.empty() && s_.nonDefinita.back().a >= da)
        s_.nonDefinita.back().a = std::max(s_.nonDefinita.back().a, a);
    else
        s_.nonDefinita.push_back({da, a});
}

// True when |f| grows without bound as x approaches from side lato (-1: from
// the left): |f| sampled at distances shrinking by 100 keeps growing, by
// steps that do not shrink (a pole, a logarithm), where a bounded f settles.
bool Analisi::illimitata(double x, int lato)
{
    const double scala = std::max(std::fabs(x), 1.0);
    double precedente = NAN, passo = NAN;
    int crescite = 0;
    for (int k = 1; k <= 7; ++k) {
        const double d = scala * std::pow(10.0, -2.0 * k);
        const double xk = x + lato * d;
        if (xk == x)
            break;
        const Campione c = valuta(xk);
        if (!c.definito())
            return false;
        const double v = std::fabs(c.d.valore);
        if (!std::isnan(precedente)) {
            const double nuovo = v - precedente;
            if (!(nuovo > 0) || (!std::isnan(passo) && nuovo < 0.5 * passo))
                return false;
            passo = nuovo;
            ++crescite;
        }
        precedente = v;
    }
    return crescite >= 4;
}

void Analisi::aggiungi(const Campione &q, Cella tipo)
{
    if (!aperto_)
        return;
    std::vector<Campione> &c = tratti_.back().c;
    if (!c.empty() && q.x <= c.back().x)
        return;
    if (tipo == Cella::Forzata) {
        ++forzate_;
        forzataMassima_ = std::max(forzataMassima_, q.x - c.back().x);
        forzateDa_ = std::min(forzateDa_, c.back().x);
        forzateA_ = std::max(forzateA_, q.x);
        if (celleForzate_.size() < 100000)
            celleForzate_.push_back({c.back().x, q.x});
    }
    c.push_back(q);
}

void Analisi::chiudi(Fine fine, bool illimitata)
{
    if (!aperto_)
        return;
    Tratto &t = tratti_.back();
    t.fine = fine;
    t.illimitataFine = illimitata;
    t.a = t.c.back().x;
    aperto_ = false;
}

void Analisi::apri(const Campione &c, Fine inizio, bool illimitata)
{
    Tratto t;
    if (tratti_.empty()) // the first piece usually takes the whole grid
        t.c.reserve(2 * kCelleIniziali + 2);
    t.c.push_back(c);
    t.inizio = inizio;
    t.illimitataInizio = illimitata;
    t.da = c.x;
    tratti_.push_back(std::move(t));
    aperto_ = true;
}

} // namespace zelvo::studio
