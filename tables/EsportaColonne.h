#pragma once

#include <string>
#include <vector>

namespace zelvo {

// A table of texts by columns, as "Copia tabella" and "Salva tabella…" give
// it: for tables whose rows are not a value list's "x = ...   y= ..." rows.
using RigaTesti = std::vector<std::string>;

// Tab-separated, every line ended by "\n", the header first (none when it is
// empty): a paste into a spreadsheet fills the columns.
std::string testoColonne(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe);

// A CSV file, UTF-8, the header first, fields separated as the value lists'
// files are (';' beside a decimal comma, ',' beside a point), every line
// ended by "\n". A field holding the separator, a double quote or a line
// break is quoted, its quotes doubled.
std::string csvColonne(const RigaTesti &intestazione, const std::vector<RigaTesti> &righe,
                       char separatoreDecimale);

} // namespace zelvo
