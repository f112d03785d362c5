// The numeric program run with derivatives (forward-mode differentiation):
// each register holds a value with its first and second derivatives in x.

#include "engine/ProgrammaNumerico.h"

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

std::size_t ProgrammaNumerico::eseguiGetti(double x, int &errore, bool &angolo) noexcept
{
    if (getti_.size() != registri_.size()) {
        getti_.assign(registri_.size(), Getto {});
        for (std::uint32_t i = 1; i < primoRisultato_; ++i)
            getti_[i] = {registri_[i], 0, 0}; // the constants
    }
    getti_[0] = {x, 1, 0};
    errore = Nessuno;
    for (std::size_t j = 0; j < passi_.size(); ++j) {
        const Passo &p = passi_[j];
        errore = passoDerivato(p.op, getti_[p.a], getti_[p.b], getti_[primoRisultato_ + j], angolo);
        if (errore != Nessuno)
            return j;
    }
    return passi_.size();
}

Derivate ProgrammaNumerico::eseguiDerivate(double x) noexcept
{
    int e = Nessuno;
    bool angolo = false;
    eseguiGetti(x, e, angolo);
    if (e != Nessuno)
        return {0, 0, 0, e, false};
    const Getto &f = getti_[risultato_];
    const bool finite = std::isfinite(f.d1) && std::isfinite(f.d2);
    return {f.v, f.d1, f.d2, Nessuno, !angolo && finite};
}

void ProgrammaNumerico::operandiRotture(double x, std::span<Operando> operandi) noexcept
{
    int e = Nessuno;
    bool angolo = false;
    // The instruction that failed has its operands: Log(x - 1) at 0 tells u = -1.
    const std::size_t fatti = std::isfinite(x) ? eseguiGetti(x, e, angolo) : 0;
    const std::size_t raggiunti = std::isfinite(x) ? fatti + (e != Nessuno ? 1 : 0) : 0;
    for (std::size_t i = 0; i < siti_.size() && i < operandi.size(); ++i) {
        const Sito &s = siti_[i];
        if (s.passo >= raggiunti) {
            operandi[i] = {NAN, NAN};
            continue;
        }
        const Passo &p = passi_[s.passo];
        const Getto &a = getti_[p.a];
        const Getto &b = getti_[p.b];
        switch (s.su) {
        case operazioni::Su::Primo:
            operandi[i] = {a.v, a.d1};
            break;
        case operazioni::Su::Secondo:
            operandi[i] = {b.v, b.d1};
            break;
        case operazioni::Su::Differenza:
            operandi[i] = {a.v - b.v, a.d1 - b.d1};
            break;
        case operazioni::Su::Scalato: {
            const double scala = std::pow(10.0, std::nearbyint(b.v));
            operandi[i] = {a.v * scala, a.d1 * scala};
            break;
        }
        }
    }
}

} // namespace zelvo
