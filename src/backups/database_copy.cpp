#include "backups/database_copy.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "db/connection.h"

namespace sorvenka {

void RemoveWithJournals(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    std::remove(name.constData());
    for (const char* suffix : kJournalSuffixes) std::remove((name + suffix).constData());
}

bool CopyThroughEngine(const QString& source, const QString& target) {
    RemoveWithJournals(target);
    // An empty file would open as an empty database: it is not the database.
    const QFileInfo info(source);
    if (!info.isFile() || info.size() == 0) return false;
    bool copied = false;
    {
        // Read and write: rolling a hot journal back writes the database file.
        const Connection from = OpenConnection(source, SQLITE_OPEN_READWRITE);
        const Connection to = OpenConnection(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (from && to) {
            sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
            if (backup != nullptr) {
                const int stepped = sqlite3_backup_step(backup, -1);
                copied = sqlite3_backup_finish(backup) == SQLITE_OK && stepped == SQLITE_DONE;
            }
        }
    }
    if (!copied) RemoveWithJournals(target);
    return copied;
}

}  // namespace sorvenka
