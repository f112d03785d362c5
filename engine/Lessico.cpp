#include "engine/Lessico.h"

#include "engine/Nomi.h"
#include "engine/TestoNumero.h"

#include <array>
#include <cstdint>

namespace zelvo {

namespace {

struct ParolaChiave
{
    std::string_view testo;
    Simbolo simbolo;
};

// The operator written `t` (a word without regard to case), the first row's
// where two rows share a text; false when no operator is written so.
bool cercaOperatore(std::string_view t, Operatore &op) noexcept
{
    for (const RigaOperatore &r : kOperatori)
        if (stessoNome(t, r.testo) || (!r.altro.empty() && stessoNome(t, r.altro))) {
            op = r.op;
            return true;
        }
    return false;
}

// Keywords besides the operators, matched without regard to case. The
// statements the engine does not offer stay reserved, so using them is a
// syntax error, never a name.
constexpr std::array kParoleChiave {
        ParolaChiave {"option", Simbolo::Option},
        ParolaChiave {"explicit", Simbolo::Explicit},
        ParolaChiave {"function", Simbolo::Function},
        ParolaChiave {"end", Simbolo::End},
        ParolaChiave {"dim", Simbolo::Dim},
        ParolaChiave {"true", Simbolo::True},
        ParolaChiave {"false", Simbolo::False},
        ParolaChiave {"empty", Simbolo::Empty},
        ParolaChiave {"null", Simbolo::Null},
        ParolaChiave {"nothing", Simbolo::Nothing},
        ParolaChiave {"on", Simbolo::On},
        ParolaChiave {"error", Simbolo::Error},
        ParolaChiave {"resume", Simbolo::Resume},
        ParolaChiave {"next", Simbolo::Next},
        ParolaChiave {"goto", Simbolo::GoTo},
        ParolaChiave {"exit", Simbolo::Exit},
        ParolaChiave {"err", Simbolo::Err},
};

constexpr std::string_view kRiservate[] = {
        "byref", "byval",    "call",    "case",     "class",  "const", "default", "do",  "each",
        "else",  "elseif",   "erase",   "for",      "get",    "if",    "in",      "let", "loop",
        "new",   "preserve", "private", "property", "public", "redim", "select",  "set", "step",
        "stop",  "sub",      "then",    "to",       "until",  "wend",
};

bool cifra(char c)
{
    return c >= '0' && c <= '9';
}

bool lettera(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int valoreCifra(char c, int base)
{
    int d = -1;
    if (cifra(c))
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

class Lessico
{
public:
    explicit Lessico(std::string_view s)
        : s_(s)
    { }

    std::vector<Gettone> analizza()
    {
        while (!errore_ && i_ < s_.size())
            prossimo();
        aggiungi(Simbolo::Fine, s_.size(), s_.size());
        return std::move(gettoni_);
    }

private:
    void prossimo()
    {
        const char c = s_[i_];
        if (c == ' ' || c == '\t') {
            ++i_;
        } else if (c == '\r' || c == '\n' || c == ':') {
            const std::size_t a = i_++;
            if (c == '\r' && i_ < s_.size() && s_[i_] == '\n')
                ++i_;
            aggiungi(Simbolo::FineIstruzione, a, i_);
        } else if (c == '\'') {
            saltaCommento();
        } else if (cifra(c) || (c == '.' && i_ + 1 < s_.size() && cifra(s_[i_ + 1]))) {
            numero();
        } else if (lettera(c)) {
            nome();
        } else if (c == '"') {
            stringa();
        } else if (c == '&' && i_ + 2 < s_.size() && esadecimale()) {
            // handled
        } else {
            simbolo();
        }
    }

    void aggiungi(Simbolo s, std::size_t a, std::size_t b, Operatore op = Operatore::Somma)
    {
        Gettone g;
        g.simbolo = s;
        g.op = op;
        g.posizione = static_cast<int>(a);
        g.testo = s_.substr(a, b - a);
        gettoni_.push_back(std::move(g));
    }

    void letterale(std::size_t a, Valore v)
    {
        aggiungi(Simbolo::Letterale, a, i_);
        gettoni_.back().valore = std::move(v);
    }

    void errore(int numero, std::size_t pos)
    {
        errore_ = true;
        aggiungi(Simbolo::Errore, pos, pos);
        gettoni_.back().valore.numero = numero;
    }

    bool inizioIstruzione() const
    {
        return gettoni_.empty() || gettoni_.back().simbolo == Simbolo::FineIstruzione;
    }

    void saltaCommento()
    {
        while (i_ < s_.size() && s_[i_] != '\r' && s_[i_] != '\n')
            ++i_;
    }

    // digits [. digits] [E [sign] digits], or . digits ...: Integer, Long or
    // Double by size; a literal beyond the Double range is an invalid number.
    void numero()
    {
        const std::size_t a = i_;
        bool intero = true;
        while (i_ < s_.size() && cifra(s_[i_]))
            ++i_;
        if (i_ < s_.size() && s_[i_] == '.') {
            intero = false;
            ++i_;
            while (i_ < s_.size() && cifra(s_[i_]))
                ++i_;
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            std::size_t j = i_ + 1;
            if (j < s_.size() && (s_[j] == '+' || s_[j] == '-'))
                ++j;
            if (j < s_.size() && cifra(s_[j])) {
                intero = false;
                i_ = j;
                while (i_ < s_.size() && cifra(s_[i_]))
                    ++i_;
            }
        }
        const NumeroLetto n = leggiNumero(s_.substr(a, i_ - a), '.');
        if (!n.ok())
            return errore(NumeroNonValido, a);
        Tipo t = Tipo::Double;
        if (intero)
            t = tipoIntero(Tipo::Integer, n.valore);
        letterale(a, Valore::di(t, n.valore));
    }

    // &H / &O literals: up to 4 hex digits (or an octal value up to &O177777)
    // are a 16-bit value, so &HFFFF is -1; a trailing '&' or more digits make
    // it 32-bit. Returns false when '&' is the concatenation operator.
    bool esadecimale()
    {
        const char tipo = minuscola(s_[i_ + 1]);
        const int base = tipo == 'h' ? 16 : (tipo == 'o' ? 8 : 0);
        if (base == 0 || valoreCifra(s_[i_ + 2], base) < 0)
            return false;
        const std::size_t a = i_;
        i_ += 2;
        std::uint64_t v = 0;
        int cifre = 0;
        for (; i_ < s_.size() && valoreCifra(s_[i_], base) >= 0; ++i_, ++cifre) {
            v = v * static_cast<unsigned>(base) + static_cast<unsigned>(valoreCifra(s_[i_], base));
            if (v > 0xFFFFFFFFu) {
                errore(NumeroNonValido, a);
                return true;
            }
        }
        bool lungo = false;
        if (i_ < s_.size() && s_[i_] == '&') {
            lungo = true;
            ++i_;
        }
        const bool corto = !lungo && (base == 16 ? cifre <= 4 : v <= 0xFFFF);
        const double d = corto
                ? static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)))
                : static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
        letterale(a, Valore::di(tipoIntero(Tipo::Integer, d), d));
        return true;
    }

