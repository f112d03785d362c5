#include "ui/ImmagineGrafico.h"

#include "plot/Griglia.h"
#include "ui/Twips.h"

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

SuperficieQt superficieGrafico(const QPalette &palette)
{
    const QRect cornice = rettangoloGrafico();
    return SuperficieQt(QSize(cornice.right() + 1, cornice.bottom() + 1), palette);
}

} // namespace zelvo
