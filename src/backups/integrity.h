#pragma once

#include <QString>

namespace sorvenka {

// What the engine's full integrity check says of a database file.
enum class Integrity {
    Sound,       // "ok"
    Damaged,     // the check found faults, or the file is not a database at all
    Unreadable,  // the file could not be read (missing, locked, no permission): nothing known
    Foreign,     // whole, but not the program's tables as it uses them (CheckCopy)
};

struct IntegrityReport {
    Integrity verdict = Integrity::Unreadable;
    QString firstProblem;  // the engine's first complaint, for the log
};

// PRAGMA integrity_check on the file, opened read-only; indexes are compared with their
// tables row by row, which the quick check skips. A missing or empty file is Unreadable.
IntegrityReport CheckIntegrity(const QString& path);

// What a copy must pass before it is called good or restored: the integrity check, then the
// program's tables (Foreign, with the plain reason, when they are not as the program uses them).
IntegrityReport CheckCopy(const QString& path);

}  // namespace sorvenka
