#include "analysis/Simmetrie.h"

#include "engine/Funzione.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvo {

namespace {

// Samples of (0, m]: evenly spaced, and as many again off the grid (a
// multiple of an irrational step), so a function that breaks the symmetry
// only between grid points (x*(Int(x)=x)) is caught.
constexpr int kCampioni = 2048;
// f(-x) and ±f(x) agree to rounding: a few ulps of the larger, and an
// absolute hair of the largest |f| seen (Sin(x) near Pi is a difference).
constexpr double kRelativa = 1e-13;
constexpr double kAssoluta = 1e-15;

} // namespace

std::optional<Parita> parita(Funzione &f, double a, double b)
{
    if (!(a < 0 && b > 0))
        return std::nullopt;
    Parita r;
    r.m = std::min(-a, b);
    std::vector<double> x;
    x.reserve(2 * kCampioni + 2);
    x.push_back(0);
    for (int i = 1; i <= kCampioni; ++i) {
        x.push_back(r.m * i / kCampioni);
        x.push_back(r.m * std::fmod(i * 0.6180339887498949, 1.0));
    }
    const std::size_t n = x.size();
    x.resize(2 * n);
    for (std::size_t i = 0; i < n; ++i)
        x[n + i] = -x[i];
    std::vector<double> y(2 * n);
    std::vector<int> errori(2 * n);
    f.Valuta(x, y.data(), errori.data());
    double massimo = 0;
    for (std::size_t i = 0; i < 2 * n; ++i)
        if (errori[i] == 0 && std::isfinite(y[i]))
            massimo = std::max(massimo, std::fabs(y[i]));
    bool pari = true, dispari = true, definita = false;
    for (std::size_t i = 0; i < n && (pari || dispari); ++i) {
        const bool qui = errori[i] == 0, li = errori[n + i] == 0;
        if (qui != li) {
            pari = dispari = false;
            break;
        }
        if (!qui)
            continue;
        definita = true;
        const double p = y[i], q = y[n + i];
        const double tolleranza
                = kRelativa * std::max(std::fabs(p), std::fabs(q)) + kAssoluta * massimo;
        pari = pari && std::fabs(q - p) <= tolleranza;
        dispari = dispari && std::fabs(q + p) <= tolleranza;
    }
    if (definita && pari)
        r.tipo = Parita::Tipo::Pari;
    else if (definita && dispari)
        r.tipo = Parita::Tipo::Dispari;
    return r;
}

} // namespace zelvo
