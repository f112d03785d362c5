#include "engine/Errori.h"

namespace zelvo {

std::string_view messaggioErrore(int numero) noexcept
{
    switch (numero) {
#define ZELVO_MESSAGGIO(Nome, numero, messaggio)                                                   \
    case Nome:                                                                                     \
        return messaggio;
        ZELVO_ERRORI(ZELVO_MESSAGGIO)
#undef ZELVO_MESSAGGIO
    }
    return "Errore non previsto";
}

} // namespace zelvo
