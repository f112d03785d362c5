#pragma once

#include "plot/Superficie.h"

#include <ostream>
#include <vector>

namespace zelvo {

// One drawing operation as the plot issued it.
struct Operazione
{
    enum class Tipo { Cls, PSet, Line };

    Tipo tipo = Tipo::Cls;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0; // PSet uses x1, y1
    Colore colore = coloreTestoPulsante;

    friend bool operator==(const Operazione &, const Operazione &) = default;
};

Operazione opCls();
Operazione opPSet(float x, float y, Colore colore = coloreTestoPulsante);
Operazione opLine(float x1, float y1, float x2, float y2, Colore colore = coloreTestoPulsante);

std::ostream &operator<<(std::ostream &os, const Operazione &op);

// A surface that draws nothing and lists every operation, in order, with its
// exact twips and colour: what the tests compare against.
class SuperficieRegistrata : public Superficie
{
public:
    std::vector<Operazione> operazioni;

protected:
    void cancella() override;
    void punto(float x, float y, Colore colore) override;
    void linea(float x1, float y1, float x2, float y2, Colore colore) override;
};

} // namespace zelvo
