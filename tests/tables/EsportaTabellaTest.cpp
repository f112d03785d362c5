#include "tables/EsportaTabella.h"
#include "engine/Funzione.h"
#include "tables/ElencoValori.h"
#include "tests/support/StatoAccettato.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zelvo {
namespace {

// The rows a list command writes for `espressione` over the state.
ElencoValori elencoDi(const std::string &espressione, const StatoCalcolo &stato, char separatore)
{
    Funzione funzione(separatore);
    funzione.DefinisciFunzione(espressione);
    EXPECT_TRUE(funzione.definita()) << espressione;
    ElencoValori elenco;
    riempiElenco(elenco, stato, funzione, separatore);
    return elenco;
}

// 1/x over -1..1 by 0.5: a negative, a fractional and an undefined point.
TEST(EsportaTabella, DueColonneComeLeRigheLeMostrano)
{
    const struct
    {
        char separatore;
        const char *copia, *csv;
    } casi[] = {
            {'.', "-1\t-1\n-0.5\t-2\n0\tnon definita\n0.5\t2\n1\t1\n",
             "x,y\n-1,-1\n-0.5,-2\n0,\n0.5,2\n1,1\n"},
            {',', "-1\t-1\n-0,5\t-2\n0\tnon definita\n0,5\t2\n1\t1\n",
             "x;y\n-1;-1\n-0,5;-2\n0;\n0,5;2\n1;1\n"},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.separatore);
        const ElencoValori elenco = elencoDi("1/x", accettato(-1, 1, 0.5), caso.separatore);
        ASSERT_EQ(elenco.size(), 5u);
        EXPECT_EQ(testoTabella(elenco), caso.copia);
        EXPECT_EQ(csvTabella(elenco, caso.separatore), caso.csv);
    }
}

TEST(EsportaTabella, ElencoVuotoSoloIntestazione)
{
    const ElencoValori vuoto;
    EXPECT_EQ(testoTabella(vuoto), "");
    EXPECT_EQ(csvTabella(vuoto, ','), "x;y\n");
    EXPECT_EQ(csvTabella(vuoto, '.'), "x,y\n");
}

// The widest interval at the finest step: every one of 202,001 rows becomes
// one line, its two numbers exactly as the row shows them.
TEST(EsportaTabella, DuecentoduemilaRighe)
{
    const ElencoValori elenco = elencoDi("x^3/7", accettato(-10.1, 10.1, 0.0001), ',');
    ASSERT_EQ(elenco.size(), 202001u);
    const std::string csv = csvTabella(elenco, ',');
    ASSERT_EQ(csv.back(), '\n');
    std::istringstream righe(csv);
    std::string linea;
    ASSERT_TRUE(std::getline(righe, linea));
    EXPECT_EQ(linea, "x;y");
    std::size_t i = 0;
    for (; std::getline(righe, linea); ++i) {
        ASSERT_LT(i, elenco.size());
        std::string riga(elenco.riga(i));
        riga.replace(riga.find("   y= "), 6, ";");
        ASSERT_EQ("x = " + linea, riga) << "riga " << i;
    }
    EXPECT_EQ(i, elenco.size());
}

} // namespace
} // namespace zelvo
