#include "engine/Programma.h"

#include "engine/Errori.h"

#include <cmath>

namespace zelvo {

void Programma::compila(const Script &s)
{
    *this = Programma {};
    variante_.compila(s);
    numerico_ = numerica_.compila(s);
    if (numerico_)
        blocco_.compila(numerica_);
}

int Programma::esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c)
{
    // A numeric program takes one argument, as F does.
    if (doppio() && argomenti.size() == 1 && argomenti[0].tipo == Tipo::Double
        && std::isfinite(argomenti[0].numero)) {
        const Valutazione v = numerica_.esegui(argomenti[0].numero);
        if (v.errore != Nessuno)
            return v.errore;
        r = Valore::doppio(v.valore);
        return Nessuno;
    }
    return variante_.esegui(argomenti, r, c);
}

} // namespace zelvo
