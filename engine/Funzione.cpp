#include "engine/Funzione.h"

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
    const std::string copia(testo);
    script_.Reset();
    definita_ = false;
    esito_ = ErroreScript {};

    std::string sorgente;
    sorgente.reserve(kInizio.size() + copia.size() + kFine.size());
    sorgente.append(kInizio).append(copia).append(kFine);
    ErroreScript errore = script_.AddCode(sorgente);
    if (errore.numero != 0) {
        // An error past the expression (a missing ')' seen at "End
        // Function") points just after the text the user typed.
        const int inizio = static_cast<int>(kInizio.size());
        errore.posizione = std::clamp(errore.posizione - inizio, 0, static_cast<int>(copia.size()));
        esito_ = std::move(errore);
        return;
    }
    definita_ = true;
}

double Funzione::CalcolaFunzione(double x)
{
    double v = 0;
    return script_.Run("F", x, v) == 0 ? v : 0.0;
}

Valutazione Funzione::Valuta(double x) noexcept
{
    double v = 0;
    if (const int errore = script_.Run("F", x, v))
        return Valutazione {0, errore};
    return Valutazione {v, 0};
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
