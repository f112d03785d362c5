#include "plot/Calcolo.h"
#include "tests/support/SuperficieRegistrata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace zelvo {
namespace {

// Cls, 6615 dots and the two axes.
constexpr std::size_t opsCornice = 6618;

TestiCalcolo testi(std::string f, std::string a, std::string b, std::string passo = "",
                   std::string scalaX = "", std::string scalaY = "")
{
    return {std::move(f),     std::move(a),      std::move(b),
            std::move(passo), std::move(scalaX), std::move(scalaY)};
}

// One main window's worth of state: the engine, the window-level variables and
// the surface, across as many runs as a test needs.
class Finestra
{
public:
    explicit Finestra(char separatore = '.')
        : separatore_(separatore)
        , funzione(separatore)
    { }

    EsitoCalcolo calcola(const TestiCalcolo &t)
    {
        superficie.operazioni.clear();
        return calcolo(t, separatore_, funzione, stato, superficie);
    }

    // What the run drew after the empty frame.
    std::vector<Operazione> traccia() const
    {
        const auto &ops = superficie.operazioni;
        return {ops.begin() + static_cast<std::ptrdiff_t>(std::min(opsCornice, ops.size())),
                ops.end()};
    }

    std::vector<Operazione> punti() const
    {
        std::vector<Operazione> p;
        for (const Operazione &op : traccia())
            if (op.tipo == Operazione::Tipo::PSet)
                p.push_back(op);
        return p;
    }

private:
    char separatore_;

public:
    Funzione funzione;
    StatoCalcolo stato;
    SuperficieRegistrata superficie;
};

Operazione marcatore(float x)
{
    return opLine(x, 4480, x, 0, coloreMagenta);
}

// ---- Settings ----------------------------------------------------------------

struct CasoImpostazioni
{
    const char *vocePasso, *voceScalaX, *voceScalaY;
    double passo, scalaX, scalaY;
    const char *testoPasso, *testoScalaX, *testoScalaY;
};

TEST(Impostazioni, ComboTextsPickStepAndScalesExactly)
{
    const CasoImpostazioni casi[] = {
            {"st0.1", "0.01/div.", "0.01/div.", 0.1, 0.1, 0.1, "0.1", "0.01", "0.01"},
            {"st0.01", "0.1/div.", "0.1/div.", 0.01, 1, 1, "0.01", "0.1", "0.1"},
            {"st0.001", "1/div.", "1/div.", 0.001, 10, 10, "0.001", "1", "1"},
            {"st0.0001", "10/div.", "10/div.", 0.0001, 100, 100, "0.0001", "10", "10"},
            {"", "", "100/div.", 0.001, 10, 1000, "0.001", "1", "100"},
            // No trimming, no case folding, no near misses; the abscissa offers no "100/div.".
            {"st0.1 ", "100/div.", "1/diiv.", 0.001, 10, 10, "0.001", "1", "1"},
            {"ST0.1", " 1/div.", "10/div ", 0.001, 10, 10, "0.001", "1", "1"},
            {"0.1", "1", "100", 0.001, 10, 10, "0.001", "1", "1"},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string(c.vocePasso) + " | " + c.voceScalaX + " | " + c.voceScalaY);
        Finestra w;
        const auto esito = w.calcola(testi("x", "0", "0", c.vocePasso, c.voceScalaX, c.voceScalaY));
        EXPECT_EQ(w.stato.passo, c.passo);
        EXPECT_EQ(w.stato.scalaX, c.scalaX);
        EXPECT_EQ(w.stato.scalaY, c.scalaY);
        EXPECT_EQ(esito.passo, c.testoPasso);
        EXPECT_EQ(esito.scalaX, c.testoScalaX);
        EXPECT_EQ(esito.scalaY, c.testoScalaY);
        EXPECT_EQ(esito.stato, "");
    }
}

