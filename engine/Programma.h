#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"
#include "engine/ProgrammaBlocco.h"
#include "engine/ProgrammaNumerico.h"
#include "engine/ProgrammaVariante.h"
#include "engine/Valutazione.h"

#include <optional>
#include <span>

namespace zelvo {

// The compiled forms of a script's function, built once by AddCode: the
// Variant program, which runs any function, and, where every operation of
// F takes and gives numbers, the numeric program, run one x at a time or a
// block of x at once.
class Programma
{
public:
    void compila(const Script &s);

    // True when the function has a numeric program.
    bool numerico() const noexcept { return numerico_; }

    // True when the numeric program's result is certainly a Double, so the
    // Variant result may be taken from it.
    bool doppio() const noexcept { return numerico_ && numerica_.doppio(); }

    // Runs the function (any script, any arguments): the numeric program
    // when it gives the same Variant (a Double, at a finite Double argument),
    // else the Variant one.
    int esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c);

    // The numeric program's runs (ProgrammaNumerico, ProgrammaBlocco), only
    // when numerico().
    Valutazione eseguiNumerico(double x) noexcept { return numerica_.esegui(x); }
    Derivate eseguiDerivate(double x) noexcept { return numerica_.eseguiDerivate(x); }

    static constexpr std::size_t kBlocco = ProgrammaBlocco::kBlocco;
    std::size_t eseguiBlocco(const double *x, std::size_t n, double *y, int *errori) noexcept
    {
        return blocco_.esegui(numerica_, x, n, y, errori);
    }
    void eseguiDerivateBlocco(const double *x, std::size_t n, Derivate *d) noexcept
    {
        blocco_.eseguiDerivate(numerica_, x, n, d);
    }

    // Where the numeric program may break; empty when !numerico().
    std::span<const Rottura> rotture() const noexcept { return numerica_.rotture(); }
    void operandiRotture(double x, std::span<Operando> operandi) noexcept
    {
        numerica_.operandiRotture(x, operandi);
    }

    // A period the numeric program's structure gives F
    // (ProgrammaNumerico::periodo); none when !numerico().
    std::optional<double> periodo() const noexcept
    {
        return numerico_ ? numerica_.periodo() : std::nullopt;
    }

private:
    friend struct ProvaProgramma; // the tests read which rows the program runs

    bool numerico_ = false;
    ProgrammaNumerico numerica_;
    ProgrammaBlocco blocco_;
    ProgrammaVariante variante_;
};

} // namespace zelvo
