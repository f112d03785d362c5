#include "ui/SuperficieQt.h"

#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <span>
#include <vector>

namespace zelvo {
namespace {

constexpr QRgb sfondo = 0xFFC0C0C0;
constexpr QRgb testo = 0xFF102030;

QPalette tavolozza()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor::fromRgb(sfondo));
    p.setColor(QPalette::ButtonText, QColor::fromRgb(testo));
    p.setColor(QPalette::Button, Qt::yellow); // never the surface's background
    return p;
}

// Every pixel that differs from the background, as (x, y, colour).
struct Pixel
{
    int x, y;
    QRgb colore;
    friend bool operator==(const Pixel &, const Pixel &) = default;
};

std::ostream &operator<<(std::ostream &os, const Pixel &p)
{
    return os << "(" << p.x << ", " << p.y << ") #" << std::hex << p.colore << std::dec;
}

std::vector<Pixel> disegnati(const QImage &immagine)
{
    std::vector<Pixel> risultato;
    for (int y = 0; y < immagine.height(); ++y)
        for (int x = 0; x < immagine.width(); ++x)
            if (immagine.pixel(x, y) != sfondo)
                risultato.push_back({x, y, immagine.pixel(x, y)});
    return risultato;
}

TEST(SuperficieQt, StartsClearedToTheWindowColourAtTheGivenSize)
{
    SuperficieQt s({40, 30}, tavolozza());
    EXPECT_EQ(s.immagine().size(), QSize(40, 30));
    EXPECT_TRUE(disegnati(s.immagine()).empty());
}

TEST(SuperficieQt, PointsLandOnTheNearestPixelAtFifteenTwipsEach)
{
    struct Caso
    {
        float x, y;
        int px, py;
    } casi[] = {
            {0, 0, 0, 0},         {7, 7, 0, 0},           {7.5f, 22.4f, 1, 1}, {500, 28, 33, 2},
            {822, 4480, 55, 299}, {3720, 2240, 248, 149}, {-7.4f, 0, 0, 0},    {599, 449, 40, 30},
    };
    for (const Caso &c : casi) {
        SuperficieQt s({300, 300}, tavolozza());
        s.PSet(c.x, c.y, coloreRosso);
        EXPECT_EQ(disegnati(s.immagine()), (std::vector<Pixel> {{c.px, c.py, 0xFFFF0000}}))
                << c.x << ", " << c.y;
    }
}

TEST(SuperficieQt, PointsOffTheSurfaceDrawNothing)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float punti[][2] = {{-8, 0},       {0, -8},  {600, 0},  {0, 450},  {-3.4e38f, 10},
                              {10, 3.4e38f}, {inf, 0}, {0, -inf}, {nan, 10}, {10, nan}};
    SuperficieQt s({40, 30}, tavolozza());
    for (const auto &p : punti)
        s.PSet(p[0], p[1], coloreRosso);
    EXPECT_TRUE(disegnati(s.immagine()).empty());
}

TEST(SuperficieQt, ColoursAreRedInTheLowByteAndSystemColoursComeFromThePalette)
{
    struct Caso
    {
        Colore colore;
        QRgb atteso;
    } casi[] = {
            {coloreRosso, qRgb(255, 0, 0)}, {coloreMagenta, qRgb(255, 0, 255)},
            {0x00C000, qRgb(0, 192, 0)},    {0x123456, qRgb(0x56, 0x34, 0x12)},
            {coloreNero, qRgb(0, 0, 0)},    {coloreTestoPulsante, testo},
    };
    for (const Caso &c : casi) {
        SuperficieQt s({4, 4}, tavolozza());
        s.PSet(15, 15, c.colore);
        EXPECT_EQ(s.immagine().pixel(1, 1), c.atteso) << std::hex << c.colore;
    }
    // The button face is the background: a point in it is invisible.
    SuperficieQt s({4, 4}, tavolozza());
    s.PSet(15, 15, coloreFacciaPulsante);
    EXPECT_EQ(s.immagine().pixel(1, 1), sfondo);
}

