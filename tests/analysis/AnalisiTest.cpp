#include "analysis/Estremi.h"
#include "analysis/Integrale.h"
#include "analysis/Radice.h"
#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Calcolo.h"
#include "tests/support/StatoAccettato.h"
#include "tests/support/SuperficieRegistrata.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvo {
namespace {

// A function engine holding `espressione`, with the Italian decimal comma.
class ConFunzione : public ::testing::Test
{
protected:
    void definisci(const std::string &espressione)
    {
        funzione.DefinisciFunzione(espressione);
        ASSERT_TRUE(funzione.definita()) << espressione;
    }
    Funzione funzione {','};
};

const std::string kMotivoGrafico
        = "Intervallo non accettato: a e b devono essere numeri tra -10,1 e 10,1";
const std::string kArgomentoNonValido = "Chiamata di routine o argomento non validi";

// ---- root ----

struct CasoRadice
{
    const char *espressione;
    double a, b;
    const char *Label21;
};

TEST_F(ConFunzione, RadiceMostraLUltimoPuntoDellaGrigliaNellaBanda)
{
    const CasoRadice casi[] = {
            {"x^2-1", -2, 2, "1,0003999999997"}, // the root at -1 is passed over
            {"x", -1, 1, "0,000999999999906183"}, // right edge of the band, not 0
            {"x^2", -1, 1, "0,0315999999999061"}, // a touching root: about sqrt(0.001)
            {"Sin(x)", -4, 4, "3,14250000000622"},
            {"x", -10, 10, "0,000999999990033191"}, // 200,001 grid points
    };
    for (const CasoRadice &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b);
        const EsitoRadice esito = cercaRadice(stato, funzione, ',');
        EXPECT_EQ(esito.Label21, c.Label21);
        EXPECT_EQ(esito.stato, "");
        EXPECT_EQ(testoNumero(stato.xTrovato, ','), c.Label21);
    }
}

TEST_F(ConFunzione, RadiceUsaIlSeparatoreDato)
{
    definisci("x^2-1");
    StatoCalcolo stato = accettato(-2, 2);
    EXPECT_EQ(cercaRadice(stato, funzione, '.').Label21, "1.0003999999997");
}

TEST_F(ConFunzione, RadiceSenzaEsitoNonToccaXTrovato)
{
    struct Caso
    {
        const char *espressione;
        double a, b;
        const char *Label21, *stato;
    };
    const Caso casi[] = {
            {"x^2+1", -1, 1, "nessuna radice", ""},
            {"x", 1, -1, "a > b: nessun campione", ""},
            // Log fails below 0: those points read 0 but are no root.
            {"Log(x)", -1, -0.5, "nessuna radice",
             "f non definita in 5001 punti su 5001 — Errore 5: Chiamata di routine o argomento non validi in x = -1"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b);
        stato.xTrovato = 7.5;
        const EsitoRadice esito = cercaRadice(stato, funzione, ',');
        EXPECT_EQ(esito.Label21, c.Label21);
        EXPECT_EQ(esito.stato, c.stato);
        EXPECT_EQ(stato.xTrovato, 7.5);
    }
}

TEST_F(ConFunzione, RadiceSaltaIPuntiNonDefiniti)
{
    definisci("Sqr(x)-1"); // undefined on -1..0, root at 1
    StatoCalcolo stato = accettato(-1, 2);
    const EsitoRadice esito = cercaRadice(stato, funzione, ',');
    EXPECT_EQ(esito.Label21, "1,00199999999981");
    EXPECT_EQ(esito.stato, "f non definita in 10001 punti su 30001 — Errore 5: " + kArgomentoNonValido + " in x = -1");
}

// Every command refuses to sweep what calcolo did not accept, and says why.
TEST_F(ConFunzione, SenzaGraficoAccettatoNessunComandoCalcola)
{
    Funzione maiDefinita {','};
    StatoCalcolo iniziale; // the window as it opens: all 0, nothing accepted
    EsitoRadice radice = cercaRadice(iniziale, maiDefinita, ',');
    EXPECT_EQ(radice.Label21, "intervallo non valido");
    EXPECT_EQ(radice.stato, kMotivoGrafico);
    EsitoIntegrale integrale = calcolaIntegrale(iniziale, maiDefinita, ',');
    EXPECT_EQ(integrale.Label15, "intervallo non valido");
    EXPECT_EQ(integrale.stato, kMotivoGrafico);
    EsitoEstremo massimo = cercaMassimo(iniziale, maiDefinita, ',');
    EXPECT_EQ(massimo.Label13, "intervallo non valido");
    EXPECT_EQ(massimo.valore, "");
    EXPECT_EQ(massimo.stato, kMotivoGrafico);
    EXPECT_EQ(iniziale.xTrovato, 0);
    EXPECT_EQ(iniziale.valoriY.size(), 1u);

    // An interval the last calcolo refused, though it stored it.
    definisci("x");
    StatoCalcolo rifiutato = accettato(-20, 10);
    rifiutato.intervalloAccettato = false;
    EXPECT_EQ(cercaMinimo(rifiutato, funzione, ',').Label13, "intervallo non valido");
    EXPECT_EQ(calcolaIntegrale(rifiutato, funzione, ',').Label15, "intervallo non valido");

    // A step that calcolo never set.
    StatoCalcolo senzaPasso = accettato(-1, 1, 0);
    const EsitoEstremo minimo = cercaMinimo(senzaPasso, funzione, ',');
    EXPECT_EQ(minimo.Label13, "passo non valido");
    EXPECT_EQ(minimo.stato, "Passo non valido: scegliere il passo");
}

