#include "engine/Funzione.h"

#include "engine/Errori.h"
#include "engine/ScriptControl.h"
#include "engine/Sintassi.h"
#include "engine/SpazzaFunzione.h"

#include <algorithm>
#include <cmath>

namespace zelvo {

static_assert(kBloccoSpazzata == Programma::kBlocco, "a sweep's block is the engine's");

namespace {

// The script around the user's expression: the text goes, exactly as typed,
// after "F=" on the third line.
constexpr std::string_view kInizio = "Option Explicit\r\nFunction F(x)\r\nF=";
constexpr std::string_view kFine = "\r\nEnd Function";

} // namespace

// The script engine: it holds F, the one function the script defines.
struct Funzione::Motore
{
    explicit Motore(char separatoreDecimale)
        : script(separatoreDecimale)
    { }

    ScriptControl script;
};

Funzione::Funzione(char separatoreDecimale)
    : motore_(std::make_unique<Motore>(separatoreDecimale))
{ }

Funzione::~Funzione() = default;

void Funzione::DefinisciFunzione(std::string_view testo)
{
    ScriptControl &script = motore_->script;
    script.Reset();
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
        errore = script.AddCode(sorgente);
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
}

Valutazione Funzione::Valuta(double x) noexcept
{
    return motore_->script.Valuta(x);
}

std::size_t Funzione::Valuta(std::span<const double> x, double *y, int *errori) noexcept
{
    return motore_->script.Run(x, y, errori);
}

Derivate Funzione::Deriva(double x) noexcept
{
    return motore_->script.Deriva(x);
}

void Funzione::Deriva(std::span<const double> x, Derivate *d) noexcept
{
    motore_->script.Deriva(x, d);
}

bool Funzione::conDerivate() const noexcept
{
    return motore_->script.conDerivate();
}

std::span<const Rottura> Funzione::rotture() const noexcept
{
    return motore_->script.rotture();
}

void Funzione::operandiRotture(double x, std::span<Operando> operandi) noexcept
{
    motore_->script.operandiRotture(x, operandi);
}

std::optional<double> Funzione::periodo() const noexcept
{
    return motore_->script.periodo();
}

std::string_view Funzione::avviso() const noexcept
{
    if (definita_ && motore_->script.menoPrimaDiPotenza())
        return "Attenzione: in questo linguaggio -x^2 vale (−x)², non −x²: "
               "per −x² si scrive -(x^2) o 0-x^2";
    return {};
}

bool Funzione::senzaStato() const noexcept
{
    return motore_->script.senzaStato();
}

} // namespace zelvo
