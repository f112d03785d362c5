// The fuzzer's dictionary is checked against the language's tables: a new
// operator or built-in of numbers cannot be forgotten there.

#include "Tabella.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace zelvo {
namespace {

// The dictionary's entries, unquoted, with \\ and \" read as libFuzzer reads them.
std::set<std::string> vociDizionario()
{
    std::ifstream file(ZELVO_SORGENTI "/fuzz/funzione.dict");
    std::set<std::string> voci;
    std::string riga;
    while (std::getline(file, riga)) {
        if (riga.size() < 2 || riga.front() != '"' || riga.back() != '"')
            continue;
        std::string voce;
        for (std::size_t i = 1; i + 1 < riga.size(); ++i) {
            if (riga[i] == '\\' && (riga[i + 1] == '\\' || riga[i + 1] == '"'))
                ++i;
            voce += riga[i];
        }
        voci.insert(voce);
    }
    return voci;
}

TEST(EngineTabella, TheFuzzerDictionaryHoldsEveryOperatorAndBuiltinOfNumbers)
{
    const std::set<std::string> voci = vociDizionario();
    ASSERT_FALSE(voci.empty());
    for (const RigaOperatore &r : kOperatori) {
        EXPECT_TRUE(voci.count(std::string(r.testo))) << r.testo;
        if (!r.altro.empty()) {
            EXPECT_TRUE(voci.count(std::string(r.altro))) << r.altro;
        }
    }
    for (const prova::FunzioneNumerica &f : prova::funzioniNumeriche())
        EXPECT_TRUE(voci.count(std::string(f.nome) + "(")) << f.nome;
}

} // namespace
} // namespace zelvo
