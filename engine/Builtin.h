#pragma once

#include "engine/Nomi.h"
#include "engine/Operatori.h"
#include "engine/Valore.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace zelvo {

// The calls of F one run may make in all. Under On Error Resume Next a call
// that fails lets its caller go on to its next call, so the calls branch
// into a tree; this keeps every run's work bounded by the script's size.
inline constexpr int kBudgetChiamate = 64;

// What a run may change besides its variables: the Rnd generator, Err and
// the budgets.
struct ContestoEsecuzione
{
    ContestoOperazioni operazioni;
    std::uint32_t semeRnd = 327680; // the generator's state before the first Rnd
    std::size_t testoRestante = kBudgetTesto;
    int chiamateRestanti = kBudgetChiamate;
    int err = 0; // Err.Number: the last error handled, 0 when none

    // Every Run starts with full budgets and Err clear, so that no run
    // depends on the one before but through Rnd.
    void nuovaCorsa() noexcept
    {
        testoRestante = kBudgetTesto;
        chiamateRestanti = kBudgetChiamate;
        err = 0;
    }
};

// Charges a value a run has produced or copied to the run's text budget.
inline int addebita(const Valore &v, ContestoEsecuzione &c) noexcept
{
    if (v.tipo != Tipo::String)
        return Nessuno;
    if (v.testo.size() > c.testoRestante)
        return SpazioStringaEsaurito;
    c.testoRestante -= v.testo.size();
    return Nessuno;
}

using FunzioneBuiltin
        = int (*)(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c);

// A function of one Double giving a Double, with its errors: the numeric
// program calls it directly, the Variant built-in after coercion, so both
// give the same bits.
using FunzioneDouble = int (*)(double a, double &r) noexcept;

struct Builtin
{
    std::string_view nome;
    std::uint8_t minimo;
    std::uint8_t massimo;
    FunzioneBuiltin funzione;
    bool pura; // may be folded when its arguments are constants
};

// The built-in functions, looked up by name without regard to case; -1 when
// the name is not one of them.
int cercaBuiltin(std::string_view nome) noexcept;
const Builtin &builtin(int indice) noexcept;
// The whole table, in order of index.
std::span<const Builtin> tuttiBuiltin() noexcept;

// The vb... constants; nullptr when the name is not one of them.
const Valore *cercaCostante(std::string_view nome) noexcept;

} // namespace zelvo
