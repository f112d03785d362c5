#include "engine/TestoNumero.h"

#include "engine/Errori.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace zelvo {

namespace {

constexpr int kCifreSignificative = 15;
constexpr int kMinEsponenteSemplice = -4;
constexpr int kMaxEsponenteSemplice = 14;

bool spazio(char c)
{
    return c == ' ' || c == '\t';
}

bool cifra(char c)
{
    return c >= '0' && c <= '9';
}

// The 15 significant digits of |v|, rounded to nearest, and the decimal
// exponent of the first one: |v| ~ 0.d1d2...d15 * 10^(esponente + 1).
struct Cifre
{
    std::array<char, kCifreSignificative> testo;
    int esponente = 0;
};

// The digits of any finite nonzero value: to_chars rounds the exact binary
// value to 15 digits ("d.dddddddddddddde+XX"), ties to even.
void cifreEsatte(double assoluto, Cifre &c)
{
    std::array<char, 40> buf {};
    const auto fine = std::to_chars(buf.data(), buf.data() + buf.size(), assoluto,
                                    std::chars_format::scientific, kCifreSignificative - 1)
                              .ptr;
    const char *e = std::find(buf.data(), fine, 'e');
    std::size_t k = 0;
    for (const char *p = buf.data(); p < e; ++p)
        if (cifra(*p))
            c.testo[k++] = *p;
    c.esponente = std::atoi(e + 1);
}

char *copia(char *out, const char *da, int quanti)
{
    std::memcpy(out, da, static_cast<std::size_t>(quanti));
    return out + quanti;
}

} // namespace

char *scriviNumero(char *out, double v, char separatoreDecimale) noexcept
{
    if (v == 0) {
        *out = '0'; // also -0
        return out + 1;
    }
    if (std::isnan(v))
        return copia(out, "NaN", 3);
    if (std::isinf(v))
        return v < 0 ? copia(out, "-Inf", 4) : copia(out, "Inf", 3);

    Cifre c;
    cifreEsatte(std::fabs(v), c);
    int quante = kCifreSignificative;
    while (quante > 1 && c.testo[static_cast<std::size_t>(quante - 1)] == '0')
        --quante;
    const char *cifre = c.testo.data();
    const int esponente = c.esponente;

    if (v < 0)
        *out++ = '-';
    if (esponente >= kMinEsponenteSemplice && esponente <= kMaxEsponenteSemplice) {
        if (esponente < 0) {
            *out++ = '0';
            *out++ = separatoreDecimale;
            for (int i = esponente + 1; i < 0; ++i)
                *out++ = '0';
            return copia(out, cifre, quante);
        }
        const int intere = esponente + 1;
        if (quante <= intere) {
            out = copia(out, cifre, quante);
            for (int i = quante; i < intere; ++i)
                *out++ = '0';
            return out;
        }
        out = copia(out, cifre, intere);
        *out++ = separatoreDecimale;
        return copia(out, cifre + intere, quante - intere);
    }
    *out++ = cifre[0];
    if (quante > 1) {
        *out++ = separatoreDecimale;
        out = copia(out, cifre + 1, quante - 1);
    }
    *out++ = 'E';
    *out++ = esponente < 0 ? '-' : '+';
    const int assoluto = std::abs(esponente);
    if (assoluto >= 100)
        *out++ = static_cast<char>('0' + assoluto / 100);
    *out++ = static_cast<char>('0' + assoluto / 10 % 10);
    *out++ = static_cast<char>('0' + assoluto % 10);
    return out;
}

std::string testoNumero(double v, char separatoreDecimale)
{
    char testo[kMaxTestoNumero];
    return std::string(testo, scriviNumero(testo, v, separatoreDecimale));
}

NumeroLetto leggiNumero(std::string_view testo, char separatoreDecimale) noexcept
{
    constexpr NumeroLetto nonNumero {0, TipoNonCorrispondente};
    std::size_t i = 0;
    const std::size_t n = testo.size();
    while (i < n && spazio(testo[i]))
        ++i;

    // Rebuild the number in from_chars' own syntax ('.' separator, no '+').
    std::array<char, 64> buf {};
    std::size_t lunghezza = 0;
    bool negativo = false;
    if (i < n && (testo[i] == '+' || testo[i] == '-')) {
        negativo = testo[i] == '-';
        ++i;
    }
    const std::size_t inizio = i;
    int cifreMantissa = 0;
    int cifreIntere = 0;
    bool separatoreVisto = false;
    for (; i < n; ++i) {
        if (cifra(testo[i])) {
            ++cifreMantissa;
            if (!separatoreVisto)
                ++cifreIntere;
        } else if (testo[i] == separatoreDecimale && !separatoreVisto) {
            separatoreVisto = true;
        } else {
            break;
        }
    }
    if (cifreMantissa == 0)
        return nonNumero;
    long esponente = 0;
    if (i < n && (testo[i] == 'e' || testo[i] == 'E')) {
        std::size_t j = i + 1;
        bool esponenteNegativo = false;
        if (j < n && (testo[j] == '+' || testo[j] == '-')) {
            esponenteNegativo = testo[j] == '-';
            ++j;
        }
        if (j >= n || !cifra(testo[j]))
            return nonNumero;
        for (; j < n && cifra(testo[j]); ++j)
            esponente = std::min(esponente * 10 + (testo[j] - '0'), 100000L);
        if (esponenteNegativo)
            esponente = -esponente;
        i = j;
    }
    const std::size_t fine = i;
    while (i < n && spazio(testo[i]))
        ++i;
    if (i != n)
        return nonNumero;

    std::string copiaLunga; // the rare long text; the common case stays on the stack
    char *out = buf.data();
    const std::size_t serve = fine - inizio + 1;
    if (serve > buf.size()) {
        copiaLunga.resize(serve);
        out = copiaLunga.data();
    }
    for (std::size_t k = inizio; k < fine; ++k)
        out[lunghezza++] = testo[k] == separatoreDecimale ? '.' : testo[k];

    double valore = 0;
    const auto res = std::from_chars(out, out + lunghezza, valore, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large is an overflow, too small reads as 0: the decimal exponent
        // of the first significant digit tells which.
        long prima = cifreIntere - 1;
        for (std::size_t k = inizio; k < fine; ++k) {
            if (testo[k] == separatoreDecimale)
                continue;
            if (testo[k] != '0')
                break;
            --prima;
        }
        if (prima + esponente > 0)
            return NumeroLetto {0, ErroreOverflow};
        return NumeroLetto {negativo ? -0.0 : 0.0, 0};
    }
    if (res.ec != std::errc() || res.ptr != out + lunghezza)
        return nonNumero;
    return NumeroLetto {negativo ? -valore : valore, 0};
}

} // namespace zelvo
