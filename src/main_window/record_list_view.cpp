#include "main_window/record_list_view.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace sorvenka {

int RecordLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant RecordLineModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ListLine& line = lines_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) return line.text;
    if (role == RecordListView::kLineKindRole) return static_cast<int>(line.kind);
    return {};
}

Qt::ItemFlags RecordLineModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void RecordLineModel::setLines(std::vector<ListLine> lines) {
    beginResetModel();
    lines_.swap(lines);
    endResetModel();
    // lines now holds the old list; it is freed here, after the view let go of it.
}

RecordListView::RecordListView(QWidget* parent) : QListView(parent) {
    setModel(&model_);
}

void RecordListView::setLines(std::vector<ListLine> lines) {
    // Emptying the list removes its selection without a click.
    const QSignalBlocker blocker(selectionModel());
    lines.shrink_to_fit();
    model_.setLines(std::move(lines));
    selectionModel()->clear();
}

}  // namespace sorvenka
