#pragma once

#include "engine/Valore.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvo {

enum class Associativita : std::uint8_t { Sinistra, Destra };

// Every operator of the language, one row each, the way a Pratt parser's
// rule table describes its tokens: read by the lexer (the text, and the
// other spelling VBScript also reads), the parser (the binding power
// between two operands and before one, 0 for none, higher binding tighter;
// the associativity), the Variant evaluators (the function, Operatori.cpp)
// and, through each numeric row's `chiave`, the numeric program and the
// derivatives (Operazioni.h). An operator that takes and gives numbers has
// its Variant function made from its numeric row (`numerica<riga::...>`):
// adding one is this row and its row in Operazioni.h. A token whose text two rows share ('+', '-')
// is the first row's; before an operand it is the row with a prefix power.
// Not sits between And and the comparisons and takes no binary operator
// before it; the signs bind tighter than '^'.
// clang-format off
//  name               text   other  infix  prefix  associativity  Variant function
#define ZELVO_OPERATORI(X)                                                                         \
    X(Potenza,          "^",   "",    13,    0,      Sinistra,      numerica<riga::Potenza>)        \
    X(Prodotto,         "*",   "",    12,    0,      Sinistra,      numerica<riga::Prodotto>)       \
    X(Quoziente,        "/",   "",    12,    0,      Sinistra,      numerica<riga::Quoziente>)      \
    X(DivisioneIntera,  "\\",  "",    11,    0,      Sinistra,      divisioneIntera)                \
    X(Modulo,           "Mod", "",    10,    0,      Sinistra,      divisioneIntera)                \
    X(Somma,            "+",   "",    9,     0,      Sinistra,      somma)                          \
    X(Differenza,       "-",   "",    9,     0,      Sinistra,      numerica<riga::Differenza>)     \
    X(Concatenazione,   "&",   "",    8,     0,      Sinistra,      concatena)                      \
    X(Uguale,           "=",   "",    7,     0,      Sinistra,      confronto)                      \
    X(Diverso,          "<>",  "><",  7,     0,      Sinistra,      confronto)                      \
    X(Minore,           "<",   "",    7,     0,      Sinistra,      confronto)                      \
    X(Maggiore,         ">",   "",    7,     0,      Sinistra,      confronto)                      \
    X(MinoreUguale,     "<=",  "=<",  7,     0,      Sinistra,      confronto)                      \
    X(MaggioreUguale,   ">=",  "=>",  7,     0,      Sinistra,      confronto)                      \
    X(Is,               "Is",  "",    7,     0,      Sinistra,      confronto)                      \
    X(And,              "And", "",    5,     0,      Sinistra,      logica)                         \
    X(Or,               "Or",  "",    4,     0,      Sinistra,      logica)                         \
    X(Xor,              "Xor", "",    3,     0,      Sinistra,      logica)                         \
    X(Eqv,              "Eqv", "",    2,     0,      Sinistra,      logica)                         \
    X(Imp,              "Imp", "",    1,     0,      Sinistra,      logica)                         \
    X(Meno,             "-",   "",    0,     14,     Destra,        meno)                           \
    X(Piu,              "+",   "",    0,     14,     Destra,        piu)                            \
    X(Not,              "Not", "",    0,     6,      Destra,        nonLogico)
// clang-format on

#define ZELVO_VOCE_OPERATORE(Nome, ...) Nome,
enum class Operatore : std::uint8_t { ZELVO_OPERATORI(ZELVO_VOCE_OPERATORE) };
#undef ZELVO_VOCE_OPERATORE

// One row of the table, as the lexer and the parser read it.
struct RigaOperatore
{
    Operatore op;
    std::string_view testo;
    std::string_view altro;
    int infisso;
    int prefisso;
    Associativita associativita;
};

#define ZELVO_RIGA_OPERATORE(Nome, testo, altro, infisso, prefisso, associativita, ...)            \
    RigaOperatore {Operatore::Nome, testo, altro, infisso, prefisso, Associativita::associativita},
inline constexpr RigaOperatore kOperatori[] = {ZELVO_OPERATORI(ZELVO_RIGA_OPERATORE)};
#undef ZELVO_RIGA_OPERATORE

constexpr const RigaOperatore &rigaOperatore(Operatore op) noexcept
{
    return kOperatori[static_cast<std::size_t>(op)];
}

// The operator a token of operator `op` names before an operand, or `op`
// itself when none does (then its prefix power is 0).
constexpr Operatore prefisso(Operatore op) noexcept
{
    for (const RigaOperatore &r : kOperatori)
        if (r.prefisso != 0 && r.testo == rigaOperatore(op).testo)
            return r.op;
    return op;
}

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

// The Variant result subtype of a numeric operator for the subtypes of its
// operands (a string read as a Double), before any promotion caused by the
// size of the result; each numeric row names its own (`sottotipo`).
Tipo tipoAritmetico(Operatore op, Tipo a, Tipo b) noexcept; // +, - and *
Tipo tipoQuoziente(Operatore op, Tipo a, Tipo b) noexcept; // /
Tipo tipoDouble(Operatore op, Tipo a, Tipo b) noexcept; // ^

} // namespace zelvo
