// The numeric program run with derivatives (forward-mode differentiation):
// each register holds a value with its first and second derivatives in x.

#include "engine/Programma.h"

#include <cmath>

namespace zelvo {

namespace {

using operazioni::Op;

// Row op on a and b: the value by the row's own scalar function, so it has
// the bits of a plain run, and the derivatives by the row's rule.
int passoDerivato(Op op, const Getto &a, const Getto &b, Getto &r, bool &angolo) noexcept
{
    switch (op) {
#define ZELVO_CASO(Nome, ...)                                                                      \
    case Op::Nome: {                                                                               \
        using Riga = operazioni::riga::Nome;                                                       \
        double v = 0;                                                                              \
        if (const int e = Riga::scalare(a.v, b.v, v))                                              \
            return e;                                                                              \
        r = Riga::derivata(a, b, v, angolo);                                                       \
        return Nessuno;                                                                            \
    }
        ZELVO_OPERAZIONI(ZELVO_CASO)
#undef ZELVO_CASO
    }
    return Nessuno;
}

} // namespace

Derivate Programma::eseguiDerivate(double x) noexcept
{
    if (getti_.size() != registri_.size()) {
        getti_.assign(registri_.size(), Getto {});
        for (std::uint32_t i = 1; i < primoRisultato_; ++i)
            getti_[i] = {registri_[i], 0, 0}; // the constants
    }
    getti_[0] = {x, 1, 0};
    bool angolo = false;
    for (std::size_t j = 0; j < passi_.size(); ++j) {
        const Passo &p = passi_[j];
        if (const int e
            = passoDerivato(p.op, getti_[p.a], getti_[p.b], getti_[primoRisultato_ + j], angolo))
            return {0, 0, 0, e, false};
    }
    const Getto &f = getti_[risultato_];
    const bool finite = std::isfinite(f.d1) && std::isfinite(f.d2);
    return {f.v, f.d1, f.d2, Nessuno, !angolo && finite};
}

} // namespace zelvo
