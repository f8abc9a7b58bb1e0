#include "cli/master_command.h"

#include "cli/command_arguments.h"
#include "cli/command_session.h"
#include "cli/console_platform.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "db/database.h"
#include "masters/exercise_changes.h"
#include "masters/merge_copy.h"

namespace sorvenka {

namespace {

struct MasterRequest {
    bool merge = false, move = false;  // else rename
    ExerciseKey exercise;
    ExerciseKey into;  // merge
    QString toGroup;   // move
    QString name;      // rename
    bool dryRun = false;
};

ExerciseKey ExerciseKeyOf(const QStringList& values) {
    return {values.value(0), values.value(1)};
}

bool ReadMasterRequest(const QStringList& arguments, MasterRequest& command, QString& reason) {
    CommandArguments read;
    if (!ReadCommandArguments(arguments, &RunMasterCommandLine, read, reason)) return false;
    const QStringList exercise = read.valueList(read.command->name);
    command.merge = read.is("--merge-exercise");
    command.move = read.is("--move-exercise");
    command.exercise = ExerciseKeyOf(exercise);
    command.into = ExerciseKeyOf(read.valueList("--into"));
    command.toGroup = read.value("--to");
    command.name = exercise.value(2);
    command.dryRun = read.has("--dry-run");
    return true;
}

}  // namespace

int RunMasterCommand(const QStringList& arguments, const QString& programFolder,
                     const QString& programName, const QDateTime& now, QTextStream& out,
                     QTextStream& err) {
    MasterRequest command;
    QString reason;
    if (!ReadMasterRequest(arguments, command, reason))
        return RefuseArguments(arguments, &RunMasterCommandLine, reason, err);

    CommandSession session(programFolder, programName, err);
    const int opened = session.open(
        arguments, now, {.access = command.dryRun ? CommandAccess::Read : CommandAccess::Write});
    if (opened != kCommandOk) return opened;
    const QString backupFolder = BackupFolderPath(session.baseFolder());
    const QString& dbFilePath = session.databasePath();
    QString message;
    sqlite3* connection = session.database().connection();

    bool done = false;
    if (command.merge && command.dryRun) {
        MergeFigures figures;
        done = PreviewMerge(connection, command.exercise, command.into, figures, message);
        if (done)
            out << ConsoleText(MergePreviewText(figures, FreeMergeCopyPath(backupFolder, now)))
                << '\n'
                << QStringLiteral("試しに実行しました（何も書き込んでいません）。") << Qt::endl;
    } else if (command.merge) {
        MergeOutcome outcome;
        done = MergeWithCopy(connection, dbFilePath, backupFolder, now, command.exercise,
                             command.into, outcome);
        message = outcome.message;
        if (done) out << ConsoleText(MergeDoneText(outcome.figures, outcome.copyPath)) << Qt::endl;
    } else if (command.move) {
        QString code;
        done = MoveExerciseToGroup(connection, command.exercise, command.toGroup, code, message);
        if (done)
            out << QStringLiteral("種目 %1 %2 をグループ %3 の %4 に移動しました。")
                       .arg(command.exercise.grpCd, command.exercise.exerCd, command.toGroup, code)
                << Qt::endl;
    } else {
        done = RenameExercise(connection, command.exercise, command.name, message);
        if (done)
            out << QStringLiteral("種目 %1 %2 の名前を変更しました。")
                       .arg(command.exercise.grpCd, command.exercise.exerCd)
                << Qt::endl;
    }
    if (!done) {
        err << ConsoleText(message) << Qt::endl;
        return kCommandFailed;
    }
    session.log().write(QStringLiteral("done"));
    return kCommandOk;
}

int RunMasterCommandLine(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunMasterCommand(arguments, ProgramFolder(), ProgramName(), QDateTime::currentDateTime(),
                            out, err);
}

}  // namespace sorvenka
