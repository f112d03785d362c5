#include "analysis/Scuola.h"

namespace zelvo {

Scuola studioScuola(Funzione &f, const Studio &studio, double a, double b)
{
    Scuola s;
    if (!studio.eseguito)
        return s;
    s.dominio = dominio(f, studio, a, b);
    s.codominio = codominio(f, studio);
    s.intersezioneY = intersezioneY(f, a, b);
    s.parita = parita(f, a, b);
    s.periodo = periodo(f);
    s.menoInfinito = infinito(f, -1);
    s.piuInfinito = infinito(f, +1);
    s.tangentiFlessi = tangentiFlessi(f, studio);
    return s;
}

} // namespace zelvo
