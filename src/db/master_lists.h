#pragma once

#include <QStringList>

namespace sorvenka {

class Database;

// The window's selection lists from the masters: active rows (status = 1) by order_id.
// Table and column names are the program's own constants, out of reach of any typed text.
enum class MasterList {
    Groups,       // m_grp: "code name"
    CountUnits,   // m_unit: the unit name
    LoadUnits,    // m_unit_target: the unit name
    SweatLevels,  // m_sweat: "code name"
};

// DBFillCodeNameList / DBFillNameList: the list's entries. A failed query shows its message
// and ends the program.
QStringList DBFillMasterList(Database& db, MasterList list);
// DBFillExerList: "exer_cd exer_name" of the group's active exercises whose group exists.
// A group code that is not two characters without a quote gives no entries.
QStringList DBFillExerList(Database& db, const QString& grpCd);

// The statements as built (for the check of their exact text).
QString FillCodeNameListSql(const QString& table, const QString& codeColumn,
                            const QString& nameColumn);
QString FillNameListSql(const QString& table, const QString& nameColumn);
QString FillExerListSql(const QString& grpCd);

}  // namespace sorvenka
