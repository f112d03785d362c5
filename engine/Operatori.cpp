#include "engine/Operatori.h"

#include "engine/Numerico.h"
#include "engine/Operazioni.h"

#include <cmath>
#include <cstdint>

namespace zelvo {

namespace {

namespace riga = operazioni::riga;

bool intero(Tipo t)
{
    return t == Tipo::Boolean || t == Tipo::Byte || t == Tipo::Integer || t == Tipo::Long;
}

// An arithmetic operand: strings are read as Doubles, the rest keep their subtype.
int operandoNumerico(const Valore &v, const ContestoOperazioni &c, Tipo &t, double &n)
{
    if (v.tipo == Tipo::String) {
        t = Tipo::Double;
        return numeroDaTesto(v.testo, c.separatore, n);
    }
    t = v.tipo;
    n = v.numero;
    return Nessuno;
}

// The subtype a result of base subtype t takes once its value r is known:
// integral overflows promote (Boolean -> Integer -> Long -> Double), a
// Single that no longer fits becomes a Double, a Double overflow is error 6.
int sistemaRisultato(Tipo t, double r, Valore &out)
{
    if (!std::isfinite(r))
        return ErroreOverflow;
    if (t == Tipo::Boolean)
        t = (r == 0 || r == -1) ? Tipo::Boolean : tipoIntero(Tipo::Integer, r);
    else if (intero(t))
        t = tipoIntero(t, r);
    if (intero(t))
        r += 0.0; // integral subtypes hold no -0
    if (t == Tipo::Single) {
        const float f = static_cast<float>(r);
        if (std::isinf(f))
            t = Tipo::Double;
        else
            r = static_cast<double>(f);
    }
    out = Valore::di(t, r);
    return Nessuno;
}

// The arithmetic operators give Null for a Null operand.
bool conNull(const Valore &a, const Valore &b, Valore &r)
{
    if (a.tipo != Tipo::Null && b.tipo != Tipo::Null)
        return false;
    r = Valore::nullo();
    return true;
}

// The Variant form of a numeric operator, from its row R of the numeric
// program: Null gives Null, strings are read as Doubles (the first
// operand's error first), R::scalare gives the value and its error, the
// same bits as the numeric program's, and R::sottotipo the subtype.
template<class R>
int numerica(Operatore op, const Valore &a, const Valore &b, Valore &r, const ContestoOperazioni &c,
             Letterale, Letterale)
{
    if (conNull(a, b, r))
        return Nessuno;
    Tipo ta {}, tb {};
    double va = 0, vb = 0;
    if (const int e = operandoNumerico(a, c, ta, va))
        return e;
    if (const int e = operandoNumerico(b, c, tb, vb))
        return e;
    double v = 0;
    if (const int e = R::scalare(va, vb, v))
        return e;
    return sistemaRisultato(R::sottotipo(op, ta, tb), v, r);
}

// The subtype of \, Mod and the bitwise operators for one operand after its
// rounding to a Long: Empty counts as Integer, non-integral types as Long.
Tipo tipoInteroOperando(Tipo t)
{
    switch (t) {
    case Tipo::Boolean:
    case Tipo::Byte:
    case Tipo::Integer:
        return t;
    case Tipo::Empty:
        return Tipo::Integer;
    default:
        return Tipo::Long;
    }
}

Tipo tipoInteroComune(Tipo a, Tipo b)
{
    if (a == b)
        return a;
    if (a == Tipo::Long || b == Tipo::Long)
        return Tipo::Long;
    return Tipo::Integer;
}

int divisioneIntera(Operatore op, const Valore &a, const Valore &b, Valore &r,
                    const ContestoOperazioni &c, Letterale, Letterale)
{
    if (conNull(a, b, r))
        return Nessuno;
    double va = 0, vb = 0;
    if (const int e = aLong(a, c.separatore, va))
        return e;
    if (const int e = aLong(b, c.separatore, vb))
        return e;
    double d = 0;
    if (const int e = reale::divisioneIntera(op == Operatore::Modulo, va, vb, d))
        return e;
    Tipo t = tipoInteroComune(tipoInteroOperando(a.tipo), tipoInteroOperando(b.tipo));
    if (t == Tipo::Boolean)
        t = Tipo::Integer;
    r = Valore::di(tipoIntero(t, d), d);
    return Nessuno;
}

int concatena(Operatore, const Valore &a, const Valore &b, Valore &r, const ContestoOperazioni &c,
              Letterale, Letterale)
{
    if (a.tipo == Tipo::Null && b.tipo == Tipo::Null) {
        r = Valore::nullo();
        return Nessuno;
    }
    std::string sa, sb;
    if (a.tipo != Tipo::Null)
        aTesto(a, c.separatore, sa);
    if (b.tipo != Tipo::Null)
        aTesto(b, c.separatore, sb);
    if (sa.size() + sb.size() > kMaxLunghezzaTesto)
        return SpazioStringaEsaurito;
    sa += sb;
    r = Valore::stringa(std::move(sa));
    return Nessuno;
}

// A logical operand as a bit pattern, with the subtype it lends to the result.
int operandoLogico(const Valore &v, const ContestoOperazioni &c, Tipo &t, std::int32_t &n)
{
    t = tipoInteroOperando(v.tipo);
    double d = 0;
    if (const int e = aLong(v, c.separatore, d))
        return e;
    n = static_cast<std::int32_t>(d);
    return Nessuno;
}

Valore valoreLogico(Tipo t, std::int32_t n)
{
    if (t == Tipo::Byte)
        n &= 0xFF;
    return Valore::di(t, static_cast<double>(n));
}

// And, Or and Imp with a Null operand: Null unless the other operand alone
// decides the result (False And Null is False, True Or Null is True).
int logicaConNull(Operatore op, const Valore &a, const Valore &b, Valore &r,
                  const ContestoOperazioni &c)
{
    if (op == Operatore::Xor || op == Operatore::Eqv
        || (a.tipo == Tipo::Null && b.tipo == Tipo::Null)) {
        r = Valore::nullo();
        return Nessuno;
    }
    const bool nullASinistra = a.tipo == Tipo::Null;
    Tipo t {};
    std::int32_t n = 0;
    if (const int e = operandoLogico(nullASinistra ? b : a, c, t, n))
        return e;
    if (op == Operatore::Imp && !nullASinistra) { // (Not a) Or Null
        n = ~n;
        op = Operatore::Or;
    }
    const bool decide = op == Operatore::And ? n == 0 : n != 0;
    r = decide ? valoreLogico(t, n) : Valore::nullo();
    return Nessuno;
}

int logica(Operatore op, const Valore &a, const Valore &b, Valore &r, const ContestoOperazioni &c,
           Letterale, Letterale)
{
    if (a.tipo == Tipo::Null || b.tipo == Tipo::Null)
        return logicaConNull(op, a, b, r, c);
    Tipo ta {}, tb {};
    std::int32_t na = 0, nb = 0;
    if (const int e = operandoLogico(a, c, ta, na))
        return e;
    if (const int e = operandoLogico(b, c, tb, nb))
        return e;
    r = valoreLogico(tipoInteroComune(ta, tb), reale::bitLogici(op, na, nb));
    return Nessuno;
}

// -1, 0 or 1; the caller has excluded Null.
int confrontoTesti(const std::string &a, const std::string &b)
{
    const int c = a.compare(b); // byte order: binary comparison
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int ordine(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Compares a string with a number (or Boolean): a number literal reads the
// string as a number, a string literal writes the number as text, and two
// computed values put the string above every number.
int testoConNumero(const Valore &s, Letterale ls, const Valore &n, Letterale ln,
                   bool testoASinistra, const ContestoOperazioni &c, int &esito)
{
    if (ln == Letterale::Numero) {
        double v = 0;
        if (const int e = numeroDaTesto(s.testo, c.separatore, v))
            return e == ErroreOverflow ? e : TipoNonCorrispondente;
        esito = ordine(v, n.numero);
    } else if (ls == Letterale::Testo) {
        std::string t;
        aTesto(n, c.separatore, t);
        esito = confrontoTesti(s.testo, t);
    } else {
        esito = 1;
    }
    if (!testoASinistra)
        esito = -esito;
    return Nessuno;
}

int confronto(Operatore op, const Valore &a, const Valore &b, Valore &r,
              const ContestoOperazioni &c, Letterale la, Letterale lb)
{
    if (op == Operatore::Is)
        return OggettoNecessario;
    if (a.tipo == Tipo::Null || b.tipo == Tipo::Null) {
        r = Valore::nullo();
        return Nessuno;
    }
    const bool sa = a.tipo == Tipo::String;
    const bool sb = b.tipo == Tipo::String;
    int esito = 0;
    if (sa && sb)
        esito = confrontoTesti(a.testo, b.testo);
    else if (sa && b.tipo == Tipo::Empty)
        esito = a.testo.empty() ? 0 : 1;
    else if (sb && a.tipo == Tipo::Empty)
        esito = b.testo.empty() ? 0 : -1;
    else if (sa) {
        if (const int e = testoConNumero(a, la, b, lb, true, c, esito))
            return e;
    } else if (sb) {
        if (const int e = testoConNumero(b, lb, a, la, false, c, esito))
            return e;
    } else
        esito = ordine(a.numero, b.numero);

    bool vero = false;
    switch (op) {
    case Operatore::Uguale:
        vero = esito == 0;
        break;
    case Operatore::Diverso:
        vero = esito != 0;
        break;
    case Operatore::Minore:
        vero = esito < 0;
        break;
    case Operatore::Maggiore:
        vero = esito > 0;
        break;
    case Operatore::MinoreUguale:
        vero = esito <= 0;
        break;
    default:
        vero = esito >= 0;
        break;
    }
    r = Valore::booleano(vero);
    return Nessuno;
}

// + of two strings, or of a string and Empty, concatenates.
int somma(Operatore op, const Valore &a, const Valore &b, Valore &r, const ContestoOperazioni &c,
          Letterale la, Letterale lb)
{
    const bool testoA = a.tipo == Tipo::String, testoB = b.tipo == Tipo::String;
    if ((testoA && (testoB || b.tipo == Tipo::Empty)) || (testoB && a.tipo == Tipo::Empty))
        return concatena(op, a, b, r, c, la, lb);
    return numerica<riga::Somma>(op, a, b, r, c, la, lb);
}

// The prefix operators: b is a again.
int piu(Operatore, const Valore &a, const Valore &, Valore &r, const ContestoOperazioni &,
        Letterale, Letterale)
{
    r = a;
    return Nessuno;
}

int nonLogico(Operatore, const Valore &a, const Valore &, Valore &r, const ContestoOperazioni &c,
              Letterale, Letterale)
{
    if (a.tipo == Tipo::Null) {
        r = Valore::nullo();
        return Nessuno;
    }
    if (a.tipo == Tipo::Empty) {
        r = Valore::intero(-1);
        return Nessuno;
    }
    Tipo t {};
    std::int32_t n = 0;
    if (const int e = operandoLogico(a, c, t, n))
        return e;
    r = valoreLogico(t, ~n);
    return Nessuno;
}

int meno(Operatore, const Valore &a, const Valore &, Valore &r, const ContestoOperazioni &c,
         Letterale, Letterale)
{
    switch (a.tipo) {
    case Tipo::Null:
        r = Valore::nullo();
        return Nessuno;
    case Tipo::Empty:
        r = Valore::intero(0);
        return Nessuno;
    case Tipo::String: {
        double v = 0;
        if (const int e = numeroDaTesto(a.testo, c.separatore, v))
            return e;
        r = Valore::doppio(-v);
        return Nessuno;
    }
    case Tipo::Single:
    case Tipo::Double:
        r = Valore::di(a.tipo, -a.numero);
        return Nessuno;
    case Tipo::Boolean:
    case Tipo::Byte:
        return sistemaRisultato(Tipo::Integer, -a.numero, r);
    default:
        return sistemaRisultato(a.tipo, -a.numero, r);
    }
}

using FunzioneVariante = int (*)(Operatore op, const Valore &a, const Valore &b, Valore &r,
                                 const ContestoOperazioni &c, Letterale la, Letterale lb);

// Each operator's Variant function, in the order of Operatore.
#define ZELVO_VARIANTE(Nome, testo, altro, infisso, prefisso, associativita, funzione) funzione,
constexpr FunzioneVariante kVarianti[] = {ZELVO_OPERATORI(ZELVO_VARIANTE)};
#undef ZELVO_VARIANTE

} // namespace

Tipo tipoAritmetico(Operatore op, Tipo a, Tipo b) noexcept
{
    const bool additivo = op == Operatore::Somma || op == Operatore::Differenza;
    if (a == Tipo::Empty && b == Tipo::Empty)
        return Tipo::Integer;
    if (a == Tipo::Empty || b == Tipo::Empty) {
        const Tipo altro = a == Tipo::Empty ? b : a;
        if (additivo)
            return altro == Tipo::Boolean ? Tipo::Integer : altro;
        if (a == Tipo::Empty)
            a = Tipo::Integer;
        else
            b = Tipo::Integer;
    }
    if (a == Tipo::Double || b == Tipo::Double)
        return Tipo::Double;
    if (a == Tipo::Single || b == Tipo::Single)
        return (a == Tipo::Long || b == Tipo::Long) ? Tipo::Double : Tipo::Single;
    if (a == Tipo::Long || b == Tipo::Long)
        return Tipo::Long;
    if (a == Tipo::Integer || b == Tipo::Integer)
        return Tipo::Integer;
    if (a == Tipo::Boolean && b == Tipo::Boolean)
        return additivo ? Tipo::Boolean : Tipo::Integer;
    if (a == Tipo::Byte && b == Tipo::Byte)
        return Tipo::Byte;
    return Tipo::Integer; // Boolean with Byte
}

// A Single only meets types it holds exactly: then the quotient stays Single.
Tipo tipoQuoziente(Operatore, Tipo a, Tipo b) noexcept
{
    const auto rango = [](Tipo t) {
        switch (t) {
        case Tipo::Boolean:
            return 0;
        case Tipo::Byte:
            return 1;
        case Tipo::Empty:
        case Tipo::Integer:
            return 2;
        case Tipo::Long:
            return 3;
        case Tipo::Single:
            return 4;
        default:
            return 5;
        }
    };
    const bool singolo = (a == Tipo::Single || b == Tipo::Single) && rango(a) <= 4 && rango(b) <= 4
            && a != Tipo::Long && b != Tipo::Long;
    return singolo ? Tipo::Single : Tipo::Double;
}

Tipo tipoDouble(Operatore, Tipo, Tipo) noexcept
{
    return Tipo::Double;
}

int operazioneBinaria(Operatore op, const Valore &a, const Valore &b, Valore &r,
                      const ContestoOperazioni &c, Letterale la, Letterale lb)
{
    return kVarianti[static_cast<std::size_t>(op)](op, a, b, r, c, la, lb);
}

int operazioneUnaria(Operatore op, const Valore &a, Valore &r, const ContestoOperazioni &c)
{
    return kVarianti[static_cast<std::size_t>(op)](op, a, a, r, c, Letterale::No, Letterale::No);
}

} // namespace zelvo
