#include "cli/backup_command.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "backups/backup_list.h"
#include "backups/backup_names.h"
#include "backups/backup_texts.h"
#include "backups/integrity.h"
#include "backups/program_tables.h"
#include "backups/restore.h"
#include "cli/command_guard.h"
#include "cli/command_options.h"
#include "cli/console_platform.h"
#include "cli/csv_command.h"
#include "common/data_folders.h"
#include "common/log.h"
#include "common/paths.h"
#include "db/connection.h"
#include "db/database.h"
#include "db/prepared_statement.h"
#include "startup/instance_guard.h"
#include "startup/master_codes.h"

namespace sorvenka {

namespace {

const QString kList = QStringLiteral("--list-backups");
const QString kRestore = QStringLiteral("--restore-backup");
const QString kCheck = QStringLiteral("--check-database");

QString Usage(const QString& name) {
    return QStringLiteral(
               "使い方:\n"
               "  %1 --list-backups\n"
               "  %1 --restore-backup NAME\n"
               "  %1 --check-database")
        .arg(name);
}

// Messages of the window break lines with CR LF; a terminal takes LF.
QString ConsoleText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

struct Command {
    QString name;    // one of the three
    QString backup;  // the NAME of --restore-backup
};

bool Parse(const QStringList& arguments, Command& command, QString& reason) {
    ParsedOptions options;
    if (!ParseCommandOptions(
            arguments.mid(1),
            {{"--list-backups", false}, {"--restore-backup", true}, {"--check-database", false}},
            options, reason))
        return false;
    for (const QString& name : {kList, kRestore, kCheck}) {
        if (!options.has(name)) continue;
        if (!command.name.isEmpty()) {
            reason = QStringLiteral("コマンドは一度に一つだけ指定してください: %1 と %2")
                         .arg(command.name, name);
            return false;
        }
        command.name = name;
    }
    if (command.name.isEmpty()) {
        reason = QStringLiteral(
            "--list-backups、--restore-backup、--check-database の"
            "どれかを指定してください。");
        return false;
    }
    command.backup = options.value(kRestore);
    return true;
}

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

int CheckCommand(const QString& programFolder, const QString& programName, QTextStream& out,
                 QTextStream& err) {
    const QString dbPath = DatabaseFilePath(ParentFolder(programFolder));
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
    ConsolePlatform platform(err);
    Log log(platform, programFolder, programName);
    Database db(platform, log);
    QString message;
    if (!db.open(dbPath, message) || !CheckMasterCodes(db, message)) {
        err << message << Qt::endl;
        return kCommandFailed;
    }
    out << QStringLiteral("データベースは正常です。") << '\n' << dbPath << Qt::endl;
    return kCommandOk;
}

}  // namespace

int RunBackupCommand(const QStringList& arguments, const QString& programFolder,
                     const QString& programName, const QDateTime& now, QTextStream& out,
                     QTextStream& err) {
    Command command;
    QString reason;
    if (!Parse(arguments, command, reason)) {
        err << reason << '\n' << Usage(CommandName(arguments)) << Qt::endl;
        return kCommandUsage;
    }
    InstanceGuard guard;  // held until the command ends
    if (!GuardCommand(guard, programFolder, programName, err)) return kCommandFailed;
    const QString base = ParentFolder(programFolder);
    if (command.name == kList) return ListCommand(base, now, out, err);
    if (command.name == kRestore) return RestoreCommand(base, command.backup, now, out, err);
    return CheckCommand(programFolder, programName, out, err);
}

int RunBackupCommandLine(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunBackupCommand(arguments, ProgramFolder(), ProgramName(), QDateTime::currentDateTime(),
                            out, err);
}

}  // namespace sorvenka
