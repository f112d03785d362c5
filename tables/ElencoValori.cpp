#include "tables/ElencoValori.h"

namespace zelvo {

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
