// Routines name exercises by their codes: deleting one they use is refused, and a merge or a
// move takes their items along with the sets.
#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

// Whether a routine has an item of the exercise ("ベンチプレス" is in
// メニュー「A」), and the items moved along when an exercise is merged into or moved to
// another key. Both inside the caller's transaction.
bool RoutinesUseExercise(sqlite3* db, const QString& grpCd, const QString& exerCd,
                         QString& routineName, bool& used);
// The refusal of deleting an exercise a routine uses, empty when none does; ok false when the
// read failed.
QString RoutineUseRefusal(sqlite3* db, const QString& grpCd, const QString& exerCd, bool& ok);
bool MoveRoutineItems(sqlite3* db, const QString& fromGrp, const QString& fromExer,
                      const QString& toGrp, const QString& toExer);

}  // namespace sorvenka
