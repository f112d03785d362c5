#include "analysis/Studio.h"

#include "analysis/Candidati.h"
#include "analysis/Integrale.h"
#include "analysis/Limiti.h"
#include "analysis/Ricerca.h"
#include "engine/Errori.h"
#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Avanzamento.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace zelvo {

namespace {

// The first grid, before any refinement.
constexpr std::size_t kCelleIniziali = 2048;
// A cell is halved at most this many times (the resolution of the study is
// the first grid's step over 2^kLivelli).
constexpr int kLivelli = 24;
// Evaluations of f, f', f'' the study may spend before it stops refining.
constexpr std::size_t kBudget = 600'000;
// Features of one kind shown at most; the rest are counted in a note.
constexpr std::size_t kMaxPerTipo = 1000;

using Campione = ricerca::Campione;

int segno(double v) noexcept
{
    return (v > 0) - (v < 0);
}

double ulp(double x) noexcept
{
    return std::nextafter(std::fabs(x), INFINITY) - std::fabs(x);
}

using ricerca::semplice;

// What lies between two consecutive samples after refinement.
enum class Cella {
    Liscia, // f is smooth on it: f, f', f'' continuous, both ends defined
    Forzata, // taken as smooth at the resolution limit (or out of budget)
};

// What ends a smooth piece of f.
enum class Fine {
    Estremo, // a or b
    Bordo, // f is not defined beyond it
    Salto, // f jumps
    Asintoto, // f is unbounded beside it
    Angolo, // f is continuous but f' jumps
};

// A maximal stretch of samples where f is smooth between consecutive ones.
struct Tratto
{
    std::vector<Campione> c;
    Fine inizio = Fine::Estremo;
    Fine fine = Fine::Estremo;
    bool illimitataInizio = false; // |f| grows without bound towards its start
    bool illimitataFine = false;
    // Where the piece is said to start and end: its first and last samples,
    // or at an edge of the domain the last undefined double beside it (so
    // Log(x) is negative on (0, 1), not from 4.9E-324).
    double da = 0, a = 0;
};

// What a candidate special point turns out to be, from the limits on each
// side (of f, then of f' where f is continuous).
enum class Genere {
    Liscio, // f and f' continuous: no special point
    Dentro, // inside a stretch where f is not defined
    Eliminabile,
    Salto,
    Asintoto,
    Bordo, // an edge of the domain
    NonEsiste, // a limit that does not exist
    Angoloso,
    Cuspide,
    FlessoVerticale,
};

struct Speciale
{
    double x = 0;
    Genere genere = Genere::Liscio;
    limiti::Stima sinistro, destro; // of f
    bool definito = false;
    bool oltre = false; // f overflows all the way on one side
    double y = 0;
    double mSinistra = 0, mDestra = 0; // the slopes where f is continuous
    // Within these distances of x (left, right) f'' is rounding: no
    // feature is read there.
    double raggioSinistro = 0, raggioDestro = 0;

    bool continuo() const
    {
        return genere == Genere::Angoloso || genere == Genere::Cuspide
                || genere == Genere::FlessoVerticale || genere == Genere::Liscio;
    }
};

// The point where two pieces meet at a corner: the two one-sided slopes.
struct Angolo
{
    double x = 0;
    double y = 0;
    double sinistra = 0;
    double destra = 0;
};

// What the features stage finds on one piece: its zeros, extrema,
// inflections and intervals, and the notes they need.
struct CaratteristichePezzo
{
    std::vector<double> zeri;
    std::vector<PuntoNotevole> massimi, minimi, flessi, flessiOrizzontali;
    std::vector<Intervallo> positiva, negativa, crescente, decrescente, concavaAlto, concavaBasso;
    std::vector<std::string> note;
};

// The absolute extremes: attained (massimo, minimo) or only approached
// (superiore, inferiore; y may be infinite); at most one of each pair.
struct Assoluti
{
    std::optional<PuntoNotevole> massimo, minimo, superiore, inferiore;
};

class Analisi
{
public:
    Analisi(Funzione &f, double a, double b, char separatore)
        : f_(f)
        , a_(a)
        , b_(b)
        , sep_(separatore)
    { }

    Studio esegui();

private:
    Campione valuta(double x)
    {
        ++valutazioni_;
        avanza(std::clamp((x - a_) / (b_ - a_), 0.0, 1.0));
        return {x, f_.Deriva(x)};
    }

