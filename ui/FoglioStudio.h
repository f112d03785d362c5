#pragma once

#include "analysis/Scuola.h"
#include "analysis/Studio.h"
#include "plot/Calcolo.h"
#include "tables/EsportaColonne.h"
#include "ui/TabellaStudio.h"

#include <QImage>

#include <string>
#include <vector>

class QIODevice;
class QPagedPaintDevice;

namespace zelvo {

// The graph on the sheet, and what a division of its grid is worth.
struct GraficoFoglio
{
    QImage immagine; // the plot frame with the study marked; none when null
    std::string didascalia; // "Una divisione vale 1 sull'asse x e 0,1 sull'asse y"
};

// The study on paper: a sheet to hand in or print. Its table is given as
// texts, so it shows whatever columns the window's table has.
struct FoglioStudio
{
    std::string funzione; // as typed
    std::string a, b; // the interval's ends, as the window writes them
    GraficoFoglio grafico;
    RigaTesti intestazione;
    std::vector<RigaTesti> righe;
    SchemaStudio schema;
    std::vector<std::string> note;
};

// A4 portrait with margins of 2 cm: set before a print dialog, so that it
// offers the sheet's paper.
void impostaPaginaFoglio(QPagedPaintDevice &dispositivo);

// The sheet on the pages of `dispositivo` (a QPrinter, a QPdfWriter), in
// Italian: "Studio della funzione", "Y = f" (a long text wraps, never cut),
// "a = A    b = B", the graph as wide as the page, the features table (its
// columns as wide as their texts, its header repeated on every page), the
// sign chart (in bands as wide as the page), the notes, and "Pagina N di M"
// at the foot of each page. Every text is text, so a PDF's can be selected
// and searched. False when the device cannot be painted on.
bool stampaFoglio(const FoglioStudio &foglio, QPagedPaintDevice &dispositivo);

// The sheet as a PDF on A4, written to `file` (open for writing).
bool scriviPdfFoglio(const FoglioStudio &foglio, QIODevice &file);

// The first page as the PDF shows it, at `dpi` pixels an inch, on white.
QImage primaPaginaFoglio(const FoglioStudio &foglio, int dpi);

// The sheet's graph: the plot frame as "Grafico" draws `testi`, on white,
// twice as dense as the screen (the paper is), with the study and the
// course's features marked as "Segna i punti sul grafico" marks them.
GraficoFoglio graficoFoglio(const TestiCalcolo &testi, char separatoreDecimale,
                            const Studio &studio, const Scuola &scuola);

} // namespace zelvo
