#pragma once

#include <optional>

namespace zelvo {

class Funzione;

// Even or odd: f(-x) = f(x) (or -f(x)) to rounding at every sample of
// [-m; m], the largest interval symmetric about 0 inside [a, b], and f
// defined at -x exactly where it is defined at x.
struct Parita
{
    enum class Tipo {
        Pari,
        Dispari,
        Nessuna,
    };
    Tipo tipo = Tipo::Nessuna;
    double m = 0;
};

// None when [a, b] holds no interval around 0 (a and b of one sign, or
// one of them 0).
std::optional<Parita> parita(Funzione &f, double a, double b);

// The least period of f, where its expression makes f periodic
// (Funzione::periodo gives a period T): the least of T, T/2, ... T/12 that
// holds on the values, f(x + T/n) = f(x) to rounding at samples of one
// period (f defined at x + T/n exactly where at x). None where the
// expression does not make f periodic, and for a constant, which has no
// least period.
std::optional<double> periodo(Funzione &f);

} // namespace zelvo
