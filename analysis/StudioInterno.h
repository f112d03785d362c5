#pragma once

// The study's own parts, shared by its stages (the sweep, the special
// points, the features of each piece, the extremes): not part of the
// analysis library's interface.

#include "analysis/Limiti.h"
#include "analysis/Ricerca.h"
#include "analysis/Studio.h"
#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Avanzamento.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zelvo::studio {

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

inline int segno(double v) noexcept
{
    return (v > 0) - (v < 0);
}

inline double ulp(double x) noexcept
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
using Angolo = PuntoAngoloso;

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
    void notaRisoluzione();

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
    std::vector<Intervallo> celleForzate_; // the first of them, for the note
    Studio s_;
};

using limiti::Stima;
using TipoLimite = Limite::Tipo;

inline bool finito(const Stima &s)
{
    return s.limite.tipo == TipoLimite::Finito;
}

inline bool infinito(const Stima &s)
{
    return s.limite.tipo == TipoLimite::PiuInfinito || s.limite.tipo == TipoLimite::MenoInfinito;
}

// f(x) = y is the finite limit s, within what the limit is known to.
inline bool vale(double y, const Stima &s)
{
    return finito(s)
            && std::fabs(y - s.limite.valore) <= 8 * s.incertezza
                    + 1e-12 * std::max(std::fabs(y), std::fabs(s.limite.valore)) + 1e-14 * s.scala
                    + 1e-300;
}

// A slope as a double: the finite value, or an infinity.
inline double pendenza(const Stima &s)
{
    return s.limite.tipo == TipoLimite::PiuInfinito
            ? INFINITY
            : (s.limite.tipo == TipoLimite::MenoInfinito ? -INFINITY : s.limite.valore);
}

// Samples this close to a special point are its own business: rounding
// near it (x*Log(x) at 4.9E-324) makes no feature.
inline double guardia(double x)
{
    return 16 * ulp(x) + 1e-300;
}

} // namespace zelvo::studio
