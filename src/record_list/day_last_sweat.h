#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

// The sweat code of the set stored last on the day (the one added most recently, whatever its
// exercise); the empty text when the day has no set with a sweat code or the read fails.
QString ReadDayLastSweat(sqlite3* connection, const QString& ymd);

}  // namespace sorvenka
