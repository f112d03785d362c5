#pragma once

#include "tables/ElencoValori.h"

#include <string>

namespace zelvo {

// A list's rows as two columns, x and y, with their texts exactly as the rows
// show them: the list is taken apart again, never recomputed.

// The text "Copia tabella" puts on the clipboard: every row as x, a tab and y,
// each ended by "\n", so that a paste into a spreadsheet fills two columns.
// An undefined point keeps the y its row shows ("non definita").
std::string testoTabella(const ElencoValori &elenco);

// The field separator of a CSV file beside numbers written with
// `separatoreDecimale`: ';' where the decimal separator is the comma, ','
// where it is the point, as spreadsheets of either locale expect.
char separatoreCampiCsv(char separatoreDecimale) noexcept;

// The table as a CSV file, UTF-8: the header "x;y" (or "x,y"), then one line
// per row, every line ended by "\n". An undefined point has an empty y field.
std::string csvTabella(const ElencoValori &elenco, char separatoreDecimale);

} // namespace zelvo