TEST_F(ConFunzione, UnaFunzioneRifiutataNonVieneCampionata)
{
    funzione.DefinisciFunzione("x +* 2");
    ASSERT_FALSE(funzione.definita());
    StatoCalcolo stato = accettato(-1, 1);
    const EsitoRadice esito = cercaRadice(stato, funzione, ',');
    EXPECT_EQ(esito.Label21, "funzione non valida");
    EXPECT_EQ(esito.stato,
              "Funzione non accettata (" + funzione.esitoDefinizione().messaggio
                      + "): correggerla");
    EXPECT_EQ(stato.xTrovato, 0);
}

// ---- maximum and minimum ----

struct CasoEstremo
{
    bool massimo;
    const char *espressione;
    double a, b, passo;
    const char *Label13, *valore;
};

EsitoEstremo cerca(bool massimo, StatoCalcolo &stato, Funzione &funzione)
{
    return massimo ? cercaMassimo(stato, funzione, ',') : cercaMinimo(stato, funzione, ',');
}

TEST_F(ConFunzione, EstremoNellUltimoCampioneCheSale0Scende)
{
    const CasoEstremo casi[] = {
            {true, "0-x^2", -2, 2, 0.1, "6,38378239159465E-16", "-4,07526776232339E-31"},
            {true, "x^3-3*x", -2, 2, 0.1, "1,9", "1,15900000000001"}, // not the peak at -1
            {true, "Sin(x)", -4, 4, 0.01, "1,56999999999996", "0,999999682931835"},
            {true, "Cos(x)", -4, 4, 0.1, "3,9", "-0,725932304200137"}, // still rising at b
            {false, "Cos(x)", -4, 4, 0.1, "3,1", "-0,99913515027328"},
            {true, "2", 0, 1, 0.1, "0", "2"}, // only the first sample beats valoriY[0] = 0
            {false, "x-5", 0, 1, 0.1, "0", "-5"},
            // Nothing passes: f never rises (falls), so a and f(a) are shown.
            {true, "0-x-1", 0.5, 1, 0.1, "0,5", "-1,5"},
            {false, "x+1", 0.5, 1, 0.1, "0,5", "1,5"},
    };
    for (const CasoEstremo &c : casi) {
        SCOPED_TRACE(std::string(c.massimo ? "max " : "min ") + c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b, c.passo);
        stato.xTrovato = 7.5;
        const EsitoEstremo esito = cerca(c.massimo, stato, funzione);
        EXPECT_EQ(esito.Label13, c.Label13);
        EXPECT_EQ(esito.valore, c.valore);
        EXPECT_EQ(esito.stato, "");
        EXPECT_EQ(testoNumero(stato.xTrovato, ','), c.Label13);
    }
}

TEST_F(ConFunzione, EstremoMemorizzaOgniCampioneInValoriY)
{
    definisci("x*x");
    StatoCalcolo stato = accettato(-1, 1, 0.5);
    stato.valoriY.assign(10, 9.0);
    stato.valoriY[0] = 0;
    cercaMinimo(stato, funzione, ',');
    // Samples 1 to 5 at indexes 1 to 5; older entries past them stay.
    EXPECT_EQ(stato.valoriY, (std::vector<double> {0, 1, 0.25, 0, 0.25, 1, 9, 9, 9, 9}));
}

TEST_F(ConFunzione, EstremoSuTuttoLIntervalloPiuLargo)
{
    definisci("x");
    StatoCalcolo stato = accettato(-10.1, 10.1, 0.0001); // 202,001 samples
    const EsitoEstremo esito = cercaMassimo(stato, funzione, ',');
    EXPECT_EQ(esito.Label13, "10,0999999999796");
    EXPECT_EQ(esito.valore, "10,0999999999796");
    ASSERT_EQ(stato.valoriY.size(), 202002u);
    EXPECT_EQ(stato.valoriY[202001], stato.xTrovato);
}

