#include "tables/EsportaColonne.h"

#include "tables/EsportaTabella.h"

#include <string_view>

namespace zelvo {

namespace {

void campo(std::string &testo, std::string_view c, char separatore, bool csv)
{
    if (!csv || c.find_first_of(std::string {separatore, '"', '\n', '\r'}) == std::string::npos) {
        testo += c;
        return;
    }
    testo += '"';
    for (const char k : c) {
        if (k == '"')
            testo += '"';
        testo += k;
    }
    testo += '"';
}

std::string tabella(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe,
                    char separatore, bool csv)
{
    std::string testo;
    const auto riga = [&](const RigaTesti &r) {
        for (std::size_t i = 0; i < r.size(); ++i) {
            if (i > 0)
                testo += separatore;
            campo(testo, r[i], separatore, csv);
        }
        testo += '\n';
    };
    if (!intestazione.empty())
        riga(intestazione);
    for (const RigaTesti &r : righe)
        riga(r);
    return testo;
}

} // namespace

std::string testoColonne(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe)
{
    return tabella(intestazione, righe, '\t', false);
}

std::string csvColonne(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe,
                       char separatoreDecimale)
{
    return tabella(intestazione, righe, separatoreCampiCsv(separatoreDecimale), true);
}

} // namespace zelvo
