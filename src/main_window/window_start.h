#pragma once

#include <QListWidget>
#include <QString>

namespace sorvenka {

// The items of lstRange; the position of the selection is the range of the record list.
inline const QString kRangeItems = QStringLiteral("0 すべて,1 指定グループ,2 指定種目");

// Replaces the list's items by the comma-separated pieces of the text, in order and unchanged
// (empty pieces too); an empty text leaves the list empty. Not a click of the list.
void FillListFromCsv(QListWidget* list, const QString& text);

}  // namespace sorvenka
