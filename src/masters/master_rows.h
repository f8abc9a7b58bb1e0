#pragma once

#include <QString>
#include <vector>

struct sqlite3;

namespace sorvenka {

// A group as the management lists it: hidden ones too, with what still refers to it.
struct GroupRow {
    QString code;
    QString name;
    bool shown = true;  // status = 1: listed in the main window
    qint64 orderId = 0;
    qint64 exercises = 0;  // rows of m_exer in the group
    qint64 sets = 0;       // stored sets of the group
};

// An exercise with its usage: how many sets name it, its first and last day.
struct ExerciseRow {
    QString grpCd;
    QString code;
    QString name;
    bool shown = true;
    qint64 orderId = 0;
    qint64 sets = 0;
    QString firstYmd;  // empty without sets
    QString lastYmd;
};

// Every group by order_id (then code), as the main window orders the shown ones.
bool ReadGroups(sqlite3* db, std::vector<GroupRow>& rows);
// Every exercise of one group by order_id (then code).
bool ReadExercises(sqlite3* db, const QString& grpCd, std::vector<ExerciseRow>& rows);
// Every exercise of every group, groups in their order: the choices of a merge's target.
bool ReadAllExercises(sqlite3* db, std::vector<ExerciseRow>& rows);
// One exercise; false when it does not exist (or the read failed).
bool ReadExercise(sqlite3* db, const QString& grpCd, const QString& exerCd, ExerciseRow& row);

}  // namespace sorvenka
