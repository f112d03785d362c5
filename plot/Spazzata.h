#pragma once

#include "engine/Funzione.h"
#include "engine/SpazzaFunzione.h"
#include "plot/StatoCalcolo.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace zelvo {

// What every sweep of the root, extremes, integral and list commands shares:
// the checks made before sampling (SpazzataFunzione samples) and the count of
// the points where f could not be evaluated.

// The fixed grid of the root search and of the integral.
inline constexpr double kPassoGriglia = 0.0001;

// Why a command samples nothing: a short text for its result label and the
// longer one for the status line.
struct Rifiuto
{
    std::string breve;
    std::string stato;
};

// A command samples only over the interval, the function and (when it uses
// it) the step that the last run of calcolo accepted. Otherwise the sweep
// could run over a refused interval such as a = -1E+12, where adding the step
// no longer moves x, or stand still on the step 0 of a window that never drew.
std::optional<Rifiuto> verificaRequisiti(const StatoCalcolo &stato, const Funzione &funzione,
                                         bool usaPasso, char separatoreDecimale);

// The points of one sweep where f could not be evaluated: how many, out of
// how many, and the first x of each of the first few errors. Every command
// tells them in the same words.
class PuntiNonDefiniti
{
public:
    // Counts one sample; returns v.ok().
    bool conta(double x, const Valutazione &v) noexcept
    {
        ++campioni_;
        if (v.ok()) [[likely]]
            return true;
        fallito(v.errore, x);
        return false;
    }

    // Counts the first `quanti` samples of a block.
    void conta(const BloccoSpazzata &blocco, std::size_t quanti) noexcept
    {
        campioni_ += quanti;
        if (blocco.falliti > 0) [[unlikely]]
            for (std::size_t j = 0; j < quanti; ++j)
                if (blocco.errore[j] != 0)
                    fallito(blocco.errore[j], blocco.x[j]);
    }

    // The status line: empty when every point was evaluated, otherwise
    // "f non definita in 2 punti su 201 — Errore 11: Divisione per zero in
    // x = 0; Errore 5: ... in x = -1".
    std::string testo(char separatoreDecimale) const;

private:
    void fallito(int numero, double x) noexcept;

    struct Primo
    {
        int numero = 0;
        double x = 0; // where this error first happened
    };
    std::array<Primo, 3> primi_ {};
    std::size_t tipi_ = 0;
    std::size_t campioni_ = 0;
    std::size_t falliti_ = 0;
};

// The y text of a point where f could not be evaluated.
inline constexpr const char *kNonDefinita = "non definita";

// The text of a sweep that takes no sample because a > b.
inline constexpr const char *kNessunCampione = "a > b: nessun campione";

} // namespace zelvo
