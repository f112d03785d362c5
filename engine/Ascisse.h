#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvo {

// The abscissas of a sweep from a to b by the step s: x_i = a + i * s for
// i = 0 ... n, each the double nearest to the decimal number a person writes
// for it. a, b and s are read as the shortest decimals that give them back
// (0.1, not 0.1000000000000000055...), scaled by one power of ten to whole
// numbers A, B and S, and x_i is (A + i * S) / 10^k rounded once: -0.3 + 3 *
// 0.1 is 0, not 2.8E-17, and b is the last abscissa whenever b - a is a whole
// number of steps (n = (B - A) / S, rounded down).
//
// Where the whole numbers do not fit in 64 bits (a step of 1E-300 beside an
// end of 1), x_i is the double nearest to a + i * s as binary numbers. With
// a > b there is no abscissa; with a step that is not a positive finite
// number, or an end that is not finite, only a itself.
class Ascisse
{
public:
    Ascisse(double a, double b, double s) noexcept;

    // How many abscissas: n + 1, or 0 when a > b.
    std::uint64_t quante() const noexcept { return quante_; }

    // x_i, for i < quante().
    double operator[](std::uint64_t i) const noexcept;

    // Writes x_da, x_da+1, ... at xs, at most n of them and none past the
    // last; returns how many.
    std::size_t scrivi(std::uint64_t da, double *xs, std::size_t n) const noexcept;

private:
    enum class Modo {
        Quoziente, // (A + i * S) / 10^k, every number exact in a double
        Decimale, // A + i * S and the exponent -k, read back as a decimal text
        Binario, // a + i * s, one rounding
    };
    Modo modo_ = Modo::Binario;
    std::uint64_t quante_ = 0;
    double a_ = 0, s_ = 0; // Binario
    std::int64_t interoA_ = 0, interoS_ = 0; // Quoziente and Decimale
    int esponente_ = 0; // Decimale: x_i = (A + i * S) * 10^esponente_
    double scala_ = 1; // Quoziente: 10^k
};

} // namespace zelvo
