#pragma once

#include "engine/ProgrammaNumerico.h"

#include <cstdint>
#include <vector>

namespace zelvo {

// The numeric program's instructions over blocks of kBlocco doubles in
// memoria_: block 0 holds x, the constants follow, each broadcast to a
// whole block, then the intermediate values. Every intermediate value is
// used once (the program is a tree), so its block is reused as soon as it
// has been read: the memory stays in the first-level cache.
class ProgrammaBlocco
{
public:
    // The most x a block takes at once.
    static constexpr std::size_t kBlocco = 256;

    void compila(const ProgrammaNumerico &p);

    // Runs p (the program compila took) at n <= kBlocco x: y[i] and
    // errori[i] get what p.esegui(x[i]) gives, bit for bit (y 0 and the
    // error number on failure, error 0 otherwise; a non-finite x is error
    // 6); returns how many failed. Each instruction runs over the whole
    // block before the next, so its cost is spread over n samples and its
    // arithmetic runs in SIMD lanes; a block where some sample failed runs
    // again sample by sample for the errors.
    std::size_t esegui(ProgrammaNumerico &p, const double *x, std::size_t n, double *y,
                       int *errori) noexcept;

    // f, f' and f'' at n <= kBlocco x: d[i] is what p.eseguiDerivate(x[i])
    // gives, bit for bit (a non-finite x: error 6 with no derivatives). The
    // values run in lanes as in esegui, each instruction's derivatives over
    // the whole block after them.
    void eseguiDerivate(ProgrammaNumerico &p, const double *x, std::size_t n, Derivate *d) noexcept;

private:
    struct Passo
    {
        operazioni::Op op;
        std::uint32_t a;
        std::uint32_t b;
        std::uint32_t r;
    };

    static constexpr std::uint32_t kMaxBlocchi = 64;
    bool pronto_ = false;

    std::vector<Passo> passi_;
    std::vector<double> memoria_;
    // The first and second derivatives of memoria_'s blocks: 1 and 0 for x,
    // 0 for the constants; allocated by the first eseguiDerivate.
    std::vector<double> derivata1_, derivata2_;
    std::uint32_t risultato_ = 0;
};

} // namespace zelvo