    void nome()
    {
        const std::size_t a = i_;
        while (i_ < s_.size() && (lettera(s_[i_]) || cifra(s_[i_]) || s_[i_] == '_'))
            ++i_;
        const std::string_view t = s_.substr(a, i_ - a);
        if (stessoNome(t, "rem") && inizioIstruzione())
            return saltaCommento();
        if (Operatore o {}; cercaOperatore(t, o))
            return aggiungi(Simbolo::Operatore, a, i_, o);
        for (const ParolaChiave &k : kParoleChiave)
            if (stessoNome(t, k.testo))
                return aggiungi(k.simbolo, a, i_);
        for (std::string_view r : kRiservate)
            if (stessoNome(t, r))
                return aggiungi(Simbolo::Riservata, a, i_);
        if (stessoNome(t, "rem"))
            return aggiungi(Simbolo::Riservata, a, i_);
        aggiungi(Simbolo::Nome, a, i_);
    }

    void stringa()
    {
        const std::size_t a = i_++;
        std::string v;
        for (;;) {
            if (i_ >= s_.size() || s_[i_] == '\r' || s_[i_] == '\n')
                return errore(StringaNonTerminata, a);
            if (s_[i_] == '"') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == '"') {
                    v += '"';
                    i_ += 2;
                    continue;
                }
                ++i_;
                break;
            }
            v += s_[i_++];
        }
        letterale(a, Valore::stringa(std::move(v)));
    }

    void simbolo()
    {
        const std::size_t a = i_;
        const char c = s_[i_++];
        Operatore o {};
        for (const std::size_t lunghezza : {std::size_t {2}, std::size_t {1}})
            if (a + lunghezza <= s_.size() && cercaOperatore(s_.substr(a, lunghezza), o)) {
                i_ = a + lunghezza;
                return aggiungi(Simbolo::Operatore, a, i_, o);
            }
        switch (c) {
        case '(':
            return aggiungi(Simbolo::ParentesiAperta, a, i_);
        case ')':
            return aggiungi(Simbolo::ParentesiChiusa, a, i_);
        case ',':
            return aggiungi(Simbolo::Virgola, a, i_);
        case '.': // no objects but Err: a member of anything else is no token
            if (!gettoni_.empty() && gettoni_.back().simbolo == Simbolo::Err)
                return aggiungi(Simbolo::Punto, a, i_);
            return errore(CarattereNonValido, a);
        default:
            return errore(CarattereNonValido, a);
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
    bool errore_ = false;
    std::vector<Gettone> gettoni_;
};

} // namespace

std::vector<Gettone> analizzaLessico(std::string_view sorgente)
{
    return Lessico(sorgente).analizza();
}

} // namespace zelvo
