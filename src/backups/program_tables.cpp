#include "backups/program_tables.h"

#include <sqlite3.h>

#include <algorithm>
#include <vector>

#include "backups/read_budget.h"
#include "db/connection.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// Names from a file of unknown origin are cut short in a reason.
constexpr int kShownNameLength = 60;

// The kinds of value a column's declared type gives it, by the engine's rules.
enum class Affinity { Text, Integer, Numeric, Any };

struct NeededColumn {
    const char* name;
    Affinity needed;  // Any: only the name matters
};

struct Table {
    const char* name;
    bool records;  // the record table: exactly these columns, in this order
    std::vector<NeededColumn> columns;
};

const std::vector<Table>& ProgramTables() {
    static const std::vector<Table> tables{
        {"t_exer",
         true,
         {{"ymd", Affinity::Text},
          {"grp_cd", Affinity::Text},
          {"exer_cd", Affinity::Text},
          {"set_num", Affinity::Integer},
          {"hms_sta", Affinity::Text},
          {"hms_end", Affinity::Text},
          {"target", Affinity::Numeric},
          {"unit_t", Affinity::Text},
          {"cnt", Affinity::Numeric},
          {"unit", Affinity::Text},
          {"cnt_min", Affinity::Numeric},
          {"cnt_sec", Affinity::Numeric},
          {"sweat_cd", Affinity::Text},
          {"comment", Affinity::Text}}},
        {"m_grp",
         false,
         {{"grp_cd", Affinity::Any},
          {"grp_name", Affinity::Any},
          {"status", Affinity::Any},
          {"order_id", Affinity::Any}}},
        {"m_exer",
         false,
         {{"grp_cd", Affinity::Any},
          {"exer_cd", Affinity::Any},
          {"exer_name", Affinity::Any},
          {"status", Affinity::Any},
          {"order_id", Affinity::Any}}},
        {"m_unit",
         false,
         {{"unit_name", Affinity::Any}, {"status", Affinity::Any}, {"order_id", Affinity::Any}}},
        {"m_unit_target",
         false,
         {{"unit_name", Affinity::Any}, {"status", Affinity::Any}, {"order_id", Affinity::Any}}},
        {"m_sweat",
         false,
         {{"sweat_cd", Affinity::Any},
          {"sweat_name", Affinity::Any},
          {"status", Affinity::Any},
          {"order_id", Affinity::Any}}},
    };
    return tables;
}

// The engine's rules for the affinity of a declared type.
bool Gives(const QString& declared, Affinity needed) {
    const QString type = declared.toUpper();
    const bool integer = type.contains(QLatin1String("INT"));
    const bool text =
        !integer && (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
                     type.contains(QLatin1String("TEXT")));
    const bool blob = !integer && !text && (type.isEmpty() || type.contains(QLatin1String("BLOB")));
    switch (needed) {
        case Affinity::Text:
            return text;
        case Affinity::Integer:
            return integer;
        case Affinity::Numeric:  // integer, real or numeric
            return !text && !blob;
        case Affinity::Any:
            break;
    }
    return true;
}

struct SchemaRow {
    QString type, name, sql;
};

bool ReadSchema(sqlite3* connection, std::vector<SchemaRow>& rows) {
    PreparedStatement schema(connection, "select type, name, ifnull(sql, '') from sqlite_master");
    while (schema.next())
        rows.push_back({schema.columnText(0), schema.columnText(1), schema.columnText(2)});
    return schema.ok();
}

const SchemaRow* Find(const std::vector<SchemaRow>& rows, const char* name) {
    for (const SchemaRow& row : rows)
        if (row.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return &row;
    return nullptr;
}

// Whether the table's ordinary columns are those the program needs; hidden and generated
// columns are refused in the record table, whose rows are written without column names.
bool HasColumns(sqlite3* connection, const Table& table, bool& readable) {
    PreparedStatement info(connection, "select name, type, hidden from pragma_table_xinfo(?1)");
    info.bindText(1, QString::fromLatin1(table.name));
    std::vector<std::pair<QString, QString>> found;  // name, declared type
    bool ordinary = true;
    while (info.next()) {
        if (info.columnInt(2) != 0) {
            ordinary = false;
            continue;
        }
        found.emplace_back(info.columnText(0), info.columnText(1));
    }
    readable = info.ok();
    if (!readable) return false;
    if (table.records && (!ordinary || found.size() != table.columns.size())) return false;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const NeededColumn& column = table.columns[i];
        const auto same = [&](const std::pair<QString, QString>& c) {
            return c.first.compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0;
        };
        if (table.records) {
            if (!same(found[i]) || !Gives(found[i].second, column.needed)) return false;
            continue;
        }
        if (std::find_if(found.begin(), found.end(), same) == found.end()) return false;
    }
    return true;
}

bool IsVirtual(const SchemaRow& row) {
    return row.sql.trimmed().startsWith(QLatin1String("create virtual"), Qt::CaseInsensitive);
}

}  // namespace

bool CheckProgramTables(sqlite3* connection, const QString& subject, QString& reason) {
    reason.clear();
    const ReadBudget budget(connection);
    std::vector<SchemaRow> rows;
    const QString unreadable = subject + QStringLiteral("の表を読めません。");
    if (connection == nullptr || !ReadSchema(connection, rows)) {
        reason = unreadable;
        return false;
    }
    for (const Table& table : ProgramTables()) {
        const QString name = QString::fromLatin1(table.name);
        const QString kind =
            table.records ? QStringLiteral("記録の表") : QStringLiteral("マスターの表");
        const SchemaRow* row = Find(rows, table.name);
        if (row == nullptr || row->type != QLatin1String("table") || IsVirtual(*row)) {
            reason = table.records
                         ? subject + QStringLiteral("に記録の表がありません。")
                         : subject + QStringLiteral("にマスターの表 %1 がありません。").arg(name);
            return false;
        }
        bool readable = true;
        if (!HasColumns(connection, table, readable)) {
            reason = readable ? subject + QStringLiteral("の%1 %2 の列が違います。").arg(kind, name)
                              : unreadable;
            return false;
        }
    }
    for (const SchemaRow& row : rows) {
        if (row.type == QLatin1String("trigger")) {
            reason =
                subject + QStringLiteral("に、このプログラムが作らないトリガー %1 があります。")
                              .arg(row.name.left(kShownNameLength));
            return false;
        }
        if (row.type == QLatin1String("view")) {
            reason = subject + QStringLiteral("に、このプログラムが作らないビュー %1 があります。")
                                   .arg(row.name.left(kShownNameLength));
            return false;
        }
    }
    return true;
}

bool CheckProgramTables(const QString& path, const QString& subject, QString& reason) {
    const Connection connection = OpenConnection(path, SQLITE_OPEN_READONLY);
    return CheckProgramTables(connection.get(), subject, reason);
}

}  // namespace sorvenka
