// The string functions. Strings are UTF-8; lengths and positions count
// characters (code points), as VBScript counts the characters of its text.

#include "engine/BuiltinInterni.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace zelvo::interni {

namespace {

// Bytes in the UTF-8 sequence that starts with c; a stray byte counts as one
// character, so any byte string splits into characters.
std::size_t lunghezzaSequenza(unsigned char c)
{
    if (c >= 0xF0 && c <= 0xF7)
        return 4;
    if (c >= 0xE0)
        return c <= 0xEF ? 3 : 1;
    if (c >= 0xC0)
        return 2;
    return 1;
}

// Byte offsets where each character starts, plus the end.
std::vector<std::size_t> inizi(const std::string &s)
{
    std::vector<std::size_t> v;
    std::size_t i = 0;
    while (i < s.size()) {
        v.push_back(i);
        i = std::min(s.size(), i + lunghezzaSequenza(static_cast<unsigned char>(s[i])));
    }
    v.push_back(s.size());
    return v;
}

// The text of a string argument (numbers written as CStr writes them).
int testo(const Valore &v, const ContestoEsecuzione &c, std::string &s)
{
    return aTesto(v, c.operazioni.separatore, s);
}

int nullo(Valore &r)
{
    r = Valore::nullo();
    return Nessuno;
}

int stringa(Valore &r, std::string s)
{
    if (s.size() > kMaxLunghezzaTesto)
        return SpazioStringaEsaurito;
    r = Valore::stringa(std::move(s));
    return Nessuno;
}

// Characters [da, da + quanti) of s, clamped to its length.
std::string sottostringa(const std::string &s, double da, double quanti)
{
    const std::vector<std::size_t> p = inizi(s);
    const double n = static_cast<double>(p.size() - 1);
    const double a = std::min(std::max(da, 0.0), n);
    const double b = std::min(a + std::max(quanti, 0.0), n);
    const std::size_t ia = p[static_cast<std::size_t>(a)];
    const std::size_t ib = p[static_cast<std::size_t>(b)];
    return s.substr(ia, ib - ia);
}

double caratteri(const std::string &s)
{
    return static_cast<double>(inizi(s).size() - 1);
}

int leftRight(Args a, Valore &r, ContestoEsecuzione &c, bool sinistra)
{
    double n = 0;
    if (const int e = argomentoIntero(a[1], c, n))
        return e;
    if (n < 0)
        return ArgomentoNonValido;
    if (a[0].tipo == Tipo::Null)
        return nullo(r);
    std::string s;
    testo(a[0], c, s);
    const double len = caratteri(s);
    return stringa(r, sinistra ? sottostringa(s, 0, n) : sottostringa(s, len - n, n));
}

bool spazio(char ch)
{
    return ch == ' ';
}

int rifila(Args a, Valore &r, ContestoEsecuzione &c, bool sinistra, bool destra)
{
    if (a[0].tipo == Tipo::Null)
        return nullo(r);
    std::string s;
    testo(a[0], c, s);
    std::size_t i = 0;
    std::size_t j = s.size();
    while (sinistra && i < j && spazio(s[i]))
        ++i;
    while (destra && j > i && spazio(s[j - 1]))
        --j;
    return stringa(r, s.substr(i, j - i));
}

int cambiaCaso(Args a, Valore &r, ContestoEsecuzione &c, bool maiuscole)
{
    if (a[0].tipo == Tipo::Null)
        return nullo(r);
    std::string s;
    testo(a[0], c, s);
    for (char &ch : s) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 0x80)
            ch = static_cast<char>(maiuscole ? std::toupper(u) : std::tolower(u));
    }
    return stringa(r, std::move(s));
}

// The UTF-8 text of a character code; false for codes no character has.
bool codifica(double codice, std::string &s)
{
    if (codice < 0 || codice > 65535 || (codice >= 0xD800 && codice <= 0xDFFF))
        return false;
    const auto u = static_cast<unsigned>(codice);
    if (u < 0x80) {
        s = std::string(1, static_cast<char>(u));
    } else if (u < 0x800) {
        s = {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F))};
    } else {
        s = {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
             static_cast<char>(0x80 | (u & 0x3F))};
    }
    return true;
}

