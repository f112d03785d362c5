// The whole study of an arbitrary function on an arbitrary interval. The
// input is "a;b" on its first line and the expression after it (the
// dictionary of the engine's target gives the language's tokens). Whatever
// the function, the study must keep its promises: it ends within its budget,
// every interval it reports lies in [a, b] in order, every zero is a point
// where f is 0 or changes sign, every relative extremum is one to the
// evaluations beside it, every special point's limits agree with f sampled
// beside it, and nothing it prints is NaN.

#include "analysis/Scuola.h"
#include "analysis/Studio.h"
#include "engine/Funzione.h"
#include "plot/Avanzamento.h"
#include "ui/TabellaStudio.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The widest interval the window accepts.
constexpr double kLimite = 10.1;
// Evaluations of f the study may spend, with room for what it does after
// its budget runs out (each feature located to the last double).
constexpr std::size_t kChiamateMassime = 4'000'000 / 16;

[[noreturn]] void fallito(const char *perche, double x)
{
    std::fprintf(stderr, "fuzz_studio: %s (x = %.17g)\n", perche, x);
    std::abort();
}

// Counts the study's progress reports: each stands for 16 evaluations.
class Contatore final : public zelvo::Avanzamento
{
public:
    bool prosegui(double) override
    {
        if (++chiamate > kChiamateMassime)
            fallito("the study ran past its budget", 0);
        return true;
    }
    std::size_t chiamate = 0;
};

double leggi(std::string_view t, double altrimenti)
{
    double v = 0;
    const auto [fine, errore] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (errore != std::errc {} || fine == t.data() || !std::isfinite(v))
        return altrimenti;
    return std::clamp(v, -kLimite, kLimite);
}

void intervalli(const std::vector<zelvo::Intervallo> &v, double a, double b)
{
    double fine = -INFINITY;
    for (const zelvo::Intervallo &i : v) {
        if (!(i.da <= i.a) || i.da < a || i.a > b)
            fallito("an interval out of [a, b] or reversed", i.da);
        if (i.da < fine)
            fallito("intervals of one kind overlap or are out of order", i.da);
        fine = i.a;
    }
}

// f at x as the study sees it; NaN where it is not defined.
double valore(zelvo::Funzione &f, double x)
{
    const zelvo::Valutazione v = f.Valuta(x);
    return v.ok() ? v.valore : NAN;
}

// A zero: f is 0 there, or changes sign across it, or falls below the
// rounding of its own terms (a double root, a corner on the axis), or the
// point is an edge of the domain where f tends to 0.
void zero(zelvo::Funzione &f, double x, double a, double b)
{
    if (x < a || x > b || !std::isfinite(x))
        fallito("a zero out of [a, b]", x);
    const double y = valore(f, x);
    if (y == 0)
        return;
    const double scala = std::max(std::fabs(x), 1.0);
    for (const double d : {0x1p-52, 0x1p-40, 0x1p-30, 0x1p-20}) {
        const double u = valore(f, std::max(a, x - d * scala));
        const double v = valore(f, std::min(b, x + d * scala));
        if (!(u > 0 && v > 0) && !(u < 0 && v < 0))
            return; // a sign change, a 0, or an edge beside it
        // Touching the axis: |f| at x far below its size a little away.
        if (std::fabs(y) <= 1e-6 * std::min(std::fabs(u), std::fabs(v)))
            return;
    }
    if (std::isnan(y) || std::fabs(y) > 1e-8)
        fallito("a zero where f neither vanishes nor changes sign", x);
}

// A relative maximum (segno 1) or minimum (-1) inside (a, b): no evaluation
// beside it beats it by more than rounding.
void estremo(zelvo::Funzione &f, const zelvo::PuntoNotevole &p, int segno, double a, double b)
{
    if (p.x <= a || p.x >= b)
        fallito("a relative extremum not inside (a, b)", p.x);
    const double y = valore(f, p.x);
    if (std::isnan(y))
        return; // the value the study gave is its limit there
    const double scala = std::max(std::fabs(p.x), 1.0);
    for (const double d : {0x1p-44, 0x1p-38}) {
        for (const double x : {p.x - d * scala, p.x + d * scala}) {
            const double v = valore(f, std::clamp(x, a, b));
            if (std::isnan(v))
                continue;
            const double tolleranza = 1e-9 * std::max(std::fabs(y), std::fabs(v)) + 1e-300;
            if (segno * (v - y) > tolleranza)
                fallito("a relative extremum beaten beside it", p.x);
        }
    }
}

