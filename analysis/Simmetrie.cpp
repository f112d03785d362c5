#include "analysis/Simmetrie.h"

#include "engine/Funzione.h"
#include "engine/Valutazione.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
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

// The samples of one period for the period's check, spread off any
// rational fraction of it (a multiple of an irrational step), so none falls
// where the function is exactly 0 at one end and a rounding off it at the
// other (Int(-Sin(x)) at 0 and at Pi).
constexpr int kCampioniPeriodo = 128;
// The divisors of the period read from the expression tried: the least
// period of a sum or product of sines is that period over a small integer
// (Sin(x)^2, Cos(5*x)*Cos(7*x): 2).
constexpr int kDivisori = 12;
// How far f(x + T/n) is from f(x) is measured against |f(x)| + |f(x + T/n)|
// + |f'(x)|·(|x| + T), the size of what rounding can move. The period the
// expression gives holds to rounding: what it shows is the rounding of this
// f (large where x is added to a large constant, Sin(x+1E+6)); T/n holds
// where it is no more than a hundred times that, or than 1E-14 (a term of
// 1E-12 in f, Sin(x)+1E-12*Sin(x/2), is more than rounding). A T that is
// off by more than 1E-6 of that size is no period: nothing is claimed.
constexpr double kRumoreMinimo = 1e-14;
constexpr double kRumoreMassimo = 1e-6;

} // namespace

std::optional<Parita> parita(Funzione &f, double a, double b)
{
    if (!(a < 0 && b > 0))
        return std::nullopt;
    Parita r;
    r.m = std::min(-a, b);
    // Sample i of [0, m]: 0, then each grid point followed by one off it;
    // i + n is its opposite. The abscissas go to f a block at a time, so the
    // memory the study holds at once stays small.
    const std::size_t n = 2 * kCampioni + 1;
    const auto ascissa = [&r](std::size_t i) {
        const int k = static_cast<int>((i + 1) / 2);
        const double giro = k * 0.6180339887498949;
        return i == 0   ? 0.0
                : i % 2 ? r.m * k / kCampioni
                        : r.m * (giro - std::floor(giro)); // exact, as fmod(giro, 1) is
    };
    std::vector<double> y(2 * n);
    std::vector<int> errori(2 * n);
    std::array<double, 256> blocco;
    for (std::size_t da = 0; da < 2 * n; da += blocco.size()) {
        const std::size_t quanti = std::min(blocco.size(), 2 * n - da);
        for (std::size_t k = 0; k < quanti; ++k)
            blocco[k] = da + k < n ? ascissa(da + k) : -ascissa(da + k - n);
        f.Valuta(std::span(blocco.data(), quanti), y.data() + da, errori.data() + da);
    }
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

std::optional<double> periodo(Funzione &f)
{
    const std::optional<double> candidato = f.periodo();
    if (!candidato)
        return std::nullopt;
    const double t = *candidato;
    std::vector<double> x(kCampioniPeriodo);
    for (int i = 0; i < kCampioniPeriodo; ++i)
        x[static_cast<std::size_t>(i)] = t * std::fmod(0.1234567 + i * 0.6180339887498949, 1.0);
    std::vector<Derivate> d(x.size());
    f.Deriva(x, d.data());
    // x + T/n for n = 1 (the period itself, checked too) to kDivisori.
    std::vector<double> spostati;
    spostati.reserve(x.size() * kDivisori);
    for (int n = 1; n <= kDivisori; ++n)
        for (const double xi : x)
            spostati.push_back(xi + t / n);
    std::vector<double> y(spostati.size());
    std::vector<int> errori(spostati.size());
    f.Valuta(spostati, y.data(), errori.data());
    double minimo = INFINITY, massimo = -INFINITY, scala = 0;
    for (const Derivate &di : d)
        if (di.ok() && std::isfinite(di.valore)) {
            minimo = std::min(minimo, di.valore);
            massimo = std::max(massimo, di.valore);
            scala = std::max(scala, std::fabs(di.valore));
        }
    // Nowhere defined, or constant where defined: no least period.
    if (!(massimo - minimo > kRumoreMinimo * scala))
        return std::nullopt;
    // The largest distance of f(x + T/n) from f(x) against the size of what
    // rounding moves; infinite where f is defined at one and not the other.
    const auto scarto = [&](int n) {
        const std::size_t inizio = static_cast<std::size_t>(n - 1) * x.size();
        double peggiore = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const Derivate &di = d[i];
            const double p = di.valore, q = y[inizio + i];
            if (di.ok() != (errori[inizio + i] == 0))
                return std::numeric_limits<double>::infinity();
            if (!di.ok())
                continue;
            const double pendenza = std::isfinite(di.prima) ? std::fabs(di.prima) : 0;
            const double misura
                    = std::fabs(p) + std::fabs(q) + pendenza * (std::fabs(x[i]) + t) + 1e-3 * scala;
            peggiore = std::max(peggiore, std::fabs(q - p) / misura);
        }
        return peggiore;
    };
    const double rumore = scarto(1);
    if (!(rumore <= kRumoreMassimo))
        return std::nullopt;
    const double soglia = std::max(100 * rumore, kRumoreMinimo);
    for (int n = kDivisori; n >= 2; --n)
        if (scarto(n) <= soglia)
            return t / n;
    return t;
}

} // namespace zelvo
