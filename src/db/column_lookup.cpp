#include "db/column_lookup.h"

#include "db/database.h"

namespace sorvenka {

ColumnLookup::ColumnLookup(Database& db, const ResultTable& table)
    : db_(db), table_(table), names_(table.value(0).split(QLatin1Char('\t'))) {}

int ColumnLookup::index(const QString& name) const {
    const int found = static_cast<int>(names_.indexOf(name));
    if (found >= 0) return found;
    db_.colValue(table_, 1, name);  // shows the missing-column report and ends
    return -1;
}

QStringList ColumnLookup::cells(int row) const {
    const QString text = table_.value(row);
    if (text.isEmpty()) return {};
    return text.split(QLatin1Char('\t'));
}

}  // namespace sorvenka
