#include "plot/Griglia.h"
#include "tests/support/SuperficieRegistrata.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zelvo {
namespace {

std::vector<Operazione> disegnaCornice()
{
    SuperficieRegistrata s;
    DisegnaGriglia(s);
    return s.operazioni;
}

// The frame stated by its counts: 21 vertical lines of 161 dots, 21
// horizontal lines of 154 dots, the two axes.
TEST(DisegnaGriglia, ClearsThenDrawsEveryDotAndBothAxesInOrder)
{
    std::vector<Operazione> attese {opCls()};
    for (int linea = 0; linea < 21; ++linea)
        for (int punto = 0; punto < 161; ++punto)
            attese.push_back(
                    opPSet(static_cast<float>(500 + 322 * linea), static_cast<float>(28 * punto)));
    for (int linea = 0; linea < 21; ++linea)
        for (int punto = 0; punto < 154; ++punto)
            attese.push_back(
                    opPSet(static_cast<float>(500 + 42 * punto), static_cast<float>(224 * linea)));
    attese.push_back(opLine(3720, 4480, 3720, 0));
    attese.push_back(opLine(500, 2240, 6940, 2240));

    EXPECT_EQ(disegnaCornice(), attese);
}

TEST(DisegnaGriglia, LandmarksOfTheFrame)
{
    const auto ops = disegnaCornice();
    ASSERT_EQ(ops.size(), 1u + 6615u + 2u);
    EXPECT_EQ(ops[1], opPSet(500, 0)); // first dot: top left
    EXPECT_EQ(ops[161], opPSet(500, 4480)); // first vertical line ends on the bottom edge
    EXPECT_EQ(ops[3381], opPSet(6940, 4480)); // the rightmost vertical line is complete
    EXPECT_EQ(ops[3382], opPSet(500, 0)); // horizontal lines start again top left
    EXPECT_EQ(ops[3535], opPSet(6926, 0)); // and stop 14 twips short of the right edge
    EXPECT_EQ(ops[6615], opPSet(6926, 4480)); // the bottom horizontal line is drawn
    EXPECT_EQ(ops[6616], opLine(3720, 4480, 3720, 0, coloreTestoPulsante));
    EXPECT_EQ(ops[6617], opLine(500, 2240, 6940, 2240, coloreTestoPulsante));
    EXPECT_TRUE(std::all_of(ops.begin() + 1, ops.end(),
                            [](const Operazione &op) { return op.colore == coloreTestoPulsante; }));
}

// Dots of a horizontal line fall on a vertical grid line only every third division.
TEST(DisegnaGriglia, HorizontalDotsMeetVerticalLinesEveryThirdDivision)
{
    const auto ops = disegnaCornice();
    std::vector<float> incroci;
    for (std::size_t k = 3382; k < 3382 + 154; ++k) {
        const int x = static_cast<int>(ops[k].x1);
        if ((x - 500) % 322 == 0)
            incroci.push_back(ops[k].x1);
    }
    EXPECT_EQ(incroci, (std::vector<float> {500, 1466, 2432, 3398, 4364, 5330, 6296}));
}

} // namespace
} // namespace zelvo
