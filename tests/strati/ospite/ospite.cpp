#include "plot/Calcolo.h"

int main()
{
    zelvo::Funzione funzione('.');
    funzione.DefinisciFunzione("x^2-1");
    return funzione.definita() ? 0 : 1;
}
