#include "plot/Calcolo.h"

#include "engine/Errori.h"
#include "engine/NumberText.h"
#include "engine/SpazzaFunzione.h"
#include "plot/Impostazioni.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace zelvo {

namespace {

// The rounding boundary of single precision: a surface coordinate at or
// beyond it in magnitude does not fit the float the surface takes.
constexpr double limiteSingolo = 0x1.ffffffp+127;

constexpr int erroreOverflow = 6;

std::string errore(int numero)
{
    return "Errore " + std::to_string(numero) + ": " + std::string(messaggioErrore(numero));
}

// The characters (not bytes) of UTF-8 text before byte offset `fine`.
std::size_t caratteri(std::string_view testo, std::size_t fine) noexcept
{
    std::size_t n = 0;
    for (std::size_t k = 0; k < fine && k < testo.size(); ++k)
        if ((static_cast<unsigned char>(testo[k]) & 0xC0) != 0x80)
            ++n;
    return n;
}

// A typed text as the status line echoes it: at most about 30 bytes, cut on a
// character boundary, so a pasted page does not stretch the window.
std::string citazione(std::string_view testo)
{
    constexpr std::size_t massimo = 30;
    if (testo.size() <= massimo)
        return "\"" + std::string(testo) + "\"";
    std::size_t fine = massimo;
    while (fine > 0 && (static_cast<unsigned char>(testo[fine]) & 0xC0) == 0x80)
        --fine;
    return "\"" + std::string(testo.substr(0, fine)) + "…\"";
}

// Why the engine refused the expression, and where (counted in characters from 1).
std::string messaggioRifiuto(std::string_view testo, const ErroreScript &rifiuto)
{
    std::string m = "Funzione rifiutata — Errore " + std::to_string(rifiuto.numero) + ": "
            + rifiuto.messaggio;
    if (rifiuto.posizione >= 0) {
        const auto posizione = static_cast<std::size_t>(rifiuto.posizione);
        if (posizione < testo.size())
            m += " al carattere " + std::to_string(caratteri(testo, posizione) + 1);
        else
            m += " alla fine del testo";
    }
    return m + " (f vale 0 ovunque)";
}

// One end of the interval: convert, store at once, or tell why not.
bool leggiEstremo(const std::string &testo, const char *nome, char separatore, double &estremo,
                  std::vector<std::string> &messaggi)
{
    const TextNumber letto = textToNumber(testo, separatore);
    if (!letto.ok()) {
        messaggi.push_back(errore(letto.error) + " — " + nome + " = " + citazione(testo));
        return false;
    }
    estremo = letto.value;
    return true;
}

// The samples that the engine could not evaluate: they count as 0.
class Fallimenti
{
public:
    void aggiungi(int numero, double x) noexcept
    {
        ++totale_;
        for (std::size_t k = 0; k < tipi_; ++k)
            if (primi_[k].numero == numero)
                return;
        if (tipi_ < primi_.size())
            primi_[tipi_++] = {numero, x};
    }

    // "2 campioni su 201 non valutati (tracciati a 0) — Errore 11: ... in x = 0"
    std::string testo(std::size_t campioni, char separatore) const
    {
        if (totale_ == 0)
            return {};
        const bool uno = totale_ == 1;
        std::string m = std::to_string(totale_) + (uno ? " campione su " : " campioni su ")
                + std::to_string(campioni)
                + (uno ? " non valutato (tracciato a 0) — " : " non valutati (tracciati a 0) — ");
        for (std::size_t k = 0; k < tipi_; ++k)
            m += (k ? "; " : "") + errore(primi_[k].numero)
                    + " in x = " + numberToText(primi_[k].x, separatore);
        return m;
    }

private:
    struct Primo
    {
        int numero = 0;
        double x = 0; // where this error first happened
    };
    std::array<Primo, 3> primi_ {};
    std::size_t tipi_ = 0;
    std::size_t totale_ = 0;
};

// The four clipping tests, in their order. The colour is the caller's, carried
// from one sample to the next.
void ritaglia(double &px, double &py, Colore &colore) noexcept
{
    if (py > corniceBasso) {
        py = corniceBasso;
        colore = coloreNero;
    } else {
        colore = coloreRosso;
    }
    if (px > corniceDestra)
        px = colore == coloreNero ? corniceDestra : 0;
    else
        colore = coloreRosso;
    if (px < corniceSinistra)
        px = colore == coloreNero ? corniceSinistra : 0;
    else
        colore = coloreRosso;
    // What is left of the frame lands at x = 0 in the background colour: unseen.
    if (px < 10)
        colore = coloreFacciaPulsante;
}

// The graph's points, handed to the surface in series rather than one call per
// sample. Every point still reaches the surface, in sample order, and all of
// them before the run goes on (the series is flushed when it is destroyed).
class SeriePunti
{
public:
    explicit SeriePunti(Superficie &superficie) noexcept
        : superficie_(superficie)
    { }
    SeriePunti(const SeriePunti &) = delete;
    SeriePunti &operator=(const SeriePunti &) = delete;
    ~SeriePunti() { svuota(); }

    void aggiungi(float x, float y, Colore colore)
    {
        punti_[quanti_++] = Punto {x, y, colore};
        if (quanti_ == punti_.size())
            svuota();
    }

private:
    void svuota()
    {
        superficie_.PSet(std::span<const Punto>(punti_.data(), quanti_));
        quanti_ = 0;
    }

