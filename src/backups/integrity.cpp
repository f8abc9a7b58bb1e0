#include "backups/integrity.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "backups/program_tables.h"
#include "db/connection.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// Codes that say the file's content is at fault rather than the access to it.
bool IsDamageCode(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

IntegrityReport Damaged(const QString& problem) {
    return {Integrity::Damaged, problem};
}

}  // namespace

IntegrityReport CheckIntegrity(const QString& path) {
    const QFileInfo info(path);
    // An empty file opens as an empty database; it is no copy of one.
    if (!info.isFile() || info.size() == 0) return {Integrity::Unreadable, QString()};
    int code = SQLITE_OK;
    const Connection connection = OpenConnection(path, SQLITE_OPEN_READONLY, &code);
    if (!connection)
        return IsDamageCode(code) ? Damaged(QString::fromUtf8(sqlite3_errstr(code)))
                                  : IntegrityReport{Integrity::Unreadable, QString()};
    PreparedStatement check(connection.get(), "PRAGMA integrity_check");
    if (!check.ok()) {
        const QString reason = QString::fromUtf8(sqlite3_errmsg(connection.get()));
        return IsDamageCode(check.prepareCode()) ? Damaged(reason)
                                                 : IntegrityReport{Integrity::Unreadable, reason};
    }
    QString first;
    bool sound = false;
    int rows = 0;
    int stepped = SQLITE_ROW;
    while ((stepped = check.step()) == SQLITE_ROW) {
        const QString line = check.columnText(0);
        if (rows++ == 0) {
            first = line;
            sound = line == QLatin1String("ok");
        } else {
            sound = false;
        }
    }
    if (stepped != SQLITE_DONE) {
        const QString reason = QString::fromUtf8(sqlite3_errmsg(connection.get()));
        return IsDamageCode(stepped) ? Damaged(reason)
                                     : IntegrityReport{Integrity::Unreadable, reason};
    }
    return sound ? IntegrityReport{Integrity::Sound, QString()} : Damaged(first);
}

IntegrityReport CheckCopy(const QString& path) {
    IntegrityReport report = CheckIntegrity(path);
    if (report.verdict != Integrity::Sound) return report;
    QString reason;
    if (!CheckProgramTables(path, QStringLiteral("バックアップ"), reason))
        return {Integrity::Foreign, reason};
    return report;
}

}  // namespace sorvenka
