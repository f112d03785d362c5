#include "engine/Funzione.h"

#include "engine/Errori.h"
#include "engine/Sintassi.h"

#include <algorithm>

namespace zelvo {

namespace {

// The script around the user's expression: the text goes, exactly as typed,
// after "F=" on the third line.
constexpr std::string_view kInizio = "Option Explicit\r\nFunction F(x)\r\nF=";
constexpr std::string_view kFine = "\r\nEnd Function";

} // namespace

Funzione::Funzione(char separatoreDecimale)
    : script_(separatoreDecimale)
{ }

void Funzione::DefinisciFunzione(std::string_view testo)
{
    script_.Reset();
    f_ = {};
    definita_ = false;
    esito_ = ErroreScript {};

    ErroreScript errore;
    if (testo.size() > kMaxLunghezzaSorgente) {
        // Refused before the script is even built: no text can exhaust memory.
        errore.numero = MemoriaEsaurita;
        errore.posizione = static_cast<int>(kMaxLunghezzaSorgente - kInizio.size());
    } else {
        std::string sorgente; // the private copy of the text
        sorgente.reserve(kInizio.size() + testo.size() + kFine.size());
        sorgente.append(kInizio).append(testo).append(kFine);
        errore = script_.AddCode(sorgente);
        // An error past the expression (a missing ')' seen at "End
        // Function") points just after the text the user typed.
        errore.posizione = std::clamp(errore.posizione - static_cast<int>(kInizio.size()), 0,
                                      static_cast<int>(testo.size()));
    }
    if (errore.numero != 0) {
        errore.messaggio = std::string(messaggioErrore(errore.numero));
        esito_ = std::move(errore);
        return;
    }
    definita_ = true;
    f_ = script_.cercaProcedura("F");
}

bool Funzione::definita() const noexcept
{
    return definita_;
}

const ErroreScript &Funzione::esitoDefinizione() const noexcept
{
    return esito_;
}

} // namespace zelvo
