#pragma once

#include <cstdint>
#include <string>

namespace zelvo {

// Why a definition was refused, or why an evaluation failed.
struct ErroreScript
{
    int numero = 0; // VBScript's error number; 0: no error
    std::string messaggio; // Italian text of the error (messaggioErrore)
    int posizione = -1; // 0-based offset in the text given (for Funzione, the expression); -1: none
};

// The outcome of one evaluation: a failed evaluation is told from a true 0.
struct Valutazione
{
    double valore = 0; // f(x), or 0 when errore != 0
    int errore = 0; // VBScript's error number; 0: evaluated

    bool ok() const noexcept { return errore == 0; }
};

// f, f' and f'' at one x, exact to rounding. valore and errore are those of
// the plain evaluation, bit for bit. derivabile is false where f has a corner
// or a jump at x (Abs(x) at 0, Int(x) at 1, x < 1 at 1; the derivatives are
// then those from the right, or 0 for a step), where a derivative is not
// finite (Sqr(x) at 0), and wherever no derivatives are available.
struct Derivate
{
    double valore = 0;
    double prima = 0; // f'(x)
    double seconda = 0; // f''(x)
    int errore = 0;
    bool derivabile = true;

    bool ok() const noexcept { return errore == 0; }
};

// Where an operation of f may break, read from the expression as a student
// reads it: the operation's operand u (for a comparison, the difference of
// its two sides) meets one of the levels of `soglia` there. A candidate, not
// a verdict: Fix(x) at 0 or Abs(x^2 + 1) never break; the study decides by
// the limits on each side.
enum class Soglia : std::uint8_t {
    Zero, // u = 0: a divisor, Sqr, Log, a fractional power's base, Abs, Sgn, a comparison
    Intero, // u integral: Int, Fix
    MezzoIntero, // u = k + 1/2: Round, CInt, CLng, the operands of \ and Mod
    PiMezzi, // u = pi/2 + k pi: Tan
    Limite, // u = +-limite: past it the operation overflows (Exp)
};

// What the operation does where its operand meets the level.
enum class TipoRottura : std::uint8_t {
    Polo, // divides by u: a pole, or a hole where the numerator vanishes too
    Bordo, // not defined on one side: an edge of the domain
    Salto, // a jump
    Angolo, // a corner
};

struct Rottura
{
    TipoRottura tipo = TipoRottura::Salto;
    Soglia soglia = Soglia::Zero;
    double limite = 0; // Soglia::Limite only
};

// The operand of one Rottura at one x: u and du/dx (NaN where the
// evaluation failed before reaching it).
struct Operando
{
    double u = 0;
    double du = 0;
};

} // namespace zelvo
