#pragma once

#include "engine/Albero.h"
#include "engine/Operatori.h"

#include <string_view>

namespace zelvo {

// Bounds that keep every script's compilation and run within a fixed stack.
inline constexpr int kMaxAnnidamento = 200; // nested parentheses, signs, Not, calls
inline constexpr int kMaxProfondita = 1000; // nesting of an expression tree (Nodo::profondita)
// The longest script: a longer one is refused (error 7) before it is read, so
// no text can make the compiler's tokens and trees exhaust memory.
inline constexpr std::size_t kMaxLunghezzaSorgente = std::size_t {1} << 20;
// Nested calls of F: at most kMaxChiamate, and at most kBudgetProfondita
// tree levels over all of them, so that every evaluator's recursion stays
// far inside the stack, also with a sanitizer's larger frames.
inline constexpr int kBudgetProfondita = 1000;
inline constexpr int kMaxChiamate = 16;

struct EsitoCompilazione
{
    int errore = 0;
    int posizione = -1; // offset in the source of the offending token
};

// Compiles a script: an optional "Option Explicit", then one Function with
// assignments, Dim, Exit Function, On Error Resume Next / GoTo 0 and
// Err.Clear statements. Names are resolved to slots, builtins or
// constants; constant subtrees without text are folded with the run-time operations, so
// folding never changes a result.
EsitoCompilazione compilaScript(std::string_view sorgente, const ContestoOperazioni &c,
                                Script &script);

} // namespace zelvo
