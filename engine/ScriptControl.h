#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"
#include "engine/Programma.h"
#include "engine/Valore.h"
#include "engine/Valutazione.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvo {

// The script engine behind Funzione: holds at most one compiled function
// and runs it. It never throws for anything a script does; failures come back as VBScript's
// error numbers.
//
// Time limit: the language offers no loops, no jumps and no callable code
// besides the one function, whose calls to itself are bounded in depth
// (Script::limiteChiamate) and in number (kBudgetChiamate), and the text a
// run may build or copy is bounded (kBudgetTesto); every run therefore ends
// after a number of steps bounded by the size of the script (itself at most
// kMaxLunghezzaSorgente), far inside 10,000 ms, and no clock is needed.
class ScriptControl
{
public:
    // The decimal separator is the user's: it rules the conversions between
    // strings and numbers inside the scripts.
    explicit ScriptControl(char separatoreDecimale = '.');

    // Discards all code: the function no longer exists.
    void Reset() noexcept;

    // Compiles a script (an optional Option Explicit and one Function). On
    // failure the engine keeps no code of it and the error (number, Italian
    // message, offset in `codice`) is returned; numero 0 on success.
    ErroreScript AddCode(std::string_view codice);

    // The calls every sample makes, on the function the engine holds: F at
    // x converted to a Double with the Variant-to-Double coercion (Null is
    // 94, a non-numeric string 13), or 0 and the error number on failure. A
    // non-finite x is error 6: no Variant holds one. Without a function, 35.
    [[gnu::always_inline]] Valutazione Valuta(double x)
    {
        if (numerica_ && std::isfinite(x))
            return programma_.eseguiNumerico(x);
        double v = 0;
        if (const int e = runDouble(x, v))
            return {0.0, e};
        return {v, 0};
    }

    // The same at every x, in order: y[i] and errori[i] get the value (0 on
    // failure) and the error number (0: none) that Valuta(x[i]) gives, bit
    // for bit; returns how many failed. A numeric function runs block by
    // block; any other, sample by sample.
    std::size_t Run(std::span<const double> x, double *y, int *errori) noexcept;

    // True when the function's runs leave nothing behind for the next one
    // (no Rnd): running ahead of time then changes no result.
    bool senzaStato() const noexcept { return numerica_; }

    // f, f' and f'' at x where the function has a numeric program
    // (conDerivate); else Valuta's value and error with no derivatives
    // (derivabile false).
    Derivate Deriva(double x)
    {
        if (numerica_ && std::isfinite(x))
            return programma_.eseguiDerivate(x);
        const Valutazione v = Valuta(x);
        return {v.valore, NAN, NAN, v.errore, false};
    }

    // The same at every x, in order; a numeric function runs block by block.
    void Deriva(std::span<const double> x, Derivate *d)
    {
        if (!numerica_) {
            for (std::size_t i = 0; i < x.size(); ++i)
                d[i] = Deriva(x[i]);
            return;
        }
        for (std::size_t i = 0; i < x.size(); i += Programma::kBlocco)
            programma_.eseguiDerivateBlocco(x.data() + i,
                                            std::min(Programma::kBlocco, x.size() - i), d + i);
    }

    // True when the function has derivatives: every operation of F takes
    // and gives numbers (no strings, no Rnd, no call of F to itself).
    bool conDerivate() const noexcept { return numerica_; }

    // True when the code added since the last Reset raises a negated
    // operand to a power (-x^2).
    bool menoPrimaDiPotenza() const noexcept { return script_.menoPrimaDiPotenza; }

    // Where F may break (Programma::rotture); none without derivatives.
    std::span<const Rottura> rotture() const noexcept
    {
        return numerica_ ? programma_.rotture() : std::span<const Rottura> {};
    }

    // A period F has by its structure (Programma::periodo); none without
    // derivatives.
    std::optional<double> periodo() const noexcept
    {
        return numerica_ ? programma_.periodo() : std::nullopt;
    }

    // The operand of each of rotture() at x (Programma::operandiRotture).
    void operandiRotture(double x, std::span<Operando> operandi) noexcept
    {
        if (numerica_)
            programma_.operandiRotture(x, operandi);
        else
            for (Operando &o : operandi)
                o = {NAN, NAN};
    }

private:
    friend struct ProvaScriptControl; // the tests run F by name, for its Variant

    int runDouble(double x, double &valore);
    // Runs the function with the given arguments (finite), its value to r,
    // with full budgets and Err clear; returns the error number.
    int esegui(std::span<const Valore> argomenti, Valore &r);

    ContestoEsecuzione contesto_;
    Script script_;
    Programma programma_;
    bool numerica_ = false; // the engine holds a function with a numeric program
};

} // namespace zelvo
