#pragma once

#include <QDate>
#include <QString>

namespace sorvenka {

class Database;

// "Sorvenka_yyyymmdd.csv" for the day of the export.
QString ProposedCsvName(const QDate& day);

// Writes every set, or those from `from` to `to` (day texts, both included; empty for no
// bound), as Sorvenka's own CSV: UTF-8 with a byte-order mark, comma-separated, CR LF, a
// header row, one row per set with every column of t_exer and the group's and exercise's
// names. NULL is an empty field and an empty text "", so the two stay apart; numbers keep
// their kind and value. The file is replaced only when complete. False with a message.
bool ExportCsv(Database& db, const QString& path, const QString& from, const QString& to,
               qint64& rows, QString& message);

}  // namespace sorvenka
