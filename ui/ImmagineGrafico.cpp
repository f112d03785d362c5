#include "ui/ImmagineGrafico.h"

#include "plot/Griglia.h"
#include "ui/Twips.h"

#include <limits>

namespace zelvo {

QRect rettangoloGrafico()
{
    return {QPoint(pixelDaTwips(corniceSinistra), pixelDaTwips(corniceAlto)),
            QPoint(pixelDaTwips(corniceDestra), pixelDaTwips(corniceBasso))};
}

QImage immagineGrafico(const SuperficieQt &superficie)
{
    return superficie.immagine().copy(rettangoloGrafico());
}

QImage immagineGraficoDensa(const SuperficieQt &superficie)
{
    const int quarti = quartiPerPixel(superficie.scala());
    const auto pixel = [quarti](int twips) {
        int p = 0;
        pixelDiCoordinata(static_cast<float>(twips), std::numeric_limits<int>::max(), quarti, p);
        return p;
    };
    QImage densa = superficie.immagineSchermo().copy(
            QRect(QPoint(pixel(corniceSinistra), pixel(corniceAlto)),
                  QPoint(pixel(corniceDestra), pixel(corniceBasso))));
    densa.setDevicePixelRatio(1);
    return densa;
}

SuperficieQt superficieGrafico(const QPalette &palette, double scala)
{
    const QRect cornice = rettangoloGrafico();
    return SuperficieQt(QSize(cornice.right() + 1, cornice.bottom() + 1), palette, scala);
}

} // namespace zelvo
