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
    const char *radice;
};

// The rightmost zero, to the last digits: where the old grid band answered
// 0,0999 for x^3 and missed the root of 1000*(x-1.00005).
TEST_F(ConFunzione, RadiceEsattaLaPiuADestra)
{
    const CasoRadice casi[] = {
            {"x^3", -3, 3, "0"},
            {"0.001*x-0.001", -3, 3, "1"},
            {"x^2+0.0005", -3, 3, "nessuna radice"},
            {"1000*(x-1.00005)", -3, 3, "1,00005"},
            {"Sqr(x)", -10, 10, "0"}, // at the edge of the domain
            {"x^2-1", -2, 2, "1"},
            {"x^2", -1, 1, "0"}, // a zero that only touches the axis
            {"(x-1)*(x-1.000001)", -3, 3, "1,000001"}, // two zeros a millionth apart
            {"Sin(x)", -4, 4, "3,14159265358979"},
            {"x", -10.1, 10.1, "0"},
    };
    for (const CasoRadice &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b);
        const EsitoRadice esito = cercaRadice(stato, funzione, ',');
        EXPECT_EQ(esito.radice, c.radice);
        if (std::string(c.espressione) != "Sqr(x)" && std::string(c.espressione) != "Int(x)") {
            EXPECT_EQ(esito.stato, "");
        }
        if (std::string(c.radice) != "nessuna radice") {
            EXPECT_EQ(testoNumero(stato.xTrovato, ','), c.radice);
        }
    }
}

TEST_F(ConFunzione, RadiceUsaIlSeparatoreDato)
{
    definisci("1000*(x-1.00005)");
    StatoCalcolo stato = accettato(-2, 2);
    EXPECT_EQ(cercaRadice(stato, funzione, '.').radice, "1.00005");
}

TEST_F(ConFunzione, RadiceSenzaEsitoNonToccaXTrovato)
{
    struct Caso
    {
        const char *espressione;
        double a, b;
        const char *radice, *stato;
    };
    const Caso casi[] = {
            {"x^2+1", -1, 1, "nessuna radice", ""},
            {"x", 1, -1, "a > b: nessun campione", ""},
            // Log is defined nowhere there: no root, and said so.
            {"Log(x)", -1, -0.5, "non definita", "f non definita in [-1; -0,5]"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b);
        stato.xTrovato = 7.5;
        const EsitoRadice esito = cercaRadice(stato, funzione, ',');
        EXPECT_EQ(esito.radice, c.radice);
        EXPECT_EQ(esito.stato, c.stato);
        EXPECT_EQ(stato.xTrovato, 7.5);
    }
}

TEST_F(ConFunzione, RadiceSaltaIPuntiNonDefiniti)
{
    definisci("Sqr(x)-1"); // undefined on -1..0, root at 1
    StatoCalcolo stato = accettato(-1, 2);
    const EsitoRadice esito = cercaRadice(stato, funzione, ',');
    EXPECT_EQ(esito.radice, "1");
    EXPECT_EQ(esito.stato, "f non definita in [-1; 0]");
}

// Every command refuses to sweep what calcolo did not accept, and says why.
TEST_F(ConFunzione, SenzaGraficoAccettatoNessunComandoCalcola)
{
    Funzione maiDefinita {','};
    StatoCalcolo iniziale; // the window as it opens: all 0, nothing accepted
    EsitoRadice radice = cercaRadice(iniziale, maiDefinita, ',');
    EXPECT_EQ(radice.radice, "intervallo non valido");
    EXPECT_EQ(radice.stato, kMotivoGrafico);
    EsitoIntegrale integrale = calcolaIntegrale(iniziale, maiDefinita, ',');
    EXPECT_EQ(integrale.integrale, "intervallo non valido");
    EXPECT_EQ(integrale.stato, kMotivoGrafico);
    EsitoEstremo massimo = cercaMassimo(iniziale, maiDefinita, ',');
    EXPECT_EQ(massimo.x, "intervallo non valido");
    EXPECT_EQ(massimo.valore, "");
    EXPECT_EQ(massimo.stato, kMotivoGrafico);
    EXPECT_EQ(iniziale.xTrovato, 0);
    EXPECT_EQ(iniziale.valoriY.size(), 1u);

    // An interval the last calcolo refused, though it stored it.
    definisci("x");
    StatoCalcolo rifiutato = accettato(-20, 10);
    rifiutato.intervalloAccettato = false;
    EXPECT_EQ(cercaMinimo(rifiutato, funzione, ',').x, "intervallo non valido");
    EXPECT_EQ(calcolaIntegrale(rifiutato, funzione, ',').integrale, "intervallo non valido");

    // The extremes are exact: they need no step.
    StatoCalcolo senzaPasso = accettato(-1, 1, 0);
    EXPECT_EQ(cercaMinimo(senzaPasso, funzione, ',').x, "-1");
}

