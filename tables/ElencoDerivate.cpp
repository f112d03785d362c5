#include "tables/ElencoDerivate.h"

#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Spazzata.h"
#include "tables/EsportaTabella.h"

#include <cmath>
#include <limits>
#include <vector>

namespace zelvo {

namespace {

void numero(std::string &riga, char separatore, double v, char separatoreDecimale)
{
    riga += separatore;
    if (std::isfinite(v)) {
        char testo[kMaxTestoNumero];
        riga.append(testo, scriviNumero(testo, v, separatoreDecimale));
    }
}

} // namespace

TabellaDerivate csvDerivate(const StatoCalcolo &stato, Funzione &funzione,
                            char separatoreDecimale)
{
    const char s = separatoreCampiCsv(separatoreDecimale);
    TabellaDerivate t;
    t.csv = std::string("x") + s + "y" + s + "dy" + s + "d2y\n";
    if (const auto rifiuto = verificaRequisiti(stato, funzione, true, separatoreDecimale)) {
        t.stato = rifiuto->stato;
        return t;
    }
    if (stato.estremoA > stato.estremoB) {
        t.stato = "a > b: nessuna riga scritta";
        return t;
    }
    // Without them, Deriva would evaluate f once more per row for nothing,
    // and a function that draws random numbers would draw them twice.
    const bool conDerivate = funzione.conDerivate();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    PuntiNonDefiniti nonDefiniti;
    std::vector<Derivate> d;
    for (const BloccoSpazzata &blocco :
         SpazzataFunzione(funzione, stato.estremoA, stato.estremoB, stato.passo)) {
        d.resize(blocco.size());
        if (conDerivate)
            funzione.Deriva(blocco.x, d.data());
        for (std::size_t i = 0; i < blocco.size(); ++i) {
            char testo[kMaxTestoNumero];
            t.csv.append(testo, scriviNumero(testo, blocco.x[i], separatoreDecimale));
            if (!nonDefiniti.conta(blocco.x[i], blocco[i])) {
                t.csv.append(3, s).push_back('\n');
                continue;
            }
            numero(t.csv, s, blocco.y[i], separatoreDecimale);
            const bool derivabile = conDerivate && d[i].ok() && d[i].derivabile;
            numero(t.csv, s, derivabile ? d[i].prima : nan, separatoreDecimale);
            numero(t.csv, s, derivabile ? d[i].seconda : nan, separatoreDecimale);
            t.csv += '\n';
        }
    }
    t.stato = nonDefiniti.testo(separatoreDecimale);
    if (!conDerivate)
        t.stato += std::string(t.stato.empty() ? "" : "; ")
                + "derivate esatte non disponibili per questa funzione";
    return t;
}

} // namespace zelvo
