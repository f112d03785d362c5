#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"

#include <span>

namespace zelvo {

// Runs the script's function by walking its expression trees, one Variant
// at a time: the plain reference evaluator the compiled program is checked
// against. Returns the error number; on success the function's value is in r.
int eseguiAlbero(const Script &s, std::span<const Valore> argomenti, Valore &r,
                 ContestoEsecuzione &c);

} // namespace zelvo
