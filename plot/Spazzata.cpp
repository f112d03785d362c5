#include "plot/Spazzata.h"

#include "engine/Errori.h"
#include "engine/TestoNumero.h"
#include "plot/Impostazioni.h"

#include <cmath>

namespace zelvo {

namespace {

// More samples than any accepted sweep takes (202,001 at most, from -10.1 to
// 10.1 by 0.0001) by a wide margin; a step that asks for more is no step
// calcolo set, and a list of that many rows would not fit in memory.
constexpr double kMaxCampioni = 10'000'000;

} // namespace

std::optional<Rifiuto> verificaRequisiti(const StatoCalcolo &stato, const Funzione &funzione,
                                         bool usaPasso, char separatoreDecimale)
{
    const double a = stato.estremoA;
    const double b = stato.estremoB;
    // Written so that NaN fails too.
    const bool dentro = std::fabs(a) <= limiteIntervallo && std::fabs(b) <= limiteIntervallo;
    if (!stato.intervalloAccettato || !dentro) {
        const std::string limite = testoNumero(limiteIntervallo, separatoreDecimale);
        return Rifiuto {"intervallo non valido",
                        "Intervallo non accettato: a e b devono essere numeri tra -" + limite
                                + " e " + limite};
    }
    if (!funzione.definita()) {
        const std::string &motivo = funzione.esitoDefinizione().messaggio;
        return Rifiuto {"funzione non valida",
                        "Funzione non accettata" + (motivo.empty() ? "" : " (" + motivo + ")")
                                + ": correggerla"};
    }
    if (usaPasso) {
        const double s = stato.passo;
        if (!(s > 0) || (b - a) / s > kMaxCampioni)
            return Rifiuto {"passo non valido", "Passo non valido: scegliere il passo"};
    }
    return std::nullopt;
}

void PuntiNonDefiniti::fallito(int numero, double x) noexcept
{
    ++falliti_;
    for (std::size_t k = 0; k < tipi_; ++k)
        if (primi_[k].numero == numero)
            return;
    if (tipi_ < primi_.size())
        primi_[tipi_++] = {numero, x};
}

std::string PuntiNonDefiniti::testo(char separatoreDecimale) const
{
    if (falliti_ == 0)
        return {};
    std::string m = "f non definita in " + std::to_string(falliti_)
            + (falliti_ == 1 ? " punto su " : " punti su ") + std::to_string(campioni_) + " — ";
    for (std::size_t k = 0; k < tipi_; ++k)
        m += (k ? "; Errore " : "Errore ") + std::to_string(primi_[k].numero) + ": "
                + std::string(messaggioErrore(primi_[k].numero))
                + " in x = " + testoNumero(primi_[k].x, separatoreDecimale);
    return m;
}

} // namespace zelvo