TEST_F(ConFunzione, UnaFunzioneRifiutataNonVieneCampionata)
{
    funzione.DefinisciFunzione("x +* 2");
    ASSERT_FALSE(funzione.definita());
    StatoCalcolo stato = accettato(-1, 1);
    const EsitoRadice esito = cercaRadice(stato, funzione, ',');
    EXPECT_EQ(esito.radice, "funzione non valida");
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
    const char *x, *valore;
};

EsitoEstremo cerca(bool massimo, StatoCalcolo &stato, Funzione &funzione)
{
    return massimo ? cercaMassimo(stato, funzione, ',') : cercaMinimo(stato, funzione, ',');
}

// The absolute extremes, ends included, the rightmost of equal values.
TEST_F(ConFunzione, EstremoAssolutoEsatto)
{
    const CasoEstremo casi[] = {
            {true, "0-x^2", -2, 2, 0.1, "0", "0"},
            {true, "x^3-3*x", -2, 2, 0.1, "2", "2"}, // the peak at -1 is as high: the rightmost
            {true, "x^3-3*x", -2, 1.5, 0.1, "-1", "2"},
            {true, "Sin(x)", -4, 4, 0.01, "1,5707963267949", "1"},
            {true, "Cos(x)", -4, 4, 0.1, "0", "1"},
            {false, "Cos(x)", -4, 4, 0.1, "3,14159265358979", "-1"},
            {true, "2", 0, 1, 0.1, "1", "2"},
            {false, "x-5", 0, 1, 0.1, "0", "-5"},
            {false, "Sqr(x)", -3, 3, 0.01, "0", "0"}, // not 0,00999 on the grid
            // Two humps: the higher one, though the lower one comes later.
            {true, "Exp(-((x-1)^2))+2*Exp(-((x+1)^2))", -3, 3, 0.01, "-0,980383635577662",
             "2,0190335939268"},
            // -3 on [-2,5; -2): a point where f is -3, not the jump at -2.
            {false, "Int(x)", -2.5, 2.5, 0.01, "-2,5", "-3"},
            // On the other side of the jump at 0,6 f is 2,04 at most.
            {true, "Sgn(x-0.6)*x", -3.8, 2.04, 0.01, "-3,8", "3,8"},
            // The corner on the axis: 0, not 4,4E-16.
            {false, "Abs(x^2-3.6)", 0.5, 5.8, 0.01, "1,89736659610103", "0"},
    };
    for (const CasoEstremo &c : casi) {
        SCOPED_TRACE(std::string(c.massimo ? "max " : "min ") + c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b, c.passo);
        stato.xTrovato = 7.5;
        const EsitoEstremo esito = cerca(c.massimo, stato, funzione);
        EXPECT_EQ(esito.x, c.x);
        EXPECT_EQ(esito.valore, c.valore);
        if (std::string(c.espressione) != "Sqr(x)" && std::string(c.espressione) != "Int(x)") {
            EXPECT_EQ(esito.stato, "");
        }
        EXPECT_EQ(testoNumero(stato.xTrovato, ','), c.x);
    }
}

