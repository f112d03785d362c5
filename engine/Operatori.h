#pragma once

#include "engine/Valore.h"

#include <cstdint>

namespace zelvo {

// Every operator of the language. The binary ones are listed by precedence
// in the parser's table; here they only name an operation.
enum class Operatore : std::uint8_t {
    // binary
    Potenza,
    Prodotto,
    Quoziente,
    DivisioneIntera,
    Modulo,
    Somma,
    Differenza,
    Concatenazione,
    Uguale,
    Diverso,
    Minore,
    Maggiore,
    MinoreUguale,
    MaggioreUguale,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
    // unary
    Meno,
    Piu,
    Not,
};

// How a comparison operand was written: string and number literals are
// "hard" and decide how a string meets a number.
enum class Letterale : std::uint8_t { No, Testo, Numero };

// The operands and the rules every operator needs besides its operands.
struct ContestoOperazioni
{
    char separatore = '.'; // the user's decimal separator
};

// a op b with VBScript's result subtype and errors; the result goes to r
// (which may alias neither operand). Returns the error number, 0 on success.
int operazioneBinaria(Operatore op, const Valore &a, const Valore &b, Valore &r,
                      const ContestoOperazioni &c, Letterale la = Letterale::No,
                      Letterale lb = Letterale::No);

// op a for the three prefix operators.
int operazioneUnaria(Operatore op, const Valore &a, Valore &r, const ContestoOperazioni &c);

// The result subtype of +, - and * for two numeric subtypes, before any
// promotion caused by the size of the result.
Tipo tipoAritmetico(Operatore op, Tipo a, Tipo b) noexcept;

} // namespace zelvo