// The window as it starts: a = "-10", b = "+10" and the combo boxes' hint texts.
TEST(Impostazioni, WindowAsItStartsUnderBothSeparators)
{
    for (const char separatore : {'.', ','}) {
        SCOPED_TRACE(separatore);
        Finestra w(separatore);
        const auto esito = w.calcola(
                testi("x", "-10", "+10", "   0.1;    0. 01;     0.001;    0.0001",
                      "0.01  ;  0.1    :1   ; 10", "0.01  ;  0.1   ;  1 ;   10   ;  100"));
        EXPECT_EQ(w.stato.estremoA, -10);
        EXPECT_EQ(w.stato.estremoB, 10);
        EXPECT_EQ(w.stato.passo, 0.001);
        EXPECT_EQ(w.stato.scalaX, 10);
        EXPECT_EQ(w.stato.scalaY, 10);
        EXPECT_EQ(esito.passo, separatore == ',' ? "0,001" : "0.001");
        EXPECT_EQ(esito.scalaX, "1");
        EXPECT_EQ(esito.scalaY, "1");
        EXPECT_TRUE(w.stato.intervalloAccettato);
        EXPECT_EQ(w.punti().size(), 20001u);
    }
}

TEST(Impostazioni, EndsAreReadWithTheUsersDecimalSeparator)
{
    Finestra w(',');
    const auto esito = w.calcola(testi("x", "-2,5", "1,25", "st0.1"));
    EXPECT_EQ(esito.stato, "");
    EXPECT_EQ(w.stato.estremoA, -2.5);
    EXPECT_EQ(w.stato.estremoB, 1.25);
    EXPECT_EQ(esito.passo, "0,1");

    // A point under a comma locale: the message says in words to use the comma.
    EXPECT_EQ(w.calcola(testi("x", "-1.5", "1")).stato,
              "Errore 13: Tipo non corrispondente — a = \"-1.5\" — usare la virgola come "
              "separatore decimale, non il punto (-1,5)");
    // Neither separator helps: no hint.
    EXPECT_EQ(w.calcola(testi("x", "1", "1.5.2")).stato,
              "Errore 13: Tipo non corrispondente — b = \"1.5.2\"");
}

// ---- Range check -------------------------------------------------------------

TEST(IntervalloControllo, TenPointOneIsTheWidestAcceptedInterval)
{
    Finestra w;
    const auto esito = w.calcola(testi("x", "-10.1", "10.1", "st0.1"));
    EXPECT_TRUE(w.stato.intervalloAccettato);
    EXPECT_EQ(esito.stato, "");
    EXPECT_EQ(w.punti().front(), opPSet(0, 4502.4f, coloreFacciaPulsante)); // below left
    EXPECT_EQ(w.traccia().back(), marcatore(6972.2f));
}

TEST(IntervalloControllo, RefusedEndStopsAfterTheFrameKeepingThePreviousSettings)
{
    struct Caso
    {
        const char *a, *b;
        double estremoA, estremoB;
        const char *stato;
    } casi[] = {
            {"10.2", "1", 10.2, 1,
             "Intervallo rifiutato — a = 10.2: a e b devono stare tra -10.1 e 10.1"},
            {"-1", "-10.2", -1, -10.2,
             "Intervallo rifiutato — b = -10.2: a e b devono stare tra -10.1 e 10.1"},
            {"11", "12", 11, 12,
             "Intervallo rifiutato — a = 11: a e b devono stare tra -10.1 e 10.1"},
            // Quoted as typed: at 15 digits it would read 10.1, the bound itself.
            {"10.10000000000001", "1", 10.10000000000001, 1,
             "Intervallo rifiutato — a = 10.10000000000001: a e b devono stare tra -10.1 e 10.1"},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.stato);
        Finestra w;
        ASSERT_EQ(w.calcola(testi("x", "-1", "1", "st0.1", "0.1/div.", "10/div.")).stato, "");
        const auto esito = w.calcola(testi("x+1", c.a, c.b, "st0.01", "1/div.", "1/div."));
        EXPECT_EQ(esito.stato, c.stato);
        EXPECT_FALSE(esito.passo || esito.scalaX || esito.scalaY); // labels keep their texts
        EXPECT_EQ(w.superficie.operazioni.size(), opsCornice); // the empty frame only
        EXPECT_FALSE(w.stato.intervalloAccettato);
        EXPECT_EQ(w.stato.estremoA, c.estremoA);
        EXPECT_EQ(w.stato.estremoB, c.estremoB);
        EXPECT_EQ(w.stato.passo, 0.1);
        EXPECT_EQ(w.stato.scalaX, 1);
        EXPECT_EQ(w.stato.scalaY, 100);
        EXPECT_EQ(w.funzione.CalcolaFunzione(2), 3); // already redefined
    }
}

