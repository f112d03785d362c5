#pragma once

#include "engine/Ascisse.h"
#include "engine/Funzione.h"
#include "engine/Valutazione.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

namespace zelvo {

// How many abscissas a sweep evaluates at once: the engine's block.
inline constexpr std::size_t kBloccoSpazzata = 256;

// One block of a sweep, as evaluated: abscissas, values (0 where f failed)
// and error numbers (0: evaluated), and how many failed.
struct BloccoSpazzata
{
    std::span<const double> x;
    std::span<const double> y;
    std::span<const int> errore;
    std::size_t falliti = 0;

    std::size_t size() const noexcept { return x.size(); }
    Valutazione operator[](std::size_t i) const noexcept { return {y[i], errore[i]}; }
};

// The sweep of f from a to b by s, as a range of evaluated blocks that
// callers iterate and leave with break:
//
//     for (const BloccoSpazzata &blocco : SpazzataFunzione(f, a, b, s))
//         for (std::size_t i = 0; i < blocco.size(); ++i) ...
//
// The abscissas are Ascisse(a, b, s): a + i * s as a person writes it, b
// included whenever b - a is a whole number of steps.
//
// Each block is evaluated as a whole before its samples are visited, which
// lets the engine run the block at once. A function whose evaluations leave
// state behind (Rnd) comes one x a block, evaluated only when the loop
// reaches it, so a sweep left early has drawn no number too many.
class SpazzataFunzione
{
public:
    SpazzataFunzione(Funzione &f, double a, double b, double s) noexcept
        : f_(f)
        , ascisse_(a, b, s)
        , lunghezza_(f.senzaStato() ? kBloccoSpazzata : 1)
    { }
    // The blocks point into the sweep's own arrays.
    SpazzataFunzione(const SpazzataFunzione &) = delete;
    SpazzataFunzione &operator=(const SpazzataFunzione &) = delete;

    class Iteratore
    {
    public:
        using value_type = BloccoSpazzata;
        using difference_type = std::ptrdiff_t;

        const BloccoSpazzata &operator*() const noexcept { return s_->blocco_; }
        Iteratore &operator++()
        {
            s_->avanza();
            return *this;
        }
        void operator++(int) { ++*this; }
        // The sweep ends at the first block with no sample.
        friend bool operator==(const Iteratore &i, std::default_sentinel_t) noexcept
        {
            return (*i).size() == 0;
        }

    private:
        friend class SpazzataFunzione;
        explicit Iteratore(SpazzataFunzione *s) noexcept
            : s_(s)
        { }
        SpazzataFunzione *s_;
    };

    // Evaluates the first block; a sweep is iterated once.
    Iteratore begin()
    {
        avanza();
        return Iteratore(this);
    }
    std::default_sentinel_t end() const noexcept { return {}; }

private:
    // Writes the next block's abscissas and evaluates them.
    void avanza()
    {
        const std::size_t n = ascisse_.scrivi(prossima_, xs_, lunghezza_);
        prossima_ += n;
        const std::size_t falliti
                = n > 0 ? f_.Valuta(std::span<const double>(xs_, n), ys_, es_) : 0;
        blocco_ = BloccoSpazzata {{xs_, n}, {ys_, n}, {es_, n}, falliti};
    }

    Funzione &f_;
    Ascisse ascisse_;
    std::uint64_t prossima_ = 0; // the index of the next abscissa
    std::size_t lunghezza_; // the samples of a block
    double xs_[kBloccoSpazzata];
    double ys_[kBloccoSpazzata];
    int es_[kBloccoSpazzata];
    BloccoSpazzata blocco_;
};

} // namespace zelvo