    Superficie &superficie_;
    std::array<Punto, 1024> punti_;
    std::size_t quanti_ = 0;
};

struct Interruzione
{
    double x = 0, y = 0;
};

// The sweep: sample f from a while x <= b by repeated addition of the step, store
// every value in valoriY from index 1, set one clipped point per sample.
// Returns the sample whose point overflows the surface's coordinates, if any:
// the run ends there.
std::optional<Interruzione> campiona(Funzione &funzione, StatoCalcolo &stato,
                                     Superficie &superficie, std::size_t &n, Fallimenti &fallimenti)
{
    const double fine = stato.estremoB;
    const double passo = stato.passo;
    const double scalaX = stato.scalaX;
    const double scalaY = stato.scalaY;
    std::vector<double> &valoriY = stato.valoriY;
    if (stato.estremoA <= fine)
        valoriY.reserve(static_cast<std::size_t>((fine - stato.estremoA) / passo) + 3);

    SeriePunti serie(superficie);
    Colore colore = coloreNero;
    std::optional<Interruzione> interruzione;
    spazzaFunzione(funzione, stato.estremoA, fine, passo, [&](double x, const Valutazione &v) {
        if (!v.ok())
            fallimenti.aggiungi(v.errore, x);
        const double y = v.valore;
        ++n;
        if (n < valoriY.size())
            valoriY[n] = y;
        else
            valoriY.push_back(y);

        double py = origineY - (y * semiAltezza) / scalaY;
        double px = (x * semiLarghezza) / scalaX + origineX;
        if (!std::isfinite(py)) {
            interruzione = Interruzione {x, y};
            return false;
        }
        ritaglia(px, py, colore);
        if (py <= -limiteSingolo) {
            interruzione = Interruzione {x, y};
            return false;
        }
        serie.aggiungi(static_cast<float>(px), static_cast<float>(py), colore);
        return true;
    });
    return interruzione;
}

std::string messaggioOverflow(const Interruzione &i, char separatore)
{
    const std::string y = std::isfinite(i.y) ? numberToText(i.y, separatore) : "non finito";
    return errore(erroreOverflow) + " — f(" + numberToText(i.x, separatore) + ") = " + y;
}

// The markers: a magenta line over the full height of the frame at x = a and at
// x = b, unclipped.
void marcaEstremi(const StatoCalcolo &stato, Superficie &superficie)
{
    for (const double estremo : {stato.estremoA, stato.estremoB}) {
        const auto x = static_cast<float>((estremo * semiLarghezza) / stato.scalaX + origineX);
        superficie.Line(x, corniceBasso, x, corniceAlto, coloreMagenta);
    }
}

std::string unisci(const std::vector<std::string> &messaggi)
{
    std::string testo;
    for (const std::string &m : messaggi) {
        if (m.empty())
            continue;
        if (!testo.empty())
            testo += " · ";
        testo += m;
    }
    return testo;
}

} // namespace

EsitoCalcolo calcolo(const TestiCalcolo &testi, char separatoreDecimale, Funzione &funzione,
                     StatoCalcolo &stato, Superficie &superficie)
{
    EsitoCalcolo esito;
    std::vector<std::string> messaggi;
    stato.intervalloAccettato = false;

    DisegnaGriglia(superficie);

    funzione.DefinisciFunzione(testi.Text1);
    if (!funzione.definita())
        messaggi.push_back(messaggioRifiuto(testi.Text1, funzione.esitoDefinizione()));

    // Each end is stored as soon as it is read: when only b fails, a stays new.
    if (!leggiEstremo(testi.Text2, "a", separatoreDecimale, stato.estremoA, messaggi)
        || !leggiEstremo(testi.Text3, "b", separatoreDecimale, stato.estremoB, messaggi)) {
        esito.stato = unisci(messaggi);
        return esito;
    }
    for (const auto &[nome, estremo] : {std::pair {"a", stato.estremoA}, {"b", stato.estremoB}}) {
        if (std::abs(estremo) > limiteIntervallo) {
            messaggi.push_back(std::string("Intervallo rifiutato — ") + nome + " = "
                               + numberToText(estremo, separatoreDecimale)
                               + ": a e b devono stare tra "
                               + numberToText(-limiteIntervallo, separatoreDecimale) + " e "
                               + numberToText(limiteIntervallo, separatoreDecimale));
            esito.stato = unisci(messaggi);
            return esito;
        }
    }
    stato.intervalloAccettato = true;

    stato.passo = passoDaTesto(testi.Combo3);
    esito.Label23 = numberToText(stato.passo, separatoreDecimale);
    stato.scalaX = scalaXDaTesto(testi.Combo1);
    esito.Label7 = numberToText(stato.scalaX / 10, separatoreDecimale);
    stato.scalaY = scalaYDaTesto(testi.Combo2);
    esito.Label9 = numberToText(stato.scalaY / 10, separatoreDecimale);

    std::size_t campioni = 0;
    Fallimenti fallimenti;
    const auto interruzione = campiona(funzione, stato, superficie, campioni, fallimenti);
    // A refused expression fails at every sample; its refusal already says why.
    if (funzione.definita())
        messaggi.push_back(fallimenti.testo(campioni, separatoreDecimale));
    if (interruzione)
        messaggi.push_back(messaggioOverflow(*interruzione, separatoreDecimale));
    else
        marcaEstremi(stato, superficie);

    esito.stato = unisci(messaggi);
    return esito;
}

} // namespace zelvo
