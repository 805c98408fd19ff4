#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <string>
#include <vector>

#include "windows/ListRow.h"

namespace tess::explorer {

// The rows of the mosaic list for the list view: six columns as created ("Mosaic Title",
// "File Name", "File Size", "Font Size", "Background Color", "Created On"), the row's mark in the
// first. Sorting is stable; sizes and dates sort by their numbers, the other columns by their text
// without regard to letter case.
class MosaicListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr auto kHeaders = MosaicRow::kColumnCaptions;

    explicit MosaicListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int count() const { return static_cast<int>(rows_.size()); }
    const ListRow& at(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    void add(ListRow row);
    void remove(int row);
    void clear();
    // Replaces one row and shows the change.
    void update(int row, ListRow value);
    bool anyChanged() const;

    // Sorts by a column as created (0-based); `descending` reverses the order. Returns the new
    // place of every old row (oldToNew[i] is where row i went).
    std::vector<int> sort(int column, bool descending);
    // The text a column shows for a row.
    static std::string columnText(const ListRow& row, int column);

  private:
    std::vector<ListRow> rows_;
    std::array<QIcon, 2> marks_;
};

}  // namespace tess::explorer
