#pragma once

// The reference evaluator: the script's function run by walking its
// expression trees, one Variant at a time, with no compiled program. The
// engine's own evaluators are checked against it, value, subtype and error.

#include "engine/ScriptControl.h"

#include <span>
#include <string_view>

namespace zelvo::riferimento {

// An engine whose runs walk the trees. AddCode is the engine's own (the same
// checks, the same errors); Run keeps its Rnd state between runs like the
// engine does.
class Riferimento
{
public:
    explicit Riferimento(char separatoreDecimale = '.');

    ErroreScript AddCode(std::string_view codice);

    // The error number (0 on success: the function's value is in risultato).
    int Run(std::string_view nome, std::span<const Valore> argomenti, Valore &risultato);

private:
    ScriptControl controllo_; // AddCode's checks and errors
    Script script_; // the function as compiled, walked by Run
    ContestoEsecuzione contesto_;
};

} // namespace zelvo::riferimento