    // ---- the sweep: smooth pieces and what separates them ----
    void percorri();
    void cella(const Campione &p, const Campione &q, int livello);
    bool prevede(const Campione &p, const Campione &m, const Campione &q) const;
    void difficile(const Campione &p, const Campione &q);
    void bordo(const Campione &p, const Campione &q);
    void separa(const Campione &p, const Campione &q, const Campione &q0, Fine fine, bool sinistra,
                bool destra, double x);
    void aggiungi(const Campione &q, Cella tipo);
    void chiudi(Fine fine, bool illimitata);
    void apri(const Campione &c, Fine inizio, bool illimitata);
    void nonDefinita(double da, double a);
    bool illimitata(double x, int lato);

    // ---- the features of each piece ----
    // ---- special points: limits on each side and what they make ----
    void puntiSpeciali();
    Speciale classifica(double x, double hMax);
    void ricomponi();
    void riportaSpeciali();

    void affina(std::vector<Campione> &c);
    CaratteristichePezzo studiaTratto(const Tratto &t);
    void runDiZeri(const Tratto &t, const std::vector<Campione> &l, double x0, double x1,
                   std::vector<double> &zeri, std::vector<std::string> &note);
    void intervalli(const Tratto &t, const std::vector<double> &confini, int ordine,
                    std::vector<Intervallo> &positivi, std::vector<Intervallo> &negativi);
    Assoluti assoluti();
    std::string numero(double v) const { return testoNumero(v, sep_); }

    Funzione &f_;
    double a_, b_;
    char sep_;
    bool derivate_ = true;
    double passoMinimo_ = 0;
    std::size_t valutazioni_ = 0;

    std::vector<Tratto> tratti_;
    bool aperto_ = false; // the last piece is still growing
    std::vector<Angolo> angoli_;
    std::vector<double> candidati_; // from the expression
    std::vector<Speciale> speciali_; // kept, ascending
    std::vector<Intervallo> oltre_; // where |f| is beyond the largest double
    double nonDefinitaDa_ = NAN; // the start of an undefined stretch not yet closed
    std::size_t forzate_ = 0;
    double forzataMassima_ = 0; // the widest of them
    double forzateDa_ = INFINITY, forzateA_ = -INFINITY;
    Studio s_;
};

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

// ---- special points -----------------------------------------------------------

namespace {

using limiti::Stima;
using TipoLimite = Limite::Tipo;

bool finito(const Stima &s)
{
    return s.limite.tipo == TipoLimite::Finito;
}

bool infinito(const Stima &s)
{
    return s.limite.tipo == TipoLimite::PiuInfinito || s.limite.tipo == TipoLimite::MenoInfinito;
}

// f(x) = y is the finite limit s, within what the limit is known to.
bool vale(double y, const Stima &s)
{
    return finito(s)
            && std::fabs(y - s.limite.valore) <= 8 * s.incertezza
                    + 1e-12 * std::max(std::fabs(y), std::fabs(s.limite.valore)) + 1e-14 * s.scala
                    + 1e-300;
}

// A slope as a double: the finite value, or an infinity.
double pendenza(const Stima &s)
{
    return s.limite.tipo == TipoLimite::PiuInfinito
            ? INFINITY
            : (s.limite.tipo == TipoLimite::MenoInfinito ? -INFINITY : s.limite.valore);
}

// Samples this close to a special point are its own business: rounding
// near it (x*Log(x) at 4.9E-324) makes no feature.
double guardia(double x)
{
    return 16 * ulp(x) + 1e-300;
}

} // namespace

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
    for (const Speciale &p : punti)
        if (p.genere != Genere::Liscio && p.genere != Genere::Dentro)
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

// ---- features ----------------------------------------------------------------

// A zero of g (f, f' or f'': ordine 0, 1, 2) in a piece, with the sign of g
// just before and just after it (0 at the ends of the piece).
struct Zero
{
    Campione punto;
    int prima = 0;
    int dopo = 0;
    bool serie = false; // one end of a run of samples where g is 0
};

// The zeros of g along samples between which g is monotone or of one sign:
// each sign change, to the last double (Brent's method between two samples
// of opposite signs), and each run of samples where g is 0 (its first and
// last sample).
std::vector<Zero> zeriDi(Funzione &f, const std::vector<Campione> &c, int ordine)
{
    std::vector<Zero> zeri;
    int ultimo = 0; // the last non-zero sign
    std::size_t zeroDa = 0; // the run of zeros after it
    bool inZero = false;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const double g = ricerca::ordine(c[i].d, ordine);
        const int s = segno(g);
        if (s == 0 && !std::isnan(g)) {
            if (!inZero)
                zeroDa = i;
            inZero = true;
            continue;
        }
        if (inZero) {
            const bool serie = i - 1 > zeroDa;
            zeri.push_back({c[zeroDa], ultimo, s, serie});
            if (serie)
                zeri.push_back({c[i - 1], ultimo, s, serie});
        } else if (ultimo != 0 && s != 0 && s != ultimo) {
            zeri.push_back({ricerca::brent(f, c[i - 1], c[i], ordine), ultimo, s});
        }
        if (s != 0)
            ultimo = s;
        inZero = false;
    }
    if (inZero) {
        const bool serie = c.size() - 1 > zeroDa;
        zeri.push_back({c[zeroDa], ultimo, 0, serie});
        if (serie)
            zeri.push_back({c.back(), ultimo, 0, serie});
    }
    return zeri;
}