// ---- Failures ----------------------------------------------------------------

TEST(Fallimenti, EndNotANumberStopsTheRunAndSaysWhy)
{
    struct Caso
    {
        const char *a, *b;
        double estremoA, estremoB;
        const char *stato;
    } casi[] = {
            {"-2", "abc", -2, 7, "Errore 13: Tipo non corrispondente — b = \"abc\""},
            {"abc", "3", 5, 7, "Errore 13: Tipo non corrispondente — a = \"abc\""},
            {"", "3", 5, 7, "Errore 13: Tipo non corrispondente — a = \"\""},
            {"1", "-", 1, 7, "Errore 13: Tipo non corrispondente — b = \"-\""},
            // The other separator would have made a number: the message says which one to use.
            {"1,5", "2", 5, 7,
             "Errore 13: Tipo non corrispondente — a = \"1,5\" — usare il punto come separatore "
             "decimale, non la virgola (-1.5)"},
            {"1E400", "2", 5, 7, "Errore 6: Overflow — a = \"1E400\""},
            // A long text is cut on a character boundary.
            {"1", "àààààààààààààààààààààààààààààà", 1, 7,
             "Errore 13: Tipo non corrispondente — b = \"ààààààààààààààà…\""},
            {"1", "xàààààààààààààààààààààààààààààà", 1, 7,
             "Errore 13: Tipo non corrispondente — b = \"xàààààààààààààà…\""},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.stato);
        Finestra w;
        w.stato.estremoA = 5;
        w.stato.estremoB = 7;
        w.stato.intervalloAccettato = true;
        const auto esito = w.calcola(testi("x", c.a, c.b));
        EXPECT_EQ(esito.stato, c.stato);
        EXPECT_FALSE(esito.passo || esito.scalaX || esito.scalaY);
        EXPECT_EQ(w.superficie.operazioni.size(), opsCornice);
        EXPECT_FALSE(w.stato.intervalloAccettato);
        EXPECT_EQ(w.stato.estremoA, c.estremoA);
        EXPECT_EQ(w.stato.estremoB, c.estremoB);
    }
}

// A value too large for the surface ends the run at that sample: the points
// before it and its stored value stay, the markers are not drawn.
TEST(Fallimenti, OverflowOfTheSurfaceCoordinateEndsTheRunAtThatSample)
{
    Finestra w;
    w.stato.valoriY.assign(20, -7);
    const auto esito = w.calcola(testi("x*1E37", "-1", "1", "st0.1"));
    EXPECT_EQ(esito.stato, "Errore 6: Overflow — f(0.2) = 2E+36");
    const auto traccia = w.traccia();
    ASSERT_EQ(traccia.size(), 12u); // x = -1 .. 0.1; no marker
    EXPECT_TRUE(std::all_of(traccia.begin(), traccia.end(), [](const Operazione &op) {
        return op.tipo == Operazione::Tipo::PSet;
    }));
    EXPECT_EQ(traccia[11], opPSet(0, -2.24e38f, coloreFacciaPulsante)); // still fits a float
    EXPECT_EQ(w.stato.valoriY[13], 2e+36);
    EXPECT_EQ(w.stato.valoriY[14], -7);
    EXPECT_TRUE(w.stato.intervalloAccettato);
}

