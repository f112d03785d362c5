// Arbitrary text as the user's expression and as a whole script: nothing may
// crash, hang or leak, the compiled programs must agree with the reference
// evaluator on every value, subtype and error (and on the Double a sample
// takes), and a block of x with one x at a time.

#include "Riferimento.h"

#include "engine/Funzione.h"
#include "engine/ScriptControl.h"
#include "tests/engine/ProvaScriptControl.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

namespace {

constexpr double kX[] = {-10.1, -1, 0, 0.5, 3, 1e300};

// Fresh engines for the same script, one per evaluator and one for the
// Doubles a sweep takes, so each sees the same sequence of Rnd values.
void confronta(std::string_view sorgente, char separatore)
{
    zelvo::ScriptControl compilato(separatore);
    zelvo::ScriptControl doppio(separatore);
    zelvo::riferimento::Riferimento albero(separatore);
    const zelvo::ErroreScript e1 = compilato.AddCode(sorgente);
    const zelvo::ErroreScript e2 = albero.AddCode(sorgente);
    if (e1.numero != e2.numero || e1.posizione != e2.posizione)
        std::abort();
    if (e1.numero != 0)
        return;
    doppio.AddCode(sorgente);
    for (double x : kX) {
        const zelvo::Valore argomento = zelvo::Valore::doppio(x);
        zelvo::Valore r1, r2;
        const int c1 = zelvo::ProvaScriptControl::Run(compilato, "F", {&argomento, 1}, r1);
        const int c2 = albero.Run("F", {&argomento, 1}, r2);
        if (c1 != c2 || r1.tipo != r2.tipo || r1.testo != r2.testo
            || std::bit_cast<std::uint64_t>(r1.numero) != std::bit_cast<std::uint64_t>(r2.numero))
            std::abort();
        // The Double of a sample: the reference Variant's, converted.
        double atteso = 0;
        const zelvo::Valutazione d = zelvo::ProvaScriptControl::Valuta(doppio, "F", x);
        const int c4 = c2 != 0 ? c2 : zelvo::aDouble(r2, separatore, atteso);
        if (d.errore != c4
            || (c4 == 0
                && std::bit_cast<std::uint64_t>(d.valore) != std::bit_cast<std::uint64_t>(atteso)))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dati, std::size_t dimensione)
{
    const std::string_view testo(reinterpret_cast<const char *>(dati), dimensione);
    const char separatore = dimensione > 0 && (dati[0] & 1) ? ',' : '.';

    zelvo::Funzione f(separatore);
    f.DefinisciFunzione(testo);
    for (double x : kX) {
        const zelvo::Valutazione v = f.Valuta(x);
        if (v.errore != 0 && v.valore != 0)
            std::abort(); // a failure reads as 0
        if (v.errore == 0 && !std::isfinite(v.valore))
            std::abort(); // no value is ever infinite or NaN
    }
    // A block of x at once gives what one x at a time gives (a function
    // without Rnd: with it, the values differ by design).
    if (f.senzaStato()) {
        double y[std::size(kX)];
        int errori[std::size(kX)];
        const std::size_t falliti = f.Valuta(kX, y, errori);
        std::size_t attesi = 0;
        for (std::size_t i = 0; i < std::size(kX); ++i) {
            const zelvo::Valutazione v = f.Valuta(kX[i]);
            attesi += !v.ok();
            if (errori[i] != v.errore
                || std::bit_cast<std::uint64_t>(y[i]) != std::bit_cast<std::uint64_t>(v.valore))
                std::abort();
        }
        if (falliti != attesi)
            std::abort();
    }

    confronta("Option Explicit\r\nFunction F(x)\r\nF=" + std::string(testo) + "\r\nEnd Function",
              separatore);
    confronta(testo, separatore);
    return 0;
}
