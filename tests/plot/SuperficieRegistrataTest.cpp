#include "tests/support/SuperficieRegistrata.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

TEST(SuperficieRegistrata, ListsOperationsInOrderWithForegroundByDefault)
{
    SuperficieRegistrata s;
    s.Cls();
    s.PSet(500, 0);
    s.PSet(4364, 1568, coloreRosso);
    s.Line(3720, 4480, 3720, 0);
    s.Line(500, 4480, 500, 0, coloreMagenta);
    const std::vector<Operazione> expected {
            opCls(), opPSet(500, 0, coloreTestoPulsante), opPSet(4364, 1568, 255),
            opLine(3720, 4480, 3720, 0, coloreTestoPulsante), opLine(500, 4480, 500, 0, 16711935)};
    EXPECT_EQ(s.operazioni, expected);
}

} // namespace
} // namespace zelvo
