#include "engine/Valore.h"

#include "engine/Numerico.h"
#include "engine/TestoNumero.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zelvo {

bool numerico(Tipo t) noexcept
{
    switch (t) {
    case Tipo::Empty:
    case Tipo::Boolean:
    case Tipo::Byte:
    case Tipo::Integer:
    case Tipo::Long:
    case Tipo::Single:
    case Tipo::Double:
        return true;
    case Tipo::Null:
    case Tipo::String:
        return false;
    }
    return false;
}

std::string_view nomeTipo(Tipo t) noexcept
{
    switch (t) {
    case Tipo::Empty:
        return "Empty";
    case Tipo::Null:
        return "Null";
    case Tipo::Integer:
        return "Integer";
    case Tipo::Long:
        return "Long";
    case Tipo::Single:
        return "Single";
    case Tipo::Double:
        return "Double";
    case Tipo::String:
        return "String";
    case Tipo::Boolean:
        return "Boolean";
    case Tipo::Byte:
        return "Byte";
    }
    return "Unknown";
}

Tipo tipoIntero(Tipo minimo, double v) noexcept
{
    if (minimo == Tipo::Byte && v >= 0 && v <= 255)
        return Tipo::Byte;
    if ((minimo == Tipo::Byte || minimo == Tipo::Integer) && v >= -32768 && v <= 32767)
        return Tipo::Integer;
    if (minimo != Tipo::Double && v >= -2147483648.0 && v <= 2147483647.0)
        return Tipo::Long;
    return Tipo::Double;
}

namespace {

bool spazio(char c)
{
    return c == ' ' || c == '\t';
}

// "&H1F" / "&O17" inside a string: the digits follow the rules of the source
// literals (up to 4 hex digits are a 16-bit value), so "&HFFFF" reads as -1.
int numeroEsadecimale(std::string_view s, double &valore)
{
    const int base = (s[1] == 'h' || s[1] == 'H') ? 16 : 8;
    std::uint64_t v = 0;
    std::size_t cifre = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const char c = s[i];
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0 || d >= base)
            return TipoNonCorrispondente;
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFu)
            return ErroreOverflow;
        ++cifre;
    }
    if (cifre == 0)
        return TipoNonCorrispondente;
    if (v <= 0xFFFF && (base == 16 ? cifre <= 4 : v <= 0xFFFF))
        valore = static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
    else
        valore = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    return Nessuno;
}

} // namespace

int numeroDaTesto(std::string_view testo, char separatore, double &valore) noexcept
{
    std::size_t a = 0;
    std::size_t b = testo.size();
    while (a < b && spazio(testo[a]))
        ++a;
    while (b > a && spazio(testo[b - 1]))
        --b;
    const std::string_view s = testo.substr(a, b - a);
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O'))
        return numeroEsadecimale(s, valore);
    const NumeroLetto n = leggiNumero(s, separatore);
    if (!n.ok())
        return n.errore;
    valore = n.valore;
    return Nessuno;
}

int aDouble(const Valore &v, char separatore, double &valore) noexcept
{
    switch (v.tipo) {
    case Tipo::Null:
        return UsoNonValidoDiNull;
    case Tipo::String:
        return numeroDaTesto(v.testo, separatore, valore);
    default:
        valore = v.numero;
        return Nessuno;
    }
}

int aLong(const Valore &v, char separatore, double &valore) noexcept
{
    double d = 0;
    if (const int e = aDouble(v, separatore, d))
        return e;
    return reale::aLong(d, valore);
}

std::string testoNumero(double v, int cifre, char separatore)
{
    if (v == 0)
        return "0";
    std::array<char, 48> buf {};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                   std::chars_format::scientific, cifre - 1);
    const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c != '.')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int e = std::atoi(sci.data() + ePos + 1);
    const int n = static_cast<int>(digits.size());

    std::string out = v < 0 ? "-" : "";
    const bool fisso = e <= cifre - 1 && (e >= 0 || (-e - 1) + n <= cifre);
    if (fisso && e < 0) {
        out += '0';
        out += separatore;
        out.append(static_cast<std::size_t>(-e - 1), '0');
        out += digits;
    } else if (fisso && n <= e + 1) {
        out += digits;
        out.append(static_cast<std::size_t>(e + 1 - n), '0');
    } else if (fisso) {
        out.append(digits, 0, static_cast<std::size_t>(e + 1));
        out += separatore;
        out.append(digits, static_cast<std::size_t>(e + 1));
    } else {
        out += digits[0];
        if (n > 1) {
            out += separatore;
            out.append(digits, 1);
        }
        out += 'E';
        out += e < 0 ? '-' : '+';
        if (std::abs(e) < 10)
            out += '0';
        out += std::to_string(std::abs(e));
    }
    return out;
}

int aTesto(const Valore &v, char separatore, std::string &testo)
{
    switch (v.tipo) {
    case Tipo::Null:
        return UsoNonValidoDiNull;
    case Tipo::Empty:
        testo.clear();
        return Nessuno;
    case Tipo::String:
        testo = v.testo;
        return Nessuno;
    case Tipo::Boolean:
        testo = v.numero != 0 ? "True" : "False";
        return Nessuno;
    case Tipo::Single:
        testo = testoNumero(v.numero, 7, separatore);
        return Nessuno;
    default:
        testo = testoNumero(v.numero, 15, separatore);
        return Nessuno;
    }
}

} // namespace zelvo