void aggiungiOrdinati(std::vector<Campione> &l, const std::vector<Zero> &z)
{
    if (z.empty())
        return;
    l.reserve(l.size() + z.size());
    const std::size_t prima = l.size();
    for (const Zero &k : z)
        l.push_back(k.punto);
    // Both parts are ascending: a merge, not a sort.
    std::inplace_merge(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(prima), l.end(),
                       [](const Campione &u, const Campione &v) { return u.x < v.x; });
    l.erase(std::unique(l.begin(), l.end(),
                        [](const Campione &u, const Campione &v) { return u.x == v.x; }),
            l.end());
}

// f is 0 at every sample from x0 to x1 of the piece t (l its samples): a
// stretch where f is 0 (Int(x) on [0; 1)), its start the zero shown; or,
// where f beside it is tiny, where f only underflowed: no zero, a note.
void Analisi::runDiZeri(const Tratto &t, const std::vector<Campione> &l, double x0, double x1,
                        std::vector<double> &zeri, std::vector<std::string> &note)
{
    const auto indice = [&l](double x) {
        return static_cast<std::size_t>(
                std::lower_bound(l.begin(), l.end(), x,
                                 [](const Campione &c, double v) { return c.x < v; })
                - l.begin());
    };
    const std::size_t i0 = indice(x0), i1 = indice(x1);
    const bool primo = i0 == 0, ultimo = i1 + 1 >= l.size();
    const double da = primo ? t.da : x0, fino = ultimo ? t.a : x1;
    bool minuscoli = !primo || !ultimo;
    if (!primo)
        minuscoli = minuscoli && std::fabs(l[i0 - 1].d.valore) < 1e-100;
    if (!ultimo)
        minuscoli = minuscoli && std::fabs(l[i1 + 1].d.valore) < 1e-100;
    zeri.pop_back();
    if (minuscoli) {
        note.push_back("Tra x = " + numero(da) + " e x = " + numero(fino)
                       + " |f| è minore del più piccolo double: lì f vale 0 solo nei calcoli");
        return;
    }
    const Campione inizio = primo ? valuta(da) : l[i0];
    zeri.push_back(inizio.definito() && inizio.d.valore == 0 ? da : x0);
    note.push_back("f vale 0 su tutto l'intervallo da x = " + numero(da) + " a x = " + numero(fino)
                   + ": ne è mostrato l'inizio come zero");
}

// The samples of a piece, with more around each sign change of f, f' or
// f'': located by bisection, then samples at distances halving down to a
// few doubles, so a cluster of close roots (2*(x-0.72)^3*(x-0.720001)^2)
// has a sample between each two of its zeros, extrema and inflections.
void Analisi::affina(std::vector<Campione> &c)
{
    constexpr std::size_t kCambiMassimi = 64; // beyond that f is no cluster
    // Each cell once, by the lowest order that changes sign in it.
    std::vector<std::pair<std::size_t, int>> cambi;
    for (std::size_t i = 0; i + 1 < c.size(); ++i)
        for (int k = 0; k <= 2; ++k) {
            const double u = ricerca::ordine(c[i].d, k), v = ricerca::ordine(c[i + 1].d, k);
            if (segno(u) != segno(v)) {
                cambi.push_back({i, k});
                break;
            }
        }
    if (cambi.empty() || cambi.size() > kCambiMassimi || valutazioni_ >= kBudget)
        return;
    std::vector<double> xs;
    for (const auto &[i, k] : cambi) {
        const double w = c[i + 1].x - c[i].x;
        // Not closer than rounding lets f' and f'' keep their signs.
        const double fondo = 1e-10 * std::max({std::fabs(c[i].x), std::fabs(c[i + 1].x), w});
        Campione p = c[i], q = c[i + 1];
        const int sp = segno(ricerca::ordine(p.d, k));
        while (q.x - p.x > fondo) {
            const Campione m = valuta(ricerca::medio(p.x, q.x));
            if (!m.definito())
                break;
            (segno(ricerca::ordine(m.d, k)) == sp ? p : q) = m;
        }
        // (p itself may be within the rounding of g's sign: not taken.)
        for (double d = w / 2; d > fondo; d /= 2)
            for (const double x : {p.x - d, p.x + d})
                if (x > c[i].x && x < c[i + 1].x)
                    xs.push_back(x);
    }
    // All at once: the engine evaluates a block faster than its points.
    std::vector<Derivate> d(xs.size());
    f_.Deriva(xs, d.data());
    valutazioni_ += xs.size();
    std::vector<Campione> nuovi;
    for (std::size_t n = 0; n < xs.size(); ++n)
        if (d[n].ok())
            nuovi.push_back({xs[n], d[n]});
    std::sort(nuovi.begin(), nuovi.end(),
              [](const Campione &u, const Campione &v) { return u.x < v.x; });
    const std::size_t prima = c.size();
    c.insert(c.end(), nuovi.begin(), nuovi.end());
    std::inplace_merge(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(prima), c.end(),
                       [](const Campione &u, const Campione &v) { return u.x < v.x; });
    c.erase(std::unique(c.begin(), c.end(),
                        [](const Campione &u, const Campione &v) { return u.x == v.x; }),
            c.end());
}

