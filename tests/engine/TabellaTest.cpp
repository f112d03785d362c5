// The fuzzer's dictionary and the guide's list of functions are checked
// against the language's tables: a new operator or built-in cannot be
// forgotten there.

#include "Tabella.h"

#include "engine/Builtin.h"

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

// The names in the first column of the guide's table of functions
// ("| `Sin(x)`, `Cos(x)` | ..."), each once.
std::multiset<std::string> funzioniGuida()
{
    std::ifstream file(ZELVO_SORGENTI "/docs/guida.md");
    std::multiset<std::string> nomi;
    std::string riga;
    bool dentro = false;
    while (std::getline(file, riga)) {
        if (riga.rfind('#', 0) == 0) {
            dentro = riga == "### Funzioni";
            continue;
        }
        if (!dentro || riga.rfind("| `", 0) != 0)
            continue;
        const std::string cella = riga.substr(1, riga.find('|', 1) - 1);
        std::set<std::string> nellaRiga; // Round(x) and Round(x, n) name one function
        for (std::size_t a = cella.find('`'); a != std::string::npos;) {
            const std::size_t b = cella.find('`', a + 1);
            const std::string voce = cella.substr(a + 1, b - a - 1);
            nellaRiga.insert(voce.substr(0, voce.find('(')));
            a = cella.find('`', b + 1);
        }
        nomi.insert(nellaRiga.begin(), nellaRiga.end());
    }
    return nomi;
}

TEST(EngineTabella, TheGuideListsEveryBuiltinOnce)
{
    const std::multiset<std::string> guida = funzioniGuida();
    ASSERT_FALSE(guida.empty());
    std::set<std::string> tabella;
    for (const Builtin &b : tuttiBuiltin()) {
        tabella.insert(std::string(b.nome));
        EXPECT_EQ(guida.count(std::string(b.nome)), 1u) << b.nome;
    }
    for (const std::string &nome : guida)
        EXPECT_TRUE(tabella.count(nome)) << nome << " is in the guide, not in the table";
}

} // namespace
} // namespace zelvo
