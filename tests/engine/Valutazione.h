#pragma once

// Runs an expression the way Funzione wraps it, through both evaluators.

#include "Riferimento.h"

#include "engine/ScriptControl.h"

#include <string>
#include <string_view>

namespace zelvo::prova {

struct Esito
{
    int errore = 0; // the AddCode error, else the Run error
    Valore valore;
};

inline std::string sorgente(std::string_view espressione)
{
    return "Option Explicit\r\nFunction F(x)\r\nF=" + std::string(espressione) + "\r\nEnd Function";
}

// Evaluates `espressione` at x with a fresh engine; `albero` picks the
// reference evaluator instead of the compiled program.
inline Esito valuta(std::string_view espressione, double x, bool albero, char separatore = '.')
{
    const Valore argomento = Valore::doppio(x);
    Esito e;
    if (albero) {
        riferimento::Riferimento r(separatore);
        e.errore = r.AddCode(sorgente(espressione)).numero;
        if (e.errore == 0)
            e.errore = r.Run("F", {&argomento, 1}, e.valore);
        return e;
    }
    ScriptControl sc(separatore);
    e.errore = sc.AddCode(sorgente(espressione)).numero;
    if (e.errore == 0)
        e.errore = sc.Run("F", {&argomento, 1}, e.valore);
    return e;
}

} // namespace zelvo::prova
