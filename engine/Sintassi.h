#pragma once

#include "engine/Albero.h"
#include "engine/Operatori.h"

#include <string_view>

namespace zelvo {

// Bounds that keep every script's compilation and run within a fixed stack.
inline constexpr int kMaxAnnidamento = 200; // nested parentheses, signs, Not, calls
inline constexpr int kMaxProfondita = 1000; // height of an expression tree
// The longest script: a longer one is refused (error 7) before it is read, so
// no text can make the compiler's tokens and trees exhaust memory.
inline constexpr std::size_t kMaxLunghezzaSorgente = std::size_t {1} << 20;
inline constexpr int kBudgetProfondita = 4000; // tree levels over all nested calls of F

struct EsitoCompilazione
{
    int errore = 0;
    int posizione = -1; // offset in the source of the offending token
};

// Compiles a script: an optional "Option Explicit", then one Function with
// assignments and Dim statements. Names are resolved to slots, builtins or
// constants; constant subtrees without text are folded with the run-time operations, so
// folding never changes a result.
EsitoCompilazione compilaScript(std::string_view sorgente, const ContestoOperazioni &c,
                                Script &script);

} // namespace zelvo
