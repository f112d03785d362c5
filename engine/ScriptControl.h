#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"
#include "engine/Programma.h"
#include "engine/Valore.h"
#include "engine/Valutazione.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelvo {

// The script engine: holds at most one compiled function and runs it. It
// never throws for anything a script does; failures come back as VBScript's
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

    // A procedure looked up once by name, so the runs that follow look
    // nothing up; it stays valid until the next Reset or AddCode.
    struct Procedura
    {
        std::uint64_t generazione = 0; // 0: no procedure
    };
    Procedura cercaProcedura(std::string_view nome) const noexcept;

    // The call every sample makes: the procedure at x converted to a Double
    // with the Variant-to-Double coercion (Null is 94, a non-numeric string
    // 13), or 0 and the error number on failure. A non-finite x is error 6:
    // no Variant holds one. A procedure no longer valid is 35.
    [[gnu::always_inline]] Valutazione Valuta(Procedura p, double x)
    {
        if (numerica(p) && std::isfinite(x))
            return programma_.eseguiNumerico(x);
        double v = 0;
        if (const int e = runDouble(p, x, v))
            return {0.0, e};
        return {v, 0};
    }

    // The same at every x, in order: y[i] and errori[i] get the value (0 on
    // failure) and the error number (0: none) that Valuta(p, x[i]) gives,
    // bit for bit; returns how many failed. A numeric function runs block by
    // block; any other, sample by sample.
    std::size_t Run(Procedura p, std::span<const double> x, double *y, int *errori) noexcept;

    // True when p is valid and its runs leave nothing behind for the next
    // one (no Rnd): running ahead of time then changes no result.
    bool senzaStato(Procedura p) const noexcept { return numerica(p); }

    // f, f' and f'' at x where p has a numeric program (conDerivate); else
    // Valuta's value and error with no derivatives (derivabile false).
    Derivate Deriva(Procedura p, double x)
    {
        if (numerica(p) && std::isfinite(x))
            return programma_.eseguiDerivate(x);
        const Valutazione v = Valuta(p, x);
        return {v.valore, NAN, NAN, v.errore, false};
    }

    // The same at every x, in order; a numeric function runs block by block.
    void Deriva(Procedura p, std::span<const double> x, Derivate *d)
    {
        if (!numerica(p)) {
            for (std::size_t i = 0; i < x.size(); ++i)
                d[i] = Deriva(p, x[i]);
            return;
        }
        for (std::size_t i = 0; i < x.size(); i += Programma::kBlocco)
            programma_.eseguiDerivateBlocco(x.data() + i,
                                            std::min(Programma::kBlocco, x.size() - i), d + i);
    }

    // True when p is valid and has derivatives: every operation of F takes
    // and gives numbers (no strings, no Rnd, no call of F to itself).
    bool conDerivate(Procedura p) const noexcept { return numerica(p); }

    // Where p may break (Programma::rotture); none without derivatives.
    std::span<const Rottura> rotture(Procedura p) const noexcept
    {
        return numerica(p) ? programma_.rotture() : std::span<const Rottura> {};
    }

    // The operand of each of rotture(p) at x (Programma::operandiRotture).
    void operandiRotture(Procedura p, double x, std::span<Operando> operandi) noexcept
    {
        if (numerica(p))
            programma_.operandiRotture(x, operandi);
        else
            for (Operando &o : operandi)
                o = {NAN, NAN};
    }

private:
    friend struct ProvaScriptControl; // the tests run F for its Variant

    // True when p is valid and the function has a numeric program.
    bool numerica(Procedura p) const noexcept { return p.generazione == generazioneNumerica_; }
    bool trova(std::string_view nome) const noexcept;
    int runDouble(Procedura p, double x, double &valore);
    // Runs the function with the given arguments (finite), its value to r,
    // with full budgets and Err clear; returns the error number.
    int esegui(std::span<const Valore> argomenti, Valore &r);

    ContestoEsecuzione contesto_;
    Script script_;
    Programma programma_;
    std::uint64_t generazione_ = 0; // changes with every Reset and every function added
    // generazione_ when the function is numeric, else a value no procedure has.
    static constexpr std::uint64_t kNessuna = ~std::uint64_t {0};
    std::uint64_t generazioneNumerica_ = kNessuna;
};

} // namespace zelvo
