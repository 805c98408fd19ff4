#include "windows/MosaicListModel.h"

#include <QPixmap>
#include <algorithm>
#include <numeric>

#include "platform/Runtime.h"
#include "platform/qt/QtText.h"
#include "windows/ExplorerArt.h"

namespace tess::explorer {

MosaicListModel::MosaicListModel(QObject* parent) : QAbstractTableModel(parent) {
    marks_[0] = QIcon(QPixmap::fromImage(rowMark(1)));
    marks_[1] = QIcon(QPixmap::fromImage(rowMark(2)));
}

int MosaicListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int MosaicListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kHeaders.size());
}

std::string MosaicListModel::columnText(const ListRow& row, int column) {
    if (column < 0 || column >= static_cast<int>(kHeaders.size()))
        return {};
    return row.row.columns()[static_cast<std::size_t>(column)];
}

QVariant MosaicListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    const ListRow& row = at(index.row());
    if (role == Qt::DisplayRole)
        return qt::toQ(columnText(row, index.column()));
    if (role == Qt::DecorationRole && index.column() == 0)
        return marks_[row.row.icon == 2 ? 1 : 0];
    return {};
}

QVariant MosaicListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(kHeaders.size()))
        return {};
    return qt::toQ(kHeaders[static_cast<std::size_t>(section)]);
}

void MosaicListModel::add(ListRow row) {
    beginInsertRows({}, count(), count());
    rows_.push_back(std::move(row));
    endInsertRows();
}

void MosaicListModel::remove(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void MosaicListModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void MosaicListModel::update(int row, ListRow value) {
    if (row < 0 || row >= count())
        return;
    rows_[static_cast<std::size_t>(row)] = std::move(value);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool MosaicListModel::anyChanged() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const ListRow& r) { return r.row.changed(); });
}

std::vector<int> MosaicListModel::sort(int column, bool descending) {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    // A text column's keys are made once for every row, not twice for every comparison.
    std::vector<std::string> keys;
    if (column != 2 && column != 5) {
        keys.reserve(rows_.size());
        for (const ListRow& row : rows_)
            keys.push_back(rt::toLower(columnText(row, column)));
    }
    auto less = [&](int a, int b) {
        const auto x = static_cast<std::size_t>(a);
        const auto y = static_cast<std::size_t>(b);
        if (column == 2)
            return rows_[x].kilobytes < rows_[y].kilobytes;
        if (column == 5)
            return rows_[x].createdKey < rows_[y].createdKey;
        return keys[x] < keys[y];
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    emit layoutAboutToBeChanged();
    std::vector<ListRow> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> oldToNew(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        oldToNew[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(order[i])]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    for (const QModelIndex& old : persistent)
        moved << index(oldToNew[static_cast<std::size_t>(old.row())], old.column());
    changePersistentIndexList(persistent, moved);
    emit layoutChanged();
    return oldToNew;
}

}  // namespace tess::explorer
