#include "ui/SegniStudio.h"

#include "plot/Griglia.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace zelvo {

namespace {

// 0x00BBGGRR. Neither the graph's red nor the ends' magenta, and apart
// from each other on any screen.
constexpr Colore coloreZero = 0xC00000; // blue
constexpr Colore coloreEstremo = 0x008000; // green
constexpr Colore coloreFlesso = 0x0080FF; // orange
constexpr Colore coloreAsintoto = 0x808000; // teal
constexpr Colore coloreDiscontinuita = 0x004080; // brown: holes and jumps

constexpr double kBraccio = 60; // half a mark: 4 pixels
constexpr double kRaggio = 60; // a dot's radius: 4 pixels
// An asymptote's dashes, 6 pixels long with gaps of 4: apart from the
// grid's dots (every 2 or 3 pixels) and from the graph's continuous line.
constexpr double kTratto = 90, kVuoto = 60;
// The rows that fill a dot, closer than a pixel at any device pixel ratio
// (7.5 twips at 200 %).
constexpr double kPassoRiempimento = 5;
constexpr int kLatiCerchio = 24;

bool nellaCornice(double x, double y) noexcept
{
    return x >= corniceSinistra && x <= corniceDestra && y >= corniceAlto && y <= corniceBasso;
}

// Cuts the segment (x1, y1)-(x2, y2), in twips, to the plot frame
// (Liang-Barsky). False when nothing of it lies inside, or a coordinate is
// not finite.
bool ritagliaAllaCornice(double &x1, double &y1, double &x2, double &y2) noexcept
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    // p·t <= q for each edge of the frame.
    const auto lato = [&t0, &t1](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!lato(-dx, x1 - corniceSinistra) || !lato(dx, corniceDestra - x1)
        || !lato(-dy, y1 - corniceAlto) || !lato(dy, corniceBasso - y1))
        return false;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 += t0 * dx;
    y1 += t0 * dy;
    return true;
}

// Whether f(x) is the finite limit `l`, to rounding: a jump's ends differ by
// far more than that.
bool vale(const std::optional<double> &y, const Limite &l, double scala) noexcept
{
    return y && l.tipo == Limite::Tipo::Finito && std::fabs(*y - l.valore) <= 1e-9 * scala + 1e-300;
}

const PuntoLimite *limiteIn(const Studio &studio, double x) noexcept
{
    for (const PuntoLimite &l : studio.limiti)
        if (l.x == x)
            return &l;
    return nullptr;
}

class Segni
{
public:
    Segni(Superficie &s, double scalaX, double scalaY)
        : s_(s)
        , scalaX_(scalaX)
        , scalaY_(scalaY)
    { }

    void croce(double x, double y, Colore c)
    {
        if (const auto p = centro(x, y)) {
            const auto [tx, ty] = *p;
            linea(tx - kBraccio, ty - kBraccio, tx + kBraccio, ty + kBraccio, c);
            linea(tx - kBraccio, ty + kBraccio, tx + kBraccio, ty - kBraccio, c);
        }
    }

    void quadrato(double x, double y, Colore c)
    {
        if (const auto p = centro(x, y)) {
            const auto [tx, ty] = *p;
            const double l = tx - kBraccio, r = tx + kBraccio, t = ty - kBraccio, b = ty + kBraccio;
            linea(l, t, r, t, c);
            linea(r, t, r, b, c);
            linea(r, b, l, b, c);
            linea(l, b, l, t, c);
        }
    }

    // A dot of colour c: filled with it, or (vuoto) with the background, so
    // that the graph does not run through a value f does not take.
    void cerchio(double x, double y, Colore c, bool vuoto)
    {
        const auto p = centro(x, y);
        if (!p)
            return;
        const auto [tx, ty] = *p;
        const Colore dentro = vuoto ? coloreFacciaPulsante : c;
        for (double dy = -kRaggio; dy <= kRaggio; dy += kPassoRiempimento) {
            const double w = std::sqrt(kRaggio * kRaggio - dy * dy);
            linea(tx - w, ty + dy, tx + w, ty + dy, dentro);
        }
        double x0 = tx + kRaggio, y0 = ty;
        for (int k = 1; k <= kLatiCerchio; ++k) {
            const double angolo = 2 * std::numbers::pi * k / kLatiCerchio;
            const double x1 = tx + kRaggio * std::cos(angolo), y1 = ty - kRaggio * std::sin(angolo);
            linea(x0, y0, x1, y1, c);
            x0 = x1;
            y0 = y1;
        }
    }

    void verticale(double x, Colore c)
    {
        const double tx = twipsX(x, scalaX_);
        tratteggio(tx, corniceAlto, tx, corniceBasso, c);
    }

