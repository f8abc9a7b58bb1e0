#pragma once

#include <QDateTime>
#include <QString>

#include "masters/exercise_merge.h"

struct sqlite3;

namespace sorvenka {

// The name of the copy taken before a merge, "merge_exercise_yyyymmdd-hhnnss.sqlite3". It holds
// no day stamp "_yyyy_mmdd" and does not begin with the database's own name, so the daily
// backup's day check and its pruning never count or delete it.
QString MergeCopyName(const QDateTime& moment);

// The copy's full path in the backup folder: MergeCopyName, or with "-2", "-3", ... before its
// extension when that name is taken (two merges within one second keep both copies).
QString FreeMergeCopyPath(const QString& backupFolder, const QDateTime& now);

// Copies the database file to FreeMergeCopyPath, through the same verified copy as the daily
// backup. copyPath: the copy's full path. False with the reason when the copy could not be made.
bool TakeMergeCopy(const QString& dbFilePath, const QString& backupFolder, const QDateTime& now,
                   QString& copyPath, QString& message);

// A merge as the user asks for it: the copy first, then the merge; no copy, no merge.
struct MergeOutcome {
    MergeFigures figures;
    QString copyPath;
    QString message;  // the reason when false
};
bool MergeWithCopy(sqlite3* db, const QString& dbFilePath, const QString& backupFolder,
                   const QDateTime& now, const ExerciseKey& from, const ExerciseKey& into,
                   MergeOutcome& outcome);

}  // namespace sorvenka
