#pragma once

#include "engine/Operatori.h"
#include "engine/Valore.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace zelvo {

enum class Simbolo : std::uint8_t {
    Fine, // end of the text
    FineIstruzione, // a line break or ':'
    Letterale, // number or string; the value is in the token
    Nome,
    Operatore, // every operator, '=' included (Operatore::Uguale)
    ParentesiAperta,
    ParentesiChiusa,
    Virgola,
    Punto, // '.' after Err: the member that follows is read from the Err object
    // keywords
    Option,
    Explicit,
    Function,
    End,
    Dim,
    True,
    False,
    Empty,
    Null,
    Nothing,
    On,
    Error,
    Resume,
    Next,
    GoTo,
    Exit,
    Err,
    Riservata, // a keyword of a statement the engine does not offer (If, For, Set...)
    Errore, // text that is no token; valore.numero holds the error number
};

struct Gettone
{
    Simbolo simbolo = Simbolo::Fine;
    Operatore op = Operatore::Somma; // Simbolo::Operatore only
    int posizione = 0; // offset in the source
    std::string_view testo; // the token as written
    Valore valore; // Simbolo::Letterale only
};

// Splits a script into tokens, ending with Simbolo::Fine. Comments (' anywhere,
// Rem at the start of a statement) are dropped; CR LF, CR, LF and ':' all end
// a statement. The first text that is no token ends the list with a
// Simbolo::Errore token, so the parser reports whichever error comes first.
std::vector<Gettone> analizzaLessico(std::string_view sorgente);

} // namespace zelvo
