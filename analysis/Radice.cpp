#include "analysis/Radice.h"

namespace zelvo {

EsitoRadice cercaRadice(StatoCalcolo &, Funzione &, char)
{
    return {};
}

} // namespace zelvo
