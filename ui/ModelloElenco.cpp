#include "ui/ModelloElenco.h"

#include <algorithm>
#include <limits>

namespace zelvo {

namespace {

int comeInt(std::size_t n)
{
    return static_cast<int>(std::min<std::size_t>(n, std::numeric_limits<int>::max()));
}

} // namespace

int ModelloElenco::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : righe_;
}

QVariant ModelloElenco::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= righe_)
        return {};
    const std::string_view riga = elenco_.riga(static_cast<std::size_t>(index.row()));
    return QString::fromUtf8(riga.data(), static_cast<qsizetype>(riga.size()));
}

void ModelloElenco::aggiornato(std::size_t riscritte)
{
    const int vecchie = righe_;
    const int nuove = comeInt(elenco_.size());
    if (nuove > vecchie) {
        beginInsertRows({}, vecchie, nuove - 1);
        righe_ = nuove;
        endInsertRows();
    }
    const int cambiate = std::min(comeInt(riscritte), vecchie);
    if (cambiate > 0)
        emit dataChanged(index(0), index(cambiate - 1), {Qt::DisplayRole});
}

} // namespace zelvo
