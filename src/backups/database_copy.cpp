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

bool CopyThroughEngine(const QString& source, const QString& target, int* failedCode) {
    RemoveWithJournals(target);
    if (failedCode != nullptr) *failedCode = SQLITE_OK;
    // An empty file would open as an empty database: it is not the database.
    const QFileInfo info(source);
    if (!info.isFile() || info.size() == 0) return false;
    bool copied = false;
    {
        // Read and write: rolling a hot journal back writes the database file.
        const Connection from = OpenConnection(source, SQLITE_OPEN_READWRITE);
        int code = SQLITE_OK;
        const Connection to =
            OpenConnection(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &code);
        if (from && to) {
            sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
            if (backup != nullptr) {
                const int stepped = sqlite3_backup_step(backup, -1);
                const int finished = sqlite3_backup_finish(backup);
                copied = finished == SQLITE_OK && stepped == SQLITE_DONE;
                code = stepped != SQLITE_DONE ? stepped : finished;
            } else {
                code = sqlite3_extended_errcode(to.get());
            }
        }
        // A full disk answers SQLITE_FULL while the copy is written.
        if (!copied && failedCode != nullptr) *failedCode = code;
    }
    if (!copied) RemoveWithJournals(target);
    return copied;
}

}  // namespace sorvenka
