#include "engine/Errori.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace zelvo {

namespace {

struct VoceErrore
{
    int numero;
    std::string_view messaggio;
};

// Sorted by number: looked up with a binary search.
constexpr std::array kMessaggi {
        VoceErrore {5, "Chiamata di routine o argomento non validi"},
        VoceErrore {6, "Overflow"},
        VoceErrore {7, "Memoria esaurita"},
        VoceErrore {9, "Indice non incluso nell'intervallo"},
        VoceErrore {11, "Divisione per zero"},
        VoceErrore {13, "Tipo non corrispondente"},
        VoceErrore {14, "Spazio di stringa esaurito"},
        VoceErrore {28, "Spazio dello stack esaurito"},
        VoceErrore {35, "Sub o Function non definita"},
        VoceErrore {91, "Variabile oggetto o variabile del blocco With non impostata"},
        VoceErrore {94, "Uso non valido di Null"},
        VoceErrore {424, "Necessario oggetto"},
        VoceErrore {438, "Proprietà o metodo non supportati dall'oggetto"},
        VoceErrore {450, "Numero di argomenti errato o assegnazione di proprietà non valida"},
        VoceErrore {500, "Variabile non definita"},
        VoceErrore {501, "Assegnazione non valida"},
        VoceErrore {1002, "Errore di sintassi"},
        VoceErrore {1005, "Previsto '('"},
        VoceErrore {1006, "Previsto ')'"},
        VoceErrore {1010, "Previsto identificatore"},
        VoceErrore {1011, "Previsto '='"},
        VoceErrore {1014, "Previsto 'End'"},
        VoceErrore {1023, "Prevista espressione"},
        VoceErrore {1024, "Prevista istruzione"},
        VoceErrore {1025, "Prevista fine dell'istruzione"},
        VoceErrore {1026, "Prevista costante intera"},
        VoceErrore {1031, "Numero non valido"},
        VoceErrore {1032, "Carattere non valido"},
        VoceErrore {1033, "Costante di stringa non terminata"},
        VoceErrore {1041, "Nome ridefinito"},
        VoceErrore {1044, "Impossibile utilizzare le parentesi per chiamare una Sub"},
};

} // namespace

std::string_view messaggioErrore(int numero) noexcept
{
    const auto it = std::lower_bound(kMessaggi.begin(), kMessaggi.end(), numero,
                                     [](const VoceErrore &v, int n) { return v.numero < n; });
    if (it != kMessaggi.end() && it->numero == numero)
        return it->messaggio;
    return "Errore non previsto";
}

} // namespace zelvo
