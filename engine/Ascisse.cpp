#include "engine/Ascisse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <system_error>

namespace zelvo {

namespace {

// Whole numbers up to this size, and the differences of two of them, are
// exact in a double.
constexpr std::int64_t kInteroEsatto = std::int64_t {1} << 52;
// A + i * S, and B - A, never overflow 64 bits.
constexpr std::int64_t kInteroMassimo = std::int64_t {1} << 62;

// v = cifre * 10^esponente.
struct Decimale
{
    std::int64_t cifre = 0;
    int esponente = 0;
};

// The shortest decimal that reads back as v (at most 17 digits); none for
// an infinity or a NaN.
std::optional<Decimale> decimale(double v)
{
    char testo[40];
    const auto [fine, errore]
            = std::to_chars(testo, testo + sizeof testo, v, std::chars_format::scientific);
    if (errore != std::errc())
        return std::nullopt;
    // "-1.2345e-05": the sign, the digits around the point, the exponent.
    const char *p = testo;
    const bool negativo = *p == '-';
    if (negativo)
        ++p;
    Decimale d;
    int decimali = 0;
    bool punto = false;
    for (; p < fine && *p != 'e'; ++p) {
        if (*p == '.') {
            punto = true;
            continue;
        }
        if (*p < '0' || *p > '9')
            return std::nullopt;
        d.cifre = d.cifre * 10 + (*p - '0');
        decimali += punto ? 1 : 0;
    }
    if (fine - p < 2)
        return std::nullopt;
    ++p; // 'e'
    if (*p == '+')
        ++p;
    if (std::from_chars(p, fine, d.esponente).ec != std::errc())
        return std::nullopt;
    d.esponente -= decimali;
    if (negativo)
        d.cifre = -d.cifre;
    return d;
}

// d as a whole number of units 10^esponente (esponente <= d.esponente);
// none when it is kInteroMassimo or more in size.
std::optional<std::int64_t> intero(const Decimale &d, int esponente)
{
    std::int64_t n = d.cifre;
    for (int k = esponente; k < d.esponente; ++k) {
        if (n >= kInteroMassimo / 10 || n <= -kInteroMassimo / 10)
            return std::nullopt;
        n *= 10;
    }
    if (n >= kInteroMassimo || n <= -kInteroMassimo)
        return std::nullopt;
    return n;
}

} // namespace

Ascisse::Ascisse(double a, double b, double s) noexcept
    : a_(a)
    , s_(s)
{
    if (!(a <= b))
        return;
    quante_ = 1;
    if (!(s > 0) || !std::isfinite(s) || !std::isfinite(a) || !std::isfinite(b))
        return;

    const std::optional<Decimale> da = decimale(a), db = decimale(b), ds = decimale(s);
    if (da && db && ds) {
        const int esponente = std::min({0, da->esponente, db->esponente, ds->esponente});
        const auto interoA = intero(*da, esponente), interoB = intero(*db, esponente),
                   interoS = intero(*ds, esponente);
        if (interoA && interoB && interoS && *interoS > 0) {
            interoA_ = *interoA;
            interoS_ = *interoS;
            quante_ = static_cast<std::uint64_t>((*interoB - *interoA) / *interoS) + 1;
            const bool esatti = std::max(std::abs(*interoA), std::abs(*interoB)) <= kInteroEsatto;
            if (esatti && esponente >= -22) { // 10^22 is the last power of ten a double holds
                modo_ = Modo::Quoziente;
                scala_ = 1;
                for (int k = esponente; k < 0; ++k)
                    scala_ *= 10;
            } else {
                modo_ = Modo::Decimale;
                esponente_ = esponente;
            }
            return;
        }
    }

    // Binary: as many steps as fit, the count corrected where a + n * s rounds beyond b.
    // Beyond 2^53 steps n + 1 is n again: the count stays as divided.
    const double passi = std::floor((b - a) / s);
    double n = passi < 0x1p62 ? passi : 0x1p62;
    while (n > 0 && n < 0x1p53 && std::fma(n, s, a) > b)
        n -= 1;
    while (n < 0x1p53 && std::fma(n + 1, s, a) <= b)
        n += 1;
    quante_ = static_cast<std::uint64_t>(n) + 1;
}

double Ascisse::operator[](std::uint64_t i) const noexcept
{
    double x = 0;
    scrivi(i, &x, 1);
    return x;
}

std::size_t Ascisse::scrivi(std::uint64_t da, double *xs, std::size_t n) const noexcept
{
    if (da >= quante_)
        return 0;
    const std::size_t m = static_cast<std::size_t>(std::min<std::uint64_t>(n, quante_ - da));
    switch (modo_) {
    case Modo::Quoziente: {
        // Every numerator is a whole number below 2^52: exact, and so is the
        // scale; the one rounding is the division's, to the nearest double.
        // Counted in int within a stretch, so that the loop runs on vectors.
        constexpr std::size_t kTratto = std::size_t {1} << 20;
        const double passo = static_cast<double>(interoS_);
        const double scala = scala_;
        for (std::size_t inizio = 0; inizio < m; inizio += kTratto) {
            const double base = static_cast<double>(
                    interoA_ + static_cast<std::int64_t>(da + inizio) * interoS_);
            const int quanti = static_cast<int>(std::min(m - inizio, kTratto));
            double *x = xs + inizio;
            int j = 0;
            for (; j + 2 <= quanti; j += 2) { // two at a time: one vector division
                x[j] = (base + static_cast<double>(j) * passo) / scala;
                x[j + 1] = (base + static_cast<double>(j + 1) * passo) / scala;
            }
            if (j < quanti)
                x[j] = (base + static_cast<double>(j) * passo) / scala;
        }
        break;
    }
    case Modo::Decimale:
        // "123456789012345678e-17", read back rounded to nearest.
        for (std::size_t j = 0; j < m; ++j) {
            const std::int64_t numero = interoA_ + static_cast<std::int64_t>(da + j) * interoS_;
            char testo[48];
            char *fine = std::to_chars(testo, testo + 24, numero).ptr;
            *fine++ = 'e';
            fine = std::to_chars(fine, testo + sizeof testo, esponente_).ptr;
            std::from_chars(testo, fine, xs[j]);
        }
        break;
    case Modo::Binario:
        for (std::size_t j = 0; j < m; ++j) {
            const std::uint64_t i = da + j;
            xs[j] = i == 0 ? a_ : std::fma(static_cast<double>(i), s_, a_);
        }
        break;
    }
    return m;
}

} // namespace zelvo
