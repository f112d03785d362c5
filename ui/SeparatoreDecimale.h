#pragma once

#include <QLocale>
#include <QString>

namespace zelvo {

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG, as
// Qt reads them), for every number read or shown. Only a comma or a point can
// be typed in a number. Needs no application object.
inline char separatoreDiSistema()
{
    return QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

} // namespace zelvo
