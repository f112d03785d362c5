#include "ui/SegniStudio.h"

#include "plot/Griglia.h"

#include <optional>
#include <utility>

namespace zelvo {

namespace {

// 0x00BBGGRR. Neither the graph's red nor the ends' magenta, and apart
// from each other on any screen.
constexpr Colore coloreZero = 0xC00000; // blue
constexpr Colore coloreEstremo = 0x008000; // green
constexpr Colore coloreFlesso = 0x0080FF; // orange
constexpr Colore coloreAsintoto = 0x808000; // teal

constexpr float kBraccio = 60; // half a mark: 4 pixels
constexpr float kPassoTratteggio = 45; // a dot of an asymptote every 3 pixels

bool nellaCornice(double x, double y) noexcept
{
    return x >= corniceSinistra && x <= corniceDestra && y >= corniceAlto && y <= corniceBasso;
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
            s_.Line(tx - kBraccio, ty - kBraccio, tx + kBraccio, ty + kBraccio, c);
            s_.Line(tx - kBraccio, ty + kBraccio, tx + kBraccio, ty - kBraccio, c);
        }
    }

    void quadrato(double x, double y, Colore c)
    {
        if (const auto p = centro(x, y)) {
            const auto [tx, ty] = *p;
            const float l = tx - kBraccio, r = tx + kBraccio, t = ty - kBraccio,
                        b = ty + kBraccio;
            s_.Line(l, t, r, t, c);
            s_.Line(r, t, r, b, c);
            s_.Line(r, b, l, b, c);
            s_.Line(l, b, l, t, c);
        }
    }

    void verticale(double x, Colore c)
    {
        const double tx = twipsX(x, scalaX_);
        if (!nellaCornice(tx, corniceAlto))
            return;
        for (float y = corniceAlto; y <= corniceBasso; y += kPassoTratteggio)
            s_.PSet(static_cast<float>(tx), y, c);
    }

private:
    std::optional<std::pair<float, float>> centro(double x, double y) const
    {
        const double tx = twipsX(x, scalaX_), ty = twipsY(y, scalaY_);
        if (!nellaCornice(tx, ty))
            return std::nullopt;
        return std::pair {static_cast<float>(tx), static_cast<float>(ty)};
    }

    Superficie &s_;
    double scalaX_, scalaY_;
};

} // namespace

void segnaStudio(Superficie &superficie, const Studio &studio, double scalaX, double scalaY)
{
    if (!(scalaX > 0) || !(scalaY > 0))
        return;
    Segni segni(superficie, scalaX, scalaY);
    for (const double x : studio.asintotiVerticali)
        segni.verticale(x, coloreAsintoto);
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
}

Colore coloreSegno(std::string_view chiave) noexcept
{
    if (chiave == "zero")
        return coloreZero;
    if (chiave.starts_with("massimo") || chiave.starts_with("minimo"))
        return coloreEstremo;
    if (chiave == "flesso")
        return coloreFlesso;
    if (chiave == "asintoto_verticale")
        return coloreAsintoto;
    return coloreNero;
}

} // namespace zelvo
