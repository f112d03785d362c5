#include "engine/ScriptControl.h"

#include "engine/Errori.h"
#include "engine/Sintassi.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zelvo {

namespace {

// Memory is bounded by the script's size and the text budget; should the
// system run out all the same, the run fails like any other.
template<class Corsa> int senzaEccezioni(Corsa &&corsa) noexcept
{
    try {
        return corsa();
    } catch (const std::bad_alloc &) {
        return MemoriaEsaurita;
    }
}

} // namespace

ScriptControl::ScriptControl(char separatoreDecimale)
{
    contesto_.operazioni.separatore = separatoreDecimale;
}

void ScriptControl::Reset() noexcept
{
    script_ = Script {};
    programma_ = Programma {};
    numerica_ = false;
    contesto_.semeRnd = ContestoEsecuzione {}.semeRnd;
}

ErroreScript ScriptControl::AddCode(std::string_view codice)
{
    Script nuovo;
    EsitoCompilazione esito;
    try {
        esito = compilaScript(codice, contesto_.operazioni, nuovo);
    } catch (const std::bad_alloc &) {
        esito = EsitoCompilazione {MemoriaEsaurita, 0};
    }
    ErroreScript errore;
    if (esito.errore != 0) {
        errore.numero = esito.errore;
        errore.posizione = esito.posizione;
    } else if (nuovo.haFunzione && script_.haFunzione) {
        errore.numero = NomeRidefinito; // the engine holds one function
        errore.posizione = 0;
    }
    if (errore.numero != 0) {
        errore.messaggio = std::string(messaggioErrore(errore.numero));
        return errore;
    }
    if (nuovo.haFunzione) {
        Programma programma;
        try {
            programma.compila(nuovo);
        } catch (const std::bad_alloc &) {
            errore.numero = MemoriaEsaurita;
            errore.posizione = 0;
            errore.messaggio = std::string(messaggioErrore(errore.numero));
            return errore;
        }
        script_ = std::move(nuovo);
        programma_ = std::move(programma);
        numerica_ = programma_.numerico();
    }
    return errore;
}

int ScriptControl::esegui(std::span<const Valore> argomenti, Valore &r)
{
    contesto_.nuovaCorsa();
    return senzaEccezioni([&] { return programma_.esegui(argomenti, r, contesto_); });
}

int ScriptControl::runDouble(double x, double &valore)
{
    if (!script_.haFunzione)
        return ProceduraNonDefinita;
    if (!std::isfinite(x))
        return ErroreOverflow;
    const Valore argomento = Valore::doppio(x);
    Valore v;
    if (const int e = esegui({&argomento, 1}, v))
        return e;
    return aDouble(v, contesto_.operazioni.separatore, valore);
}

std::size_t ScriptControl::Run(std::span<const double> x, double *y, int *errori) noexcept
{
    std::size_t falliti = 0;
    if (numerica_) {
        for (std::size_t i = 0; i < x.size(); i += Programma::kBlocco)
            falliti += programma_.eseguiBlocco(
                    x.data() + i, std::min(x.size() - i, Programma::kBlocco), y + i, errori + i);
        return falliti;
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        const Valutazione v = Valuta(x[i]);
        y[i] = v.valore;
        errori[i] = v.errore;
        falliti += v.errore != 0;
    }
    return falliti;
}

} // namespace zelvo