TEST(Fallimenti, OverflowOfTheDoubleMapping)
{
    for (const char *f : {"1E306", "-1E306"}) {
        SCOPED_TRACE(f);
        Finestra w;
        const auto esito = w.calcola(testi(f, "0", "1"));
        EXPECT_EQ(esito.stato,
                  std::string("Errore 6: Overflow — f(0) = ") + (f[0] == '-' ? "-" : "")
                          + "1E+306");
        EXPECT_TRUE(w.traccia().empty());
        EXPECT_EQ(w.stato.valoriY[1], f[0] == '-' ? -1e306 : 1e306);
    }
}

// ---- Sweep and tracing -------------------------------------------------------

struct CasoPunto
{
    const char *f, *x, *voceScalaX;
    Operazione punto;
};

// One sample (a = b) per row of the clipping table.
TEST(Traccia, ClippingTableRowByRow)
{
    const CasoPunto casi[] = {
            {"3", "2", "", opPSet(4364, 1568, coloreRosso)}, // inside
            {"-10", "10", "", opPSet(6940, 4480, coloreRosso)}, // the limits belong
            {"10", "-10", "", opPSet(500, 0, coloreRosso)}, // to the frame
            // Outside the frame on any side nothing is drawn: the point goes
            // to x = 0 in the background colour.
            {"-100", "2", "", opPSet(0, 24640, coloreFacciaPulsante)}, // below: not on the edge
            {"-100", "10.1", "", opPSet(0, 24640, coloreFacciaPulsante)}, // below right
            {"-100", "-10.1", "", opPSet(0, 24640, coloreFacciaPulsante)}, // below left
            {"3", "-10.1", "", opPSet(0, 1568, coloreFacciaPulsante)}, // left
            {"100", "-10.1", "", opPSet(0, -20160, coloreFacciaPulsante)}, // above left
            {"3", "2", "0.1/div.", opPSet(0, 1568, coloreFacciaPulsante)}, // right
            {"100", "10.1", "", opPSet(0, -20160, coloreFacciaPulsante)}, // above right
            {"100", "2", "", opPSet(0, -20160, coloreFacciaPulsante)}, // above
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string("f = ") + c.f + ", x = " + c.x + " " + c.voceScalaX);
        Finestra w;
        w.calcola(testi(c.f, c.x, c.x, "", c.voceScalaX));
        const auto traccia = w.traccia();
        ASSERT_EQ(traccia.size(), 3u);
        EXPECT_EQ(traccia[0], c.punto);
    }
}

TEST(Traccia, OneSampleWhenAEqualsB)
{
    Finestra w;
    const auto esito = w.calcola(testi("x*x", "3", "3"));
    EXPECT_EQ(esito.stato, "");
    EXPECT_EQ(w.traccia(),
              (std::vector<Operazione> {opPSet(4686, 224, coloreRosso), marcatore(4686),
                                        marcatore(4686)}));
    EXPECT_EQ(w.stato.valoriY.at(1), 9);
}

TEST(Traccia, NoSampleWhenAIsAboveBOnlyTheMarkers)
{
    Finestra w;
    w.stato.valoriY = {0, 11, 12};
    const auto esito = w.calcola(testi("x", "5", "-5"));
    EXPECT_EQ(esito.stato, "a > b: nessun campione — a deve essere minore o uguale a b");
    EXPECT_EQ(w.traccia(), (std::vector<Operazione> {marcatore(5330), marcatore(2110)}));
    EXPECT_EQ(w.stato.valoriY, (std::vector<double> {0, 11, 12}));
}

