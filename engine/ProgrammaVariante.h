#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvo {

// Any function as a postfix program over Variants that calls the very
// operations of the reference evaluator, in the same order, so both give
// the same value, subtype and error.
class ProgrammaVariante
{
public:
    void compila(const Script &s);

    // Runs the function with `argomenti` (as many as its parameters).
    int esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c);

private:
    enum class Op : std::uint8_t {
        Costante, // push costanti_[a]
        Carica, // push slot a
        Binaria, // pop b, pop a, push a op b
        Unaria, // pop a, push op a
        Chiamata, // pop b arguments, push builtin a (them)
        Ricorsione, // pop b arguments, push F(them)
        Errore, // pop b arguments, raise a
        Assegna, // pop into slot a
        Solleva, // raise a (after an assignment's expression: 500, 501)
        LeggiErr, // push Err.Number (a 0) or Err.Description (a 1)
        Gestione, // On Error: Resume Next (a 1) or GoTo 0 (a 0); clears Err
        AzzeraErr, // Err.Clear
        Esci, // Exit Function
    };

    struct Passo
    {
        Op op;
        Operatore operatore = Operatore::Somma;
        Letterale la = Letterale::No;
        Letterale lb = Letterale::No;
        int a = 0;
        int b = 0;
    };

    void emetti(const Script &s, int k);
    int chiama(std::size_t base, Valore &r, ContestoEsecuzione &c);

    std::vector<Passo> passi_;
    // For each step, the first step of the statement after its own: where a
    // call under On Error Resume Next goes on after the step fails.
    std::vector<std::uint32_t> prossima_;
    std::vector<Valore> pila_; // every running call's arguments, slots and operands
    std::vector<std::size_t> basi_; // where each running call's arguments start
    std::vector<Valore> costanti_;
    int parametri_ = 0;
    int slot_ = 1;
    int limiteChiamate_ = 1;
    bool ripetibile_ = true; // Script::ripetibile
};

} // namespace zelvo
