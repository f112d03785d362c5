#pragma once

#include "analysis/Studio.h"
#include "plot/StatoCalcolo.h"

#include <string>
#include <vector>

namespace zelvo {

class Funzione;

// The definite integral of f from a to b, summed over the stretches where f
// is defined and continuous (the study's pieces), to 1e-12 relative. Each
// piece is split where an operation of f may break (a corner of Abs, a
// square root touching 0, a jump of Int: Funzione::rotture), so that every
// singularity is at an end, which double-exponential (tanh-sinh) quadrature
// takes in its stride; then the stretch with the largest error is halved
// until the errors together are within the tolerance, which also finds
// what the expression does not tell. The work is capped: past it the
// integral keeps its digits so far and is not `preciso`.
struct Integrale
{
    enum class Esito {
        Valore, // the integral over [a, b]
        NonConverge, // f is unbounded near xIllimitata and the integral diverges
        ParzialmenteDefinita, // f is not defined on part of [a, b]: valore is over the rest
        NonDefinita, // f is defined nowhere on [a, b]
    };
    Esito esito = Esito::Valore;
    double valore = 0;
    double xIllimitata = 0;
    bool preciso = true; // false: 1e-12 was not reached (f oscillates too fast)
};

Integrale integra(Funzione &f, const Studio &studio, double a, double b);

// What the integral command shows.
struct EsitoIntegrale
{
    std::string integrale; // the integral, or why there is none
    std::string stato; // the status line; empty when all is well
    bool calcolato = false; // integrale holds it
};

// The integral command: the definite integral from estremoA to estremoB of
// the function that the last calcolo accepted. Does not run calcolo.
EsitoIntegrale calcolaIntegrale(const StatoCalcolo &stato, Funzione &funzione,
                                char separatoreDecimale);

// The text of the undefined parts of a study: "[-3; 0]", "x = 2", joined by
// ", " (the first three, then "…").
std::string testoNonDefinita(const std::vector<Intervallo> &parti, char separatoreDecimale);

} // namespace zelvo
