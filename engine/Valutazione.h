#pragma once

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

} // namespace zelvo