    // y = m·x + q, from the left edge of the frame to the right one.
    void retta(double m, double q, Colore c)
    {
        const auto ty = [&](double x) {
            return twipsY(m * x + q, scalaY_);
        };
        tratteggio(corniceSinistra, ty(-scalaX_), corniceDestra, ty(scalaX_), c);
    }

private:
    std::optional<std::pair<double, double>> centro(double x, double y) const
    {
        const double tx = twipsX(x, scalaX_), ty = twipsY(y, scalaY_);
        if (!nellaCornice(tx, ty))
            return std::nullopt;
        return std::pair {tx, ty};
    }

    // The part of a line inside the frame.
    void linea(double x1, double y1, double x2, double y2, Colore c)
    {
        if (ritagliaAllaCornice(x1, y1, x2, y2))
            s_.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                    static_cast<float>(y2), c);
    }

    // Dashes along the part of a line inside the frame, from where it enters.
    void tratteggio(double x1, double y1, double x2, double y2, Colore c)
    {
        if (!ritagliaAllaCornice(x1, y1, x2, y2))
            return;
        const double lunghezza = std::hypot(x2 - x1, y2 - y1);
        if (!(lunghezza > 0))
            return;
        const double ux = (x2 - x1) / lunghezza, uy = (y2 - y1) / lunghezza;
        for (double d = 0; d <= lunghezza; d += kTratto + kVuoto) {
            const double e = std::min(d + kTratto, lunghezza);
            linea(x1 + d * ux, y1 + d * uy, x1 + e * ux, y1 + e * uy, c);
        }
    }

    Superficie &s_;
    double scalaX_, scalaY_;
};

} // namespace

void segnaStudio(Superficie &superficie, const Studio &studio, const Scuola &scuola, double scalaX,
                 double scalaY)
{
    if (!(scalaX > 0) || !(scalaY > 0))
        return;
    Segni segni(superficie, scalaX, scalaY);
    // The asymptotes first, beneath the points that may lie on them.
    for (const double x : studio.asintotiVerticali)
        segni.verticale(x, coloreAsintoto);
    std::vector<std::pair<double, double>> rette; // y = m·x + q at -inf and +inf
    for (const Infinito *i : {&scuola.menoInfinito, &scuola.piuInfinito}) {
        if (i->orizzontale)
            rette.emplace_back(0.0, *i->orizzontale);
        else if (i->m && i->q)
            rette.emplace_back(*i->m, *i->q);
    }
    if (rette.size() == 2 && rette[0] == rette[1]) // one line on both sides
        rette.pop_back();
    for (const auto &[m, q] : rette)
        segni.retta(m, q, coloreAsintoto);
    for (const double x : studio.zeri)
        segni.croce(x, 0, coloreZero);
    for (const auto *punti : {&studio.massimiRelativi, &studio.minimiRelativi})
        for (const PuntoNotevole &p : *punti)
            segni.croce(p.x, p.y, coloreEstremo);
    for (const PuntoNotevole &p : studio.flessi)
        segni.croce(p.x, p.y, coloreFlesso);
    for (const auto *p : {&studio.massimoAssoluto, &studio.minimoAssoluto})
        if (*p)
            segni.quadrato((*p)->x, (*p)->y, coloreEstremo);
    // The discontinuities last: a zero at a jump's end keeps its cross's
    // arms, but the dot says which end f takes.
    for (const PuntoNotevole &p : studio.eliminabili) {
        segni.cerchio(p.x, p.y, coloreDiscontinuita, true);
        if (const PuntoLimite *l = limiteIn(studio, p.x); l && l->valore)
            segni.cerchio(p.x, *l->valore, coloreDiscontinuita, false);
    }
    for (const double x : studio.salti) {
        const PuntoLimite *l = limiteIn(studio, x);
        if (!l)
            continue;
        const double scala = std::max(std::fabs(l->sinistro.valore), std::fabs(l->destro.valore));
        const bool sinistro = vale(l->valore, l->sinistro, scala);
        const bool destro = !sinistro && vale(l->valore, l->destro, scala);
        // The end f does not take first: where the two ends are a pixel
        // apart, the filled one shows.
        for (const auto &[lato, preso] : {std::pair {&l->sinistro, sinistro}, {&l->destro, destro}})
            if (!preso && lato->tipo == Limite::Tipo::Finito)
                segni.cerchio(x, lato->valore, coloreDiscontinuita, true);
        if (sinistro || destro)
            segni.cerchio(x, (sinistro ? l->sinistro : l->destro).valore, coloreDiscontinuita,
                          false);
        else if (l->valore) // f takes neither end's value at x
            segni.cerchio(x, *l->valore, coloreDiscontinuita, false);
    }
}

Colore coloreSegno(std::string_view chiave) noexcept
{
    if (chiave == "zero")
        return coloreZero;
    if (chiave.starts_with("massimo") || chiave.starts_with("minimo"))
        return coloreEstremo;
    if (chiave == "flesso")
        return coloreFlesso;
    if (chiave == "asintoto_verticale" || chiave == "asintoto_orizzontale"
        || chiave == "asintoto_obliquo")
        return coloreAsintoto;
    if (chiave == "eliminabile" || chiave == "salto")
        return coloreDiscontinuita;
    return coloreNero;
}

} // namespace zelvo