TEST_F(ConFunzione, EstremoIgnoraIPuntiNonDefiniti)
{
    // Sqr fails on -1..0: read as 0, those points would never let the rising
    // values pass (none is below 0); left out, the first defined sample wins.
    definisci("Sqr(x)");
    StatoCalcolo stato = accettato(-1, 1, 0.1);
    const EsitoEstremo minimo = cercaMinimo(stato, funzione, ',');
    EXPECT_EQ(minimo.Label13, "0,0999999999999999");
    EXPECT_EQ(minimo.valore, "0,316227766016838");
    EXPECT_EQ(minimo.stato, "f non definita in 11 punti su 21 — Errore 5: " + kArgomentoNonValido + " in x = -1");

    // At x = 0 of -1, -0.5, 0, 0.5 the value reads 0, higher than -4 around
    // it; the true maximum is the first sample.
    definisci("0-1/x^2");
    StatoCalcolo conBuco = accettato(-1, 0.5, 0.5);
    const EsitoEstremo massimo = cercaMassimo(conBuco, funzione, ',');
    EXPECT_EQ(massimo.Label13, "-1");
    EXPECT_EQ(massimo.valore, "-1");
    EXPECT_EQ(massimo.stato, "f non definita in 1 punto su 4 — Errore 11: Divisione per zero in x = 0");
}

TEST_F(ConFunzione, EstremoSenzaCampioniValidi)
{
    struct Caso
    {
        const char *espressione;
        double a, b;
        const char *Label13, *stato;
    };
    const Caso casi[] = {
            {"x", 1, -1, "a > b: nessun campione", ""},
            {"Log(x)", -1, -0.5, "f non definita",
             "f non definita in 6 punti su 6 — Errore 5: Chiamata di routine o argomento non validi in x = -1"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b, 0.1);
        stato.xTrovato = 7.5;
        const EsitoEstremo esito = cercaMassimo(stato, funzione, ',');
        EXPECT_EQ(esito.Label13, c.Label13);
        EXPECT_EQ(esito.valore, "");
        EXPECT_EQ(esito.stato, c.stato);
        EXPECT_EQ(stato.xTrovato, 7.5);
    }
}

// ---- integral ----

TEST_F(ConFunzione, IntegraleSommaDiProdottiSullaGriglia)
{
    struct Caso
    {
        const char *espressione;
        double a, b;
        const char *Label15;
    };
    const Caso casi[] = {
            {"1", 0, 1, "1,00009999999991"}, // 10,001 strips: one more than the area
            {"x", 0, 1, "0,50004999999996"},       {"x^2", 0, 1, "0,333383334999943"},
            {"x", -1, 1, "-1,87705794375652E-13"}, // the grid is not symmetric about 0
            {"1", -10, 10, "20,0000999999667"},    {"x", 1, 0, "0"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        const EsitoIntegrale esito = calcolaIntegrale(accettato(c.a, c.b), funzione, ',');
        EXPECT_EQ(esito.Label15, c.Label15);
        EXPECT_EQ(esito.stato, c.a > c.b ? "a > b: nessun campione" : "");
    }
}

TEST_F(ConFunzione, IntegraleContaZeroNeiPuntiNonDefiniti)
{
    definisci("Sqr(x)");
    const EsitoIntegrale esito = calcolaIntegrale(accettato(-1, 1), funzione, ',');
    EXPECT_EQ(esito.Label15, "0,666716459196992");
    EXPECT_EQ(esito.stato, "f non definita in 10001 punti su 20001 — Errore 5: " + kArgomentoNonValido + " in x = -1");
}

// ---- together with calcolo ----

// A command computes on what the last calcolo accepted; the calcolo that ends
// it reads the edited inputs and draws the new graph, and the next command
// computes on those.
TEST_F(ConFunzione, DopoUnaModificaSenzaGraficoValeIlGraficoPrecedente)
{
    StatoCalcolo stato;
    SuperficieRegistrata superficie;
    TestiCalcolo testi {"x^2-1", "-2", "2", "st0.1", "", ""};
    calcolo(testi, ',', funzione, stato, superficie);

    testi.Text1 = "x-3"; // edited, "Grafico" not pressed
    testi.Text2 = "0";
    testi.Text3 = "5";
    EXPECT_EQ(cercaRadice(stato, funzione, ',').Label21, "1,0003999999997");
    calcolo(testi, ',', funzione, stato, superficie);
    ASSERT_FALSE(superficie.operazioni.empty());
    // The marker of the new b = 5: 5 * 3220 / 10 + 3720.
    EXPECT_EQ(superficie.operazioni.back(), opLine(5330, 4480, 5330, 0, coloreMagenta));
    EXPECT_EQ(cercaRadice(stato, funzione, ',').Label21, "3,00090000000191");
    EXPECT_EQ(calcolaIntegrale(stato, funzione, ',').Label15, "-2,50024999999352");

    testi.Text3 = "20"; // refused by calcolo: no command sweeps it
    calcolo(testi, ',', funzione, stato, superficie);
    EXPECT_EQ(cercaMassimo(stato, funzione, ',').Label13, "intervallo non valido");
    EXPECT_EQ(calcolaIntegrale(stato, funzione, ',').Label15, "intervallo non valido");
}

} // namespace
} // namespace zelvo
