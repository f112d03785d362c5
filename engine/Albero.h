#pragma once

#include "engine/Operatori.h"
#include "engine/Valore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvo {

enum class TipoNodo : std::uint8_t {
    Costante, // valore (a literal, a vb constant or a folded subtree)
    Variabile, // slot: the return value, a parameter or a local
    Binaria, // op a b
    Unaria, // op a
    Chiamata, // builtin(argomenti)
    Ricorsione, // the script's own function called with argomenti
    Errore, // evaluates argomenti, then raises `errore` (undefined name, 450...)
    ErrNumero, // Err.Number (also Err alone): the last error handled, a Long
    ErrDescrizione, // Err.Description: its message, "" when there is none
};

// A node of a resolved expression tree; children are indices into the
// script's node vector.
struct Nodo
{
    TipoNodo tipo = TipoNodo::Costante;
    Operatore op = Operatore::Somma;
    Letterale letterale = Letterale::No; // how a Costante was written
    int errore = 0;
    int slot = -1;
    int builtin = -1;
    int a = -1;
    int b = -1;
    int posizione = 0; // offset of the node's token in the source
    // Nesting: the height of the subtree, a binary node's left operand not counted.
    int profondita = 1;
    std::vector<int> argomenti;
    Valore valore;
};

enum class TipoIstruzione : std::uint8_t {
    Assegnazione, // slot = espressione, or errore raised after it
    RiprendiDopoErrore, // On Error Resume Next: clears Err
    FermaSuErrore, // On Error GoTo 0: clears Err
    EsciFunzione, // Exit Function: F keeps the value it has
    AzzeraErr, // Err.Clear
};

// One statement of the function body (Dim declares at compile time and
// leaves nothing to run). Under On Error Resume Next a statement that fails
// is left where it failed (an assignment assigns nothing), Err takes the
// error and the next statement runs; otherwise the error ends the call and
// goes to its caller, where it is the calling statement's error.
struct Istruzione
{
    TipoIstruzione tipo = TipoIstruzione::Assegnazione;
    int slot = -1; // target; -1 with errore set, and in the other statements
    int espressione = -1; // -1 but in an assignment
    int errore = 0; // raised after evaluating the expression (500, 501)
    int posizione = 0;
};

// A script after AddCode: its one function, resolved and folded.
struct Script
{
    bool haFunzione = false;
    std::string nome; // the function's name as written
    int parametri = 0; // slots 1..parametri; slot 0 is the return value
    int slot = 0; // how many slots: return value, parameters, locals
    int limiteChiamate = 1; // how deep the function may call itself
    // No Rnd and no reading of Err: a call with the arguments of a call
    // still running would repeat it forever, so it fails at once (28).
    bool ripetibile = true;
    // A sign's operand is raised to a power: -x^2, which the language reads
    // as (-x)^2, where a reader of mathematics expects -(x^2).
    bool menoPrimaDiPotenza = false;
    std::vector<Nodo> nodi;
    std::vector<Istruzione> corpo;
};

// The binary nodes from k down its left operands, k first, and in k the
// first left operand that is not binary: a chain such as a + b - c * d is
// run from there up in a loop, so its length costs no recursion.
inline std::vector<int> catenaSinistra(const Script &s, int &k)
{
    std::vector<int> catena;
    for (; s.nodi[static_cast<std::size_t>(k)].tipo == TipoNodo::Binaria;
         k = s.nodi[static_cast<std::size_t>(k)].a)
        catena.push_back(k);
    return catena;
}

} // namespace zelvo
