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
    // Inlined into the one caller of every sample: the fused tree computes
    // the value and only notes whether some step failed; a failed sample is
    // run again step by step, which tells the first error.
    [[gnu::always_inline]] inline int eseguiNumerico(double x, double &r) noexcept
    {
        if (veloci_.empty()) [[unlikely]]
            return eseguiControllato(x, r);
        const NodoVeloce *radice = veloci_.data();
        const Esito v = radice->f(radice, x);
        if (v.guasto == 0) [[likely]] {
            r = v.v;
            return Nessuno;
        }
        return eseguiControllato(x, r);
    }

    // The most x eseguiBlocco takes at once.
    static constexpr std::size_t kBlocco = 256;

    // Runs the numeric program at n <= kBlocco x (only when numerico()):
    // y[i] and errori[i] get what a single run at x[i] gives, bit for bit (y
    // 0 and the error number on failure, error 0 otherwise; a non-finite x
    // is error 6); returns how many failed. Each instruction runs over the
    // whole block before the next, so its cost is spread over n samples and
    // its arithmetic runs in SIMD lanes; a block where some sample failed
    // runs again sample by sample for the errors.
    std::size_t eseguiBlocco(const double *x, std::size_t n, double *y, int *errori) noexcept;

    // ---- fused tree (public for the templates in Programma.cpp) ----
    enum class DaVeloce : std::uint8_t { X, K, N, MenoX, Lineare }; // where an operand comes from
    struct NodoVeloce;
    // A step's value and whether any step up to it failed (then v is any
    // double): returned in two registers, so a flag costs no memory.
    struct Esito
    {
        double v;
        unsigned guasto;
    };
    using FunzioneVeloce = Esito (*)(const NodoVeloce *n, double x) noexcept;

    // One node of the tree: its operation and the kinds of its operands
    // (x, a constant, a child) are fused into f. Children are found by
    // offset from the node, so a copied program stays valid.
    struct NodoVeloce
    {
        FunzioneVeloce f;
        std::int32_t a; // offset of child a from this node
        std::int32_t b;
        double ka; // constant operand a
        double kb;
    };

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

    int eseguiControllato(double x, double &r) noexcept;
    bool compilaNumerico(const Script &s);
    void compilaVeloce(const Script &s);
    struct OperandoVeloce
    {
        DaVeloce da = DaVeloce::X;
        double k = 0; // the constant, when da is K
        std::size_t indice = 0; // of the node, when da is N
    };
    OperandoVeloce emettiVeloce(const Script &s, int k);
    static FunzioneVeloce unariaDi(OpNumerica op, DaVeloce a);
    static bool lineare(Operatore op, const OperandoVeloce &a, const OperandoVeloce &b, double &m,
                        double &q);
    static std::vector<char> nodiNumerici(const Script &s);
    static OpNumerica opBinaria(Operatore op);
    static bool opFunzione(FunzioneDouble f, OpNumerica &op);
    std::uint32_t emettiNumerico(const Script &s, int k);
    std::uint32_t passoNumerico(PassoNumerico p);

    // ---- block program ----
    // memoria_[r] = memoria_[a] op memoria_[b], each a block of kBlocco
    // doubles: block 0 holds x, the constants follow, each broadcast to a
    // whole block, then the intermediate values. Every intermediate value is
    // used once (the program is a tree), so its block is reused as soon as
    // it has been read: the memory stays in the first-level cache.
    struct PassoBlocco
    {
        OpNumerica op;
        std::uint32_t a;
        std::uint32_t b;
        std::uint32_t r;
    };
    void compilaBlocco();
    std::size_t unoAllaVolta(const double *x, std::size_t n, double *y, int *errori) noexcept;

    static constexpr std::uint32_t kMaxBlocchi = 64;
    bool bloccoPronto_ = false;

    std::vector<PassoBlocco> passiBlocco_;
    std::vector<double> memoria_;
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
    std::vector<PassoNumerico> numerici_;
    std::vector<double> registri_;
    std::vector<std::uint32_t> registroCostante_; // node -> register of its constant
    std::uint32_t primoRisultato_ = 0;
    std::uint32_t risultato_ = 0; // the register of F's value
    std::vector<NodoVeloce> veloci_; // the root first; none for a tree too tall
    static constexpr int kMaxAltezzaVeloce = 64;

    std::vector<PassoVariante> varianti_;
    std::vector<Valore> pila_; // every running call's arguments, slots and operands
    std::vector<std::size_t> basi_; // where each running call's arguments start
    std::vector<Valore> costanti_;
    int parametri_ = 0;
    int slot_ = 1;
    int limiteChiamate_ = 1;
    bool ripetibile_ = true; // Script::ripetibile
};

} // namespace zelvo