TEST(Traccia, MarkersAreNotClipped)
{
    Finestra w;
    w.calcola(testi("x", "-10", "10", "st0.01", "0.1/div.", "10/div."));
    const auto traccia = w.traccia();
    EXPECT_EQ(traccia[traccia.size() - 2], marcatore(-28480));
    EXPECT_EQ(traccia[traccia.size() - 1], marcatore(35920));
    // Only -1 <= x <= 1 falls in the frame: 201 samples, both ends included.
    std::size_t rossi = 0;
    for (const auto &p : w.punti())
        if (p.colore == coloreRosso) {
            ++rossi;
            EXPECT_GE(p.x1, 500);
            EXPECT_LE(p.x1, 6940);
        }
    EXPECT_EQ(rossi, 201u);
}

// The samples are at the decimals a + i * passo: 0 is 0, and b is the last.
TEST(Traccia, SamplesLandOnZeroAndOnB)
{
    Finestra w;
    w.stato.valoriY.assign(300, -7);
    w.calcola(testi("x", "-10", "10", "st0.1"));
    EXPECT_EQ(w.punti().size(), 201u);
    EXPECT_EQ(w.stato.valoriY[1], -10);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(w.stato.valoriY[101]), 0u); // +0, not 1E-15
    EXPECT_EQ(w.stato.valoriY[131], 3);
    EXPECT_EQ(w.stato.valoriY[201], 10);
    EXPECT_EQ(w.stato.valoriY[202], -7); // past this run: kept
    EXPECT_EQ(w.stato.valoriY[0], -7); // index 0 is never written
}

TEST(Traccia, EverySampleOfTheFinestStepIsStoredAndDrawn)
{
    Finestra w;
    w.calcola(testi("2", "-10", "10", "st0.0001"));
    const auto punti = w.punti();
    ASSERT_EQ(punti.size(), 200001u);
    EXPECT_EQ(punti.front(), opPSet(500, 1792, coloreRosso));
    EXPECT_EQ(punti[100000], opPSet(3720, 1792, coloreRosso)); // x = 0: the right half is drawn
    EXPECT_EQ(punti.back(), opPSet(6940, 1792, coloreRosso)); // x = 9.99999999998
    ASSERT_GE(w.stato.valoriY.size(), 200002u);
    EXPECT_EQ(w.stato.valoriY[200001], 2);
}

// Values above and below the frame alike draw nothing: no flat line along
// the bottom edge for -100 (as if f were -10 there), none along the top.
TEST(Traccia, ValuesAboveOrBelowTheFrameDrawNothing)
{
    for (const auto &[f, py] : {std::pair {"100", -20160.f}, {"-100", 24640.f}}) {
        SCOPED_TRACE(f);
        Finestra w;
        w.calcola(testi(f, "-10", "10", "st0.1"));
        const auto punti = w.punti();
        ASSERT_EQ(punti.size(), 201u);
        for (const auto &p : punti)
            EXPECT_EQ(p, opPSet(0, py, coloreFacciaPulsante));
    }
}

TEST(Traccia, TwoRunsInARowDrawTheSamePicture)
{
    Finestra w;
    w.calcola(testi("sin(x)*5", "-3", "7", "st0.01"));
    const auto prima = w.superficie.operazioni;
    w.calcola(testi("sin(x)*5", "-3", "7", "st0.01"));
    EXPECT_EQ(w.superficie.operazioni, prima);
    EXPECT_EQ(prima.front(), opCls());
}

