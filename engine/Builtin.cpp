#include "engine/Builtin.h"

#include "engine/BuiltinInterni.h"
#include "engine/Numerico.h"
#include "engine/Operazioni.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace zelvo {

using namespace interni;

namespace {

// ---- math -------------------------------------------------------------

// The Double functions of one or two arguments taking Variants (the numeric
// program's row R): Null is 94, strings are read as numbers, the first
// argument's error first.
template<class R> int suDouble(Args a, Valore &r, ContestoEsecuzione &c)
{
    double v[2] = {0, 0};
    for (std::size_t i = 0; i < a.size(); ++i)
        if (const int e = aDouble(a[i], c.operazioni.separatore, v[i]))
            return e;
    double ris = 0;
    if (const int e = R::scalare(v[0], v[1], ris))
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
    double s = 0;
    reale::segno(v, s);
    r = Valore::di(Tipo::Integer, s);
    return Nessuno;
}

// Round(v[, decimali]): half to even at the given decimal; integral
// subtypes are kept, the rest become Double.
int fRound(Args a, Valore &r, ContestoEsecuzione &c)
{
    const Valore &v = a[0];
    double decimali = 0;
    if (a.size() > 1) {
        if (const int e = aDouble(a[1], c.operazioni.separatore, decimali))
            return e;
        if (const int e = reale::decimali(decimali, decimali))
            return e;
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
    r = Valore::di(v.tipo == Tipo::Single ? Tipo::Single : Tipo::Double,
                   reale::arrotonda(n, decimali));
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
    if (T == Tipo::Byte && a[0].tipo == Tipo::Boolean)
        v = v != 0 ? 255 : 0; // a Boolean's low bits: True is 255
    if (const int e
        = reale::intero(v, static_cast<double>(Minimo), static_cast<double>(Massimo), v))
        return e;
    r = Valore::di(T, v);
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
        Builtin {"Abs", 1, 1, conservaTipo<reale::assoluto>, true},
        Builtin {"Asc", 1, 1, fAsc, true},
        Builtin {"CBool", 1, 1, fCBool, true},
        Builtin {"CByte", 1, 1, interoIn<Tipo::Byte, 0, 255>, true},
        Builtin {"CDbl", 1, 1, fCDbl, true},
        Builtin {"Chr", 1, 1, fChr, true},
        Builtin {"CInt", 1, 1, interoIn<Tipo::Integer, -32768, 32767>, true},
        Builtin {"CLng", 1, 1, interoIn<Tipo::Long, -2147483648LL, 2147483647>, true},
        Builtin {"CSng", 1, 1, fCSng, true},
        Builtin {"CStr", 1, 1, fCStr, true},
        Builtin {"Fix", 1, 1, conservaTipo<reale::troncato>, true},
        Builtin {"Hex", 1, 1, inBase<16>, true},
        Builtin {"InStr", 2, 4, fInStr, true},
        Builtin {"InStrRev", 2, 4, fInStrRev, true},
        Builtin {"Int", 1, 1, conservaTipo<reale::parteIntera>, true},
        Builtin {"IsEmpty", 1, 1, fIsEmpty, true},
        Builtin {"IsNull", 1, 1, fIsNull, true},
        Builtin {"IsNumeric", 1, 1, fIsNumeric, true},
        Builtin {"LCase", 1, 1, fLCase, true},
        Builtin {"Left", 2, 2, fLeft, true},
        Builtin {"Len", 1, 1, fLen, true},
        Builtin {"LTrim", 1, 1, fLTrim, true},
        Builtin {"Mid", 2, 3, fMid, true},
        Builtin {"Oct", 1, 1, inBase<8>, true},
        Builtin {"Replace", 3, 6, fReplace, true},
        Builtin {"Right", 2, 2, fRight, true},
        Builtin {"Rnd", 0, 1, fRnd, false},
        Builtin {"Round", 1, 2, fRound, true},
        Builtin {"RTrim", 1, 1, fRTrim, true},
        Builtin {"Sgn", 1, 1, fSgn, true},
        Builtin {"Space", 1, 1, fSpace, true},
        Builtin {"String", 2, 2, fString, true},
        Builtin {"StrComp", 2, 3, fStrComp, true},
        Builtin {"StrReverse", 1, 1, fStrReverse, true},
        Builtin {"Trim", 1, 1, fTrim, true},
        Builtin {"TypeName", 1, 1, fTypeName, true},
        Builtin {"UCase", 1, 1, fUCase, true},
        Builtin {"VarType", 1, 1, fVarType, true},
#define ZELVO_BUILTIN_DOUBLE(Nome, ...)                                                            \
    Builtin {#Nome, operazioni::riga::Nome::arieta, operazioni::riga::Nome::arieta,                \
             suDouble<operazioni::riga::Nome>, true},
        ZELVO_FUNZIONI_DOUBLE(ZELVO_BUILTIN_DOUBLE)
#undef ZELVO_BUILTIN_DOUBLE
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

std::span<const Builtin> tuttiBuiltin() noexcept
{
    return kBuiltin;
}

const Valore *cercaCostante(std::string_view nome) noexcept
{
    for (std::size_t i = 0; i < kCostanti.size(); ++i)
        if (stessoNome(kCostanti[i].nome, nome))
            return &valoriCostanti()[i];
    return nullptr;
}

} // namespace zelvo