// The code of the first character of a non-empty string.
double primoCodice(const std::string &s)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    const std::size_t n = lunghezzaSequenza(b0);
    if (n == 1 || s.size() < n)
        return b0;
    unsigned codice = b0 & (0x7Fu >> n);
    for (std::size_t i = 1; i < n; ++i)
        codice = (codice << 6) | (static_cast<unsigned char>(s[i]) & 0x3Fu);
    return codice;
}

std::string minuscolo(std::string s)
{
    for (char &ch : s)
        if (static_cast<unsigned char>(ch) < 0x80)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// Byte offset of `cerca` in `in` from byte `da`, or npos. Knuth-Morris-Pratt,
// so a search costs time linear in the texts whatever they hold.
class Ricerca
{
public:
    Ricerca(const std::string &in, const std::string &cerca, bool testuale)
        : in_(testuale ? minuscolo(in) : in)
        , cerca_(testuale ? minuscolo(cerca) : cerca)
        , bordo_(cerca_.size() + 1, 0)
    {
        std::size_t k = 0;
        for (std::size_t i = 1; i < cerca_.size(); ++i) {
            while (k > 0 && cerca_[i] != cerca_[k])
                k = bordo_[k];
            if (cerca_[i] == cerca_[k])
                ++k;
            bordo_[i + 1] = k;
        }
    }

    std::size_t trova(std::size_t da) const
    {
        if (cerca_.empty())
            return da <= in_.size() ? da : std::string::npos;
        std::size_t k = 0;
        for (std::size_t i = da; i < in_.size(); ++i) {
            while (k > 0 && in_[i] != cerca_[k])
                k = bordo_[k];
            if (in_[i] == cerca_[k])
                ++k;
            if (k == cerca_.size())
                return i + 1 - k;
        }
        return std::string::npos;
    }

private:
    std::string in_;
    std::string cerca_;
    std::vector<std::size_t> bordo_;
};

} // namespace

int fLen(Args a, Valore &r, ContestoEsecuzione &c)
{
    if (a[0].tipo == Tipo::Null)
        return nullo(r);
    std::string s;
    testo(a[0], c, s);
    r = Valore::di(Tipo::Long, caratteri(s));
    return Nessuno;
}

int fLeft(Args a, Valore &r, ContestoEsecuzione &c)
{
    return leftRight(a, r, c, true);
}

int fRight(Args a, Valore &r, ContestoEsecuzione &c)
{
    return leftRight(a, r, c, false);
}

int fMid(Args a, Valore &r, ContestoEsecuzione &c)
{
    double inizio = 0;
    if (const int e = argomentoIntero(a[1], c, inizio))
        return e;
    double quanti = 2147483647.0;
    if (a.size() > 2)
        if (const int e = argomentoIntero(a[2], c, quanti))
            return e;
    if (inizio <= 0 || quanti < 0)
        return ArgomentoNonValido;
    if (a[0].tipo == Tipo::Null)
        return nullo(r);
    std::string s;
    testo(a[0], c, s);
    return stringa(r, sottostringa(s, inizio - 1, quanti));
}

// InStr([inizio,] in, cerca[, confronto]): the position of `cerca` in `in`
// from `inizio`, 0 when absent; confronto 1 ignores case.
int fInStr(Args a, Valore &r, ContestoEsecuzione &c)
{
    double inizio = 1;
    std::size_t k = 0;
    if (a.size() >= 3) {
        if (const int e = argomentoIntero(a[0], c, inizio))
            return e;
        if (inizio < 1)
            return ArgomentoNonValido;
        k = 1;
    }
    double confronto = 0;
    if (a.size() == 4)
        if (const int e = argomentoIntero(a[3], c, confronto))
            return e;
    if (confronto != 0 && confronto != 1)
        return ArgomentoNonValido;
    if (a[k].tipo == Tipo::Null || a[k + 1].tipo == Tipo::Null)
        return nullo(r);
    std::string in, cerca;
    testo(a[k], c, in);
    testo(a[k + 1], c, cerca);
    const std::vector<std::size_t> p = inizi(in);
    const double n = static_cast<double>(p.size() - 1);
    double pos = 0;
    if (inizio <= n) {
        const std::size_t b
                = Ricerca(in, cerca, confronto == 1).trova(p[static_cast<std::size_t>(inizio) - 1]);
        if (b != std::string::npos)
            pos = static_cast<double>(std::lower_bound(p.begin(), p.end(), b) - p.begin()) + 1;
    }
    r = Valore::di(Tipo::Long, pos);
    return Nessuno;
}

