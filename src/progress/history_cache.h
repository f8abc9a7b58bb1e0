#pragma once

#include <QString>
#include <functional>
#include <string>

struct sqlite3;

namespace sorvenka {

class DailyBests;

// The daily bests of the exercises last shown, kept per connection for as long as what the
// connection reads stays the same, so that another period of the same exercise reads only
// its own days. Everything held for a connection is dropped when
// - the connection wrote (its count of changed rows moved: 登録, 更新, 削除, imports, the
//   masters' writes),
// - another connection, of this program or another, committed to the file (its data version
//   moved: a merge, a restore made in place),
// - the tables' definitions changed (schema version),
// - the connection closes (a restore reopens the file: the next connection starts empty,
//   even at the same address).
// Runs `use` with the exercise's bests holding every day before `until`, reading only the
// days not held yet. False with the engine's message when a read failed.
bool WithDailyBests(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                    const std::string& until, const std::function<void(DailyBests&)>& use,
                    QString& error);

// How many exercises' days are held for one connection: the least recently shown goes first.
inline constexpr int kExercisesHeld = 8;

}  // namespace sorvenka
