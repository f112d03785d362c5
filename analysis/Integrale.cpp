#include "analysis/Integrale.h"

#include "engine/Funzione.h"
#include "engine/TestoNumero.h"
#include "plot/Avanzamento.h"
#include "plot/Spazzata.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelvo {

namespace {

constexpr double kTolleranza = 1e-13;
constexpr int kLivelloMassimo = 12;
constexpr int kSuddivisioni = 6; // a stretch that does not converge is halved at most this often

struct Somma
{
    double valore = 0;
    double assoluto = 0; // the integral of |f|, for the relative tolerance
    bool converge = true;
};

// Tanh-sinh quadrature on [a, b]: x = c + h tanh(pi/2 sinh t), t summed at
// steps 1, 1/2, 1/4... until two levels agree. The distance of each node from
// the nearer end is computed directly, so nodes crowd towards the ends down
// to the last double without cancellation; f is never taken at a or b.
Somma tanhSinh(Funzione &f, double a, double b)
{
    const double c = a + (b - a) / 2;
    const double h = (b - a) / 2;
    constexpr double kMezzoPi = std::numbers::pi / 2;
    // One node pair at t > 0 (and -t): weight times f at both.
    const auto coppia = [&](double t, double &assoluto) {
        const double u = kMezzoPi * std::sinh(t);
        const double e = std::exp(-2 * u); // small for large t
        const double distanza = h * 2 * e / (1 + e); // from the nearer end
        const double cu = std::cosh(u);
        const double w = h * kMezzoPi * std::cosh(t) / (cu * cu);
        double s = 0;
        for (const double x : {b - distanza, a + distanza}) {
            if (!(x > a && x < b))
                continue;
            avanza(NAN);
            const Valutazione v = f.Valuta(x);
            if (v.ok()) {
                s += w * v.valore;
                assoluto += w * std::fabs(v.valore);
            }
        }
        return s;
    };
    constexpr double kTMassimo = 6.6; // nodes beyond lie within 1e-300 of an end
    double passo = 1;
    double assoluto = 0;
    const Valutazione centro = f.Valuta(c);
    double somma = centro.ok() ? h * kMezzoPi * centro.valore : 0;
    assoluto = centro.ok() ? h * kMezzoPi * std::fabs(centro.valore) : 0;
    for (double t = passo; t <= kTMassimo; t += passo)
        somma += coppia(t, assoluto);
    double precedente = somma * passo;
    for (int livello = 1; livello <= kLivelloMassimo; ++livello) {
        passo /= 2;
        // The new nodes: the odd multiples of the new step.
        for (double t = passo; t <= kTMassimo; t += 2 * passo)
            somma += coppia(t, assoluto);
        const double stima = somma * passo;
        const double errore = std::fabs(stima - precedente);
        if (livello >= 3 && errore <= kTolleranza * std::max(std::fabs(stima), assoluto * passo))
            return {stima, assoluto * passo, true};
        precedente = stima;
    }
    return {precedente, assoluto * passo, false};
}

// The stretch [a, b], halved where the quadrature does not settle.
Somma integraTratto(Funzione &f, double a, double b, int profondita)
{
    const Somma s = tanhSinh(f, a, b);
    if (s.converge || profondita >= kSuddivisioni)
        return s;
    const double m = a + (b - a) / 2;
    const Somma sinistra = integraTratto(f, a, m, profondita + 1);
    const Somma destra = integraTratto(f, m, b, profondita + 1);
    return {sinistra.valore + destra.valore, sinistra.assoluto + destra.assoluto,
            sinistra.converge && destra.converge};
}

// True when the integral of |f| diverges at x, approached from side lato:
// |f| grows there like a power of the distance of exponent 1 or more (1/x),
// where an integrable singularity grows more slowly (1/Sqr(x), Log(x)).
bool diverge(Funzione &f, double x, int lato, double lunghezza)
{
    const double d1 = lunghezza * 1e-6, d2 = lunghezza * 1e-9;
    const Valutazione v1 = f.Valuta(x + lato * d1), v2 = f.Valuta(x + lato * d2);
    if (!v1.ok() || !v2.ok() || v1.valore == 0)
        return true; // cannot be told apart from a pole
    const double esponente = std::log(std::fabs(v2.valore / v1.valore)) / std::log(d1 / d2);
    return esponente >= 0.98;
}

} // namespace

