#pragma once

#include <string_view>

namespace zelvo {

// The engine's errors, each once: its name, VBScript's number and the
// message of the Italian edition of the language, so every text the user
// reads is Italian. Code names an error, never its number.
#define ZELVO_ERRORI(X)                                                                            \
    X(ArgomentoNonValido, 5, "Chiamata di routine o argomento non validi")                         \
    X(ErroreOverflow, 6, "Overflow")                                                               \
    X(MemoriaEsaurita, 7, "Memoria esaurita")                                                      \
    X(IndiceNonIncluso, 9, "Indice non incluso nell'intervallo")                                   \
    X(DivisionePerZero, 11, "Divisione per zero")                                                  \
    X(TipoNonCorrispondente, 13, "Tipo non corrispondente")                                        \
    X(SpazioStringaEsaurito, 14, "Spazio di stringa esaurito")                                     \
    X(StackEsaurito, 28, "Spazio dello stack esaurito")                                            \
    X(ProceduraNonDefinita, 35, "Sub o Function non definita")                                     \
    X(OggettoNonImpostato, 91, "Variabile oggetto o variabile del blocco With non impostata")      \
    X(UsoNonValidoDiNull, 94, "Uso non valido di Null")                                            \
    X(OggettoNecessario, 424, "Necessario oggetto")                                                \
    X(MetodoNonSupportato, 438, "Proprietà o metodo non supportati dall'oggetto")                  \
    X(NumeroArgomentiErrato, 450,                                                                  \
      "Numero di argomenti errato o assegnazione di proprietà non valida")                         \
    X(VariabileNonDefinita, 500, "Variabile non definita")                                         \
    X(AssegnazioneNonValida, 501, "Assegnazione non valida")                                       \
    X(ErroreSintassi, 1002, "Errore di sintassi")                                                  \
    X(PrevistaParentesiAperta, 1005, "Previsto '('")                                               \
    X(PrevistaParentesiChiusa, 1006, "Previsto ')'")                                               \
    X(PrevistoIdentificatore, 1010, "Previsto identificatore")                                     \
    X(PrevistoUguale, 1011, "Previsto '='")                                                        \
    X(PrevistoEnd, 1014, "Previsto 'End'")                                                         \
    X(PrevistaEspressione, 1023, "Prevista espressione")                                           \
    X(PrevistaIstruzione, 1024, "Prevista istruzione")                                             \
    X(PrevistaFineIstruzione, 1025, "Prevista fine dell'istruzione")                               \
    X(PrevistaCostanteIntera, 1026, "Prevista costante intera")                                    \
    X(NumeroNonValido, 1031, "Numero non valido")                                                  \
    X(CarattereNonValido, 1032, "Carattere non valido")                                            \
    X(StringaNonTerminata, 1033, "Costante di stringa non terminata")                              \
    X(NomeRidefinito, 1041, "Nome ridefinito")                                                     \
    X(ParentesiPerSub, 1044, "Impossibile utilizzare le parentesi per chiamare una Sub")

#define ZELVO_VOCE_ERRORE(Nome, numero, ...) Nome = numero,
enum Errore : int { Nessuno = 0, ZELVO_ERRORI(ZELVO_VOCE_ERRORE) };
#undef ZELVO_VOCE_ERRORE

// The message of error `numero`; unknown numbers give a generic text.
std::string_view messaggioErrore(int numero) noexcept;

} // namespace zelvo
