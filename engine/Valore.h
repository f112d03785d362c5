#pragma once

#include "engine/Errori.h"

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvo {

// A Variant's subtype; the values are VarType's codes.
enum class Tipo : std::uint8_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    String = 8,
    Boolean = 11,
    Byte = 17,
};

// The longest String the engine builds; a longer one is error 14, so no
// expression can exhaust memory.
inline constexpr std::size_t kMaxLunghezzaTesto = std::size_t {1} << 20;

// The text one run may produce or copy in
// all: with it every run ends in time bounded by the size of its script,
// however its string functions are nested. Beyond it: error 14.
inline constexpr std::size_t kBudgetTesto = 64 * kMaxLunghezzaTesto;

// A Variant. Every numeric subtype keeps its value in `numero`, which holds
// each of them exactly (Boolean: -1 or 0; Single: a float widened) and is
// always finite; integral subtypes never hold -0.
struct Valore
{
    Tipo tipo = Tipo::Empty;
    double numero = 0;
    std::string testo; // String only

    static Valore di(Tipo t, double n) { return Valore {t, n, {}}; }
    static Valore doppio(double n) { return Valore {Tipo::Double, n, {}}; }
    static Valore intero(int n) { return Valore {Tipo::Integer, static_cast<double>(n), {}}; }
    static Valore booleano(bool b) { return Valore {Tipo::Boolean, b ? -1.0 : 0.0, {}}; }
    static Valore nullo() { return Valore {Tipo::Null, 0, {}}; }
    static Valore stringa(std::string s) { return Valore {Tipo::String, 0, std::move(s)}; }

    bool operator==(const Valore &) const = default;
};

// The same subtype, bits and text: the one evaluation gives the same result for both.
inline bool stessoValore(const Valore &a, const Valore &b) noexcept
{
    return a.tipo == b.tipo
            && std::bit_cast<std::uint64_t>(a.numero) == std::bit_cast<std::uint64_t>(b.numero)
            && a.testo == b.testo;
}

// True for the subtypes that arithmetic takes as they are (Empty counts as 0).
bool numerico(Tipo t) noexcept;

// TypeName's text of a subtype ("Double", "Integer", ...).
std::string_view nomeTipo(Tipo t) noexcept;

// Smallest integral subtype from `minimo` up (Byte, Integer, Long) that holds
// the integral value v, else Double: the silent promotion of an overflow.
Tipo tipoIntero(Tipo minimo, double v) noexcept;

// VBScript's string-to-number reading (VarR8FromStr): blanks around, a sign,
// the user's decimal separator, an exponent, &H / &O prefixes. Error 13 when
// the text is not a number, 6 when it is too large.
int numeroDaTesto(std::string_view testo, char separatore, double &valore) noexcept;

// The Variant-to-Double coercion: Empty 0, Boolean -1/0, numbers exactly,
// strings read as numbers; Null is 94.
int aDouble(const Valore &v, char separatore, double &valore) noexcept;

// Coercion to a Long with banker's rounding, for \, Mod, the bitwise
// operators and CLng: 6 outside the Long range.
int aLong(const Valore &v, char separatore, double &valore) noexcept;

// CStr: the text of a value (numbers with 15 significant digits, Single with
// 7, "True"/"False"); Null is 94.
int aTesto(const Valore &v, char separatore, std::string &testo);

// The text of a double or a Single as VBScript writes it.
std::string testoNumero(double v, int cifre, char separatore);

} // namespace zelvo
