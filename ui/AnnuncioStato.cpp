#include "ui/AnnuncioStato.h"

namespace zelvo {

AnnuncioStato::AnnuncioStato(QWidget *finestra)
    : QWidget(finestra)
{
    setObjectName(QStringLiteral("AnnuncioStato"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void AnnuncioStato::annuncia(const QString &testo)
{
    hide();
    setAccessibleName(testo);
    if (!testo.isEmpty())
        show();
}

} // namespace zelvo
