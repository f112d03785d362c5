#pragma once

#include "analysis/Studio.h"

#include <cstddef>

namespace zelvo {

class Funzione;

namespace limiti {

// The limit of f (ordine 0) or of f' (ordine 1) as x tends to x0 from side
// lato (-1: from the left), read from f at distances hMax, hMax/8, ... down
// to the double beside x0, each value carried to x0 by its exact
// derivatives (a Taylor step, which is L'Hôpital's rule for a 0/0 form).
// Finite where those carried values agree; infinite where |g| grows by
// steps that do not shrink (or overflows); NonEsiste where g keeps
// oscillating; Assente where g is not defined on that side.
struct Stima
{
    Limite limite;
    double incertezza = 0; // how far the carried values still differ (Finito)
    bool lento = false; // settling, but too slowly to be sure of the last digits
    bool oltre = false; // |g| beyond the largest double at every distance (Assente)
    double scala = 0; // the largest |g| seen: its rounding is what "equal" allows
};

Stima limite(Funzione &f, double x0, int lato, double hMax, int ordine);

// The distance from x0 (on side lato) within which f'' is mostly rounding:
// where its values at distances shrinking by 8 stop agreeing better and
// start agreeing worse. 0 when f'' never turns noisy.
double raggioRumore(Funzione &f, double x0, int lato, double hMax);

// v with only the significant digits its uncertainty leaves certain (one
// fewer, to be safe): a slope known to 1E-7 is not shown to 15 digits.
double cifreCerte(double v, double incertezza);

// Two limits that are the same number within their uncertainties.
bool uguali(const Stima &u, const Stima &v);

} // namespace limiti
} // namespace zelvo