// A function of x alone is sampled a block at a time, one that draws random
// numbers one sample at a time; adding Rnd * 0 changes no value, so both runs
// must draw, store and report exactly the same, wherever a block ends: here
// failures straddle block boundaries, the colour changes from block to
// block, and a run ends in its fifth block, a few samples before some that
// would fail.
TEST(Traccia, BlocksOfSamplesDrawWhatOneSampleAtATimeDraws)
{
    struct Caso
    {
        const char *f, *a, *b, *voceScalaX;
    } casi[] = {
            {"1/int(x*10)+sin(x*40)*20", "-1", "1", "0.1/div."}, // 100 failures; below the frame
            {"x*1E37+log(0.16-x)*0", "-1", "1", "0.1/div."}, // ends at x = 0.152; fails from 0.16
            {"x*x*3-12", "-3", "3", "0.1/div."},
            // Left and right of the frame, above and below it: every clipping row.
            {"sin(x*40)*20", "-1", "1", "0.01/div."},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.f);
        Finestra blocchi, uno;
        blocchi.stato.valoriY.assign(3000, -7);
        uno.stato.valoriY.assign(3000, -7);
        const EsitoCalcolo a = blocchi.calcola(testi(c.f, c.a, c.b, "st0.001", c.voceScalaX));
        const EsitoCalcolo b = uno.calcola(
                testi(std::string(c.f) + "+Rnd*0", c.a, c.b, "st0.001", c.voceScalaX));
        EXPECT_GT(blocchi.punti().size(), 1000u);
        EXPECT_EQ(blocchi.superficie.operazioni, uno.superficie.operazioni);
        EXPECT_EQ(a.stato, b.stato);
        EXPECT_EQ(blocchi.stato.valoriY, uno.stato.valoriY);
    }
}

// ---- What the status line tells -------------------------------------------------

TEST(Stato, RefusedExpressionDrawsNoPointAndSaysWhereTheFaultIs)
{
    Finestra w;
    w.stato.valoriY.assign(30, -7);
    const auto esito = w.calcola(testi("x*", "-1", "1", "st0.1"));
    EXPECT_EQ(esito.stato,
              "Funzione rifiutata — Errore 1023: Prevista espressione alla fine del "
              "testo");
    // The frame and both markers, not one point; every sample stored as 0.
    EXPECT_TRUE(w.punti().empty());
    EXPECT_EQ(w.traccia().back(), marcatore(4042));
    EXPECT_EQ(w.traccia()[w.traccia().size() - 2], marcatore(3398));
    EXPECT_EQ(std::vector<double>(w.stato.valoriY.begin() + 1, w.stato.valoriY.begin() + 22),
              std::vector<double>(21, 0.0));
    EXPECT_EQ(w.stato.valoriY[22], -7);
}

// Where f is not defined nothing is drawn; the points around it are as always.
TEST(Traccia, NoPointWhereFIsNotDefined)
{
    Finestra w;
    EXPECT_NE(w.calcola(testi("Sqr(x)", "-1", "1", "st0.1", "1/div.")).stato, "");
    const auto punti = w.punti();
    // From x = 0 on, 0 itself included.
    ASSERT_EQ(punti.size(), 11u);
    EXPECT_EQ(punti.front().x1, 3720);
    for (const auto &p : punti)
        EXPECT_GE(p.x1, 3720);
    EXPECT_EQ(punti.back().x1, 4042); // x = 1, 322 twips a unit
    EXPECT_EQ(w.stato.valoriY[1], 0); // Sqr(-1): stored as 0, not drawn
}

TEST(Stato, RefusalNamesTheCharacterCountedFromOne)
{
    const std::pair<const char *, const char *> casi[] = {
            {"x)+1",
             "Funzione rifiutata — Errore 1025: Prevista fine dell'istruzione al "
             "carattere 2"},
            {"\"è\")", // the fault after a two-byte character
             "Funzione rifiutata — Errore 1025: Prevista fine dell'istruzione al "
             "carattere 4"},
            {"", "Funzione rifiutata — Errore 1023: Prevista espressione alla fine del testo"},
            // Numbers inside the function take the point whatever the locale.
            {"0,5*x",
             "Funzione rifiutata — Errore 1025: Prevista fine dell'istruzione al carattere 2 — "
             "nella funzione i numeri si scrivono sempre con il punto: 0.5*x"},
            // The hint quotes the user's own numbers, with the point.
            {"2,5*x+1,25",
             "Funzione rifiutata — Errore 1025: Prevista fine dell'istruzione al carattere 2 — "
             "nella funzione i numeri si scrivono sempre con il punto: 2.5*x+1.25"},
            {"Sin(x)*Exp(-x/5)+Cos(2*x)*Log(Abs(x)+1)+3,75",
             "Funzione rifiutata — Errore 1025: Prevista fine dell'istruzione al carattere 42 — "
             "nella funzione i numeri si scrivono sempre con il punto: 3.75"},
    };
    for (const auto &[f, stato] : casi) {
        Finestra w;
        EXPECT_EQ(w.calcola(testi(f, "0", "0")).stato, stato);
    }
}

