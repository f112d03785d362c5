#include "plot/Avanzamento.h"

namespace zelvo {

namespace {

thread_local Avanzamento *corrente = nullptr;
thread_local unsigned chiamate = 0;

} // namespace

AmbitoAvanzamento::AmbitoAvanzamento(Avanzamento &avanzamento) noexcept
    : precedente_(corrente)
{
    corrente = &avanzamento;
}

AmbitoAvanzamento::~AmbitoAvanzamento()
{
    corrente = precedente_;
}

void avanza(double frazione)
{
    if (corrente == nullptr || ++chiamate % 16 != 0)
        return;
    if (!corrente->prosegui(frazione))
        throw Interrotto {};
}

} // namespace zelvo
