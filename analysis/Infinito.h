#pragma once

#include "analysis/Studio.h"

#include <optional>
#include <string>

namespace zelvo {

class Funzione;

// How f behaves as x runs to -inf (lato -1) or +inf (lato +1), whatever
// interval is studied. Decided on the values of f at growing |x| (eight
// samples a decade, from 10 to 1E+300 or until f overflows): a claim is made
// only where the samples settle; otherwise "non determinato" and why.
struct Infinito
{
    int lato = +1;
    // False when f cannot be computed somewhere past every bound (Log(x)
    // towards -inf): no limit and no asymptote on this side.
    bool definita = false;
    // Finito, PiuInfinito, MenoInfinito or NonEsiste (the values keep
    // oscillating as widely); Assente where not definita or not determined.
    Limite limite;
    bool determinato = false;
    std::string motivo; // why not determinato, in Italian
    std::optional<double> orizzontale; // y = L
    // y = m·x + q, m != 0: f grows like a line and f - m·x settles.
    std::optional<double> m, q;
};

Infinito infinito(Funzione &f, int lato);

} // namespace zelvo
