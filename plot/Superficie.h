#pragma once

#include <cstdint>
#include <span>

namespace zelvo {

// A colour as 0x00BBGGRR (red in the lowest byte: 255 is red, 16711935
// magenta), or one of the system colours below, which have the top bit set.
using Colore = std::uint32_t;

inline constexpr Colore coloreNero = 0;
inline constexpr Colore coloreRosso = 255;
inline constexpr Colore coloreMagenta = 16711935;
// The system's button-face colour: the main window's background.
inline constexpr Colore coloreFacciaPulsante = 0x8000000Fu;
// The system's button-text colour: the main window's foreground.
inline constexpr Colore coloreTestoPulsante = 0x80000012u;

constexpr bool eColoreDiSistema(Colore c) noexcept
{
    return (c & 0x80000000u) != 0;
}

// One point of a series drawn with Superficie::PSet.
struct Punto
{
    float x = 0, y = 0;
    Colore colore = 0;
};

// The main window's drawing surface, addressed in twips from the top left
// corner of its client area, y growing downward. Coordinates are
// single-precision, as the plot passes them.
class Superficie
{
public:
    virtual ~Superficie() = default;

    // Fill the whole surface with the background colour.
    void Cls() { cancella(); }

    // Set the single point (x, y); a point off the surface draws nothing.
    void PSet(float x, float y, Colore colore = coloreTestoPulsante) { punto(x, y, colore); }

    // The same as PSet on each point in turn: a graph sets hundreds of thousands
    // of points, and a surface may draw a series faster than point by point.
    void PSet(std::span<const Punto> punti) { serieDiPunti(punti); }
    // A straight one-pixel line between two explicit points.
    void Line(float x1, float y1, float x2, float y2, Colore colore = coloreTestoPulsante)
    {
        linea(x1, y1, x2, y2, colore);
    }

protected:
    virtual void cancella() = 0;
    virtual void punto(float x, float y, Colore colore) = 0;
    virtual void serieDiPunti(std::span<const Punto> punti)
    {
        for (const Punto &p : punti)
            punto(p.x, p.y, p.colore);
    }
    virtual void linea(float x1, float y1, float x2, float y2, Colore colore) = 0;
};

} // namespace zelvo