CaratteristichePezzo Analisi::studiaTratto(const Tratto &t)
{
    CaratteristichePezzo r;
    // Room for what is added below, so the large vectors are not moved.
    const std::size_t posto = t.c.size() + t.c.size() / 4 + 4096;
    std::vector<Campione> c;
    c.reserve(posto);
    c = t.c;
    if (derivate_)
        affina(c);
    std::vector<Campione> l;
    l.reserve(posto);
    l = c;
    std::vector<double> flessi, estremi, zeri;
    std::vector<Zero> critici;
    if (derivate_) {
        // Inflections: f'' changes sign (its zeros, searched once).
        const std::vector<Zero> zeri2 = zeriDi(f_, c, 2);
        for (const Zero &k : zeri2)
            if (k.prima * k.dopo < 0) {
                flessi.push_back(k.punto.x);
                r.flessi.push_back({k.punto.x, k.punto.d.valore});
                // f' = 0 there too (to its rounding: far below f' at the
                // samples beside it): a stationary inflection.
                const auto dopo
                        = std::upper_bound(c.begin(), c.end(), k.punto.x,
                                           [](double v, const Campione &q) { return v < q.x; });
                double accanto = INFINITY;
                if (dopo != c.end())
                    accanto = std::min(accanto, std::fabs(dopo->d.prima));
                for (auto prima = dopo; prima != c.begin();)
                    if ((--prima)->x < k.punto.x) {
                        accanto = std::min(accanto, std::fabs(prima->d.prima));
                        break;
                    }
                if (k.punto.d.prima == 0 || std::fabs(k.punto.d.prima) <= 1e-8 * accanto)
                    r.flessiOrizzontali.push_back({k.punto.x, k.punto.d.valore});
            }
        // f' is monotone between the samples and the inflections: its
        // zeros are the critical points, extrema where f' changes sign.
        aggiungiOrdinati(l, zeri2);
        critici = zeriDi(f_, l, 1);
        for (const Zero &k : critici) {
            if (k.prima > 0 && k.dopo < 0)
                r.massimi.push_back({k.punto.x, k.punto.d.valore});
            else if (k.prima < 0 && k.dopo > 0)
                r.minimi.push_back({k.punto.x, k.punto.d.valore});
            if (k.prima * k.dopo < 0)
                estremi.push_back(k.punto.x);
        }
        aggiungiOrdinati(l, critici);
    }
    // f is monotone between consecutive points of l: at most one zero.
    const std::vector<Zero> zeriF = zeriDi(f_, l, 0);
    for (std::size_t i = 0; i < zeriF.size(); ++i) {
        zeri.push_back(zeriF[i].punto.x);
        // f = 0 on a whole stretch: its start is the zero shown. A stretch
        // of a few doubles is where f underflows: one zero, the simplest.
        if (zeriF[i].serie && i + 1 < zeriF.size()
            && zeriF[i + 1].punto.x - zeriF[i].punto.x <= 1e-12 * (b_ - a_)) {
            zeri.back() = zeriF[i].punto.x <= 0 && zeriF[i + 1].punto.x >= 0
                    ? 0.0
                    : semplice(zeriF[i].punto.x, zeriF[i + 1].punto.x);
            ++i;
        } else if (zeriF[i].serie && i + 1 < zeriF.size()) {
            runDiZeri(t, l, zeriF[i].punto.x, zeriF[i + 1].punto.x, zeri, r.note);
            ++i;
        }
    }
    // A zero that only touches the axis: a critical point where f is 0 to
    // within what locating the point allows.
    for (const Zero &k : critici) {
        const Derivate &d = k.punto.d;
        const double dx = 4 * ulp(k.punto.x) + 1e-300;
        if (d.valore != 0 && std::fabs(d.valore) <= 0.5 * std::fabs(d.seconda) * dx * dx)
            zeri.push_back(k.punto.x);
    }
    // At an edge of the domain f may reach 0 between the last double and
    // the next: a zero when a straight line from there reaches 0 within a
    // few doubles.
    for (const Campione *e : {&c.front(), &c.back()}) {
        const bool inizio = e == &c.front();
        const bool inBordo = (inizio ? t.inizio : t.fine) == Fine::Bordo;
        // |f| falls towards the edge: f and f' of opposite signs at the end,
        // of one sign at the start.
        const bool scende = (e->d.valore * e->d.prima > 0) == inizio;
        if (inBordo && e->d.valore != 0 && scende
            && std::fabs(e->d.valore) <= 8 * ulp(e->x) * std::fabs(e->d.prima))
            zeri.push_back(inizio ? t.da : t.a);
    }
    std::sort(zeri.begin(), zeri.end());
    zeri.erase(std::unique(zeri.begin(), zeri.end()), zeri.end());
    r.zeri = zeri;

    // The intervals of the piece.
    intervalli(t, zeri, 0, r.positiva, r.negativa);
    if (derivate_) {
        intervalli(t, estremi, 1, r.crescente, r.decrescente);
        intervalli(t, flessi, 2, r.concavaAlto, r.concavaBasso);
    }
    return r;
}

