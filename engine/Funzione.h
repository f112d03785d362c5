#pragma once

#include "engine/Valutazione.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace zelvo {

// The user's function y = f(x): the expression typed by the user, wrapped into
// the script function F(x) and evaluated by the script engine it owns. The
// engine (its programs, rows and lanes) stays behind this class.
class Funzione
{
public:
    // The decimal separator is the user's: it rules string/number conversions
    // inside expressions ("1,5" + 1 under a comma locale).
    explicit Funzione(char separatoreDecimale = '.');
    ~Funzione();

    // Reset the engine, then add the four-line script defining F from `testo`.
    // A refused text leaves the engine empty; the refusal is kept in
    // esitoDefinizione() and is never thrown.
    void DefinisciFunzione(std::string_view testo);

    // F(x) converted to a double; 0 when anything fails. One Run per call.
    double CalcolaFunzione(double x) noexcept { return Valuta(x).valore; }

    // The same evaluation, telling a failure (with its error number) from 0.
    Valutazione Valuta(double x) noexcept;

    // Many evaluations, in order: y[i] and errori[i] are the valore and the
    // errore of Valuta(x[i]), bit for bit; returns how many failed. A
    // function with a numeric program runs it on whole blocks of x at once,
    // which is what makes long sweeps fast.
    std::size_t Valuta(std::span<const double> x, double *y, int *errori) noexcept;

    // f(x), f'(x) and f''(x), exact to rounding; the value and error are
    // Valuta's. Without derivatives (conDerivate() false) the derivatives
    // are NaN and derivabile is false.
    Derivate Deriva(double x) noexcept;

    // The same at every x, in order.
    void Deriva(std::span<const double> x, Derivate *d) noexcept;

    // True when the function has exact derivatives: F is defined and every
    // operation in it takes and gives numbers (not a string, Rnd, or a call
    // of F to itself).
    bool conDerivate() const noexcept;

    // The operations of F where f may break (a divisor, Sqr, Log, Tan, Int,
    // Abs, a comparison...), in the program's order; empty when F has no
    // exact derivatives (conDerivate() false).
    std::span<const Rottura> rotture() const noexcept;

    // The operand of every rottura at x, in the order of rotture():
    // operandi.size() must be rotture().size().
    void operandiRotture(double x, std::span<Operando> operandi) noexcept;

    // A period of f read from its expression: every x in it lies inside a
    // Sin, Cos or Tan of k·x + c (k and c constants, k != 0), whatever is
    // done with them (Exp(Sin(x)), Abs(Tan(2*x))), and their periods 2π/|k|
    // (π/|k| for Tan) are commensurate: the least common multiple of them.
    // Not always the least period (Sin(x)^2 has π); none otherwise (x*Sin(x),
    // Sin(x^2), Sin(x)+Sin(Sqr(2)*x), a constant), and none when F has no
    // exact derivatives (conDerivate() false).
    std::optional<double> periodo() const noexcept;

    // True when an evaluation cannot change the ones after it (the function
    // draws no random numbers), so a sweep may evaluate ahead of its use.
    bool senzaStato() const noexcept;

    // What the user is told about the accepted text, in Italian: where a
    // minus stands before a power (-x^2, Exp(-x^2)), that the language reads
    // it as (-x)^2 and how -(x^2) is written. Empty when there is nothing to tell.
    std::string_view avviso() const noexcept;

    // True when the last DefinisciFunzione was accepted.
    bool definita() const noexcept { return definita_; }

    // The outcome of the last DefinisciFunzione: numero 0 when accepted (and
    // before any definition, when definita() is false).
    const ErroreScript &esitoDefinizione() const noexcept { return esito_; }

private:
    struct Motore; // the script engine and F looked up in it
    std::unique_ptr<Motore> motore_;
    ErroreScript esito_;
    bool definita_ = false;
};

} // namespace zelvo
