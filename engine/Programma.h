#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"
#include "engine/Numerico.h"

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

    // Runs the numeric program at x (finite); only when numerico().
    // Inlined into the one caller of every sample, so a sample costs a
    // single call.
    [[gnu::always_inline]] inline int eseguiNumerico(double x, double &r) noexcept;

private:
    // ---- numeric program ----
    enum class OpNumerica : std::uint8_t {
        Somma,
        Differenza,
        Prodotto,
        Quoziente,
        Potenza,
        Quadrato, // ^ 2
        Cubo, // ^ 3
        CuboFma, // ^ 3 on a processor with fused multiply-add
        Meno,
        Abs,
        Atn,
        Cos,
        Exp,
        Fix,
        Int,
        Log,
        Sin,
        Sqr,
        Tan,
    };

    // registri_[risultato] = a op b; register 0 holds x, the constants
    // follow, then every instruction writes the next register.
    struct PassoNumerico
    {
        OpNumerica op;
        std::uint32_t a;
        std::uint32_t b;
        bool aPrecedente; // a is the previous instruction's result
    };

    bool compilaNumerico(const Script &s);
    static std::vector<char> nodiNumerici(const Script &s);
    static OpNumerica opBinaria(Operatore op);
    static bool opFunzione(FunzioneDouble f, OpNumerica &op);
    std::uint32_t emettiNumerico(const Script &s, int k);

    // ---- Variant program ----
    enum class OpVariante : std::uint8_t {
        Costante, // push costanti_[a]
        Carica, // push slot a
        Binaria, // pop b, pop a, push a op b
        Unaria, // pop a, push op a
        Chiamata, // pop b arguments, push builtin a (them)
        Ricorsione, // pop b arguments, push F(them)
        Errore, // pop b arguments, raise a
        Assegna, // pop into slot a
        Solleva, // raise a (after an assignment's expression: 500, 501)
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
                       int &chiamate);

    // The variables and the operand stack of one call.
    struct Cornice
    {
        std::vector<Valore> slot;
        std::vector<Valore> pila;
    };

    bool numerico_ = false;
    std::vector<PassoNumerico> numerici_;
    std::vector<double> registri_;
    std::vector<std::uint32_t> registroCostante_; // node -> register of its constant
    std::uint32_t primoRisultato_ = 0;
    std::uint32_t risultato_ = 0; // the register of F's value

    std::vector<PassoVariante> varianti_;
    Cornice cornice_; // the outermost call's, kept between runs
    std::vector<Valore> costanti_;
    int parametri_ = 0;
    int slot_ = 1;
    int limiteChiamate_ = 1;
};

[[gnu::always_inline]] inline int Programma::eseguiNumerico(double x, double &r) noexcept
{
    using reale::finito;
    double *const reg = registri_.data();
    reg[0] = x;
    double *out = reg + primoRisultato_;
    double precedente = 0; // the last result, also kept in a register
    for (const PassoNumerico &p : numerici_) {
        const double a = p.aPrecedente ? precedente : reg[p.a];
        double v = 0;
        int e = Nessuno;
        switch (p.op) {
        case OpNumerica::Somma:
            v = a + reg[p.b];
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Differenza:
            v = a - reg[p.b];
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Prodotto:
            v = a * reg[p.b];
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Quoziente:
            e = reale::quoziente(a, reg[p.b], v);
            break;
        case OpNumerica::Potenza:
            e = reale::potenza(a, reg[p.b], v);
            break;
        case OpNumerica::Quadrato:
            v = reale::quadrato(a);
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Cubo:
            v = reale::cubo(a);
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::CuboFma:
#ifdef ZELVO_CUBO_FMA
            v = reale::cuboFma(a);
#else
            v = reale::cubo(a);
#endif
            e = finito(v) ? Nessuno : ErroreOverflow;
            break;
        case OpNumerica::Meno:
            v = -a;
            break;
        case OpNumerica::Abs:
            e = reale::assoluto(a, v);
            break;
        case OpNumerica::Atn:
            e = reale::arcotangente(a, v);
            break;
        case OpNumerica::Cos:
            e = reale::coseno(a, v);
            break;
        case OpNumerica::Exp:
            e = reale::esponenziale(a, v);
            break;
        case OpNumerica::Fix:
            e = reale::troncato(a, v);
            break;
        case OpNumerica::Int:
            e = reale::parteIntera(a, v);
            break;
        case OpNumerica::Log:
            e = reale::logaritmo(a, v);
            break;
        case OpNumerica::Sin:
            e = reale::seno(a, v);
            break;
        case OpNumerica::Sqr:
            e = reale::radice(a, v);
            break;
        case OpNumerica::Tan:
            e = reale::tangente(a, v);
            break;
        default:
            __builtin_unreachable(); // every instruction is listed above
        }
        if (e != Nessuno)
            return e;
        *out++ = v;
        precedente = v;
    }
    r = reg[risultato_];
    return Nessuno;
}

} // namespace zelvo
