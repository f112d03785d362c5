#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zelvo {

class Funzione;

// The study of f on [a, b]: every feature a course of analysis asks for,
// each located to the last digits a double holds where f is smooth there.
//
// It is a pipeline of stages, each with its own result:
// 1. candidate points from the expression (puntiCandidati): where each
//    operation that may break meets its condition;
// 2. the sweep (StudioPercorso): f, f', f'' (exact, from the engine) on a
//    grid that holds the candidates and is refined wherever the ends of a
//    cell do not predict its middle; what breaks it is located to two
//    adjacent doubles;
// 3. the special points (StudioSpeciali): each candidate classified by the
//    limits on each side (Limiti) - a hole, a jump, a pole, an edge of the
//    domain, a limit that does not exist, a corner, a cusp, a vertical
//    inflection - and the pieces rebuilt between them, without the samples
//    where rounding rules f'';
// 4. the features of each piece (StudioPezzo): f'' changes sign at the
//    inflections; f' is monotone between them, so it has at most one zero
//    there (the relative extrema); f is monotone between those, so it has at
//    most one zero there; the intervals of sign, growth and concavity;
// 5. the absolute extremes, attained or only approached (Studio).
// A sign decides a feature only beyond its rounding; a value that
// underflowed is not a zero, one that overflowed is not a maximum.

// A point of the graph: x and f(x).
struct PuntoNotevole
{
    double x = 0;
    double y = 0;
};

struct Intervallo
{
    double da = 0;
    double a = 0; // da == a: a single point
};

// A maximal stretch where f is defined and continuous (split at corners
// too): what the integral adds up. illimitata*: |f| grows without bound
// towards that end.
struct Pezzo
{
    double da = 0;
    double a = 0;
    bool illimitataDa = false;
    bool illimitataA = false;
};

// The limit of f (or of f') from one side of a point.
struct Limite
{
    enum class Tipo {
        Assente, // the side is outside [a, b] or outside the domain of f
        Finito,
        PiuInfinito,
        MenoInfinito,
        NonEsiste, // f oscillates without settling (Sin(1/x) at 0)
    };
    Tipo tipo = Tipo::Assente;
    double valore = 0; // Finito only
};

// A point of [a, b] where f is not defined or not continuous, with the
// limits on each side: a hole (eliminabile), a jump, a pole, an edge of the
// domain, or a point where a limit does not exist.
struct PuntoLimite
{
    double x = 0;
    Limite sinistro, destro;
    std::optional<double> valore; // f(x), where f is defined at x
};

// A point where f is continuous but not derivable, with its one-sided
// slopes (infinite at a cusp or a vertical inflection).
struct PuntoAngoloso
{
    double x = 0;
    double y = 0;
    double sinistra = 0;
    double destra = 0;
};

struct Studio
{
    std::vector<double> zeri;
    std::vector<PuntoNotevole> massimiRelativi; // inside (a, b), corners included
    std::vector<PuntoNotevole> minimiRelativi;
    std::vector<PuntoNotevole> flessi;
    std::optional<PuntoNotevole> massimoAssoluto; // none when f is unbounded above or never defined
    std::optional<PuntoNotevole> minimoAssoluto;
    std::vector<Intervallo> nonDefinita; // maximal intervals where f cannot be computed
    std::vector<double> asintotiVerticali;
    std::vector<double> salti;
    // Holes: x and the limit of f there (f not defined at x, or defined
    // with another value).
    std::vector<PuntoNotevole> eliminabili;
    // Every point of [a, b] where f is not defined or not continuous.
    std::vector<PuntoLimite> limiti;
    std::vector<PuntoAngoloso> puntiAngolosi; // two finite slopes
    std::vector<PuntoNotevole> cuspidi; // infinite slopes of opposite signs
    std::vector<PuntoNotevole> flessiVerticali; // infinite slopes of one sign
    std::vector<PuntoNotevole> flessiOrizzontali; // stationary inflections (also in flessi)
    // The supremum (infimum) where it is not attained, in place of
    // massimoAssoluto (minimoAssoluto): x the rightmost point it is
    // approached at, y the value (+inf, -inf where f is unbounded).
    std::optional<PuntoNotevole> estremoSuperiore, estremoInferiore;
    std::vector<Intervallo> positiva, negativa;
    std::vector<Intervallo> crescente, decrescente;
    std::vector<Intervallo> concavaAlto, concavaBasso;

    std::vector<Pezzo> pezzi;

    // Italian notes for the user: features left out (more than can be
    // shown), the resolution below which f was not followed, derivatives not
    // available. Empty when there is nothing to add.
    std::vector<std::string> note;

    // False when f could not be studied at all (not defined, a > b): the
    // reason is the first note.
    bool eseguito = false;
};

// What the commands add to the status line after a study: where f is not
// defined ("f non definita in [-3; 0]") and the notes, joined by "; ".
std::string avvisiStudio(const Studio &studio, char separatoreDecimale);

// The study of f on [a, b], a <= b. f must be defined (Funzione::definita).
Studio studia(Funzione &f, double a, double b, char separatoreDecimale = '.');

} // namespace zelvo
