#include "ui/RigaComando.h"

#include "ui/Applicazione.h"
#include "ui/MotivoFile.h"

#include "analysis/Estremi.h"
#include "analysis/Integrale.h"
#include "analysis/Radice.h"
#include "analysis/Scuola.h"
#include "analysis/Studio.h"
#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Calcolo.h"
#include "plot/Spazzata.h"
#include "plot/StatoCalcolo.h"
#include "plot/Superficie.h"
#include "tables/ElencoDerivate.h"
#include "tables/ElencoValori.h"
#include "tables/EsportaTabella.h"
#include "ui/FoglioStudio.h"
#include "ui/ImmagineGrafico.h"
#include "ui/LayoutForm2.h"
#include "ui/RigheCorso.h"
#include "ui/SeparatoreDecimale.h"
#include "ui/TabellaStudio.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvo {

namespace {

constexpr int esitoRifiutato = 1;
constexpr int esitoUso = 2;

// What the command line asks for: the window's inputs as typed, and the results.
struct Richiesta
{
    TestiCalcolo testi;
    bool aiuto = false; // --help: nothing else is read
    bool radice = false, massimo = false, minimo = false, integrale = false;
    bool studio = false; // the whole study of f, after the results
    bool derivate = false; // the list with f' and f''
    // A file name, or "-" for standard output.
    std::optional<std::string> elenco, grafico, studioPdf;
    int scalaGrafico = 1; // --grafico-scala: device pixels per logical pixel of the picture
};

// A command line that cannot be run as written.
struct ErroreUso
{
    std::string messaggio;
};

void scrivi(std::FILE *f, std::string_view testo)
{
    std::fwrite(testo.data(), 1, testo.size(), f);
}

// The values an option accepts: the items of the main window's combo box,
// each by its number ("0.01" for "st0.01" or for "0.01/div.") or by its own
// text. The window reads the item's text, and so does calcolo here.
std::string_view numeroDellaVoce(std::string_view voce)
{
    if (voce.starts_with("st"))
        voce.remove_prefix(2);
    return voce.substr(0, voce.find('/'));
}

std::string voceCombo(const char *combo, const std::string &opzione, std::string_view valore)
{
    std::string ammessi;
    for (const VoceCombo &voce : vociCombo(combo)) {
        const std::string_view v(voce.testo);
        if (v.empty())
            continue;
        if (valore == v || valore == numeroDellaVoce(v))
            return std::string(v);
        ammessi += (ammessi.empty() ? "" : ", ") + std::string(numeroDellaVoce(v));
    }
    throw ErroreUso {"valore non ammesso per " + opzione + ": \"" + std::string(valore)
                     + "\" (ammessi: " + ammessi + ")"};
}

// The picture's format from the end of its name ("-": PNG on standard
// output); nullptr for a name that asks for none Zelvo writes.
const char *formatoImmagine(const std::string &percorso)
{
    if (percorso == "-")
        return "PNG";
    std::string fine = percorso.substr(std::min(percorso.size(), percorso.rfind('.')));
    std::transform(fine.begin(), fine.end(), fine.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (fine == ".png")
        return "PNG";
    if (fine == ".jpg" || fine == ".jpeg")
        return "JPG";
    if (fine == ".bmp")
        return "BMP";
    return nullptr;
}

Richiesta leggi(int argc, char *argv[])
{
    Richiesta r;
    std::optional<std::string> funzione, a, b, passo, scalaX, scalaY, scalaGrafico;
    // The options, each with where its value (or its presence) goes.
    const std::pair<std::string_view, std::optional<std::string> *> conValore[]
            = {{"--funzione", &funzione},
               {"-a", &a},
               {"-b", &b},
               {"--passo", &passo},
               {"--scala-x", &scalaX},
               {"--scala-y", &scalaY},
               {"--elenco", &r.elenco},
               {"--grafico", &r.grafico},
               {"--grafico-scala", &scalaGrafico},
               {"--studio-pdf", &r.studioPdf}};
    const std::pair<std::string_view, bool *> senzaValore[] = {
            {"--radice", &r.radice},       {"--massimo", &r.massimo}, {"--minimo", &r.minimo},
            {"--integrale", &r.integrale}, {"--studio", &r.studio},   {"--derivate", &r.derivate}};
    const auto cerca = [](const auto &opzioni, std::string_view nome) {
        const auto trovata = std::find_if(std::begin(opzioni), std::end(opzioni),
                                          [nome](const auto &o) { return o.first == nome; });
        return trovata == std::end(opzioni) ? nullptr : trovata->second;
    };
    std::vector<std::string> viste;
    for (int i = 1; i < argc; ++i) {
        std::string opzione = argv[i];
        std::optional<std::string> valore; // --opzione=valore
        if (opzione.starts_with("--") && opzione.find('=') != std::string::npos) {
            valore = opzione.substr(opzione.find('=') + 1);
            opzione.resize(opzione.find('='));
        }
        if (std::find(viste.begin(), viste.end(), opzione) != viste.end())
            throw ErroreUso {"opzione ripetuta: " + opzione};
        viste.push_back(opzione);
        if (opzione == "--help" || opzione == "-h") {
            r.aiuto = true;
            return r;
        }
        if (std::optional<std::string> *testo = cerca(conValore, opzione)) {
            // The value follows the option even when it starts with "-" (-a -2),
            // but not when it is an option itself (--funzione --radice).
            if (!valore) {
                const std::string_view prossimo = i + 1 < argc ? argv[i + 1] : "";
                const bool opzioneNota = cerca(conValore, prossimo) || cerca(senzaValore, prossimo)
                        || prossimo.starts_with("--") || prossimo == "-h";
                if (i + 1 >= argc || opzioneNota)
                    throw ErroreUso {"manca il valore di " + opzione
                                     + (i + 1 < argc ? " (prima di " + std::string(prossimo) + ")"
                                                     : std::string())};
                valore = argv[++i];
            }
            *testo = std::move(valore);
        } else if (bool *presente = cerca(senzaValore, opzione)) {
            if (valore)
                throw ErroreUso {opzione + " non vuole un valore"};
            *presente = true;
        } else if (opzione.starts_with("-")) {
            throw ErroreUso {"opzione sconosciuta: " + opzione};
        } else {
            throw ErroreUso {"argomento inatteso: " + opzione};
        }
    }
    for (const auto &[dato, nome] :
         {std::pair {&funzione, "--funzione"}, {&a, "-a"}, {&b, "-b"}, {&passo, "--passo"}})
        // The study needs no step; the list and the picture sample at it.
        if (!*dato && !(dato == &passo && r.studio && !r.elenco && !r.grafico && !r.studioPdf))
            throw ErroreUso {std::string("manca ") + nome};
    if (r.derivate && !r.elenco)
        throw ErroreUso {"--derivate vuole --elenco"};
    for (const auto *file : {&r.elenco, &r.grafico, &r.studioPdf})
        if (*file && (*file)->empty())
            throw ErroreUso {"nome di file vuoto"};
    if (r.grafico && formatoImmagine(*r.grafico) == nullptr)
        throw ErroreUso {"formato dell'immagine non riconosciuto: \"" + *r.grafico
                         + "\" (il nome deve finire in .png, .jpg o .bmp)"};

    if (scalaGrafico) {
        if (!r.grafico)
            throw ErroreUso {"--grafico-scala vale solo con --grafico"};
        if (*scalaGrafico != "1" && *scalaGrafico != "2" && *scalaGrafico != "3"
            && *scalaGrafico != "4")
            throw ErroreUso {"valore non ammesso per --grafico-scala: \"" + *scalaGrafico
                             + "\" (ammessi: 1, 2, 3, 4)"};
        r.scalaGrafico = std::stoi(*scalaGrafico);
    }

    r.testi.funzione = *funzione;
    r.testi.a = *a;
    r.testi.b = *b;
    if (passo)
        r.testi.passo = voceCombo("Combo3", "--passo", *passo);
    // An omitted scale is the combo's empty first item: the default, 1/div.
    if (scalaX)
        r.testi.scalaX = voceCombo("Combo1", "--scala-x", *scalaX);
    if (scalaY)
        r.testi.scalaY = voceCombo("Combo2", "--scala-y", *scalaY);
    return r;
}

void aiuto(char separatore)
{
    scrivi(stdout,
           "Uso:  zelvo\n"
           "      zelvo --funzione TESTO -a A -b B --passo P [--scala-x N] [--scala-y N]\n"
           "            [--radice] [--massimo] [--minimo] [--integrale] [--studio]\n"
           "            [--elenco FILE|- [--derivate]]\n"
           "            [--grafico FILE.png|.jpg|.bmp [--grafico-scala N]]\n"
           "            [--studio-pdf FILE]\n"
           "      zelvo --help\n"
           "\n"
           "Senza argomenti Zelvo apre la sua finestra. Con --funzione non apre finestre e\n"
           "non ha bisogno di uno schermo: applica i dati come il pulsante \"Grafico\", poi\n"
           "calcola ciò che è richiesto e lo scrive con gli stessi testi della finestra.\n"
           "\n"
           "Dati:\n"
           "  --funzione TESTO   la funzione Y = f(X), scritta come nella finestra (\"x^2-1\");\n"
           "                     dentro la funzione i decimali si scrivono sempre col punto\n"
           "  -a A, -b B         gli estremi dell'intervallo, con il separatore decimale\n");
    // a and b are read as the window reads them: the locale's separator.
    scrivi(stdout,
           separatore == ','
                   ? "                     di questo sistema, la virgola: tra -10,1 e 10,1 (-1,5)\n"
                   : "                     di questo sistema, il punto: tra -10.1 e 10.1 (-1.5)\n");
    scrivi(stdout,
           "  --passo P          il passo di calcolo: 0.1, 0.01, 0.001 o 0.0001 (o st0.01...);\n"
           "                     con il solo --studio si può omettere\n"
           "  --scala-x N        unità per divisione delle ascisse: 10, 1, 0.1 o 0.01\n"
           "                     (se manca: 1)\n"
           "  --scala-y N        unità per divisione delle ordinate: 100, 10, 1, 0.1 o 0.01\n"
           "                     (se manca: 1)\n"
           "\n"
           "Risultati, uno per riga come \"nome = testo\", sempre in quest'ordine:\n"
           "  --radice           radice\n"
           "  --massimo          x_massimo e y_massimo\n"
           "  --minimo           x_minimo e y_minimo\n"
           "  --integrale        integrale\n"
           "  --studio           lo studio della funzione, dopo i risultati: prima\n"
           "                     dominio, codominio, intersezione_y, parita,\n"
           "                     limite_infinito, asintoto_orizzontale, asintoto_obliquo,\n"
           "                     tangente_flesso; poi una riga per\n"
           "                     caratteristica (zero, massimo_relativo, minimo_relativo,\n"
           "                     flesso, massimo_assoluto, minimo_assoluto, non_definita,\n"
           "                     asintoto_verticale, salto), poi gli intervalli (positiva,\n"
           "                     negativa, crescente, decrescente, concava_alto,\n"
           "                     concava_basso); le note sullo standard error\n"
           "  --elenco FILE      la tabella di x e f(x) in CSV, come \"Salva tabella…\"\n"
           "                     (con - la scrive sullo standard output, dopo i risultati)\n"
           "  --derivate         aggiunge all'elenco le derivate esatte dy e d2y\n"
           "  --grafico FILE     l'immagine del riquadro del grafico, come la mostra la\n"
           "                     finestra dopo \"Grafico\", nel formato che il nome chiede\n"
           "                     (.png, .jpg, .bmp; con - PNG sullo standard output)\n"
           "  --grafico-scala N  la stessa immagine N volte più fitta (2, 3 o 4), come la\n"
           "                     disegna uno schermo al 200, 300 o 400 %: punti e linee\n"
           "                     restano larghi un pixel (se manca: 1)\n"
           "  --studio-pdf FILE  il foglio dello studio in PDF su A4, come \"Esporta lo studio\n"
           "                     (PDF)…\": la funzione, l'intervallo, il grafico con lo studio\n"
           "                     segnato, la tabella delle caratteristiche e lo schema dei\n"
           "                     segni (con - sullo standard output)\n"
           "\n"
           "Stato d'uscita: 0 se tutto è andato bene; 1 se la funzione, a o b sono\n"
           "rifiutati, un risultato non si può calcolare o un file non si può scrivere\n"
           "(il motivo sullo standard error, con le parole della riga di stato della\n"
           "finestra); 2 se la riga di comando è sbagliata.\n"
           "\n"
           "Esempio:\n"
           "  zelvo --funzione \"x^2-1\" -a -2 -b 2 --passo 0.01 --radice --minimo\n");
}

// The surface when no picture is asked for: the plot is computed, not drawn.
class SuperficieMuta final : public Superficie
{
protected:
    void cancella() override { }
    void punto(float, float, Colore) override { }
    void serieDiPunti(std::span<const Punto>) override { }
    void linea(float, float, float, float, Colore) override { }
};

std::string erroreFile(const std::string &percorso, int numero)
{
    return "impossibile scrivere \"" + percorso + "\": " + motivoFile(numero);
}

// Writes `dati` to the file, or to standard output for "-"; empty when all went well.
std::string scriviFile(const std::string &percorso, std::string_view dati)
{
    if (percorso == "-") {
        scrivi(stdout, dati);
        return std::fflush(stdout) == 0 ? std::string() : erroreFile(percorso, errno);
    }
    std::FILE *f = std::fopen(percorso.c_str(), "wb");
    if (!f)
        return erroreFile(percorso, errno);
    scrivi(f, dati);
    const bool scritto = !std::ferror(f);
    const int errore = errno;
    if (std::fclose(f) != 0 || !scritto)
        return erroreFile(percorso, scritto ? errno : errore);
    return {};
}

// Opens the file, or standard output for "-", and writes it with `scrivi`;
// empty when all went well.
std::string scriviConQt(const std::string &percorso, const std::function<bool(QFile &)> &scrivi)
{
    QFile file;
    bool aperto = false;
    if (percorso == "-") {
        aperto = file.open(stdout, QIODevice::WriteOnly);
    } else {
        file.setFileName(QString::fromLocal8Bit(percorso));
        aperto = file.open(QIODevice::WriteOnly);
    }
    if (!aperto)
        return erroreFile(percorso, errno);
    errno = 0;
    if (!scrivi(file) || !file.flush())
        return erroreFile(percorso, errno);
    return {};
}

std::string scriviImmagine(const std::string &percorso, const QImage &immagine)
{
    return scriviConQt(
            percorso, [&](QFile &file) { return immagine.save(&file, formatoImmagine(percorso)); });
}

// The study sheet's features table: the study window's, as a course writes it.
void tabellaFoglio(FoglioStudio &foglio, const Scuola &scuola, const Studio &studio,
                   char separatore)
{
    foglio.intestazione.assign(kColonneCorso.begin(), kColonneCorso.end());
    const char *parte = nullptr;
    for (const RigaCorso &r : righeCorso(studio, scuola, separatore)) {
        const bool prima = !parte || std::string_view(parte) != r.sezione;
        parte = r.sezione;
        const auto testi = testiCorso(r, prima);
        foglio.righe.emplace_back(testi.begin(), testi.end());
    }
}

// The study sheet of --studio-pdf: what "Esporta lo studio (PDF)…" writes.
FoglioStudio foglioStudio(const Richiesta &r, const Scuola &scuola, const Studio &studio, double a,
                          double b, char separatore)
{
    FoglioStudio foglio;
    foglio.funzione = r.testi.funzione;
    foglio.a = testoNumero(a, separatore);
    foglio.b = testoNumero(b, separatore);
    // Drawn afresh, so that the --grafico picture stays without marks.
    foglio.grafico = graficoFoglio(r.testi, separatore, studio, scuola);
    tabellaFoglio(foglio, scuola, studio, separatore);
    foglio.schema = schemaStudio(studio, a, b, separatore);
    foglio.note = studio.note;
    return foglio;
}

// One run of calcolo on the inputs, then the results asked for, in their fixed order.
int esegui(const Richiesta &r, char separatore)
{
    // The pictures need the window's palette and the sheet its fonts, hence
    // an application; it runs offscreen, so no display is needed and none is
    // opened.
    std::unique_ptr<QApplication> applicazione;
    std::unique_ptr<Superficie> superficie;
    int argcQt = 1;
    char nomeQt[] = "zelvo";
    char *argvQt[] = {nomeQt, nullptr};
    if (r.grafico || r.studioPdf) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's own notes (a runtime directory it had to choose, say) are
        // not the user's business here: standard error carries our messages.
        qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext &, const QString &m) {
            if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
                std::fprintf(stderr, "%s\n", qPrintable(m));
        });
        applicazione = std::make_unique<QApplication>(argcQt, argvQt);
        preparaApplicazione(*applicazione);
    }
    if (r.grafico)
        superficie = std::make_unique<SuperficieQt>(
                superficieGrafico(QApplication::palette(), r.scalaGrafico));
    else
        superficie = std::make_unique<SuperficieMuta>();

    Funzione funzione(separatore);
    StatoCalcolo stato;
    const EsitoCalcolo applicato = calcolo(r.testi, separatore, funzione, stato, *superficie);
    if (!funzione.definita() || !stato.intervalloAccettato) {
        scrivi(stderr, (applicato.stato.empty() ? "dati rifiutati" : applicato.stato) + "\n");
        return esitoRifiutato;
    }

    std::vector<std::string> avvisi {applicato.stato};
    std::string risultati;
    const auto risultato = [&](const char *nome, const std::string &testo) {
        risultati += nome;
        risultati += " = ";
        risultati += testo;
        risultati += '\n';
    };
    // A result that could not be computed prints no line (no "integrale =
    // 0"): why goes to standard error, and the exit status is 1.
    bool mancante = false;
    const auto manca = [&](const char *nome, const std::string &breve, const std::string &perche) {
        // A supremum not attained leaves the label empty: the reason alone.
        avvisi.push_back(
                std::string(nome) + ": "
                + (breve.empty() ? perche
                                 : breve + (perche.empty() ? std::string() : " (" + perche + ")")));
        mancante = true;
    };
    if (r.radice) {
        const EsitoRadice e = cercaRadice(stato, funzione, separatore);
        if (e.calcolato) {
            risultato("radice", e.radice);
            avvisi.push_back(e.stato);
        } else {
            manca("radice", e.radice, e.stato);
        }
    }
    for (const bool massimo : {true, false}) {
        if (!(massimo ? r.massimo : r.minimo))
            continue;
        const EsitoEstremo e = massimo ? cercaMassimo(stato, funzione, separatore)
                                       : cercaMinimo(stato, funzione, separatore);
        if (e.calcolato) {
            risultato(massimo ? "x_massimo" : "x_minimo", e.x);
            risultato(massimo ? "y_massimo" : "y_minimo", e.valore);
            avvisi.push_back(e.stato);
        } else {
            manca(massimo ? "massimo" : "minimo", e.x, e.stato);
        }
    }
    if (r.integrale) {
        const EsitoIntegrale e = calcolaIntegrale(stato, funzione, separatore);
        if (e.calcolato) {
            risultato("integrale", e.integrale);
            avvisi.push_back(e.stato);
        } else {
            manca("integrale", e.integrale, e.stato);
        }
    }
    std::optional<FoglioStudio> foglio;
    if (r.studio || r.studioPdf) {
        if (stato.estremoA > stato.estremoB) {
            manca("studio", kNessunCampione, {});
        } else {
            const Studio s = studia(funzione, stato.estremoA, stato.estremoB, separatore);
            const Scuola scuola = studioScuola(funzione, s, stato.estremoA, stato.estremoB);
            if (r.studio)
                risultati += testoStudio(scuola, s, separatore);
            if (r.studioPdf)
                foglio = foglioStudio(r, scuola, s, stato.estremoA, stato.estremoB, separatore);
            avvisi.insert(avvisi.end(), s.note.begin(), s.note.end());
            if (!s.eseguito)
                mancante = true;
        }
    }
    scrivi(stdout, risultati);
    std::fflush(stdout);

    std::vector<std::string> errori;
    if (r.elenco) {
        if (r.derivate) {
            TabellaDerivate tabella = csvDerivate(stato, funzione, separatore);
            avvisi.push_back(std::move(tabella.stato));
            errori.push_back(scriviFile(*r.elenco, tabella.csv));
        } else {
            ElencoValori elenco;
            avvisi.push_back(riempiElenco(elenco, stato, funzione, separatore).stato);
            errori.push_back(scriviFile(*r.elenco, csvTabella(elenco, separatore)));
        }
    }
    if (r.grafico)
        errori.push_back(scriviImmagine(
                *r.grafico, immagineGraficoDensa(static_cast<const SuperficieQt &>(*superficie))));
    if (foglio)
        errori.push_back(scriviConQt(*r.studioPdf,
                                     [&](QFile &file) { return scriviPdfFoglio(*foglio, file); }));

    // What the status line would say, each message once.
    std::vector<std::string> detti;
    for (const std::string &avviso : avvisi)
        if (!avviso.empty() && std::find(detti.begin(), detti.end(), avviso) == detti.end()) {
            detti.push_back(avviso);
            scrivi(stderr, avviso + "\n");
        }
    bool fallito = false;
    for (const std::string &errore : errori)
        if (!errore.empty()) {
            scrivi(stderr, "zelvo: " + errore + "\n");
            fallito = true;
        }
    return fallito || mancante ? esitoRifiutato : 0;
}

} // namespace

int rigaDiComando(int argc, char *argv[])
{
    const char separatore = separatoreDiSistema();
    Richiesta richiesta;
    try {
        richiesta = leggi(argc, argv);
    } catch (const ErroreUso &e) {
        scrivi(stderr, "zelvo: " + e.messaggio + "\nPer l'aiuto: zelvo --help\n");
        return esitoUso;
    }
    if (richiesta.aiuto) {
        aiuto(separatore);
        return 0;
    }
    try {
        return esegui(richiesta, separatore);
    } catch (const std::exception &e) {
        scrivi(stderr, std::string("zelvo: ") + e.what() + "\n");
        return esitoRifiutato;
    }
}

} // namespace zelvo