TEST(SuperficieQt, ASeriesOfPointsDrawsWhatThePointsOneByOneDraw)
{
    // Runs of one colour, colour changes, a point over another, a system colour,
    // points off the surface and a NaN.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Punto> punti = {
            {0, 0, coloreRosso},           {15, 0, coloreRosso},   {30, 15, coloreMagenta},
            {30, 15, coloreRosso},         {45, 45, coloreNero},   {-15, 0, coloreRosso},
            {600, 15, coloreRosso},        {nan, 15, coloreRosso}, {60, 30, coloreTestoPulsante},
            {75, 0, coloreFacciaPulsante}, {75, 15, 0x123456},
    };
    SuperficieQt serie({10, 5}, tavolozza());
    serie.PSet(punti);
    SuperficieQt uno({10, 5}, tavolozza());
    for (const Punto &p : punti)
        uno.PSet(p.x, p.y, p.colore);
    EXPECT_EQ(serie.immagine(), uno.immagine());
    EXPECT_EQ(disegnati(serie.immagine()).size(), 6u); // the button face is the background
}

// A series converts a point only where it leaves the pixel (or the side off
// the surface) of the point before it, and sets a pixel only where it differs
// from the point before it: points on both sides of every bound between
// pixels, in runs up and down and at random, in runs of one colour and not,
// must land as one by one.
TEST(SuperficieQt, ASeriesLandsAsItsPointsOneByOneOnBothSidesOfEveryPixelBound)
{
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> attorno = {-inf, inf, std::numeric_limits<float>::quiet_NaN(), -1e30f,
                                  1e30f};
    for (int k = 0; k <= 72; ++k) {
        const float bordo = 15.f * static_cast<float>(k) - 7.5f;
        attorno.push_back(std::nextafter(bordo, -inf));
        attorno.push_back(bordo);
    }
    std::vector<Punto> punti;
    for (const float c : attorno) // up across, then down
        punti.push_back({c, 300, coloreRosso});
    for (auto c = attorno.rbegin(); c != attorno.rend(); ++c)
        punti.push_back({*c, *c, coloreRosso});
    std::mt19937 casuale(20261210);
    const Colore colori[] = {coloreRosso, coloreRosso, coloreNero, coloreFacciaPulsante};
    for (int i = 0; i < 5000; ++i)
        punti.push_back({attorno[casuale() % attorno.size()], attorno[casuale() % attorno.size()],
                         colori[casuale() % 4]});

    SuperficieQt serie({70, 50}, tavolozza());
    SuperficieQt uno({70, 50}, tavolozza());
    // Short series, each compared, so that a later point cannot hide a wrong one.
    for (std::size_t da = 0; da < punti.size(); da += 40) {
        const std::span<const Punto> parte
                = std::span(punti).subspan(da, std::min<std::size_t>(40, punti.size() - da));
        serie.PSet(parte);
        for (const Punto &p : parte)
            uno.PSet(p.x, p.y, p.colore);
        ASSERT_EQ(serie.immagine(), uno.immagine()) << "points from " << da;
        ASSERT_EQ(serie.ritiraCambiato(), uno.ritiraCambiato()) << "points from " << da;
    }
}

