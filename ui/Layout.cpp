#include "ui/Layout.h"

#include "ui/Twips.h"

#include <QStringList>

namespace zelvo {

QRect rettangolo(const Controllo &controllo)
{
    return rettangoloDaTwips(controllo.sinistra, controllo.alto, controllo.larghezza,
                             controllo.altezza);
}

QFont fontDi(const Carattere &carattere)
{
    QFont font;
    // DejaVu Sans descends from a Verdana-like design and stands in for
    // Verdana; its condensed face keeps MS Sans Serif's narrower captions
    // within the widths the layouts give them.
    if (carattere.famiglia == Carattere::Famiglia::Verdana)
        font.setFamilies({QStringLiteral("DejaVu Sans")});
    else
        font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelDaPunti(carattere.punti));
    font.setBold(carattere.grassetto);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

QColor coloreQt(Colore colore)
{
    return QColor(static_cast<int>(colore & 0xFFu), static_cast<int>((colore >> 8) & 0xFFu),
                  static_cast<int>((colore >> 16) & 0xFFu));
}

QString daUtf8(std::string_view testo)
{
    return QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
}

} // namespace zelvo
