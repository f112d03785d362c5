#include "tables/ElencoValori.h"

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

} // namespace zelvo
