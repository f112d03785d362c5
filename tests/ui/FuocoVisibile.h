// Whether a control shows the focus so that it is seen at a glance.
#pragma once

#include <QImage>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace zelvo {

// In `schermo`, the control's window grabbed at its device pixels: on each
// of the control's four sides, across the middle of the side and within its
// outer four logical pixels, a line of the highlight colour at least two
// logical pixels thick.
inline ::testing::AssertionResult fuocoVisibile(const QImage &schermo, const QWidget &controllo)
{
    const double s = schermo.devicePixelRatio();
    const QRgb evidenza = controllo.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const QRect logico(controllo.mapTo(controllo.window(), QPoint(0, 0)), controllo.size());
    const auto d = [s](int pixel) {
        return static_cast<int>(std::lround(pixel * s));
    };
    const int sinistra = d(logico.left()), alto = d(logico.top());
    const int destra = d(logico.left() + logico.width()) - 1;
    const int basso = d(logico.top() + logico.height()) - 1;
    const int fascia = d(4), spessore = static_cast<int>(std::floor(2 * s));
    const int mezzoX = (sinistra + destra) / 2, mezzoY = (alto + basso) / 2;
    const struct
    {
        const char *lato;
        int x, y, dx, dy;
    } lati[] = {{"left", sinistra, mezzoY, 1, 0},
                {"right", destra, mezzoY, -1, 0},
                {"top", mezzoX, alto, 0, 1},
                {"bottom", mezzoX, basso, 0, -1}};
    for (const auto &l : lati) {
        int corsa = 0, migliore = 0;
        for (int i = 0; i < fascia; ++i) {
            const int x = l.x + i * l.dx, y = l.y + i * l.dy;
            const bool evidente = schermo.valid(x, y)
                    && (schermo.pixel(x, y) & 0xFFFFFF) == (evidenza & 0xFFFFFF);
            corsa = evidente ? corsa + 1 : 0;
            migliore = std::max(migliore, corsa);
        }
        if (migliore < spessore)
            return ::testing::AssertionFailure()
                    << controllo.objectName().toStdString() << ": on its " << l.lato
                    << " side the highlight colour is " << migliore << " device pixels thick, not "
                    << spessore;
    }
    return ::testing::AssertionSuccess()
            << controllo.objectName().toStdString() << " is framed in the highlight colour";
}

} // namespace zelvo
