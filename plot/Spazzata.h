#pragma once

#include "engine/Funzione.h"
#include "engine/SpazzaFunzione.h"
#include "plot/StatoCalcolo.h"

#include <cstddef>
#include <optional>
#include <string>

namespace zelvo {

// What every sweep of the root, extremes, integral and list commands shares:
// the checks made before sampling (spazzaFunzione samples) and the count of
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

// The points of one sweep where f could not be evaluated.
class PuntiNonDefiniti
{
public:
    // Counts one evaluation; returns v.ok().
    bool conta(const Valutazione &v) noexcept
    {
        ++campioni_;
        if (v.ok())
            return true;
        if (falliti_++ == 0)
            primoErrore_ = v.errore;
        return false;
    }

    std::size_t campioni() const noexcept { return campioni_; }
    std::size_t falliti() const noexcept { return falliti_; }

    // The status line: empty when every point was evaluated, otherwise how
    // many failed out of how many and the first failure's reason.
    std::string testo() const;

private:
    std::size_t campioni_ = 0;
    std::size_t falliti_ = 0;
    int primoErrore_ = 0;
};

// The y text of a point where f could not be evaluated.
inline constexpr const char *kNonDefinita = "non definita";

// The text of a sweep that takes no sample because a > b.
inline constexpr const char *kNessunCampione = "a > b: nessun campione";

} // namespace zelvo
