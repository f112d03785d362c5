#include "engine/ScriptControl.h"

#include "engine/Errori.h"
#include "engine/Interprete.h"
#include "engine/Sintassi.h"

#include <cmath>

namespace zelvo {

namespace {

bool argomentiFiniti(std::span<const Valore> argomenti)
{
    for (const Valore &v : argomenti)
        if (!std::isfinite(v.numero))
            return false;
    return true;
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
    nomeMinuscolo_.clear();
    contesto_.semeRnd = ContestoEsecuzione {}.semeRnd;
}

ErroreScript ScriptControl::AddCode(std::string_view codice)
{
    Script nuovo;
    const EsitoCompilazione esito = compilaScript(codice, contesto_.operazioni, nuovo);
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
        script_ = std::move(nuovo);
        programma_.compila(script_);
        nomeMinuscolo_.clear();
        for (char c : script_.nome)
            nomeMinuscolo_ += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return errore;
}

bool ScriptControl::trova(std::string_view nome) const noexcept
{
    return script_.haFunzione && stessoNome(script_.nome, nome);
}

int ScriptControl::Run(std::string_view nome, std::span<const Valore> argomenti, Valore &risultato)
{
    if (!trova(nome))
        return ProceduraNonDefinita;
    if (!argomentiFiniti(argomenti))
        return ErroreOverflow;
    contesto_.testoRestante = kBudgetTesto;
    return programma_.esegui(argomenti, risultato, contesto_);
}

int ScriptControl::runDouble(std::string_view nome, double x, double &valore)
{
    if (!trova(nome))
        return ProceduraNonDefinita;
    if (!std::isfinite(x))
        return ErroreOverflow;
    const Valore argomento = Valore::doppio(x);
    Valore v;
    contesto_.testoRestante = kBudgetTesto;
    if (const int e = programma_.esegui({&argomento, 1}, v, contesto_))
        return e;
    return aDouble(v, contesto_.operazioni.separatore, valore);
}

int ScriptControl::Run(std::string_view nome, double x, Valore &risultato)
{
    const Valore argomento = Valore::doppio(x);
    return Run(nome, std::span<const Valore>(&argomento, 1), risultato);
}

int ScriptControl::RunAlbero(std::string_view nome, std::span<const Valore> argomenti,
                             Valore &risultato)
{
    if (!trova(nome))
        return ProceduraNonDefinita;
    if (!argomentiFiniti(argomenti))
        return ErroreOverflow;
    contesto_.testoRestante = kBudgetTesto;
    return eseguiAlbero(script_, argomenti, risultato, contesto_);
}

} // namespace zelvo
