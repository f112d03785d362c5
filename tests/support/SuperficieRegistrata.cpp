#include "tests/support/SuperficieRegistrata.h"

namespace zelvo {

Operazione opCls()
{
    return {};
}

Operazione opPSet(float x, float y, Colore colore)
{
    return {Operazione::Tipo::PSet, x, y, 0, 0, colore};
}

Operazione opLine(float x1, float y1, float x2, float y2, Colore colore)
{
    return {Operazione::Tipo::Line, x1, y1, x2, y2, colore};
}

std::ostream &operator<<(std::ostream &os, const Operazione &op)
{
    switch (op.tipo) {
    case Operazione::Tipo::Cls:
        return os << "Cls";
    case Operazione::Tipo::PSet:
        return os << "PSet (" << op.x1 << ", " << op.y1 << ") " << op.colore;
    case Operazione::Tipo::Line:
        return os << "Line (" << op.x1 << ", " << op.y1 << ")-(" << op.x2 << ", " << op.y2 << ") "
                  << op.colore;
    }
    return os;
}

void SuperficieRegistrata::cancella()
{
    operazioni.push_back(opCls());
}

void SuperficieRegistrata::punto(float x, float y, Colore colore)
{
    operazioni.push_back(opPSet(x, y, colore));
}

void SuperficieRegistrata::linea(float x1, float y1, float x2, float y2, Colore colore)
{
    operazioni.push_back(opLine(x1, y1, x2, y2, colore));
}

} // namespace zelvo
