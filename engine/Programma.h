#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvo {

// The compiled form of a script's function, built once by AddCode.
//
// A function made of the single assignment F = <expression>, whose
// expression is certainly a Double (x, numeric constants, + - * / ^, signs
// and the Double functions), becomes a numeric program: a vector of
// register instructions over doubles, with no Variant, no allocation and no
// exception. Any other function becomes a postfix program over Variants
// that calls the very operations of the reference evaluator, in the same
// order, so both give the same value, subtype and error.
class Programma
{
public:
    void compila(const Script &s);

    // True when the function runs on the numeric program.
    bool numerico() const noexcept { return numerico_; }

    // Runs the function (any script, any arguments): the numeric program
    // when it exists and the argument is a finite Double, else the Variant one.
    int esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c);

    // Runs the numeric program at x; only when numerico().
    int eseguiNumerico(double x, double &r) noexcept;

private:
    // ---- numeric program ----
    enum class OpNumerica : std::uint8_t {
        Somma,
        Differenza,
        Prodotto,
        Quoziente,
        Potenza,
        Meno,
        Funzione,
    };

    // registri_[risultato] = a op b; registers 0 (x) and the constants come
    // first, every instruction writes the next register.
    struct PassoNumerico
    {
        OpNumerica op;
        std::uint32_t a;
        std::uint32_t b;
        FunzioneDouble funzione;
    };

    bool compilaNumerico(const Script &s);
    std::uint32_t emettiNumerico(const Script &s, int k);

    // ---- Variant program ----
    enum class OpVariante : std::uint8_t {
        Costante,   // push costanti_[a]
        Carica,     // push slot a
        Binaria,    // pop b, pop a, push a op b
        Unaria,     // pop a, push op a
        Chiamata,   // pop b arguments, push builtin a (them)
        Ricorsione, // pop b arguments, push F(them)
        Errore,     // pop b arguments, raise a
        Assegna,    // pop into slot a
        Solleva,    // raise a (after an assignment's expression: 500, 501)
    };

    struct PassoVariante
    {
        OpVariante op;
        Operatore operatore = Operatore::Somma;
        Letterale la = Letterale::No;
        Letterale lb = Letterale::No;
        int a = 0;
        int b = 0;
    };

    void emettiVariante(const Script &s, int k);
    int eseguiVariante(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c,
                       int &chiamate) const;

    bool numerico_ = false;
    std::vector<PassoNumerico> numerici_;
    std::vector<double> registri_;
    std::vector<std::uint32_t> registroCostante_; // node -> register of its constant
    std::uint32_t primoRisultato_ = 0;

    std::vector<PassoVariante> varianti_;
    std::vector<Valore> costanti_;
    int parametri_ = 0;
    int slot_ = 1;
    int limiteChiamate_ = 1;
};

} // namespace zelvo
