#include "tables/ElencoValori.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvo {
namespace {

std::vector<std::string> righe(const ElencoValori &elenco)
{
    std::vector<std::string> tutte;
    for (std::size_t i = 0; i < elenco.size(); ++i)
        tutte.emplace_back(elenco.riga(i));
    return tutte;
}

ElencoValori elencoDi(const std::vector<std::string> &testi)
{
    ElencoValori elenco;
    for (const std::string &t : testi)
        elenco.aggiungi(t);
    return elenco;
}

TEST(ElencoValori, ImpostaSostituisceInPostoOAggiungeInFondo)
{
    ElencoValori elenco = elencoDi({"uno", "due", "tre"});
    EXPECT_TRUE(elenco.imposta(1, "ventidue")); // longer: the rows after it move
    EXPECT_TRUE(elenco.imposta(0, "")); // shorter, down to empty
    EXPECT_TRUE(elenco.imposta(3, "quattro")); // at size(): appended
    EXPECT_FALSE(elenco.imposta(5, "sei")); // past the end: nothing happens
    EXPECT_EQ(righe(elenco), (std::vector<std::string> {"", "ventidue", "tre", "quattro"}));
}

} // namespace
} // namespace zelvo
