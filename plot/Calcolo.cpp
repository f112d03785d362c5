#include "plot/Calcolo.h"

#include "plot/Avanzamento.h"

#include "engine/Errori.h"
#include "engine/SpazzaFunzione.h"
#include "engine/TestoNumero.h"
#include "plot/Impostazioni.h"
#include "plot/Spazzata.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace zelvo {

namespace {

// The rounding boundary of single precision: a surface coordinate at or
// beyond it in magnitude does not fit the float the surface takes.
constexpr double limiteSingolo = 0x1.ffffffp+127;

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
    std::string c;
    c.reserve(massimo + 5);
    c += '"';
    if (testo.size() <= massimo) {
        c += testo;
    } else {
        std::size_t fine = massimo;
        while (fine > 0 && (static_cast<unsigned char>(testo[fine]) & 0xC0) == 0x80)
            --fine;
        c += testo.substr(0, fine);
        c += "…";
    }
    c += '"';
    return c;
}

bool cifra(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// A comma between two digits: a decimal number written as in a or b.
bool virgolaTraCifre(std::string_view testo) noexcept
{
    for (std::size_t k = 1; k + 1 < testo.size(); ++k)
        if (testo[k] == ',' && cifra(testo[k - 1]) && cifra(testo[k + 1]))
            return true;
    return false;
}

// The user's own text with a point for each comma between digits ("2,5*x"
// becomes "2.5*x"): the hint quotes what was typed, corrected. A long text
// is quoted from its first such number only.
std::string conIlPunto(std::string_view testo)
{
    std::string corretto(testo);
    std::size_t primo = std::string::npos;
    for (std::size_t k = 1; k + 1 < corretto.size(); ++k)
        if (corretto[k] == ',' && cifra(corretto[k - 1]) && cifra(corretto[k + 1])) {
            corretto[k] = '.';
            primo = std::min(primo, k);
        }
    constexpr std::size_t kLungo = 40;
    if (corretto.size() <= kLungo)
        return corretto;
    std::size_t inizio = primo, fine = primo + 1;
    while (inizio > 0 && (cifra(corretto[inizio - 1]) || corretto[inizio - 1] == '.'))
        --inizio;
    while (fine < corretto.size() && (cifra(corretto[fine]) || corretto[fine] == '.'))
        ++fine;
    return corretto.substr(inizio, fine - inizio);
}

// Why the engine refused the expression, and where (counted in characters
// from 1). A text beyond the engine's limit is said to be too long; a comma
// between digits gets the likely cause, since a and b take the locale's
// separator but numbers inside the function always take the point.
std::string messaggioRifiuto(std::string_view testo, const ErroreScript &rifiuto)
{
    if (rifiuto.numero == MemoriaEsaurita) // a script beyond the size limit
        return "Funzione troppo lunga: il testo supera il limite del motore e non viene "
               "valutato; accorciarlo";
    std::string m = "Funzione rifiutata — Errore " + std::to_string(rifiuto.numero) + ": "
            + rifiuto.messaggio;
    if (rifiuto.posizione >= 0) {
        const auto posizione = static_cast<std::size_t>(rifiuto.posizione);
        if (posizione < testo.size())
            m += " al carattere " + std::to_string(caratteri(testo, posizione) + 1);
        else
            m += " alla fine del testo";
    }
    if (virgolaTraCifre(testo))
        m += " — nella funzione i numeri si scrivono sempre con il punto: " + conIlPunto(testo);
    return m;
}

// One end of the interval: convert, store at once, or tell why not. When the
// other decimal separator would have made it a number, the message says in
// words which one this system reads.
bool leggiEstremo(const std::string &testo, const char *nome, char separatore, double &estremo,
                  std::vector<std::string> &messaggi)
{
    const NumeroLetto letto = leggiNumero(testo, separatore);
    if (!letto.ok()) {
        std::string m = errore(letto.errore) + " — " + nome + " = " + citazione(testo);
        const char altro = separatore == ',' ? '.' : ',';
        if (letto.errore == TipoNonCorrispondente && leggiNumero(testo, altro).ok())
            m += separatore == ','
                    ? " — usare la virgola come separatore decimale, non il punto (-1,5)"
                    : " — usare il punto come separatore decimale, non la virgola (-1.5)";
        messaggi.push_back(std::move(m));
        return false;
    }
    estremo = letto.valore;
    return true;
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

    // Makes room for k more points at coda(), handing over those held when
    // needed.
    void faiPosto(std::size_t k)
    {
        if (quanti_ + k > punti_.size())
            svuota();
    }

    // Where the next points go: up to the room made by faiPosto, then
    // counted by aggiunti.
    Punto *coda() noexcept { return punti_.data() + quanti_; }
    void aggiunti(std::size_t k) noexcept { quanti_ += k; }

    static constexpr std::size_t capacita = 1024;

private:
    void svuota()
    {
        superficie_.PSet(std::span<const Punto>(punti_.data(), quanti_));
        quanti_ = 0;
    }

    Superficie &superficie_;
    std::array<Punto, capacita> punti_;
    std::size_t quanti_ = 0;
};

// One sample: its value stored, its point mapped to twips in double precision
// in the order given, clipped by the four tests in their order, converted to
// float and set. False when the point is off the surface's coordinates: the
// run ends at this sample, which is stored but not traced.
bool tracciaCampione(double x, double y, double scalaX, double scalaY, double &valore,
                     Punto &punto) noexcept
{
    valore = y;
    double py = twipsY(y, scalaY);
    double px = twipsX(x, scalaX);
    if (!std::isfinite(py) || py <= -limiteSingolo)
        return false;
    // Outside the frame, above, below, left or right, nothing is drawn: the
    // point goes to x = 0 in the background colour, unseen (a value below
    // the frame is not on its bottom edge: f is not -10 there).
    if (py > corniceBasso || py < corniceAlto || px > corniceDestra || px < corniceSinistra)
        px = 0;
    const Colore colore = px < 10 ? coloreFacciaPulsante : coloreRosso;
    punto = Punto {static_cast<float>(px), static_cast<float>(py), colore};
    return true;
}

// A block of samples, one by one. Returns how many samples were traced (the
// whole block when none ends the run).
std::size_t tracciaBlocco(std::span<const double> xs, std::span<const double> ys, double scalaX,
                          double scalaY, double *valori, Punto *punti) noexcept
{
    std::size_t k = 0;
    for (; k < xs.size(); ++k)
        if (!tracciaCampione(xs[k], ys[k], scalaX, scalaY, valori[k], punti[k]))
            break;
    return k;
}

struct Interruzione
{
    double x = 0, y = 0;
};

// The sweep: sample f at the abscissas from a to b by the step (Ascisse),
// store every value in valoriY from index 1, set one clipped point per
// sample. Returns the sample whose point overflows the surface's
// coordinates, if any: the run ends there.
//
// Each block of samples is handled as a whole, up to the sample that ends the
// run (if any): the values stored, the points mapped, clipped and set, then
// the failures counted.
std::optional<Interruzione> campiona(Funzione &funzione, StatoCalcolo &stato,
                                     Superficie &superficie, PuntiNonDefiniti &nonDefiniti)
{
    const double fine = stato.estremoB;
    const double passo = stato.passo;
    const double scalaX = stato.scalaX;
    const double scalaY = stato.scalaY;
    std::vector<double> &valoriY = stato.valoriY;
    const std::size_t primaDelCalcolo = valoriY.size();
    if (stato.estremoA <= fine)
        valoriY.reserve(static_cast<std::size_t>((fine - stato.estremoA) / passo) + 3);

    static_assert(SeriePunti::capacita >= kBloccoSpazzata);
    SeriePunti serie(superficie);
    std::optional<Interruzione> interruzione;
    std::size_t campioni = 0;
    for (const BloccoSpazzata &blocco : SpazzataFunzione(funzione, stato.estremoA, fine, passo)) {
        avanza((blocco.x.front() - stato.estremoA) / (fine - stato.estremoA));
        const std::size_t quanti = blocco.size();
        // valoriY grows with the sweep, from index 1; room is made for the
        // whole block, and what a stop leaves unused is given back at the end.
        if (valoriY.size() < campioni + quanti + 1)
            valoriY.resize(campioni + quanti + 1);
        serie.faiPosto(quanti);
        Punto *punti = serie.coda();
        const std::size_t k = tracciaBlocco(blocco.x, blocco.y, scalaX, scalaY,
                                            valoriY.data() + campioni + 1, punti);
        const std::size_t valutati = k < quanti ? k + 1 : k; // the last one ends the run
        if (k < quanti)
            interruzione = Interruzione {blocco.x[k], blocco.y[k]};
        nonDefiniti.conta(blocco, valutati);
        std::size_t tracciati = k;
        if (blocco.falliti > 0) [[unlikely]] {
            // Where f is not defined nothing is drawn: its value is stored
            // as 0, its point dropped. Each point's colour depends on its
            // own sample alone, so dropping one changes no other.
            tracciati = 0;
            for (std::size_t j = 0; j < k; ++j)
                if (blocco.errore[j] == 0)
                    punti[tracciati++] = punti[j];
        }
        serie.aggiunti(tracciati);
        campioni += valutati;
        if (interruzione)
            break;
    }
    // Values past the last sample keep what earlier runs left there.
    if (valoriY.size() > std::max(primaDelCalcolo, campioni + 1))
        valoriY.resize(std::max(primaDelCalcolo, campioni + 1));
    return interruzione;
}

std::string messaggioOverflow(const Interruzione &i, char separatore)
{
    const std::string y = std::isfinite(i.y) ? testoNumero(i.y, separatore) : "non finito";
    return errore(ErroreOverflow) + " — f(" + testoNumero(i.x, separatore) + ") = " + y;
}

// The markers: a magenta line over the full height of the frame at x = a and at
// x = b, unclipped.
void marcaEstremi(const StatoCalcolo &stato, Superficie &superficie)
{
    for (const double estremo : {stato.estremoA, stato.estremoB}) {
        const auto x = static_cast<float>(twipsX(estremo, stato.scalaX));
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

    funzione.DefinisciFunzione(testi.funzione);
    if (!funzione.definita())
        messaggi.push_back(messaggioRifiuto(testi.funzione, funzione.esitoDefinizione()));
    else
        messaggi.emplace_back(funzione.avviso()); // -x^2 read as (-x)^2: said, not refused

    // Each end is stored as soon as it is read: when only b fails, a stays new.
    if (!leggiEstremo(testi.a, "a", separatoreDecimale, stato.estremoA, messaggi)
        || !leggiEstremo(testi.b, "b", separatoreDecimale, stato.estremoB, messaggi)) {
        esito.stato = unisci(messaggi);
        return esito;
    }
    // A refused end is quoted as typed: 10.10000000000001 is beyond 10.1,
    // though at 15 digits it would read 10.1.
    for (const auto &[nome, estremo, testo] :
         {std::tuple {"a", stato.estremoA, &testi.a}, {"b", stato.estremoB, &testi.b}}) {
        if (std::abs(estremo) > limiteIntervallo) {
            messaggi.push_back(std::string("Intervallo rifiutato — ") + nome + " = " + *testo
                               + ": a e b devono stare tra "
                               + testoNumero(-limiteIntervallo, separatoreDecimale) + " e "
                               + testoNumero(limiteIntervallo, separatoreDecimale));
            esito.stato = unisci(messaggi);
            return esito;
        }
    }
    stato.intervalloAccettato = true;

    stato.passo = passoDaTesto(testi.passo);
    esito.passo = testoNumero(stato.passo, separatoreDecimale);
    stato.scalaX = scalaXDaTesto(testi.scalaX);
    esito.scalaX = testoNumero(stato.scalaX / 10, separatoreDecimale);
    stato.scalaY = scalaYDaTesto(testi.scalaY);
    esito.scalaY = testoNumero(stato.scalaY / 10, separatoreDecimale);

    if (stato.estremoA > stato.estremoB)
        messaggi.push_back(std::string(kNessunCampione) + " — a deve essere minore o uguale a b");

    PuntiNonDefiniti nonDefiniti;
    const auto interruzione = campiona(funzione, stato, superficie, nonDefiniti);
    // A refused expression fails at every sample; its refusal already says why.
    if (funzione.definita())
        messaggi.push_back(nonDefiniti.testo(separatoreDecimale));
    if (interruzione)
        messaggi.push_back(messaggioOverflow(*interruzione, separatoreDecimale));
    else
        marcaEstremi(stato, superficie);

    esito.stato = unisci(messaggi);
    return esito;
}

} // namespace zelvo