// InStrRev(in, cerca[, inizio[, confronto]]): the position of the last
// `cerca` that ends at or before character `inizio` (-1: the last one), 0
// when absent or when `inizio` is past the end; Null text is 94.
int fInStrRev(Args a, Valore &r, ContestoEsecuzione &c)
{
    double inizio = -1;
    if (a.size() > 2)
        if (const int e = argomentoIntero(a[2], c, inizio))
            return e;
    double confronto = 0;
    if (a.size() > 3)
        if (const int e = argomentoIntero(a[3], c, confronto))
            return e;
    if ((inizio < 1 && inizio != -1) || (confronto != 0 && confronto != 1))
        return ArgomentoNonValido;
    if (a[0].tipo == Tipo::Null || a[1].tipo == Tipo::Null)
        return UsoNonValidoDiNull;
    std::string in, cerca;
    testo(a[0], c, in);
    testo(a[1], c, cerca);
    const std::vector<std::size_t> p = inizi(in);
    const double n = static_cast<double>(p.size() - 1);
    if (inizio == -1)
        inizio = n;
    double pos = 0;
    if (n > 0 && inizio <= n) {
        if (cerca.empty()) {
            pos = inizio;
        } else {
            // The first match in the reversed texts is the last one: the
            // same linear search as InStr's.
            std::string prima = in.substr(0, p[static_cast<std::size_t>(inizio)]);
            std::reverse(prima.begin(), prima.end());
            std::reverse(cerca.begin(), cerca.end());
            const std::size_t b = Ricerca(prima, cerca, confronto == 1).trova(0);
            if (b != std::string::npos) {
                const std::size_t da = prima.size() - b - cerca.size();
                pos = static_cast<double>(std::lower_bound(p.begin(), p.end(), da) - p.begin()) + 1;
            }
        }
    }
    r = Valore::di(Tipo::Long, pos);
    return Nessuno;
}

// StrComp(a, b[, confronto]): -1, 0 or 1 as a is before, equal to or after
// b, byte by byte; confronto 1 ignores case. Null text gives Null.
int fStrComp(Args a, Valore &r, ContestoEsecuzione &c)
{
    double confronto = 0;
    if (a.size() > 2)
        if (const int e = argomentoIntero(a[2], c, confronto))
            return e;
    if (confronto != 0 && confronto != 1)
        return ArgomentoNonValido;
    if (a[0].tipo == Tipo::Null || a[1].tipo == Tipo::Null)
        return nullo(r);
    std::string s1, s2;
    testo(a[0], c, s1);
    testo(a[1], c, s2);
    if (confronto == 1) {
        s1 = minuscolo(std::move(s1));
        s2 = minuscolo(std::move(s2));
    }
    const int k = s1.compare(s2);
    r = Valore::intero(k < 0 ? -1 : (k > 0 ? 1 : 0));
    return Nessuno;
}

int fAsc(Args a, Valore &r, ContestoEsecuzione &c)
{
    std::string s;
    if (const int e = testo(a[0], c, s))
        return e;
    if (s.empty())
        return ArgomentoNonValido;
    const double codice = primoCodice(s);
    r = Valore::di(tipoIntero(Tipo::Integer, codice), codice);
    return Nessuno;
}

int fChr(Args a, Valore &r, ContestoEsecuzione &c)
{
    double codice = 0;
    if (const int e = argomentoIntero(a[0], c, codice))
        return e;
    std::string s;
    if (!codifica(codice, s))
        return ArgomentoNonValido;
    r = Valore::stringa(std::move(s));
    return Nessuno;
}

int fLCase(Args a, Valore &r, ContestoEsecuzione &c)
{
    return cambiaCaso(a, r, c, false);
}

int fUCase(Args a, Valore &r, ContestoEsecuzione &c)
{
    return cambiaCaso(a, r, c, true);
}

int fTrim(Args a, Valore &r, ContestoEsecuzione &c)
{
    return rifila(a, r, c, true, true);
}

