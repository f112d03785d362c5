#pragma once

#include "tables/ElencoValori.h"

#include <QAbstractListModel>

namespace zelvo {

// A list box's rows as a Qt model: the rows stay in one ElencoValori and are
// turned into text only when the view asks for the rows it shows, so a list
// of 200,000 rows appears at once.
class ModelloElenco : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The rows, to be rewritten in place; call aggiornato() afterwards.
    ElencoValori &elenco() { return elenco_; }
    const ElencoValori &elenco() const { return elenco_; }

    // Tells the views that the first `riscritte` rows changed and that rows
    // may have been appended (rows are never removed).
    void aggiornato(std::size_t riscritte);

private:
    ElencoValori elenco_;
    int righe_ = 0; // rows the views know of
};

} // namespace zelvo
