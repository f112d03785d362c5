#include "engine/Funzione.h"
#include "tables/ElencoValori.h"
#include "tests/support/StatoAccettato.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvo {
namespace {

class Elenco : public ::testing::Test
{
protected:
    // Fills `elenco` with f = `espressione` over the state; returns the status line.
    std::string riempi(const std::string &espressione, const StatoCalcolo &stato,
                       char separatore = ',')
    {
        funzione.DefinisciFunzione(espressione);
        EXPECT_TRUE(funzione.definita()) << espressione;
        const EsitoElenco esito = riempiElenco(elenco, stato, funzione, separatore);
        return esito.stato;
    }
    std::vector<std::string> righe() const
    {
        std::vector<std::string> tutte;
        for (std::size_t i = 0; i < elenco.size(); ++i)
            tutte.emplace_back(elenco.riga(i));
        return tutte;
    }
    Funzione funzione {','};
    ElencoValori elenco;
};

// One row for each x as a person writes it: 0 is 0, and b is the last row.
TEST_F(Elenco, UnaRigaPerCampioneConXComeSiScrive)
{
    EXPECT_EQ(riempi("x", accettato(-10, 10, 0.1)), "");
    ASSERT_EQ(elenco.size(), 201u);
    EXPECT_EQ(elenco.riga(0), "x = -10   y= -10");
    EXPECT_EQ(elenco.riga(100), "x = 0   y= 0");
    EXPECT_EQ(elenco.riga(173), "x = 7,3   y= 7,3");
    EXPECT_EQ(elenco.riga(200), "x = 10   y= 10");

    const std::vector<std::string> prima = righe(); // pressed again: the same rows
    riempi("x", accettato(-10, 10, 0.1));
    EXPECT_EQ(righe(), prima);
}

TEST_F(Elenco, PassoFineVentimilaRighe)
{
    riempi("x^2", accettato(-10, 10, 0.001));
    ASSERT_EQ(elenco.size(), 20001u);
    EXPECT_EQ(elenco.riga(0), "x = -10   y= 100");
    EXPECT_EQ(elenco.riga(10000), "x = 0   y= 0");
    EXPECT_EQ(elenco.riga(20000), "x = 10   y= 100");
}

TEST_F(Elenco, LaRadiceDaMenoZeroTreAZeroTre)
{
    for (const char separatore : {',', '.'}) {
        const auto n = [separatore](std::string t) {
            for (char &c : t)
                if (c == ',')
                    c = separatore;
            return t;
        };
        EXPECT_EQ(riempi("Sqr(x)", accettato(-0.3, 0.3, 0.1), separatore),
                  "f non definita in 3 punti su 7 — Errore 5: Chiamata di routine o argomento "
                  "non validi in x = "
                          + n("-0,3"));
        EXPECT_EQ(righe(),
                  (std::vector<std::string> {
                          n("x = -0,3   y= non definita"),
                          n("x = -0,2   y= non definita"),
                          n("x = -0,1   y= non definita"),
                          "x = 0   y= 0",
                          n("x = 0,1   y= 0,316227766016838"),
                          n("x = 0,2   y= 0,447213595499958"),
                          n("x = 0,3   y= 0,547722557505166"),
                  }));
        riempi("Sqr(x)", accettato(-2, 2, 0.1), separatore);
        ASSERT_EQ(elenco.size(), 41u);
        EXPECT_EQ(elenco.riga(20), "x = 0   y= 0");
        EXPECT_EQ(elenco.riga(40), n("x = 2   y= 1,4142135623731"));
    }
}

TEST_F(Elenco, OgniRigaDiUnoSweepAmpioCiSta)
{
    riempi("1", accettato(-10.1, 10.1, 0.0001));
    ASSERT_EQ(elenco.size(), 202001u); // far past 32,768
    EXPECT_EQ(elenco.riga(202000), "x = 10,1   y= 1");
}

TEST_F(Elenco, AUgualeBUnaRigaSola)
{
    riempi("x^2", accettato(2, 2, 0.1), '.');
    EXPECT_EQ(righe(), (std::vector<std::string> {"x = 2   y= 4"}));
    riempi("x/4", accettato(2.5, 2.5, 0.1), '.');
    EXPECT_EQ(righe(), (std::vector<std::string> {"x = 2.5   y= 0.625"}));
}

TEST_F(Elenco, UnaCorsaPiuCortaSostituisceTutteLeRighe)
{
    riempi("x", accettato(0, 0.35, 0.1));
    riempi("10*x", accettato(0, 0.1, 0.1));
    EXPECT_EQ(righe(), (std::vector<std::string> {"x = 0   y= 0", "x = 0,1   y= 1"}));
}

TEST_F(Elenco, PuntiNonDefinitiNonSonoZero)
{
    EXPECT_EQ(riempi("Sqr(x)", accettato(-0.2, 0.2, 0.1)),
              "f non definita in 2 punti su 5 — Errore 5: Chiamata di routine o argomento non "
              "validi in "
              "x = -0,2");
    EXPECT_EQ(righe(),
              (std::vector<std::string> {"x = -0,2   y= non definita", "x = -0,1   y= non definita",
                                         "x = 0   y= 0", "x = 0,1   y= 0,316227766016838",
                                         "x = 0,2   y= 0,447213595499958"}));
}

// A run that samples nothing leaves the list empty: no row of an earlier run
// stays beside a result that is not its own.
TEST_F(Elenco, SenzaCampioniLElencoSiSvuota)
{
    struct Caso
    {
        StatoCalcolo stato;
        const char *messaggio;
    } casi[] = {
            {accettato(1, -1, 0.1), "a > b: nessuna riga scritta"},
            {StatoCalcolo {}, // nothing accepted yet: a = b = 0, step 0
             "Intervallo non accettato: a e b devono essere numeri tra -10,1 e 10,1"},
            {accettato(-1, 1, 0), "Passo non valido: scegliere il passo"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.messaggio);
        riempi("x", accettato(0, 0.1, 0.1));
        ASSERT_EQ(elenco.size(), 2u);
        EXPECT_EQ(riempi("x*2", c.stato), c.messaggio);
        EXPECT_EQ(elenco.size(), 0u);
    }
}

} // namespace
} // namespace zelvo
