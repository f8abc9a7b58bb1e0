#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <vector>

#include "record_list/record_lines.h"

namespace sorvenka {

// The lines of the record list; a rebuild replaces them all with one reset.
class RecordLineModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setLines(std::vector<ListLine> lines);
    const std::vector<ListLine>& lines() const { return lines_; }

  private:
    std::vector<ListLine> lines_;
};

// lstRecord: a list of the record lines, each answering its kind under kLineKindRole.
class RecordListView : public QListView {
  public:
    // Role of the lines that holds their kind (LineKind as int).
    static constexpr int kLineKindRole = Qt::UserRole + 1;

    explicit RecordListView(QWidget* parent = nullptr);

    int count() const { return model_.rowCount(); }
    QString lineText(int row) const { return line(row).text; }
    LineKind lineKind(int row) const { return line(row).kind; }
    const std::vector<ListLine>& lines() const { return model_.lines(); }

    // Replaces every line; nothing is selected afterwards and no click runs.
    void setLines(std::vector<ListLine> lines);

  private:
    const ListLine& line(int row) const { return model_.lines().at(static_cast<size_t>(row)); }

    RecordLineModel model_;
};

}  // namespace sorvenka
