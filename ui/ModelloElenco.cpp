#include "ui/ModelloElenco.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace zelvo {

namespace {

int comeInt(std::size_t n)
{
    return static_cast<int>(std::min<std::size_t>(n, std::numeric_limits<int>::max()));
}

// The rows that are measured exactly: a few of those whose width, estimated
// as the sum of their characters' advances, is largest. Measuring 200,000
// rows through the style would take longer than filling them; the estimate
// only misses kerning, which the exact measure of the widest few catches.
std::vector<std::size_t> righePiuLarghe(const ElencoValori &elenco, const QFontMetricsF &metrica)
{
    constexpr std::size_t quante = 8;
    std::array<double, 128> avanzamento {};
    for (std::size_t c = 0; c < avanzamento.size(); ++c)
        avanzamento[c] = metrica.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    const double largo = metrica.maxWidth(); // any byte of a non-ASCII character

    std::vector<std::pair<double, std::size_t>> migliori; // kept sorted, widest first
    for (std::size_t i = 0; i < elenco.size(); ++i) {
        double stima = 0;
        for (const char c : elenco.riga(i)) {
            const auto byte = static_cast<unsigned char>(c);
            stima += byte < avanzamento.size() ? avanzamento[byte] : largo;
        }
        if (migliori.size() == quante && stima <= migliori.back().first)
            continue;
        if (migliori.size() == quante)
            migliori.pop_back();
        const auto dove = std::upper_bound(
                migliori.begin(), migliori.end(), stima,
                [](double s, const std::pair<double, std::size_t> &m) { return s > m.first; });
        migliori.insert(dove, {stima, i});
    }
    std::vector<std::size_t> righe;
    for (const auto &[stima, i] : migliori)
        righe.push_back(i);
    return righe;
}

} // namespace

int ModelloElenco::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : comeInt(elenco_.size());
}

QVariant ModelloElenco::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::SizeHintRole && dimensioneRiga_.isValid())
        return dimensioneRiga_;
    if (role != Qt::DisplayRole)
        return {};
    const std::string_view riga = elenco_.riga(static_cast<std::size_t>(index.row()));
    return QString::fromUtf8(riga.data(), static_cast<qsizetype>(riga.size()));
}

void ModelloElenco::sostituisci(const std::function<void(ElencoValori &)> &riempi,
                                const QAbstractItemView &vista)
{
    beginResetModel();
    dimensioneRiga_ = QSize();
    riempi(elenco_);

    // Every row takes the widest row's size, as the delegate measures it.
    QStyleOptionViewItem opzione;
    opzione.initFrom(&vista);
    opzione.font = vista.font();
    opzione.fontMetrics = vista.fontMetrics();
    opzione.textElideMode = vista.textElideMode();
    opzione.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QSize dimensione;
    for (const std::size_t riga : righePiuLarghe(elenco_, QFontMetricsF(vista.font())))
        dimensione = dimensione.expandedTo(
                vista.itemDelegate()->sizeHint(opzione, index(comeInt(riga))));
    dimensioneRiga_ = dimensione;
    endResetModel();
}

} // namespace zelvo
