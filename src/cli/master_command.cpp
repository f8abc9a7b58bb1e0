#include "cli/master_command.h"

#include <cstring>
#include <vector>

#include "cli/command_guard.h"
#include "cli/command_session.h"
#include "cli/csv_command.h"
#include "common/data_folders.h"
#include "common/paths.h"
#include "common/version.h"
#include "db/database.h"
#include "masters/exercise_changes.h"
#include "masters/merge_copy.h"

namespace sorvenka {

namespace {

const QString kMerge = QStringLiteral("--merge-exercise");
const QString kMove = QStringLiteral("--move-exercise");
const QString kRename = QStringLiteral("--rename-exercise");

QString Usage(const QString& name) {
    return QStringLiteral(
               "使い方:\n"
               "  %1 --merge-exercise GRP EXER --into GRP EXER [--dry-run]\n"
               "  %1 --move-exercise GRP EXER --to GRP\n"
               "  %1 --rename-exercise GRP EXER NAME")
        .arg(name);
}

struct Command {
    QString verb;  // kMerge, kMove or kRename
    ExerciseKey exercise;
    ExerciseKey into;  // merge
    QString toGroup;   // move
    QString name;      // rename
    bool haveInto = false, haveTo = false, dryRun = false;
};

// The next words as values: none may look like an option. The values the words run out of
// before a lone "--" go into `lacking` (when there is one) and come from the words after it.
bool TakeValues(const QStringList& words, qsizetype& i, std::initializer_list<QString*> values,
                std::vector<QString*>* lacking) {
    for (QString* value : values) {
        if (i + 1 >= words.size()) {
            if (lacking == nullptr) return false;
            lacking->push_back(value);
            continue;
        }
        if (words[i + 1].startsWith(QStringLiteral("--"))) return false;
        *value = words[++i];
    }
    return true;
}

bool ParseArguments(const QStringList& arguments, Command& command, QString& reason) {
    // A lone "--" ends the options: the words after it are values, in order, for the option
    // before it that still lacks them (--rename-exercise 01 05 -- --odd-name).
    const qsizetype end = arguments.indexOf(QStringLiteral("--"), 1);
    const QStringList words = end < 0 ? arguments : arguments.mid(0, end);
    const QStringList after = end < 0 ? QStringList() : arguments.mid(end + 1);
    std::vector<QString*> lackingValues;
    std::vector<QString*>* lacking = end < 0 ? nullptr : &lackingValues;
    const auto take = [&](qsizetype& i, std::initializer_list<QString*> values) {
        return TakeValues(words, i, values, lacking);
    };
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& a = words[i];
        bool ok = true;
        if (a == kMerge || a == kMove || a == kRename) {
            ok = command.verb.isEmpty() &&
                 take(i, {&command.exercise.grpCd, &command.exercise.exerCd});
            command.verb = a;
            if (ok && a == kRename) ok = take(i, {&command.name});
        } else if (a == QLatin1String("--into")) {
            ok = !command.haveInto && take(i, {&command.into.grpCd, &command.into.exerCd});
            command.haveInto = true;
        } else if (a == QLatin1String("--to")) {
            ok = !command.haveTo && take(i, {&command.toGroup});
            command.haveTo = true;
        } else if (a == QLatin1String("--dry-run")) {
            command.dryRun = true;
        } else {
            ok = false;
        }
        if (!ok) {
            reason = QStringLiteral("引数が正しくありません: %1").arg(a);
            return false;
        }
    }
    if (lackingValues.size() > static_cast<size_t>(after.size())) {
        reason = QStringLiteral("-- の後の値が足りません。");
        return false;
    }
    if (lackingValues.size() < static_cast<size_t>(after.size())) {
        reason = QStringLiteral("余分な引数です: %1").arg(after[lackingValues.size()]);
        return false;
    }
    for (size_t k = 0; k < lackingValues.size(); ++k) *lackingValues[k] = after[k];
    const bool fits =
        (command.verb == kMerge && command.haveInto && !command.haveTo) ||
        (command.verb == kMove && command.haveTo && !command.haveInto && !command.dryRun) ||
        (command.verb == kRename && !command.haveTo && !command.haveInto && !command.dryRun);
    if (!fits) {
        reason = command.verb.isEmpty()
                     ? QStringLiteral(
                           "--merge-exercise、--move-exercise、--rename-exercise "
                           "のどれかを指定してください。")
                     : QStringLiteral("このコマンドに足りない引数か、使えない引数があります。");
        return false;
    }
    return true;
}

}  // namespace

int RunMasterCommand(const QStringList& arguments, const QString& programFolder,
                     const QString& programName, const QDateTime& now, QTextStream& out,
                     QTextStream& err) {
    Command command;
    QString reason;
    if (!ParseArguments(arguments, command, reason)) {
        err << reason << '\n' << Usage(CommandName(arguments)) << Qt::endl;
        return kCommandUsage;
    }

    CommandSession session(programFolder, programName, err);
    const int opened =
        session.open(arguments, now, {.recordsFolder = true, .writes = !command.dryRun});
    if (opened != kCommandOk) return opened;
    const QString backupFolder = BackupFolderPath(session.baseFolder());
    const QString& dbFilePath = session.databasePath();
    QString message;
    sqlite3* connection = session.database().connection();

    bool done = false;
    if (command.verb == kMerge && command.dryRun) {
        MergeFigures figures;
        done = PreviewMerge(connection, command.exercise, command.into, figures, message);
        if (done)
            out << MergePreviewText(figures, FreeMergeCopyPath(backupFolder, now))
                       .replace(kCrLf, QStringLiteral("\n"))
                << '\n'
                << QStringLiteral("試しに実行しました（何も書き込んでいません）。") << Qt::endl;
    } else if (command.verb == kMerge) {
        MergeOutcome outcome;
        done = MergeWithCopy(connection, dbFilePath, backupFolder, now, command.exercise,
                             command.into, outcome);
        message = outcome.message;
        if (done)
            out << MergeDoneText(outcome.figures, outcome.copyPath)
                       .replace(kCrLf, QStringLiteral("\n"))
                << Qt::endl;
    } else if (command.verb == kMove) {
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
        err << QString(message).replace(kCrLf, QStringLiteral("\n")) << Qt::endl;
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
