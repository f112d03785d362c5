#pragma once

// F run for its Variant result. The program takes F as a Double only
// (ScriptControl::Valuta); the tests compare the Variant itself, value,
// subtype and error, with the reference evaluator's.

#include "engine/Errori.h"
#include "engine/ScriptControl.h"

#include <cmath>
#include <span>
#include <string_view>

namespace zelvo {

struct ProvaScriptControl
{
    // Runs the procedure `nome` with the given arguments: 35 when the engine
    // has no such procedure, 6 for a non-finite argument (no Variant holds
    // one), else the run's error number; the value goes to `risultato`.
    static int Run(ScriptControl &sc, std::string_view nome, std::span<const Valore> argomenti,
                   Valore &risultato)
    {
        if (!sc.trova(nome))
            return ProceduraNonDefinita;
        for (const Valore &v : argomenti)
            if (!std::isfinite(v.numero))
                return ErroreOverflow;
        return sc.esegui(argomenti, risultato);
    }
};

} // namespace zelvo