TEST(SuperficieQt, LinesJoinBothEndsAndAreClippedToTheSurface)
{
    struct Caso
    {
        const char *nome;
        float x1, y1, x2, y2;
        std::vector<Pixel> attesi;
    };
    auto colonna = [](int x, int da, int a) {
        std::vector<Pixel> v;
        for (int y = da; y <= a; ++y)
            v.push_back({x, y, 0xFFFF00FF});
        return v;
    };
    auto riga = [](int y, int da, int a) {
        std::vector<Pixel> v;
        for (int x = da; x <= a; ++x)
            v.push_back({x, y, 0xFFFF00FF});
        return v;
    };
    const Caso casi[] = {
            {"vertical, bottom to top", 45, 120, 45, 0, colonna(3, 0, 8)},
            {"horizontal", 15, 30, 75, 30, riga(2, 1, 5)},
            {"diagonal",
             0,
             0,
             45,
             45,
             {{0, 0, 0xFFFF00FF}, {1, 1, 0xFFFF00FF}, {2, 2, 0xFFFF00FF}, {3, 3, 0xFFFF00FF}}},
            {"one point", 30, 30, 30, 30, {{2, 2, 0xFFFF00FF}}},
            {"far beyond both sides", -1e30f, 15, 1e30f, 15, riga(1, 0, 9)},
            {"marker left of the surface", -28480, 4480, -28480, 0, {}},
            {"marker right of the surface", 35920, 4480, 35920, 0, {}},
            {"not a number", std::numeric_limits<float>::quiet_NaN(), 0, 30, 30, {}},
    };
    for (const Caso &c : casi) {
        SuperficieQt s({10, 10}, tavolozza());
        s.Line(c.x1, c.y1, c.x2, c.y2, coloreMagenta);
        EXPECT_EQ(disegnati(s.immagine()), c.attesi) << c.nome;
    }
}

TEST(SuperficieQt, ClsErasesEverythingDrawn)
{
    SuperficieQt s({10, 10}, tavolozza());
    s.Line(0, 0, 135, 135, coloreRosso);
    s.PSet(30, 60);
    s.Cls();
    EXPECT_TRUE(disegnati(s.immagine()).empty());
}

TEST(SuperficieQt, ResizingKeepsWhatWasDrawn)
{
    SuperficieQt s({10, 10}, tavolozza());
    s.PSet(15, 30, coloreRosso);
    s.PSet(135, 135, coloreMagenta);
    s.ridimensiona({20, 5});
    EXPECT_EQ(s.immagine().size(), QSize(20, 5));
    EXPECT_EQ(disegnati(s.immagine()), (std::vector<Pixel> {{1, 2, 0xFFFF0000}}));
    s.PSet(285, 60, coloreRosso); // the new area takes points
    s.ridimensiona({20, 10});
    EXPECT_EQ(disegnati(s.immagine()),
              (std::vector<Pixel> {{1, 2, 0xFFFF0000}, {19, 4, 0xFFFF0000}}));
}

// What a widget showing the surface must repaint: the pixels drawn since it
// last asked, Cls included, and nothing once it has asked.
TEST(SuperficieQt, ReportsTheRectangleOfWhatChangedSinceItWasLastAsked)
{
    SuperficieQt s({100, 80}, tavolozza());
    EXPECT_EQ(s.ritiraCambiato(), QRect()); // a new surface has changed nothing
    s.PSet(150, 300, coloreRosso); // (10, 20)
    s.PSet(std::vector<Punto> {{450, 600, coloreRosso}, {-900, 15, coloreRosso}, {300, 45, 0}});
    EXPECT_EQ(s.ritiraCambiato(), QRect(QPoint(10, 3), QPoint(30, 40)));
    EXPECT_EQ(s.ritiraCambiato(), QRect());

    s.Line(1200, 1050, 75, 1050, coloreMagenta); // (80, 70) back to (5, 70)
    s.Line(-1e30f, 0, -1e30f, 1000, coloreMagenta); // off the surface: nothing
    EXPECT_EQ(s.ritiraCambiato(), QRect(QPoint(5, 70), QPoint(80, 70)));

    // Cls clears what was drawn since the last Cls, which is all it changes.
    s.Cls();
    EXPECT_EQ(s.ritiraCambiato(), QRect(QPoint(5, 3), QPoint(80, 70)));
    EXPECT_TRUE(disegnati(s.immagine()).empty());
    s.Cls();
    EXPECT_EQ(s.ritiraCambiato(), QRect());
}

