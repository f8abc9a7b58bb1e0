#include "backups/database_copy.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "db/connection.h"
#include "db/prepared_statement.h"

namespace sorvenka {

void RemoveWithJournals(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    std::remove(name.constData());
    for (const char* suffix : kJournalSuffixes) std::remove((name + suffix).constData());
}

namespace {

// The first bytes of a rollback journal that still holds pages to put back; a journal that
// was committed or rolled back is empty or begins with zeros.
bool HoldsPages(const QString& journal) {
    QFile file(journal);
    if (!file.exists()) return false;
    static const QByteArray kMagic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    if (!file.open(QIODevice::ReadOnly)) return true;  // unknown: taken as the worst
    return file.read(kMagic.size()) == kMagic;
}

}  // namespace

bool SettleJournal(const QString& path) {
    const QString journal = path + QStringLiteral("-journal");
    const QString wal = path + QStringLiteral("-wal");
    const QByteArray name = QFile::encodeName(path);
    // Journals of no file: the file put at its name would receive their pages.
    if (!QFileInfo::exists(path)) {
        for (const char* suffix : kJournalSuffixes) std::remove((name + suffix).constData());
        return true;
    }
    if (QFileInfo::exists(journal) || QFileInfo::exists(wal)) {
        const Connection connection = OpenConnection(path, SQLITE_OPEN_READWRITE);
        if (connection) {
            PreparedStatement read(connection.get(), "select count(*) from sqlite_master");
            if (read.ok()) read.step();
        }
    }
    // The last connection's close writes a write-ahead log back and removes it.
    if (HoldsPages(journal) || QFileInfo(wal).size() > 0) return false;
    for (const char* suffix : kJournalSuffixes) std::remove((name + suffix).constData());
    return true;
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
