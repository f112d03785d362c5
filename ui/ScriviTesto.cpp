#include "ui/ScriviTesto.h"

#include <QSaveFile>

namespace zelvo {

QString scriviTesto(const QString &file, const std::string &testo)
{
    QSaveFile uscita(file);
    const auto n = static_cast<qint64>(testo.size());
    if (uscita.open(QIODevice::WriteOnly) && uscita.write(testo.data(), n) == n && uscita.commit())
        return {};
    return uscita.errorString();
}

} // namespace zelvo
