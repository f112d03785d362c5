#include "tables/ElencoValori.h"

#include "plot/Avanzamento.h"

#include "engine/TestoNumero.h"
#include "plot/Spazzata.h"

#include <algorithm>
#include <cstring>

namespace zelvo {

namespace {

// Room for the rows of one sweep, guessed from its length (about 40
// characters a row); capped, as the guess is only a hint.
void riservaPer(ElencoValori &righe, const StatoCalcolo &stato)
{
    constexpr double kMaxRighe = 1 << 22;
    constexpr std::size_t kCaratteriPerRiga = 40;
    const double stima = std::min((stato.estremoB - stato.estremoA) / stato.passo + 2, kMaxRighe);
    const auto quante = static_cast<std::size_t>(stima);
    righe.riserva(quante, quante * kCaratteriPerRiga);
}

} // namespace

EsitoElenco riempiElenco(ElencoValori &elenco, const StatoCalcolo &stato, Funzione &funzione,
                         char separatoreDecimale)
{
    // A list holds the rows of its last run and only those.
    elenco = ElencoValori {};
    if (const auto rifiuto = verificaRequisiti(stato, funzione, true, separatoreDecimale))
        return {rifiuto->stato, 0};
    if (stato.estremoA > stato.estremoB)
        return {"a > b: nessuna riga scritta", 0};

    riservaPer(elenco, stato);
    PuntiNonDefiniti nonDefiniti;
    constexpr std::string_view nonDefinita = kNonDefinita;
    char riga[kPrimaDiX.size() + kPrimaDiY.size() + 2 * kMaxTestoNumero];
    std::memcpy(riga, kPrimaDiX.data(), kPrimaDiX.size());
    for (const BloccoSpazzata &blocco :
         SpazzataFunzione(funzione, stato.estremoA, stato.estremoB, stato.passo)) {
        avanza((blocco.x.front() - stato.estremoA) / (stato.estremoB - stato.estremoA));
        for (std::size_t i = 0; i < blocco.size(); ++i) {
            char *fine = scriviNumero(riga + kPrimaDiX.size(), blocco.x[i], separatoreDecimale);
            fine = std::copy(kPrimaDiY.begin(), kPrimaDiY.end(), fine);
            if (nonDefiniti.conta(blocco.x[i], blocco[i]))
                fine = scriviNumero(fine, blocco.y[i], separatoreDecimale);
            else
                fine = std::copy(nonDefinita.begin(), nonDefinita.end(), fine);
            elenco.aggiungi(std::string_view(riga, static_cast<std::size_t>(fine - riga)));
        }
    }
    return {nonDefiniti.testo(separatoreDecimale), elenco.size()};
}

} // namespace zelvo
