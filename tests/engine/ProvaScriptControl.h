#pragma once

// F run by name, for its Variant result. The program takes F as a Double
// only, through Funzione; the tests compare the Variant itself, value,
// subtype and error, with the reference evaluator's, which looks its
// procedures up by name.

#include "engine/Errori.h"
#include "engine/Nomi.h"
#include "engine/ScriptControl.h"

#include <cmath>
#include <span>
#include <string_view>

namespace zelvo {

struct ProvaScriptControl
{
    // True when the engine holds a function of this name (names ignore case).
    static bool definisce(const ScriptControl &sc, std::string_view nome)
    {
        return sc.script_.haFunzione && stessoNome(sc.script_.nome, nome);
    }

    // The Double of a sample of the function `nome`: 35 when the engine holds
    // no such function, else ScriptControl::Valuta's.
    static Valutazione Valuta(ScriptControl &sc, std::string_view nome, double x)
    {
        if (!definisce(sc, nome))
            return {0.0, ProceduraNonDefinita};
        return sc.Valuta(x);
    }

    // Runs the procedure `nome` with the given arguments: 35 when the engine
    // has no such procedure, 6 for a non-finite argument (no Variant holds
    // one), else the run's error number; the value goes to `risultato`.
    static int Run(ScriptControl &sc, std::string_view nome, std::span<const Valore> argomenti,
                   Valore &risultato)
    {
        if (!definisce(sc, nome))
            return ProceduraNonDefinita;
        for (const Valore &v : argomenti)
            if (!std::isfinite(v.numero))
                return ErroreOverflow;
        return sc.esegui(argomenti, risultato);
    }
};

} // namespace zelvo