// A text longer than the engine takes is said to be too long, whole as it
// is, and nothing of it is evaluated or drawn; just under the limit it runs.
TEST(Stato, AFunctionTooLongForTheEngineIsToldSo)
{
    Finestra w;
    const std::string lunga = std::string(1 << 20, ' ') + "x";
    EXPECT_EQ(w.calcola(testi(lunga, "-1", "1", "st0.1")).stato,
              "Funzione troppo lunga: il testo supera il limite del motore e non viene valutato; "
              "accorciarlo");
    EXPECT_TRUE(w.punti().empty());
    EXPECT_EQ(w.calcola(testi(std::string(1000000, ' ') + "x", "-1", "1", "st0.1")).stato, "");
    EXPECT_EQ(w.punti().size(), 21u);
}

// A refusal and a failure in the same run are both told.
TEST(Stato, RefusalAndFailureTogether)
{
    Finestra w;
    EXPECT_EQ(w.calcola(testi("sin(x", "0", "x")).stato,
              "Funzione rifiutata — Errore 1006: Previsto ')' alla fine del testo · Errore 13: "
              "Tipo non corrispondente — b = \"x\"");
}

// The bell curve typed as Exp(-x^2) is drawn as the language reads it,
// e^((-x)^2), and the status line says so, before anything else to say.
TEST(Stato, AMinusBeforeAPowerIsToldWithTheGraphDrawn)
{
    const std::string avviso = "Attenzione: in questo linguaggio -x^2 vale (−x)², non −x²: "
                               "per −x² si scrive -(x^2) o 0-x^2";
    Finestra w;
    EXPECT_EQ(w.calcola(testi("Exp(-x^2)", "-2", "2", "st0.1")).stato, avviso);
    EXPECT_EQ(w.stato.valoriY[1], std::exp(4.0));
    EXPECT_EQ(w.calcola(testi("Exp(-(x^2))", "-2", "2", "st0.1")).stato, "");
    EXPECT_EQ(w.stato.valoriY[1], std::exp(-4.0));
    EXPECT_EQ(
            w.calcola(testi("-x^2+1/x", "0", "0.2", "st0.1")).stato,
            avviso + " · f non definita in 1 punto su 3 — Errore 11: Divisione per zero in x = 0");
}

TEST(Stato, SamplesThatCouldNotBeEvaluatedAreCounted)
{
    struct Caso
    {
        const char *f, *a, *b;
        const char *stato;
    } casi[] = {
            {"1/x", "0", "0.2",
             "f non definita in 1 punto su 3 — Errore 11: Divisione per zero in x = 0"},
            {"k*x", "-1", "1",
             "f non definita in 21 punti su 21 — Errore 500: Variabile non definita in x = -1"},
            {"1/x", "-1", "1", // the sweep lands on 0 itself
             "f non definita in 1 punto su 21 — Errore 11: Divisione per zero in x = 0"},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.f);
        Finestra w;
        EXPECT_EQ(w.calcola(testi(c.f, c.a, c.b, "st0.1")).stato, c.stato);
        EXPECT_EQ(w.traccia().back().tipo, Operazione::Tipo::Line); // markers drawn
    }
}

TEST(Stato, ClearedByTheNextRunWithNothingToReport)
{
    Finestra w;
    ASSERT_NE(w.calcola(testi("x", "abc", "1")).stato, "");
    const auto esito = w.calcola(testi("x", "-1", "1"));
    EXPECT_EQ(esito.stato, "");
    EXPECT_TRUE(w.stato.intervalloAccettato);
}

} // namespace
} // namespace zelvo
