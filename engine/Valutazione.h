#pragma once

namespace zelvo {

// The outcome of one evaluation: a failed evaluation is told from a true 0.
struct Valutazione
{
    double valore = 0; // f(x), or 0 when errore != 0
    int errore = 0; // VBScript's error number; 0: evaluated

    bool ok() const noexcept { return errore == 0; }
};

} // namespace zelvo
