#pragma once

#include <QSet>
#include <QString>
#include <initializer_list>
#include <optional>

struct sqlite3;

namespace sorvenka {

// A group and one of its exercises: the key of an m_exer row and of its sets.
struct ExerciseKey {
    QString grpCd;
    QString exerCd;
    bool operator==(const ExerciseKey&) const = default;
};

// Runs one statement with the texts bound to ?1, ?2, ...: true when it ran to its end.
bool ExecBound(sqlite3* db, const char* sql, std::initializer_list<QString> values);
// The first column of the first row as a number or a text; nothing when there is no row or the
// statement failed (ok then false).
std::optional<qint64> ScalarInt(sqlite3* db, const char* sql, std::initializer_list<QString> values,
                                bool& ok);
std::optional<QString> ScalarText(sqlite3* db, const char* sql,
                                  std::initializer_list<QString> values, bool& ok);

// The codes that a new group or exercise must not take: those of the masters and also those
// that stored sets (or exercises) still name, so that a new entry never adopts rows that
// belonged to another.
QSet<QString> UsedGroupCodes(sqlite3* db, bool& ok);
QSet<QString> UsedExerciseCodes(sqlite3* db, const QString& grpCd, bool& ok);

// The engine's last error on the connection, for the log of a failed change.
QString LastError(sqlite3* db);

}  // namespace sorvenka
