#include "tables/TestoNumero.h"

#include "engine/NumberText.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace zelvo {

namespace {

__extension__ typedef unsigned __int128 Uint128;

// 10^0 to 10^18, exact.
constexpr std::array<std::uint64_t, 19> kPotenze = [] {
    std::array<std::uint64_t, 19> p {};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

constexpr std::uint64_t kMinCifre = 100'000'000'000'000; // 10^14: 15 digits
constexpr std::uint64_t kFuoriCifre = 1'000'000'000'000'000; // 10^15: 16 digits

// |v| * 10^(14 - esponente), computed exactly from the binary value
// (mantissa * 2^-spostamento times a power of ten fits in 128 bits for the
// plain range): its integer part and how the rest compares with one half.
struct Scalato
{
    std::uint64_t intero;
    int resto; // -1: below one half, 0: exactly one half, 1: above
};

Scalato scala(std::uint64_t mantissa, int spostamento, int esponente)
{
    const Uint128 prodotto
            = Uint128 {mantissa} * kPotenze[static_cast<std::size_t>(14 - esponente)];
    const auto s = static_cast<unsigned>(spostamento);
    const Uint128 resto = prodotto & ((Uint128 {1} << s) - 1);
    const Uint128 meta = Uint128 {1} << (s - 1);
    return {static_cast<std::uint64_t>(prodotto >> s), resto < meta ? -1 : (resto == meta ? 0 : 1)};
}

char *scriviLento(char *out, double v, char separatoreDecimale)
{
    const std::string testo = numberToText(v, separatoreDecimale);
    std::memcpy(out, testo.data(), testo.size());
    return out + testo.size();
}

} // namespace

char *scriviNumero(char *out, double v, char separatoreDecimale)
{
    if (v == 0) {
        *out = '0';
        return out + 1;
    }
    const double assoluto = std::fabs(v);
    // The plain notation covers decimal exponents -4 to 14; a little below
    // 1E-04 can still round up into it, and numberToText takes the rest.
    if (!(assoluto >= 9.9e-5 && assoluto < 9.9e14))
        return scriviLento(out, v, separatoreDecimale);

    // assoluto = mantissa * 2^-spostamento, exactly (a normal number here).
    const auto bits = std::bit_cast<std::uint64_t>(assoluto);
    const std::uint64_t mantissa
            = (bits & ((std::uint64_t {1} << 52) - 1)) | (std::uint64_t {1} << 52);
    const int spostamento = 1075 - static_cast<int>(bits >> 52);

    // The decimal exponent, estimated and then put right by the digit count;
    // a value that rounds up to the next power of ten takes its exponent, as
    // in numberToText ("9,999999999999999" is "10").
    int esponente = static_cast<int>(std::floor(std::log10(assoluto)));
    std::uint64_t n = 0;
    for (int tentativi = 0;; ++tentativi) {
        if (tentativi == 3 || esponente < -4 || esponente > 14)
            return scriviLento(out, v, separatoreDecimale);
        const Scalato scalato = scala(mantissa, spostamento, esponente);
        if (scalato.intero < kMinCifre) {
            --esponente;
            continue;
        }
        if (scalato.intero >= kFuoriCifre) {
            ++esponente;
            continue;
        }
        if (scalato.resto == 0) // an exact tie: numberToText knows how it rounds
            return scriviLento(out, v, separatoreDecimale);
        n = scalato.intero + (scalato.resto > 0 ? 1 : 0);
        if (n == kFuoriCifre) { // 999...9.5 rounds up to the next power of ten
            n = kMinCifre;
            if (++esponente > 14)
                return scriviLento(out, v, separatoreDecimale);
        }
        break;
    }

    char cifreTesto[15];
    for (int i = 14; i >= 0; --i) {
        cifreTesto[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    int quante = 15;
    while (quante > 1 && cifreTesto[quante - 1] == '0')
        --quante;

    if (v < 0)
        *out++ = '-';
    if (esponente < 0) {
        *out++ = '0';
        *out++ = separatoreDecimale;
        for (int i = esponente + 1; i < 0; ++i)
            *out++ = '0';
        std::memcpy(out, cifreTesto, static_cast<std::size_t>(quante));
        return out + quante;
    }
    const int intere = esponente + 1;
    if (quante <= intere) {
        std::memcpy(out, cifreTesto, static_cast<std::size_t>(quante));
        out += quante;
        for (int i = quante; i < intere; ++i)
            *out++ = '0';
        return out;
    }
    std::memcpy(out, cifreTesto, static_cast<std::size_t>(intere));
    out += intere;
    *out++ = separatoreDecimale;
    std::memcpy(out, cifreTesto + intere, static_cast<std::size_t>(quante - intere));
    return out + (quante - intere);
}

} // namespace zelvo
