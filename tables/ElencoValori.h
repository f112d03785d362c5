#pragma once

#include "plot/StatoCalcolo.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

class Funzione;

// The rows of one list box. All rows live in one character buffer with one end
// offset per row, so a list of 200,000 rows costs two allocations, not one per
// row.
class ElencoValori
{
public:
    std::size_t size() const noexcept { return fine_.size(); }

    // Row i (0-based); i < size().
    std::string_view riga(std::size_t i) const noexcept
    {
        const std::size_t inizio = i == 0 ? 0 : fine_[i - 1];
        return std::string_view(testo_).substr(inizio, fine_[i] - inizio);
    }

    // Appends one row.
    void aggiungi(std::string_view riga);

    // Makes room for `righe` more rows of `caratteri` characters in all.
    void riserva(std::size_t righe, std::size_t caratteri);

private:
    std::string testo_; // the rows one after the other, no separators
    std::vector<std::size_t> fine_; // end offset in testo_ of each row
};

// A row reads kPrimaDiX, the text of x, kPrimaDiY, the text of y.
inline constexpr std::string_view kPrimaDiX = "x = ";
inline constexpr std::string_view kPrimaDiY = "   y= ";

// What a list command shows besides its rows.
struct EsitoElenco
{
    std::string stato; // the status line; empty when all is well
    std::size_t righe = 0; // rows written by this run: the list's whole content
};

// The value list: one row "x = " <x> "   y= " <f(x)> for each x from
// estremoA to estremoB by passo (the abscissas of Ascisse). The rows replace the
// whole content of `elenco`: a list holds the rows of its last run and only
// those, none when the run samples nothing. A point where f cannot be
// evaluated shows "non definita" as its y. Nothing is written unless the last
// calcolo accepted the interval, the step and the function. Does not run
// calcolo.
EsitoElenco riempiElenco(ElencoValori &elenco, const StatoCalcolo &stato, Funzione &funzione,
                         char separatoreDecimale);

} // namespace zelvo
