#include "tables/EsportaTabella.h"

#include "plot/Spazzata.h"

#include <string_view>

namespace zelvo {

namespace {

struct Colonne
{
    std::string_view x, y;
};

// A row's two texts. A row of another shape (none is written so) keeps its
// whole text as x and an empty y, rather than losing anything.
Colonne colonne(std::string_view riga) noexcept
{
    if (!riga.starts_with(kPrimaDiX))
        return {riga, {}};
    riga.remove_prefix(kPrimaDiX.size());
    const std::size_t tra = riga.find(kPrimaDiY);
    if (tra == std::string_view::npos)
        return {riga, {}};
    return {riga.substr(0, tra), riga.substr(tra + kPrimaDiY.size())};
}

// Every row as x, `separatore`, y and "\n", after `intestazione`; `yVuota`
// stands for the y of an undefined point. One allocation for the whole text.
std::string tabella(const ElencoValori &elenco, std::string_view intestazione, char separatore,
                    std::string_view yVuota)
{
    std::size_t lunghezza = intestazione.size();
    for (std::size_t i = 0; i < elenco.size(); ++i)
        lunghezza += elenco.riga(i).size() + 2;
    std::string testo;
    testo.reserve(lunghezza);
    testo += intestazione;
    for (std::size_t i = 0; i < elenco.size(); ++i) {
        const Colonne c = colonne(elenco.riga(i));
        testo += c.x;
        testo += separatore;
        testo += c.y == kNonDefinita ? yVuota : c.y;
        testo += '\n';
    }
    return testo;
}

} // namespace

std::string testoTabella(const ElencoValori &elenco)
{
    return tabella(elenco, {}, '\t', kNonDefinita);
}

char separatoreCampiCsv(char separatoreDecimale) noexcept
{
    return separatoreDecimale == ',' ? ';' : ',';
}

std::string csvTabella(const ElencoValori &elenco, char separatoreDecimale)
{
    const char separatore = separatoreCampiCsv(separatoreDecimale);
    const char intestazione[] = {'x', separatore, 'y', '\n'};
    return tabella(elenco, std::string_view(intestazione, sizeof intestazione), separatore, {});
}

} // namespace zelvo
