#include "cli/backup_command.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "backups/backup_list.h"
#include "backups/backup_names.h"
#include "backups/backup_texts.h"
#include "backups/integrity.h"
#include "backups/program_tables.h"
#include "backups/restore.h"
#include "cli/command_arguments.h"
#include "cli/command_session.h"
#include "cli/console_platform.h"
#include "common/data_folders.h"
#include "common/log.h"
#include "common/paths.h"
#include "db/connection.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// A journal left by a crash in the middle of a commit is rolled back, as the program's own
// open does at its first read: the read-only check would otherwise find the file unreadable.
void RollBackCrashedCommit(const QString& dbPath) {
    const Connection connection = OpenConnection(dbPath, SQLITE_OPEN_READWRITE);
    if (!connection) return;
    PreparedStatement read(connection.get(), "select count(*) from sqlite_master");
    if (read.ok()) read.step();
}

int ListCommand(const QString& base, const QDateTime& now, QTextStream& out, QTextStream& err) {
    std::vector<BackupEntry> entries;
    if (!ListCopies(base, now, entries)) {
        err << QStringLiteral("バックアップのフォルダを読めません。") << '\n'
            << BackupFolderPath(base) << Qt::endl;
        return kCommandFailed;
    }
    if (entries.empty()) {
        err << QStringLiteral("バックアップがありません。") << '\n'
            << BackupFolderPath(base) << Qt::endl;
        return kCommandOk;
    }
    for (const BackupEntry& entry : entries) {
        out << entry.name << '\t' << MomentText(entry.taken) << '\t'
            << (entry.sets >= 0 ? QString::number(entry.sets) : QStringLiteral("-")) << '\t'
            << (entry.lastDay.isEmpty() ? QStringLiteral("-") : entry.lastDay) << '\t'
            << IntegrityText(static_cast<int>(entry.integrity)) << '\t' << CopyKindText(entry.kind)
            << '\n';
    }
    out.flush();
    return kCommandOk;
}

int RestoreCommand(const QString& base, const QString& name, const QDateTime& now, QTextStream& out,
                   QTextStream& err) {
    QString kept, message;
    if (!RestoreBackup(base, name, now, kKeptBeforeRestore, kept, message)) {
        err << ConsoleText(message) << Qt::endl;
        return kCommandFailed;
    }
    out << ConsoleText(RestoredText(name, kept)) << Qt::endl;
    return kCommandOk;
}

// The file is checked whole before the program's own open, which would take a damaged or
// foreign file for the database.
int CheckCommand(CommandSession& session, const QStringList& arguments, QTextStream& out,
                 QTextStream& err) {
    const QString& dbPath = session.databasePath();
    const QFileInfo info(dbPath);
    if (!info.isFile() || info.size() == 0) {
        err << ConsoleText(MissingDatabaseText(dbPath)) << Qt::endl;
        return kCommandFailed;
    }
    RollBackCrashedCommit(dbPath);
    const IntegrityReport integrity = CheckIntegrity(dbPath);
    if (integrity.verdict != Integrity::Sound) {
        err << ConsoleText(integrity.verdict == Integrity::Damaged
                               ? DamagedDatabaseText(dbPath)
                               : QStringLiteral("データベースのファイルを読めません。\r\n\u3000") +
                                     dbPath)
            << '\n';
        if (!integrity.firstProblem.isEmpty()) err << integrity.firstProblem << '\n';
        err.flush();
        return kCommandFailed;
    }
    // A file of other tables, or with a trigger or view that could change or hide the sets,
    // is not a sound database of the program, however whole.
    QString reason;
    if (!CheckProgramTables(dbPath, QStringLiteral("データベース"), reason)) {
        err << reason << '\n' << dbPath << Qt::endl;
        return kCommandFailed;
    }
    const int opened = session.openDatabase(arguments);
    if (opened != kCommandOk) return opened;
    out << QStringLiteral("データベースは正常です。") << '\n' << dbPath << Qt::endl;
    return kCommandOk;
}

}  // namespace

int RunBackupCommand(const QStringList& arguments, const QString& programFolder,
                     const QString& programName, const QDateTime& now, QTextStream& out,
                     QTextStream& err) {
    CommandArguments read;
    QString reason;
    if (!ReadCommandArguments(arguments, &RunBackupCommandLine, read, reason))
        return RefuseArguments(arguments, &RunBackupCommandLine, reason, err);
    // Each reads or replaces the files itself: the lock alone, held until the command ends.
    CommandSession session(programFolder, programName, err);
    const int locked = session.open(arguments, now, {.access = CommandAccess::Lock});
    if (locked != kCommandOk) return locked;
    const QString& base = session.baseFolder();
    if (read.is("--list-backups")) return ListCommand(base, now, out, err);
    if (read.is("--restore-backup"))
        return RestoreCommand(base, read.value("--restore-backup"), now, out, err);
    return CheckCommand(session, arguments, out, err);
}

int RunBackupCommandLine(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunBackupCommand(arguments, ProgramFolder(), ProgramName(), QDateTime::currentDateTime(),
                            out, err);
}

}  // namespace sorvenka
