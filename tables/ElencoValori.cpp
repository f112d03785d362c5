#include "tables/ElencoValori.h"

#include <algorithm>
#include <utility>

namespace zelvo {

bool ElencoValori::imposta(std::size_t posizione, std::string_view riga)
{
    if (posizione == size()) {
        aggiungi(riga);
        return true;
    }
    if (posizione > size())
        return false;
    const std::size_t inizio = posizione == 0 ? 0 : fine_[posizione - 1];
    const std::size_t vecchia = fine_[posizione] - inizio;
    testo_.replace(inizio, vecchia, riga);
    // Rows after the replaced one move by the difference in length.
    for (std::size_t i = posizione; i < fine_.size(); ++i)
        fine_[i] = fine_[i] - vecchia + riga.size();
    return true;
}

void ElencoValori::aggiungi(std::string_view riga)
{
    testo_.append(riga);
    fine_.push_back(testo_.size());
}

void ElencoValori::riserva(std::size_t righe, std::size_t caratteri)
{
    fine_.reserve(fine_.size() + righe);
    testo_.reserve(testo_.size() + caratteri);
}

void ElencoValori::sovrascriviInizio(ElencoValori nuove)
{
    const std::size_t n = nuove.size();
    if (n >= size()) {
        *this = std::move(nuove);
        return;
    }
    if (n == 0)
        return;
    const std::size_t inizioCoda = fine_[n - 1];
    std::string testo;
    testo.reserve(nuove.testo_.size() + testo_.size() - inizioCoda);
    testo.append(nuove.testo_).append(testo_, inizioCoda);
    for (std::size_t i = n; i < fine_.size(); ++i)
        fine_[i] = fine_[i] - inizioCoda + nuove.testo_.size();
    std::copy(nuove.fine_.begin(), nuove.fine_.end(), fine_.begin());
    testo_ = std::move(testo);
}

} // namespace zelvo
