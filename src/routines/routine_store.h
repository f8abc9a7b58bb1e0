#pragma once

#include <QString>
#include <vector>

#include "routines/routine_model.h"

struct sqlite3;

namespace sorvenka {

// Everything stored about routines, each list in its order (days by routine then order, items
// by day then order).
struct RoutineBook {
    std::vector<Routine> routines;
    std::vector<RoutineDay> days;
    std::vector<RoutineItem> items;

    const Routine* routine(qint64 id) const;
    const RoutineDay* day(qint64 id) const;
    std::vector<RoutineDay> daysOf(qint64 routineId) const;
    std::vector<RoutineItem> itemsOf(qint64 dayId) const;
};

// Reads all routines, days and items; false when a table exists and cannot be read.
bool ReadRoutineBook(sqlite3* db, RoutineBook& book);

// Each write is whole or not at all (it nests inside a caller's transaction) and makes the
// tables on first use. A new row goes last in its list; its id is set on the argument.
bool AddRoutine(sqlite3* db, Routine& routine);
bool AddDay(sqlite3* db, RoutineDay& day);
bool AddItem(sqlite3* db, RoutineItem& item);

// Writes every field but id, order and owner.
bool UpdateRoutine(sqlite3* db, const Routine& routine);
bool UpdateDay(sqlite3* db, const RoutineDay& day);
bool UpdateItem(sqlite3* db, const RoutineItem& item);

// A routine goes with its days and items, a day with its items.
bool DeleteRoutine(sqlite3* db, qint64 id);
bool DeleteDay(sqlite3* db, qint64 id);
bool DeleteItem(sqlite3* db, qint64 id);

// Sets the order of the routines, of a routine's days or of a day's items to the ids' order.
bool OrderRoutines(sqlite3* db, const std::vector<qint64>& ids);
bool OrderDays(sqlite3* db, const std::vector<qint64>& ids);
bool OrderItems(sqlite3* db, const std::vector<qint64>& ids);

// The stored plates of a unit, or DefaultPlates(unit) when none are stored.
bool ReadPlates(sqlite3* db, const QString& unit, PlateInventory& plates);
// Every stored inventory, by unit.
bool ReadAllPlates(sqlite3* db, std::vector<PlateInventory>& inventories);
bool SavePlates(sqlite3* db, const PlateInventory& plates);

// The stored warm-up scheme, or DefaultWarmup() when none is stored.
bool ReadWarmup(sqlite3* db, WarmupScheme& scheme);
bool SaveWarmup(sqlite3* db, const WarmupScheme& scheme);

// For the masters: whether a routine has an item of the exercise ("ベンチプレス" is in
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
