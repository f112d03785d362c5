// Random expressions over the whole language, run by the compiled programs
// and by the reference evaluator: value, subtype and error must agree to
// the bit at every x, and so must the Double a sample takes.

#include "Tabella.h"
#include "Valutazione.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <string>

namespace zelvo {
namespace {

class Generatore
{
public:
    explicit Generatore(std::uint64_t seme)
        : g_(seme)
    { }

    std::string espressione(int profondita)
    {
        if (profondita == 0 || scegli(4) == 0)
            return foglia();
        switch (scegli(4)) {
        case 0:
            return "(" + espressione(profondita - 1) + ")";
        case 1:
            return kUnari[scegli(kUnari.size())] + espressione(profondita - 1);
        case 2:
            return funzione(profondita);
        default:
            return espressione(profondita - 1) + kBinari[scegli(kBinari.size())]
                    + espressione(profondita - 1);
        }
    }

private:
    // The operators and the built-ins of numbers from the language's tables.
    inline static const std::vector<std::string> kUnari = prova::operatoriPrefissi();
    inline static const std::vector<std::string> kBinari = prova::operatoriBinari();
    static constexpr std::array<const char *, 24> kFoglie {
            "x",    "x",       "x",      "0",          "1",          "2",
            "3",    "0.5",     "-1",     "32767",      "2147483647", "1e308",
            "True", "False",   "Empty",  "Null",       "\"12\"",     "\"a\"",
            "\"\"", "\"1.5\"", "&HFFFF", "CByte(200)", "CSng(0.1)",  "vbRed"};
    // The built-ins the numeric program does not compute, of one argument.
    static constexpr std::array<const char *, 12> kAltreFunzioni {
            "CByte",  "CSng",      "CStr",    "Hex",      "Oct", "IsEmpty",
            "IsNull", "IsNumeric", "VarType", "TypeName", "Len", "LCase"};
    inline static const std::vector<prova::FunzioneNumerica> kFunzioni = prova::funzioniNumeriche();

    std::size_t scegli(std::size_t n)
    {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(g_);
    }

    std::string foglia() { return kFoglie[scegli(kFoglie.size())]; }

    std::string funzione(int profondita)
    {
        switch (scegli(6)) {
        case 0:
            return "Left(" + espressione(profondita - 1) + ", " + espressione(profondita - 1) + ")";
        case 1:
            return "Mid(" + espressione(profondita - 1) + ", 1, " + espressione(profondita - 1)
                    + ")";
        case 2:
            return "InStr(" + espressione(profondita - 1) + ", " + espressione(profondita - 1)
                    + ")";
        case 3:
            return std::string(kAltreFunzioni[scegli(kAltreFunzioni.size())]) + "("
                    + espressione(profondita - 1) + ")";
        default: {
            const prova::FunzioneNumerica &f = kFunzioni[scegli(kFunzioni.size())];
            std::string t = std::string(f.nome) + "(" + espressione(profondita - 1);
            for (int i = 1; i < f.argomenti; ++i)
                t += ", " + espressione(profondita - 1);
            return t + ")";
        }
        }
    }

    std::mt19937_64 g_;
};

TEST(EngineDifferenziale, RandomExpressionsAgreeInBothEvaluators)
{
    Generatore gen(20261210);
    int valutate = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string e = gen.espressione(4);
        for (double x : {-2.5, -1.0, 0.0, 0.5, 3.0, 1e10}) {
            const prova::Esito a = prova::valuta(e, x, false);
            const prova::Esito b = prova::valuta(e, x, true);
            ASSERT_EQ(a.errore, b.errore) << e << " @x=" << x;
            ASSERT_EQ(a.valore.tipo, b.valore.tipo) << e << " @x=" << x;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a.valore.numero),
                      std::bit_cast<std::uint64_t>(b.valore.numero))
                    << e << " @x=" << x;
            ASSERT_EQ(a.valore.testo, b.valore.testo) << e << " @x=" << x;
            const Valutazione doppio = prova::valutaDouble(e, x);
            const Valutazione atteso = prova::attesoDouble(b);
            ASSERT_EQ(doppio.errore, atteso.errore) << e << " @x=" << x;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(doppio.valore),
                      std::bit_cast<std::uint64_t>(atteso.valore))
                    << e << " @x=" << x;
            valutate += a.errore == 0;
        }
    }
    EXPECT_GT(valutate, 3000); // most rows evaluate, so values are compared, not just errors
}

} // namespace
} // namespace zelvo
