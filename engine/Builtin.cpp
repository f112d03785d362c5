#include "engine/Builtin.h"

#include "engine/BuiltinInterni.h"
#include "engine/Numerico.h"

#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

namespace zelvo {

using namespace interni;

namespace {

// ---- math -------------------------------------------------------------

// The Double functions taking a Variant: Null is 94, strings are read as numbers.
template<FunzioneDouble F> int suDouble(Args a, Valore &r, ContestoEsecuzione &c)
{
    double v = 0;
    if (const int e = aDouble(a[0], c.operazioni.separatore, v))
        return e;
    double ris = 0;
    if (const int e = F(v, ris))
        return e;
    r = Valore::doppio(ris);
    return Nessuno;
}

// Abs, Int and Fix keep an integral subtype (Boolean and Empty become
// Integer), read strings as Doubles and let Null through.
template<FunzioneDouble F> int conservaTipo(Args a, Valore &r, ContestoEsecuzione &c)
{
    const Valore &v = a[0];
    if (v.tipo == Tipo::Null) {
        r = Valore::nullo();
        return Nessuno;
    }
    double n = 0;
    if (const int e = aDouble(v, c.operazioni.separatore, n))
        return e;
    double ris = 0;
    F(n, ris);
    Tipo t = v.tipo;
    if (t == Tipo::String)
        t = Tipo::Double;
    else if (t == Tipo::Empty || t == Tipo::Boolean)
        t = Tipo::Integer;
    if (t == Tipo::Byte || t == Tipo::Integer || t == Tipo::Long)
        t = tipoIntero(t, ris); // Abs(-32768) is a Long
    r = Valore::di(t, t == Tipo::Double || t == Tipo::Single ? ris : ris + 0.0);
    return Nessuno;
}

int fSgn(Args a, Valore &r, ContestoEsecuzione &c)
{
    double v = 0;
    if (const int e = aDouble(a[0], c.operazioni.separatore, v))
        return e;
    r = Valore::intero(v > 0 ? 1 : (v < 0 ? -1 : 0));
    return Nessuno;
}

// Round(v[, decimali]): half to even at the given decimal; integral
// subtypes are kept, the rest become Double.
int fRound(Args a, Valore &r, ContestoEsecuzione &c)
{
    const Valore &v = a[0];
    double decimali = 0;
    if (a.size() > 1) {
        if (const int e = argomentoIntero(a[1], c, decimali))
            return e;
        if (decimali < 0)
            return ArgomentoNonValido;
    }
    if (v.tipo == Tipo::Null) {
        r = Valore::nullo();
        return Nessuno;
    }
    double n = 0;
    if (const int e = aDouble(v, c.operazioni.separatore, n))
        return e;
    switch (v.tipo) {
    case Tipo::Empty:
        r = Valore::intero(0);
        return Nessuno;
    case Tipo::Boolean:
    case Tipo::Byte:
    case Tipo::Integer:
    case Tipo::Long:
        r = v;
        return Nessuno;
    default:
        break;
    }
    double ris = n;
    if (decimali == 0) {
        ris = arrotondaPari(n);
    } else if (decimali < 16) {
        const double scala = std::pow(10.0, decimali);
        const double scalato = n * scala;
        if (std::isfinite(scalato))
            ris = arrotondaPari(scalato) / scala;
    }
    r = Valore::di(v.tipo == Tipo::Single ? Tipo::Single : Tipo::Double, ris);
    return Nessuno;
}

// The generator of VB's Rnd: a 24-bit linear congruential sequence. A
// negative argument reseeds it from the bits of its Single value, so the
// same argument always gives the same number; 0 repeats the last number.
int fRnd(Args a, Valore &r, ContestoEsecuzione &c)
{
    double n = 1;
    if (!a.empty())
        if (const int e = aDouble(a[0], c.operazioni.separatore, n))
            return e;
    if (n < 0) {
        const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(n));
        c.semeRnd = (bits + (bits >> 24)) & 0xFFFFFFu;
    }
    if (n != 0)
        c.semeRnd = (c.semeRnd * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    r = Valore::di(Tipo::Single, static_cast<double>(c.semeRnd) / 16777216.0);
    return Nessuno;
}

// ---- conversions ------------------------------------------------------

int fCDbl(Args a, Valore &r, ContestoEsecuzione &c)
{
    double v = 0;
    if (const int e = aDouble(a[0], c.operazioni.separatore, v))
        return e;
    r = Valore::doppio(v);
    return Nessuno;
}

int fCSng(Args a, Valore &r, ContestoEsecuzione &c)
{
    double v = 0;
    if (const int e = aDouble(a[0], c.operazioni.separatore, v))
        return e;
    const auto f = static_cast<float>(v);
    if (std::isinf(f))
        return ErroreOverflow;
    r = Valore::di(Tipo::Single, static_cast<double>(f));
    return Nessuno;
}

// CByte, CInt, CLng: banker's rounding, then the subtype's range (6 beyond).
template<Tipo T, long long Minimo, long long Massimo>
int interoIn(Args a, Valore &r, ContestoEsecuzione &c)
{
    double v = 0;
    if (const int e = aDouble(a[0], c.operazioni.separatore, v))
        return e;
    v = arrotondaPari(v);
    if (T == Tipo::Byte && a[0].tipo == Tipo::Boolean)
        v = v != 0 ? 255 : 0; // a Boolean's low bits: True is 255
    if (!(v >= static_cast<double>(Minimo) && v <= static_cast<double>(Massimo)))
        return ErroreOverflow;
    r = Valore::di(T, v + 0.0);
    return Nessuno;
}

int fCBool(Args a, Valore &r, ContestoEsecuzione &c)
{
    const Valore &v = a[0];
    if (v.tipo == Tipo::String) {
        std::string_view s = v.testo;
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        if (stessoNome(s, "true") || stessoNome(s, "#true#")) {
            r = Valore::booleano(true);
            return Nessuno;
        }
        if (stessoNome(s, "false") || stessoNome(s, "#false#")) {
            r = Valore::booleano(false);
            return Nessuno;
        }
    }
    double n = 0;
    if (const int e = aDouble(v, c.operazioni.separatore, n))
        return e;
    r = Valore::booleano(n != 0);
    return Nessuno;
}

int fCStr(Args a, Valore &r, ContestoEsecuzione &c)
{
    std::string s;
    if (const int e = aTesto(a[0], c.operazioni.separatore, s))
        return e;
    r = Valore::stringa(std::move(s));
    return Nessuno;
}

// Hex and Oct: the value rounded to a Long, negatives of the 16-bit
// subtypes in 16-bit form (Hex(-1) is "FFFF"), the others in 32-bit form.
template<int Base> int inBase(Args a, Valore &r, ContestoEsecuzione &c)
{
    const Valore &v = a[0];
    if (v.tipo == Tipo::Null) {
        r = Valore::nullo();
        return Nessuno;
    }
    double n = 0;
    if (const int e = aLong(v, c.operazioni.separatore, n))
        return e;
    const bool corto = v.tipo == Tipo::Integer || v.tipo == Tipo::Byte || v.tipo == Tipo::Boolean
            || v.tipo == Tipo::Empty;
    auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(n));
    if (corto && n < 0)
        u &= 0xFFFFu;
    std::string s;
    do {
        s.insert(s.begin(), "0123456789ABCDEF"[u % Base]);
        u /= Base;
    } while (u != 0);
    r = Valore::stringa(std::move(s));
    return Nessuno;
}

// ---- tests ------------------------------------------------------------

int fIsEmpty(Args a, Valore &r, ContestoEsecuzione &)
{
    r = Valore::booleano(a[0].tipo == Tipo::Empty);
    return Nessuno;
}

int fIsNull(Args a, Valore &r, ContestoEsecuzione &)
{
    r = Valore::booleano(a[0].tipo == Tipo::Null);
    return Nessuno;
}

int fIsNumeric(Args a, Valore &r, ContestoEsecuzione &c)
{
    const Valore &v = a[0];
    double n = 0;
    const bool si = v.tipo == Tipo::String
            ? numeroDaTesto(v.testo, c.operazioni.separatore, n) == Nessuno
            : numerico(v.tipo);
    r = Valore::booleano(si);
    return Nessuno;
}

int fVarType(Args a, Valore &r, ContestoEsecuzione &)
{
    r = Valore::intero(static_cast<int>(a[0].tipo));
    return Nessuno;
}

int fTypeName(Args a, Valore &r, ContestoEsecuzione &)
{
    r = Valore::stringa(std::string(nomeTipo(a[0].tipo)));
    return Nessuno;
}

constexpr std::array kBuiltin {
        Builtin {"Abs", 1, 1, conservaTipo<reale::assoluto>, reale::assoluto, true},
        Builtin {"Asc", 1, 1, fAsc, nullptr, true},
        Builtin {"Atn", 1, 1, suDouble<reale::arcotangente>, reale::arcotangente, true},
        Builtin {"CBool", 1, 1, fCBool, nullptr, true},
        Builtin {"CByte", 1, 1, interoIn<Tipo::Byte, 0, 255>, nullptr, true},
        Builtin {"CDbl", 1, 1, fCDbl, nullptr, true},
        Builtin {"Chr", 1, 1, fChr, nullptr, true},
        Builtin {"CInt", 1, 1, interoIn<Tipo::Integer, -32768, 32767>, nullptr, true},
        Builtin {"CLng", 1, 1, interoIn<Tipo::Long, -2147483648LL, 2147483647>, nullptr, true},
        Builtin {"Cos", 1, 1, suDouble<reale::coseno>, reale::coseno, true},
        Builtin {"CSng", 1, 1, fCSng, nullptr, true},
        Builtin {"CStr", 1, 1, fCStr, nullptr, true},
        Builtin {"Exp", 1, 1, suDouble<reale::esponenziale>, reale::esponenziale, true},
        Builtin {"Fix", 1, 1, conservaTipo<reale::troncato>, reale::troncato, true},
        Builtin {"Hex", 1, 1, inBase<16>, nullptr, true},
        Builtin {"InStr", 2, 4, fInStr, nullptr, true},
        Builtin {"Int", 1, 1, conservaTipo<reale::parteIntera>, reale::parteIntera, true},
        Builtin {"IsEmpty", 1, 1, fIsEmpty, nullptr, true},
        Builtin {"IsNull", 1, 1, fIsNull, nullptr, true},
        Builtin {"IsNumeric", 1, 1, fIsNumeric, nullptr, true},
        Builtin {"LCase", 1, 1, fLCase, nullptr, true},
        Builtin {"Left", 2, 2, fLeft, nullptr, true},
        Builtin {"Len", 1, 1, fLen, nullptr, true},
        Builtin {"Log", 1, 1, suDouble<reale::logaritmo>, reale::logaritmo, true},
        Builtin {"LTrim", 1, 1, fLTrim, nullptr, true},
        Builtin {"Mid", 2, 3, fMid, nullptr, true},
        Builtin {"Oct", 1, 1, inBase<8>, nullptr, true},
        Builtin {"Replace", 3, 6, fReplace, nullptr, true},
        Builtin {"Right", 2, 2, fRight, nullptr, true},
        Builtin {"Rnd", 0, 1, fRnd, nullptr, false},
        Builtin {"Round", 1, 2, fRound, nullptr, true},
        Builtin {"RTrim", 1, 1, fRTrim, nullptr, true},
        Builtin {"Sgn", 1, 1, fSgn, nullptr, true},
        Builtin {"Sin", 1, 1, suDouble<reale::seno>, reale::seno, true},
        Builtin {"Space", 1, 1, fSpace, nullptr, true},
        Builtin {"Sqr", 1, 1, suDouble<reale::radice>, reale::radice, true},
        Builtin {"String", 2, 2, fString, nullptr, true},
        Builtin {"StrReverse", 1, 1, fStrReverse, nullptr, true},
        Builtin {"Tan", 1, 1, suDouble<reale::tangente>, reale::tangente, true},
        Builtin {"Trim", 1, 1, fTrim, nullptr, true},
        Builtin {"TypeName", 1, 1, fTypeName, nullptr, true},
        Builtin {"UCase", 1, 1, fUCase, nullptr, true},
        Builtin {"VarType", 1, 1, fVarType, nullptr, true},
};

struct Costante
{
    std::string_view nome;
    Tipo tipo;
    double numero;
    std::string_view testo;
};

constexpr std::array kCostanti {
        Costante {"vbTrue", Tipo::Integer, -1, {}},
        Costante {"vbFalse", Tipo::Integer, 0, {}},
        Costante {"vbUseDefault", Tipo::Integer, -2, {}},
        Costante {"vbEmpty", Tipo::Integer, 0, {}},
        Costante {"vbNull", Tipo::Integer, 1, {}},
        Costante {"vbInteger", Tipo::Integer, 2, {}},
        Costante {"vbLong", Tipo::Integer, 3, {}},
        Costante {"vbSingle", Tipo::Integer, 4, {}},
        Costante {"vbDouble", Tipo::Integer, 5, {}},
        Costante {"vbCurrency", Tipo::Integer, 6, {}},
        Costante {"vbDate", Tipo::Integer, 7, {}},
        Costante {"vbString", Tipo::Integer, 8, {}},
        Costante {"vbObject", Tipo::Integer, 9, {}},
        Costante {"vbError", Tipo::Integer, 10, {}},
        Costante {"vbBoolean", Tipo::Integer, 11, {}},
        Costante {"vbVariant", Tipo::Integer, 12, {}},
        Costante {"vbByte", Tipo::Integer, 17, {}},
        Costante {"vbArray", Tipo::Integer, 8192, {}},
        Costante {"vbBinaryCompare", Tipo::Integer, 0, {}},
        Costante {"vbTextCompare", Tipo::Integer, 1, {}},
        Costante {"vbObjectError", Tipo::Long, -2147221504.0, {}},
        Costante {"vbBlack", Tipo::Long, 0, {}},
        Costante {"vbRed", Tipo::Long, 255, {}},
        Costante {"vbGreen", Tipo::Long, 65280, {}},
        Costante {"vbYellow", Tipo::Long, 65535, {}},
        Costante {"vbBlue", Tipo::Long, 16711680, {}},
        Costante {"vbMagenta", Tipo::Long, 16711935, {}},
        Costante {"vbCyan", Tipo::Long, 16776960, {}},
        Costante {"vbWhite", Tipo::Long, 16777215, {}},
        Costante {"vbCr", Tipo::String, 0, "\r"},
        Costante {"vbLf", Tipo::String, 0, "\n"},
        Costante {"vbCrLf", Tipo::String, 0, "\r\n"},
        Costante {"vbNewLine", Tipo::String, 0, "\r\n"},
        Costante {"vbTab", Tipo::String, 0, "\t"},
        Costante {"vbNullString", Tipo::String, 0, ""},
        Costante {"vbNullChar", Tipo::String, 0, std::string_view("\0", 1)},
};

// The constants as Variants, built once.
const std::array<Valore, kCostanti.size()> &valoriCostanti()
{
    static const auto valori = [] {
        std::array<Valore, kCostanti.size()> v;
        for (std::size_t i = 0; i < kCostanti.size(); ++i)
            v[i] = Valore {kCostanti[i].tipo, kCostanti[i].numero, std::string(kCostanti[i].testo)};
        return v;
    }();
    return valori;
}

} // namespace

namespace interni {

int argomentoIntero(const Valore &v, const ContestoEsecuzione &c, double &n)
{
    return aLong(v, c.operazioni.separatore, n);
}

} // namespace interni

bool stessoNome(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int cercaBuiltin(std::string_view nome) noexcept
{
    for (std::size_t i = 0; i < kBuiltin.size(); ++i)
        if (stessoNome(kBuiltin[i].nome, nome))
            return static_cast<int>(i);
    return -1;
}

const Builtin &builtin(int indice) noexcept
{
    return kBuiltin[static_cast<std::size_t>(indice)];
}

const Valore *cercaCostante(std::string_view nome) noexcept
{
    for (std::size_t i = 0; i < kCostanti.size(); ++i)
        if (stessoNome(kCostanti[i].nome, nome))
            return &valoriCostanti()[i];
    return nullptr;
}

} // namespace zelvo
