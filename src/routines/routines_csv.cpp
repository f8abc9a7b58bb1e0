#include "routines/routines_csv.h"

namespace sorvenka {

RoutinesCsvResult ExportRoutinesCsv(sqlite3*, const QString&) {
    RoutinesCsvResult result;
    result.error = QStringLiteral("未実装");
    return result;
}

RoutinesCsvResult ImportRoutinesCsv(sqlite3*, const QString&, bool) {
    RoutinesCsvResult result;
    result.error = QStringLiteral("未実装");
    return result;
}

}  // namespace sorvenka
