#pragma once

#include "engine/Albero.h"
#include "engine/Operazioni.h"
#include "engine/Valutazione.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelvo {

// A function made of the single assignment F = <expression> whose every
// operation takes and gives numbers (operazioni::Op: arithmetic,
// comparisons, \ and Mod, the bitwise operators and the numeric built-ins,
// on x and constants that are neither text, Null, Single nor Byte), as
// register instructions over doubles, with no Variant, no allocation and no
// exception, each giving VBScript's value and error. It runs one x at a
// time, with or without derivatives; ProgrammaBlocco runs it over blocks.
class ProgrammaNumerico
{
public:
    // registri[primoRisultato() + j] = op(registri[a], registri[b]) for
    // instruction j; register 0 holds x, the constants follow.
    struct Passo
    {
        operazioni::Op op;
        std::uint32_t a;
        std::uint32_t b; // 0 for an operation of one operand
    };

    // False (and an empty program) when some operation of F is not numeric.
    bool compila(const Script &s);

    // True when the result is certainly a Double, so the Variant result may
    // be taken from it.
    bool doppio() const noexcept { return doppio_; }

    // Runs the program at x (finite): one instruction after another,
    // stopping at the first error; the value is the Variant result's,
    // converted to a Double (0 on failure).
    Valutazione esegui(double x) noexcept;

    // f, f' and f'' at x: every instruction computes its value as esegui
    // does (the same bits, the same first error) and carries its first and
    // second derivatives by its row's rule.
    Derivate eseguiDerivate(double x) noexcept;

    // Where the program may break: one entry for each level an
    // instruction's operands may meet (operazioni::Rotture), in the
    // program's order; none for an instruction of constants only.
    std::span<const Rottura> rotture() const noexcept { return rotture_; }

    // The quantity of every rottura at x (finite) with its derivative in x,
    // from a run with derivatives; NaN for those whose instruction comes
    // after one that failed. operandi.size() must be rotture().size().
    void operandiRotture(double x, std::span<Operando> operandi) noexcept;

    // A period of F that its expression gives it: every occurrence of x
    // lies inside a Sin, Cos or Tan whose operand is k·x + c (k and c
    // computed from constants, k != 0), and the periods 2π/|k| (π/|k| for
    // Tan) are commensurate; the result is their least common multiple. A
    // period, not always the least (Sin(x)^2 has π); none otherwise.
    std::optional<double> periodo() const noexcept { return periodo_; }

    // The instructions and registers, for the block form.
    std::span<const Passo> passi() const noexcept { return passi_; }
    std::span<const double> registri() const noexcept { return registri_; }
    std::uint32_t primoRisultato() const noexcept { return primoRisultato_; }
    std::uint32_t risultato() const noexcept { return risultato_; }

private:
    // Returns which registers hold a constant (the constants, and the
    // instructions on constants only that succeed), their values computed.
    std::vector<char> compilaRotture();
    void compilaPeriodo(const std::vector<char> &costante);
    // Runs the instructions with derivatives into getti_ up to the first
    // error (its number in errore, else 0); returns how many succeeded.
    std::size_t eseguiGetti(double x, int &errore, bool &angolo) noexcept;
    std::uint32_t emetti(const Script &s, const std::vector<operazioni::Op> &op, int k);
    std::uint32_t passo(Passo p);

    bool doppio_ = false;
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
    std::optional<double> periodo_;
};

} // namespace zelvo
