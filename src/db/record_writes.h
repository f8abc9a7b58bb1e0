#pragma once

#include <QString>

#include "db/exer_record.h"

namespace sorvenka {

class Database;

// Changes of t_exer. Each checks the forms of its values first: a value not of its form is
// refused (false, message says which) and nothing is written. A statement that fails shows
// its message and ends the program (through Database::nonQuery); true means it ran.

bool DBInsertExerCount(Database& db, const ExerRecord& r, QString& message);
bool DBInsertExerTime(Database& db, const ExerRecord& r, QString& message);
// Rewrite columns 5 to 14 of the set with r's key; a missing key changes nothing.
bool DBUpdateExerCount(Database& db, const ExerRecord& r, QString& message);
bool DBUpdateExerTime(Database& db, const ExerRecord& r, QString& message);
bool DBDeleteExer(Database& db, const RecordKey& key, QString& message);

// The highest set number of that day and exercise, 0 when none; -1 when the day or a code
// is not of its form (no statement is run). A failed query shows its message and ends.
int DBGetMaxSetNum(Database& db, const QString& ymd, const QString& grpCd, const QString& exerCd);
// True when no set of that day has the same start or finish time; otherwise false with the
// warning to show. Group, exercise and set number are taken but not used.
bool DBCheckSameTime(Database& db, const QString& ymd, const QString& grpCd, const QString& exerCd,
                     const QString& setNum, const QString& hmsSta, const QString& hmsEnd,
                     QString& message);

}  // namespace sorvenka