// The limit on one side (lato -1: from the left) of a special point agrees
// with f sampled beside it: close to a finite limit, growing towards an
// infinite one with its sign.
void limite(zelvo::Funzione &f, double x, const zelvo::Limite &l, int lato, double a, double b)
{
    using Tipo = zelvo::Limite::Tipo;
    if (l.tipo == Tipo::Assente || l.tipo == Tipo::NonEsiste)
        return;
    const double scala = std::max(std::fabs(x), 1.0);
    double vicino = NAN, lontano = NAN, dVicino = 0;
    std::vector<double> visti;
    for (const double d : {0x1p-20, 0x1p-30, 0x1p-40}) {
        const double t = x + lato * d * scala;
        if (t < a || t > b)
            continue;
        const double v = valore(f, t);
        if (std::isnan(v))
            continue;
        if (std::isnan(lontano))
            lontano = v;
        vicino = v;
        dVicino = d * scala;
        visti.push_back(v);
    }
    if (std::isnan(vicino))
        return; // nothing defined beside it at these distances
    if (l.tipo == Tipo::Finito) {
        const zelvo::Derivate g = f.Deriva(x + lato * dVicino);
        const double pendenza = g.ok() && std::isfinite(g.prima) ? std::fabs(g.prima) : 0;
        const double ammessa = 1e-6 * (1 + std::fabs(l.valore)) + 4 * pendenza * dVicino;
        // Nearer is closer to it (a slope f has no derivative for, as of
        // Sqr(x) at 0 without derivatives, still closes in).
        const bool siAvvicina = std::fabs(vicino - l.valore) <= 0.5 * std::fabs(lontano - l.valore);
        // Still moving one way at every distance: a limit too slow to settle
        // in doubles, which the study gives as its best estimate.
        const bool lento = visti.size() == 3
                && ((visti[0] < visti[1] && visti[1] < visti[2])
                    || (visti[0] > visti[1] && visti[1] > visti[2]));
        if (!(std::fabs(vicino - l.valore) <= ammessa) && !siAvvicina && !lento)
            fallito("a finite limit that f beside the point does not approach", x);
        return;
    }
    const int segno = l.tipo == Tipo::PiuInfinito ? 1 : -1;
    if (segno * vicino < 0 || segno * vicino < segno * lontano)
        fallito("an infinite limit that f beside the point does not grow towards", x);
}

void dentroAB(double x, double a, double b, const char *perche)
{
    if (!(x >= a && x <= b))
        fallito(perche, x);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dati, std::size_t dimensione)
{
    const std::string_view testo(reinterpret_cast<const char *>(dati), dimensione);
    const std::size_t riga = testo.find('\n');
    if (riga == std::string_view::npos)
        return -1;
    const std::string_view intervallo = testo.substr(0, riga);
    const std::size_t punto = intervallo.find(';');
    if (punto == std::string_view::npos)
        return -1;
    const double a = leggi(intervallo.substr(0, punto), -kLimite);
    const double b = leggi(intervallo.substr(punto + 1), kLimite);
    if (!(a <= b))
        return -1;

    zelvo::Funzione f('.');
    f.DefinisciFunzione(testo.substr(riga + 1));
    if (!f.definita())
        return 0;
    Contatore contatore;
    zelvo::Studio s;
    {
        const zelvo::AmbitoAvanzamento ambito(contatore);
        s = zelvo::studia(f, a, b, '.');
    }
    if (!s.eseguito)
        return 0;

    for (const auto *v : {&s.nonDefinita, &s.positiva, &s.negativa, &s.crescente, &s.decrescente,
                          &s.concavaAlto, &s.concavaBasso})
        intervalli(*v, a, b);
    // The values of a function that draws random numbers change from one
    // evaluation to the next: only what does not depend on them is checked.
    // Where f varies faster than the study can follow it says so in a note;
    // its features there are as good as that resolution, no better.
    const bool seguita = std::none_of(s.note.begin(), s.note.end(), [](const std::string &n) {
        return n.find("risoluzione dello studio") != std::string::npos;
    });
    const bool stabile = f.senzaStato() && seguita;
    for (const double x : s.zeri)
        if (stabile)
            zero(f, x, a, b);
    for (const zelvo::PuntoNotevole &p : s.massimiRelativi)
        if (stabile)
            estremo(f, p, +1, a, b);
    for (const zelvo::PuntoNotevole &p : s.minimiRelativi)
        if (stabile)
            estremo(f, p, -1, a, b);

    for (const zelvo::PuntoLimite &p : s.limiti) {
        dentroAB(p.x, a, b, "a special point out of [a, b]");
        if (stabile) {
            limite(f, p.x, p.sinistro, -1, a, b);
            limite(f, p.x, p.destro, +1, a, b);
        }
    }
    for (const auto *v :
         {&s.eliminabili, &s.cuspidi, &s.flessiVerticali, &s.flessiOrizzontali, &s.flessi})
        for (const zelvo::PuntoNotevole &p : *v)
            dentroAB(p.x, a, b, "a point of the study out of [a, b]");
    for (const zelvo::PuntoAngoloso &p : s.puntiAngolosi)
        dentroAB(p.x, a, b, "a corner out of [a, b]");

    // The course's features: the domain's intervals inside [a, b], in order
    // and apart, the range's in order, a period positive.
    Contatore contatoreScuola;
    zelvo::Scuola c;
    {
        const zelvo::AmbitoAvanzamento ambito(contatoreScuola);
        c = zelvo::studioScuola(f, s, a, b);
    }
    double fine = -INFINITY;
    for (const zelvo::TrattoChiuso &t : c.dominio) {
        if (!(t.da <= t.a) || t.da < a || t.a > b)
            fallito("a stretch of the domain out of [a, b] or reversed", t.da);
        if (t.da < fine || (t.da == fine && t.chiusoDa))
            fallito("stretches of the domain overlap or are out of order", t.da);
        fine = t.a;
    }
    if (c.codominio)
        for (const zelvo::TrattoChiuso &t : *c.codominio)
            if (!(t.da <= t.a))
                fallito("a stretch of the range reversed", t.da);
    if (c.periodo && !(*c.periodo > 0 && std::isfinite(*c.periodo)))
        fallito("a period not positive", *c.periodo);

    std::string stampato = zelvo::testoStudio(c, s, '.');
    std::transform(stampato.begin(), stampato.end(), stampato.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (stampato.find("nan") != std::string::npos)
        fallito("NaN printed", 0);
    return 0;
}
