#pragma once

#include <string>

namespace zelvo {

// Why a file could not be written, in Italian, from the system's error
// number (errno): "permesso negato", "cartella inesistente"...; the C
// library's own texts follow the process's locale and are English under C.
std::string motivoFile(int numero);

} // namespace zelvo
