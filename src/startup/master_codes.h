#pragma once

#include <QString>

#include "db/result_table.h"

namespace sorvenka {

class Database;

// The code columns of the masters have fixed widths and the sweat levels are numbered
// "0", "1", "2", ...: checked at start, after the database is opened. Only the first
// violation is reported. A failed master query shows its message and ends the program.
bool CheckMasterCodes(Database& db, QString& message);

// The codes of one master column in code order (the query's four lines, each ended by CR LF).
// A failed query shows its message and ends the program.
void SelectMasterCodes(Database& db, const QString& table, const QString& column,
                       ResultTable& codes);
QString MasterCodesSql(const QString& table, const QString& column);

// Every row (the header skipped) is `width` UTF-16 code units long.
bool CheckCodeDigits(const ResultTable& codes, const QString& table, const QString& column,
                     quint8 width, QString& message);
// Row i is exactly the decimal text of i - 1.
bool CheckCodeSequence(const ResultTable& codes, const QString& table, const QString& column,
                       QString& message);

}  // namespace sorvenka