Integrale integra(Funzione &f, const Studio &studio, double a, double b)
{
    Integrale r;
    if (!studio.eseguito)
        return r;
    if (studio.pezzi.empty()) {
        r.esito = Integrale::Esito::NonDefinita;
        return r;
    }
    for (const Pezzo &p : studio.pezzi) {
        const double lunghezza = std::max(p.a - p.da, std::fabs(p.da) * 1e-15);
        if (p.illimitataDa && diverge(f, p.da, +1, lunghezza)) {
            r.esito = Integrale::Esito::NonConverge;
            r.xIllimitata = p.da;
            return r;
        }
        if (p.illimitataA && diverge(f, p.a, -1, lunghezza)) {
            r.esito = Integrale::Esito::NonConverge;
            r.xIllimitata = p.a;
            return r;
        }
    }
    double assoluto = 0;
    for (const Pezzo &p : studio.pezzi) {
        if (!(p.a > p.da))
            continue;
        const Somma s = integraTratto(f, p.da, p.a, 0);
        r.valore += s.valore;
        assoluto += s.assoluto;
        r.preciso = r.preciso && s.converge;
    }
    // What is left where positive and negative parts cancel (x on -1..1)
    // is below the quadrature's error: 0, not 2.8E-17.
    if (std::fabs(r.valore) <= kTolleranza * assoluto)
        r.valore = 0;
    // Undefined at single points only (1/x at 0 where the integral exists,
    // Sin(x)/x): they take nothing away.
    const bool parte
            = std::any_of(studio.nonDefinita.begin(), studio.nonDefinita.end(),
                          [&](const Intervallo &i) { return i.a - i.da > 1e-9 * (b - a); });
    if (parte)
        r.esito = Integrale::Esito::ParzialmenteDefinita;
    return r;
}

std::string testoNonDefinita(const std::vector<Intervallo> &parti, char separatoreDecimale)
{
    std::string t;
    for (std::size_t i = 0; i < parti.size() && i < 3; ++i) {
        if (i > 0)
            t += ", ";
        const Intervallo &p = parti[i];
        // Appended piece by piece: GCC 12 takes "literal" + a temporary
        // string for an overlapping copy (-Wrestrict) when it inlines it.
        if (p.da == p.a) {
            t += "x = ";
            t += testoNumero(p.da, separatoreDecimale);
        } else {
            t += '[';
            t += testoNumero(p.da, separatoreDecimale);
            t += "; ";
            t += testoNumero(p.a, separatoreDecimale);
            t += ']';
        }
    }
    if (parti.size() > 3)
        t += ", …";
    return t;
}

EsitoIntegrale calcolaIntegrale(const StatoCalcolo &stato, Funzione &funzione,
                                char separatoreDecimale)
{
    if (const auto rifiuto = verificaRequisiti(stato, funzione, false, separatoreDecimale))
        return {rifiuto->breve, rifiuto->stato};
    const double a = stato.estremoA, b = stato.estremoB;
    if (a > b)
        return {"nessun campione", "a > b: nessun campione, nessun integrale"};
    const Studio s = studia(funzione, a, b, separatoreDecimale);
    const Integrale i = integra(funzione, s, a, b);
    const auto numero = [&](double v) {
        return testoNumero(v, separatoreDecimale);
    };
    switch (i.esito) {
    case Integrale::Esito::NonDefinita:
        return {std::string(kNonDefinita),
                "f non definita in tutto [" + numero(a) + "; " + numero(b) + "]: nessun integrale"};
    case Integrale::Esito::NonConverge: {
        // Named by its asymptote (0 for 1/x, not the last double before it
        // overflows).
        double x = i.xIllimitata;
        for (const double v : s.asintotiVerticali)
            if (std::fabs(v - i.xIllimitata) < std::fabs(x - i.xIllimitata) + 1e-9 * (b - a))
                x = v;
        return {"non converge", "l'integrale non converge: f illimitata vicino a x = " + numero(x)};
    }
    case Integrale::Esito::ParzialmenteDefinita: {
        std::string dove;
        for (const Pezzo &p : s.pezzi)
            dove += (dove.empty() ? "[" : " e [") + numero(p.da) + "; " + numero(p.a) + "]";
        return {"non definita",
                "f non definita in " + testoNonDefinita(s.nonDefinita, separatoreDecimale)
                        + ": l'integrale dove è definita, su " + dove + ", vale "
                        + numero(i.valore)};
    }
    case Integrale::Esito::Valore:
        break;
    }
    std::string nota;
    if (!s.nonDefinita.empty())
        nota = "f non definita in " + testoNonDefinita(s.nonDefinita, separatoreDecimale)
                + ": punti isolati, che non cambiano l'integrale";
    if (!i.preciso)
        nota += std::string(nota.empty() ? "" : "; ")
                + "f varia troppo in fretta: l'integrale potrebbe non avere tutte le cifre esatte";
    return {numero(i.valore), nota, true};
}

} // namespace zelvo
