#include "ui/ImmagineGrafico.h"

#include "plot/Griglia.h"
#include "ui/Twips.h"

#include <cmath>

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
    // The logical frame's pixels, each as the scale's square of device pixels:
    // exactly N times the logical picture at a scale of N. The grid lines
    // drawn at device pixels fall inside it.
    const double scala = superficie.scala();
    const auto denso = [scala](int pixel) {
        return static_cast<int>(std::lround(pixel * scala));
    };
    const QRect logico = rettangoloGrafico();
    QImage densa = superficie.immagineSchermo().copy(
            QRect(QPoint(denso(logico.left()), denso(logico.top())),
                  QSize(denso(logico.width()), denso(logico.height()))));
    densa.setDevicePixelRatio(1);
    return densa;
}

SuperficieQt superficieGrafico(const QPalette &palette, double scala)
{
    const QRect cornice = rettangoloGrafico();
    return SuperficieQt(QSize(cornice.right() + 1, cornice.bottom() + 1), palette, scala);
}

} // namespace zelvo
