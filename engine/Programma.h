#pragma once

#include "engine/Albero.h"
#include "engine/Builtin.h"
#include "engine/Operazioni.h"
#include "engine/Valutazione.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvo {

// The compiled forms of a script's function, built once by AddCode: two
// programs.
//
// The Variant program runs any function: a postfix program over Variants
// that calls the very operations of the reference evaluator, in the same
// order, so both give the same value, subtype and error.
//
// A function made of the single assignment F = <expression> whose every
// operation takes and gives numbers (operations::Op: arithmetic,
// comparisons, \ and Mod, the bitwise operators and the numeric built-ins,
// on x and constants that are neither text, Null, Single nor Byte) is also a
// numeric program: register instructions over doubles, with no Variant, no
// allocation and no exception, each giving VBScript's value and error. It
// runs one x at a time (one evaluation) or a block of x at once (a sweep).
class Programma
{
public:
    void compila(const Script &s);

    // True when the function has a numeric program.
    bool numerico() const noexcept { return numerico_; }

    // True when the numeric program's result is certainly a Double, so the
    // Variant result may be taken from it.
    bool doppio() const noexcept { return doppio_; }

    // Runs the function (any script, any arguments): the numeric program
    // when it gives the same Variant (a Double, at a finite Double argument),
    // else the Variant one.
    int esegui(std::span<const Valore> argomenti, Valore &r, ContestoEsecuzione &c);

    // Runs the numeric program at x (finite), only when numerico(): one
    // instruction after another, stopping at the first error; the value is
    // the Variant result's, converted to a Double (0 on failure).
    Valutazione eseguiNumerico(double x) noexcept;

    // f, f' and f'' at x, only when numerico(): every instruction computes
    // its value as eseguiNumerico does (the same bits, the same first error)
    // and carries its first and second derivatives by its row's rule.
    Derivate eseguiDerivate(double x) noexcept;

    // The most x eseguiBlocco takes at once.
    static constexpr std::size_t kBlocco = 256;

    // Runs the numeric program at n <= kBlocco x (only when numerico()):
    // y[i] and errori[i] get what eseguiNumerico(x[i]) gives, bit for bit (y
    // 0 and the error number on failure, error 0 otherwise; a non-finite x
    // is error 6); returns how many failed. Each instruction runs over the
    // whole block before the next, so its cost is spread over n samples and
    // its arithmetic runs in SIMD lanes; a block where some sample failed
    // runs again sample by sample for the errors.
    std::size_t eseguiBlocco(const double *x, std::size_t n, double *y, int *errori) noexcept;

    // f, f' and f'' at n <= kBlocco x (only when numerico()): d[i] is what
    // eseguiDerivate(x[i]) gives, bit for bit (a non-finite x: error 6 with
    // no derivatives). The values run in lanes as in eseguiBlocco, each
    // instruction's derivatives over the whole block after them.
    void eseguiDerivateBlocco(const double *x, std::size_t n, Derivate *d) noexcept;

    // Where the numeric program may break: one entry for each level an
    // instruction's operands may meet (operazioni::Rotture), in the
    // program's order; none for an instruction of constants only. Empty
    // when !numerico().
    std::span<const Rottura> rotture() const noexcept { return rotture_; }

    // The quantity of every rottura at x (finite) with its derivative in x,
    // from a run with derivatives; NaN for those whose instruction comes
    // after one that failed. operandi.size() must be rotture().size().
    void operandiRotture(double x, std::span<Operando> operandi) noexcept;

private:
    friend struct ProvaProgramma; // the tests read which rows the program runs

    // ---- numeric program ----
    // registri_[primoRisultato_ + j] = op(registri_[a], registri_[b]) for
    // instruction j; register 0 holds x, the constants follow.
    struct Passo
    {
        operazioni::Op op;
        std::uint32_t a;
        std::uint32_t b; // 0 for an operation of one operand
    };

    bool compilaNumerico(const Script &s);
    void compilaRotture();
    // Runs the instructions with derivatives into getti_ up to the first
    // error (its number in errore, else 0); returns how many succeeded.
    std::size_t eseguiGetti(double x, int &errore, bool &angolo) noexcept;
    std::uint32_t emettiNumerico(const Script &s, const std::vector<operazioni::Op> &op, int k);
    std::uint32_t passo(Passo p);

    // ---- block program ----
    // The same instructions over blocks of kBlocco doubles in memoria_:
    // block 0 holds x, the constants follow, each broadcast to a whole
    // block, then the intermediate values. Every intermediate value is used
    // once (the program is a tree), so its block is reused as soon as it has
    // been read: the memory stays in the first-level cache.
    struct PassoBlocco
    {
        operazioni::Op op;
        std::uint32_t a;
        std::uint32_t b;
        std::uint32_t r;
    };
    void compilaBlocco();
    std::size_t unoAllaVolta(const double *x, std::size_t n, double *y, int *errori) noexcept;
    void derivateUnaAllaVolta(const double *x, std::size_t n, Derivate *d) noexcept;

    static constexpr std::uint32_t kMaxBlocchi = 64;
    bool bloccoPronto_ = false;

    std::vector<PassoBlocco> passiBlocco_;
    std::vector<double> memoria_;
    // The first and second derivatives of memoria_'s blocks: 1 and 0 for x,
    // 0 for the constants; allocated by the first eseguiDerivateBlocco.
    std::vector<double> derivata1_, derivata2_;
    std::uint32_t bloccoRisultato_ = 0;

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
        LeggiErr, // push Err.Number (a 0) or Err.Description (a 1)
        Gestione, // On Error: Resume Next (a 1) or GoTo 0 (a 0); clears Err
        AzzeraErr, // Err.Clear
        Esci, // Exit Function
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
    int chiamaVariante(std::size_t base, Valore &r, ContestoEsecuzione &c);

    bool numerico_ = false;
    bool doppio_ = false; // the numeric program's result is certainly a Double
    std::vector<Passo> passi_;
    std::vector<double> registri_;
    std::vector<Getto> getti_; // registri_ with their derivatives, for eseguiDerivate
    std::vector<std::uint32_t> registroCostante_; // while compiling: node -> its register
    std::uint32_t primoRisultato_ = 0;
    std::uint32_t risultato_ = 0; // the register of F's value

    // rotture_[i] is met by the quantity siti_[i] of an instruction's operands.
    struct Sito
    {
        std::uint32_t passo; // the instruction's index in passi_
        operazioni::Su su;
    };
    std::vector<Rottura> rotture_;
    std::vector<Sito> siti_;

    std::vector<PassoVariante> varianti_;
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