// A new palette changes the background: the next Cls repaints all of it.
TEST(SuperficieQt, ClsAfterANewPaletteClearsTheWholeSurfaceToTheNewBackground)
{
    SuperficieQt s({20, 10}, tavolozza());
    s.PSet(15, 15, coloreRosso);
    QPalette p = tavolozza();
    p.setColor(QPalette::Window, QColor::fromRgb(0xFF405060));
    s.impostaPalette(p);
    s.PSet(30, 30); // the button text of the new palette
    EXPECT_EQ(s.immagine().pixel(0, 0), sfondo); // what was drawn stays as it is
    EXPECT_EQ(s.immagine().pixel(2, 2), testo);
    s.ritiraCambiato();
    s.Cls();
    EXPECT_EQ(s.ritiraCambiato(), QRect(0, 0, 20, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(s.immagine().pixel(x, y), 0xFF405060u) << x << ", " << y;
}

} // namespace
} // namespace zelvo

namespace zelvo {
namespace {

// On a dense screen every operation is drawn again at the device pixels:
// a point on the device pixel nearest to its twips, a series as its points
// one by one on both sides of every device pixel bound, while the logical
// picture stays the one a screen at 100 % shows.
TEST(SuperficieQt, OnADenseScreenPointsLandOnTheNearestDevicePixel)
{
    for (const double s : {1.25, 1.5, 2.0}) {
        SCOPED_TRACE(s);
        const float inf = std::numeric_limits<float>::infinity();
        std::vector<float> attorno = {-inf, inf, -1e30f, 1e30f};
        for (int k = 0; k <= 90; ++k) {
            const auto bordo = static_cast<float>((k - 0.5) * 15 / s);
            attorno.push_back(std::nextafter(bordo, -inf));
            attorno.push_back(bordo);
            attorno.push_back(std::nextafter(bordo, inf));
        }
        std::vector<Punto> punti;
        std::mt19937 casuale(20261211);
        for (int i = 0; i < 4000; ++i)
            punti.push_back({attorno[casuale() % attorno.size()],
                             attorno[casuale() % attorno.size()],
                             casuale() % 3 ? coloreRosso : coloreNero});

        SuperficieQt serie({70, 50}, tavolozza(), s);
        SuperficieQt uno({70, 50}, tavolozza(), s);
        SuperficieQt logica({70, 50}, tavolozza());
        ASSERT_EQ(serie.scala(), s);
        ASSERT_EQ(serie.immagineSchermo().size(), QSize(static_cast<int>(std::ceil(70 * s)),
                                                        static_cast<int>(std::ceil(50 * s))));
        for (std::size_t da = 0; da < punti.size(); da += 40) {
            const auto parte = std::span(punti).subspan(da, 40);
            serie.PSet(parte);
            logica.PSet(parte);
            for (const Punto &p : parte)
                uno.PSet(p.x, p.y, p.colore);
            ASSERT_EQ(serie.immagineSchermo(), uno.immagineSchermo()) << "points from " << da;
        }
        EXPECT_EQ(serie.immagine(), logica.immagine());

        // Where single points land, worked out from the twips.
        SuperficieQt vuota({70, 50}, tavolozza(), s);
        const float xs[] = {0, 7.4f, 100, 333.3f, 740};
        for (const float x : xs)
            vuota.PSet(x, x, coloreRosso);
        std::vector<Pixel> attesi;
        for (const float x : xs) {
            const int p = static_cast<int>(std::floor(x * s / 15 + 0.5));
            attesi.push_back({p, p, 0xFFFF0000});
        }
        std::sort(attesi.begin(), attesi.end(),
                  [](const Pixel &a, const Pixel &b) { return a.y < b.y; });
        EXPECT_EQ(disegnati(vuota.immagineSchermo()), attesi);
    }
}

} // namespace
} // namespace zelvo
