#pragma once

// Runs an expression the way Funzione wraps it, through both evaluators.

#include "Riferimento.h"

#include "engine/Funzione.h"
#include "tests/engine/ProvaScriptControl.h"

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
        e.errore = ProvaScriptControl::Run(sc, "F", {&argomento, 1}, e.valore);
    return e;
}

// What every sample of a plot takes: F(x) as a Double, by the numeric
// program where the function has one.
inline Valutazione valutaDouble(std::string_view espressione, double x, char separatore = '.')
{
    Funzione f(separatore);
    f.DefinisciFunzione(espressione);
    if (!f.definita())
        return {0, f.esitoDefinizione().numero}; // as Esito tells it
    return f.Valuta(x);
}

// The same Double from the reference evaluator's Variant: its error, else
// the Variant coercion's.
inline Valutazione attesoDouble(const Esito &riferimento, char separatore = '.')
{
    if (riferimento.errore != 0)
        return {0, riferimento.errore};
    double v = 0;
    if (const int e = aDouble(riferimento.valore, separatore, v))
        return {0, e};
    return {v, 0};
}

} // namespace zelvo::prova
