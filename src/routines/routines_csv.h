#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace sorvenka {

// The routines and plates as a CSV file of their own: a header line, then one line per item
// (with its routine and day) and one per plate inventory, names as stored.
struct RoutinesCsvResult {
    bool ok = false;
    QString error;        // the file could not be read or written, or the database refused
    QStringList refused;  // "3行目: …" — an import with any refused line writes nothing
    int routines = 0, days = 0, items = 0, plates = 0;  // written (or, dry run, to be written)
};

RoutinesCsvResult ExportRoutinesCsv(sqlite3* db, const QString& path);

// Adds what the file holds and the database lacks: a routine, day or item equal to a stored one
// is not added again, so a second import of the same file adds nothing.
RoutinesCsvResult ImportRoutinesCsv(sqlite3* db, const QString& path, bool dryRun);

}  // namespace sorvenka
