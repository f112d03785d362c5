#include "tables/ElencoValori.h"

namespace zelvo {

EsitoElenco riempiElenco(ElencoValori &, const StatoCalcolo &, Funzione &, char)
{
    return {};
}

} // namespace zelvo