int fLTrim(Args a, Valore &r, ContestoEsecuzione &c)
{
    return rifila(a, r, c, true, false);
}

int fRTrim(Args a, Valore &r, ContestoEsecuzione &c)
{
    return rifila(a, r, c, false, true);
}

int fSpace(Args a, Valore &r, ContestoEsecuzione &c)
{
    double n = 0;
    if (const int e = argomentoIntero(a[0], c, n))
        return e;
    if (n < 0)
        return ArgomentoNonValido;
    if (n > static_cast<double>(kMaxLunghezzaTesto))
        return SpazioStringaEsaurito;
    r = Valore::stringa(std::string(static_cast<std::size_t>(n), ' '));
    return Nessuno;
}

// String(n, carattere): n copies of a character given by text (its first
// character) or by code.
int fString(Args a, Valore &r, ContestoEsecuzione &c)
{
    if (a[0].tipo == Tipo::Null || a[1].tipo == Tipo::Null)
        return nullo(r);
    double n = 0;
    if (const int e = argomentoIntero(a[0], c, n))
        return e;
    if (n < 0)
        return ArgomentoNonValido;
    std::string carattere;
    if (a[1].tipo == Tipo::String) {
        if (a[1].testo.empty())
            return ArgomentoNonValido;
        carattere = sottostringa(a[1].testo, 0, 1);
    } else {
        double codice = 0;
        if (const int e = argomentoIntero(a[1], c, codice))
            return e;
        codice = codice - 256 * std::floor(codice / 256); // VB keeps the low byte
        codifica(codice, carattere);
    }
    if (n * static_cast<double>(carattere.size()) > static_cast<double>(kMaxLunghezzaTesto))
        return SpazioStringaEsaurito;
    const auto volte = static_cast<std::size_t>(n);
    std::string s;
    if (carattere.size() == 1) {
        s.assign(volte, carattere[0]);
    } else {
        s.reserve(volte * carattere.size());
        for (std::size_t i = 0; i < volte; ++i)
            s += carattere;
    }
    r = Valore::stringa(std::move(s));
    return Nessuno;
}

int fStrReverse(Args a, Valore &r, ContestoEsecuzione &c)
{
    std::string s;
    if (const int e = testo(a[0], c, s))
        return e;
    const std::vector<std::size_t> p = inizi(s);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = p.size() - 1; i > 0; --i)
        out.append(s, p[i - 1], p[i] - p[i - 1]);
    r = Valore::stringa(std::move(out));
    return Nessuno;
}

// Replace(in, cerca, con[, inizio[, quante[, confronto]]]): the text from
// `inizio` on with up to `quante` occurrences replaced (-1: all).
int fReplace(Args a, Valore &r, ContestoEsecuzione &c)
{
    for (const Valore &v : a)
        if (v.tipo == Tipo::Null)
            return UsoNonValidoDiNull;
    std::string in, cerca, con;
    testo(a[0], c, in);
    testo(a[1], c, cerca);
    testo(a[2], c, con);
    double inizio = 1, quante = -1, confronto = 0;
    if (a.size() > 3)
        if (const int e = argomentoIntero(a[3], c, inizio))
            return e;
    if (a.size() > 4)
        if (const int e = argomentoIntero(a[4], c, quante))
            return e;
    if (a.size() > 5)
        if (const int e = argomentoIntero(a[5], c, confronto))
            return e;
    if (inizio < 1 || quante < -1 || (confronto != 0 && confronto != 1))
        return ArgomentoNonValido;
    in = sottostringa(in, inizio - 1, caratteri(in));
    if (cerca.empty() || quante == 0)
        return stringa(r, std::move(in));
    const Ricerca ricerca(in, cerca, confronto == 1);
    std::string out;
    std::size_t da = 0;
    for (double fatte = 0; quante < 0 || fatte < quante; ++fatte) {
        const std::size_t b = ricerca.trova(da);
        if (b == std::string::npos)
            break;
        if (out.size() + (b - da) + con.size() > kMaxLunghezzaTesto)
            return SpazioStringaEsaurito;
        out.append(in, da, b - da);
        out += con;
        da = b + cerca.size();
    }
    out.append(in, da);
    return stringa(r, std::move(out));
}

} // namespace zelvo::interni
