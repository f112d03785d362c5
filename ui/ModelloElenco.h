#pragma once

#include "tables/ElencoValori.h"

#include <QAbstractListModel>
#include <QSize>

#include <functional>

class QAbstractItemView;

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

    const ElencoValori &elenco() const { return elenco_; }

    // Replaces every row: `riempi` writes the new rows, then the size every
    // row takes in `vista` is measured on the widest one, so that the view
    // scrolls to the last digit of any row.
    void sostituisci(const std::function<void(ElencoValori &)> &riempi,
                     const QAbstractItemView &vista);

private:
    ElencoValori elenco_;
    QSize dimensioneRiga_; // every row's size; invalid while the rows are measured
};

} // namespace zelvo
