#pragma once

#include <QStyledItemDelegate>

namespace sorvenka {

// Draws the lines of the record list from no more than their first characters. The list is
// clipped at its right edge, so a longer text looks the same, while laying out a comment line
// of a megabyte (written by another tool) would hold the window for seconds at every repaint.
// The items keep their whole text: the export and the keys read it from there.
class ClippedTextDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Far more than the list shows of any line at any font size.
    static constexpr qsizetype kLongestDrawnText = 1000;

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace sorvenka
