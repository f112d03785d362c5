#include "tables/EsportaColonne.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

// A field that holds the field separator or a quote is quoted, so a
// spreadsheet reads it back as one field; the clipboard's text never is.
TEST(EsportaColonne, CampiConSeparatoreTraVirgolette)
{
    const RigaTesti intestazione = {"tipo", "x"};
    const std::vector<RigaTesti> righe = {{"zero", "-1,5"}, {"detto \"a; b\"", ""}};
    EXPECT_EQ(csvColonne(intestazione, righe, ','),
              "tipo;x\nzero;-1,5\n\"detto \"\"a; b\"\"\";\n");
    EXPECT_EQ(csvColonne(intestazione, righe, '.'),
              "tipo,x\nzero,\"-1,5\"\n\"detto \"\"a; b\"\"\",\n");
    EXPECT_EQ(testoColonne({}, righe), "zero\t-1,5\ndetto \"a; b\"\t\n");
}

} // namespace
} // namespace zelvo
