#include "analysis/Estremi.h"

namespace zelvo {

EsitoEstremo cercaMassimo(StatoCalcolo &, Funzione &, char)
{
    return {};
}

EsitoEstremo cercaMinimo(StatoCalcolo &, Funzione &, char)
{
    return {};
}

} // namespace zelvo