// Where f is unbounded there is no maximum (minimum), and the status line
// says why; where f is defined nowhere, nothing.
TEST_F(ConFunzione, EstremoSenzaRisultato)
{
    struct Caso
    {
        bool massimo;
        const char *espressione;
        double a, b;
        const char *x, *stato;
    };
    const Caso casi[] = {
            {true, "x", 1, -1, "a > b: nessun campione", ""},
            {true, "Log(x)", -1, -0.5, "non definita", "f non definita in [-1; -0,5]"},
            {true, "1/(x-2)", -3, 3, "nessun massimo",
             "f illimitata superiormente vicino a x = 2; f non definita in x = 2"},
            {false, "Log(x)", 0, 3, "nessun minimo",
             "f illimitata inferiormente vicino a x = 0; f non definita in x = 0"},
            // Approached, never reached: the labels stay without a number.
            {true, "Sin(x)/x", -10, 10, "", "sup = 1, non raggiunto; f non definita in x = 0"},
            {true, "x-Int(x)", -2, 2, "", "sup = 1, non raggiunto"},
            {false, "Sgn(x-0.6)*x", -3.8, 2.04, "", "inf = -0,6, non raggiunto"},
            {true, "Atn(1/x)", -3, 3, "",
             "sup = 1,5707963267949, non raggiunto; f non definita in x = 0"},
            {true, "Exp(1/x)", -3, 3, "nessun massimo",
             "f illimitata superiormente vicino a x = 0; f non definita in x = 0; Tra x = "
             "-0,0013275146484375 e x = 0 |f| è minore del più piccolo double: lì f vale 0 solo "
             "nei calcoli; Tra x = -5,56268464626801E-309 e x = 0,00140888187586813 |f| supera "
             "il più grande double: lì f non è calcolabile; Tra x = 0,00140888187586813 e x = "
             "0,052734375 f varia più in fretta della risoluzione dello studio "
             "(0,00146484375): lì possono esserci altri zeri, estremi e flessi"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        StatoCalcolo stato = accettato(c.a, c.b, 0.1);
        stato.xTrovato = 7.5;
        const EsitoEstremo esito = cerca(c.massimo, stato, funzione);
        EXPECT_EQ(esito.x, c.x);
        EXPECT_EQ(esito.valore, "");
        EXPECT_EQ(esito.stato, c.stato);
        EXPECT_EQ(stato.xTrovato, 7.5);
    }
}

// ---- integral ----

TEST_F(ConFunzione, IntegraleEsatto)
{
    struct Caso
    {
        const char *espressione;
        double a, b;
        const char *integrale, *stato;
    };
    const Caso casi[] = {
            {"1", 0, 1, "1", ""},
            {"x", 0, 1, "0,5", ""},
            {"x^2", 0, 1, "0,333333333333333", ""}, // not 0,333383334999943
            {"x", -1, 1, "0", ""},
            {"1", -10, 10, "20", ""},
            {"Abs(x^2-4)", -3, 3, "15,3333333333333", ""}, // split at the corners
            {"Int(x)", -2.5, 2.5, "-2,5", ""}, // and at the jumps
            {"1/Sqr(x)", 0, 1, "2",
             "f non definita in x = 0: punti isolati, che non cambiano l'integrale"},
            // Integrals that do not exist say why instead of a number.
            {"x", 1, 0, "nessun campione", "a > b: nessun campione, nessun integrale"},
            {"1/x", -10, 10, "non converge",
             "l'integrale non converge: f illimitata vicino a x = 0"},
            {"1/0", -1, 1, "non definita", "f non definita in tutto [-1; 1]: nessun integrale"},
            {"k*x", -1, 1, "non definita", "f non definita in tutto [-1; 1]: nessun integrale"},
            {"Log(x)", -3, 3, "non definita",
             "f non definita in [-3; 0]: l'integrale dove è definita, su [0; 3], vale "
             "0,295836866004329"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        const EsitoIntegrale esito = calcolaIntegrale(accettato(c.a, c.b), funzione, ',');
        EXPECT_EQ(esito.integrale, c.integrale);
        EXPECT_EQ(esito.stato, c.stato);
    }
}

// ---- a = b ----

// An interval of one point: f there is its maximum and its minimum, a root
// where it is 0, and the integral is 0; where f is not defined there,
// nothing is.
TEST_F(ConFunzione, AUgualeBUnSoloPunto)
{
    struct Caso
    {
        const char *espressione;
        double x;
        const char *radice, *y, *integrale, *stato;
    };
    const Caso casi[] = {
            {"x^2", 2, "nessuna radice", "4", "0", ""},
            {"x^2-4", 2, "2", "0", "0", ""},
            {"Sin(x)", -0.5, "nessuna radice", "-0,479425538604203", "0", ""},
            {"1/(x-2)", 2, "non definita", "", "non definita", "f non definita in x = 2"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.espressione);
        definisci(c.espressione);
        const bool definita = *c.y != '\0';
        const std::string x = testoNumero(c.x, ',');
        StatoCalcolo stato = accettato(c.x, c.x, 0.1);
        const EsitoRadice radice = cercaRadice(stato, funzione, ',');
        EXPECT_EQ(radice.radice, c.radice);
        EXPECT_EQ(radice.stato, c.stato);
        EXPECT_EQ(radice.calcolato, definita);
        for (const bool massimo : {true, false}) {
            const EsitoEstremo e = cerca(massimo, stato, funzione);
            EXPECT_EQ(e.x, definita ? x : "non definita");
            EXPECT_EQ(e.valore, c.y);
            EXPECT_EQ(e.stato, definita ? "" : c.stato);
            EXPECT_EQ(e.calcolato, definita);
        }
        const EsitoIntegrale integrale = calcolaIntegrale(stato, funzione, ',');
        EXPECT_EQ(integrale.integrale, c.integrale);
        EXPECT_EQ(integrale.calcolato, definita);
        if (definita) {
            EXPECT_EQ(integrale.stato, "");
        }
    }
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

    testi.funzione = "x-3"; // edited, "Grafico" not pressed
    testi.a = "0";
    testi.b = "5";
    EXPECT_EQ(cercaRadice(stato, funzione, ',').radice, "1");
    calcolo(testi, ',', funzione, stato, superficie);
    ASSERT_FALSE(superficie.operazioni.empty());
    // The marker of the new b = 5: 5 * 3220 / 10 + 3720.
    EXPECT_EQ(superficie.operazioni.back(), opLine(5330, 4480, 5330, 0, coloreMagenta));
    EXPECT_EQ(cercaRadice(stato, funzione, ',').radice, "3");
    EXPECT_EQ(calcolaIntegrale(stato, funzione, ',').integrale, "-2,5");

    testi.b = "20"; // refused by calcolo: no command sweeps it
    calcolo(testi, ',', funzione, stato, superficie);
    EXPECT_EQ(cercaMassimo(stato, funzione, ',').x, "intervallo non valido");
    EXPECT_EQ(calcolaIntegrale(stato, funzione, ',').integrale, "intervallo non valido");
}

} // namespace
} // namespace zelvo
