#pragma once

namespace zelvo {

// What long work throws when the user asked it to stop (Esc): it unwinds the
// command, which then says "Interrotto".
struct Interrotto
{
};

// The window's side of long work: told now and then how far the work is,
// it shows that and says whether to go on. The window installs one for the
// length of a command (AmbitoAvanzamento); without one, work never stops.
class Avanzamento
{
public:
    virtual ~Avanzamento() = default;

    // frazione: the part done, 0 to 1, or NaN when unknown. False: stop.
    virtual bool prosegui(double frazione) = 0;
};

// Installs an Avanzamento for its own lifetime (on this thread).
class AmbitoAvanzamento
{
public:
    explicit AmbitoAvanzamento(Avanzamento &avanzamento) noexcept;
    ~AmbitoAvanzamento();
    AmbitoAvanzamento(const AmbitoAvanzamento &) = delete;
    AmbitoAvanzamento &operator=(const AmbitoAvanzamento &) = delete;

private:
    Avanzamento *precedente_;
};

// Called by long work (the sweeps, the study, the integral) every sample or
// block with how far it is: every 16th call asks the installed Avanzamento,
// and throws Interrotto when it says stop. Nothing at all without one.
void avanza(double frazione);

} // namespace zelvo