// The piece cut at confini: each part where g (of ordine) is > 0 goes to
// positivi, < 0 to negativi, judged in its middle.
void Analisi::intervalli(const Tratto &t, const std::vector<double> &confini, int ordine,
                         std::vector<Intervallo> &positivi, std::vector<Intervallo> &negativi)
{
    std::vector<double> x {t.c.front().x};
    for (double v : confini)
        if (v > x.back() && v < t.c.back().x)
            x.push_back(v);
    x.push_back(t.c.back().x);
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        if (x[i + 1] <= x[i])
            continue;
        // Judged inside, away from the middle, where a point that only
        // touches 0 (x^3 at 0, between -1 and 1) would read 0.
        // A sign counts only beyond the rounding of f' (f'') computed from
        // terms the size of f and f' over the stretch: x+2 written as
        // (x^2-4)/(x-2) has f'' = -1E-16, and no concavity.
        const double h = x[i + 1] - x[i];
        const auto segnoCerto = [&](const Campione &k) {
            const double g = ricerca::ordine(k.d, ordine);
            const double arrotondamento = ordine == 0 ? 0.0
                                                      : 64 * DBL_EPSILON
                            * (ordine == 1 ? std::fabs(k.d.valore) / h
                                           : std::fabs(k.d.prima) / h
                                               + std::fabs(k.d.valore) / (h * h));
            return std::fabs(g) > arrotondamento ? segno(g) : 0;
        };
        Campione m = valuta(x[i] + h * 0.381966);
        if (m.definito() && segnoCerto(m) == 0)
            m = valuta(x[i] + h * 0.618034);
        const int s = segnoCerto(m);
        if (s == 0 || !m.definito())
            continue;
        std::vector<Intervallo> &dove = s > 0 ? positivi : negativi;
        dove.push_back({i == 0 ? t.da : x[i], i + 2 == x.size() ? t.a : x[i + 1]});
    }
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
            s_.limiti.push_back({p.x, limite(p.sinistro), limite(p.destro)});
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
    // A few cells, or a stretch too short to matter (where f' loses digits to
    // cancellation, as Sin(x)/x near 0), are no reason for a note.
    if (forzate_ > 16 && forzateA_ - forzateDa_ > 1e-6 * (b_ - a_))
        s_.note.push_back("Tra x = " + numero(forzateDa_) + " e x = " + numero(forzateA_)
                          + " f varia più in fretta della risoluzione dello studio ("
                          + numero(std::max(passoMinimo_, forzataMassima_))
                          + "): lì possono esserci altri zeri, estremi e flessi");
    return s_;
}

} // namespace

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
    return Analisi(f, a, b, separatoreDecimale).esegui();
}

} // namespace zelvo
