#pragma once

#include <sqlite3.h>

#include <QFile>
#include <QStringList>
#include <memory>

#include "db/database.h"

// Helpers shared by the CSV tests: files written byte by byte, and the rows of t_exer read
// cell by cell with their storage class.
namespace sorvenka::testing {

inline bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every row of a query, each cell as storage class and exact value ("real:62.5",
// "null", "text:"), cells joined by " | ".
inline QStringList CellRows(const QString& dbPath, const char* sql) {
    sqlite3* raw = nullptr;
    sqlite3_open(dbPath.toUtf8().constData(), &raw);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
    sqlite3_stmt* statement = nullptr;
    QStringList rows;
    if (sqlite3_prepare_v2(raw, sql, -1, &statement, nullptr) != SQLITE_OK) return {"bad query"};
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList cells;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            switch (sqlite3_column_type(statement, i)) {
                case SQLITE_NULL:
                    cells << QStringLiteral("null");
                    break;
                case SQLITE_INTEGER:
                    cells << QStringLiteral("int:%1").arg(sqlite3_column_int64(statement, i));
                    break;
                case SQLITE_FLOAT:
                    cells << QStringLiteral("real:") +
                                 QString::number(sqlite3_column_double(statement, i), 'g', 17);
                    break;
                default:
                    cells << QStringLiteral("text:") +
                                 QString::fromUtf8(reinterpret_cast<const char*>(
                                     sqlite3_column_text(statement, i)));
            }
        }
        rows << cells.join(QStringLiteral(" | "));
    }
    sqlite3_finalize(statement);
    return rows;
}

inline QStringList AllSets(const QString& dbPath) {
    return CellRows(dbPath, "select * from t_exer order by ymd, grp_cd, exer_cd, set_num");
}

inline QString Scalar(const QString& dbPath, const char* sql) {
    const QStringList rows = CellRows(dbPath, sql);
    return rows.isEmpty() ? QString() : rows.first();
}

}  // namespace sorvenka::testing
