#include "cli/plan_command.h"

#include <QFileInfo>

#include "cli/command_guard.h"
#include "cli/command_options.h"
#include "cli/command_session.h"
#include "cli/csv_command.h"
#include "common/paths.h"
#include "common/text_tests.h"
#include "db/database.h"
#include "routines/day_plan.h"
#include "routines/plan_text.h"
#include "routines/routines_csv.h"

namespace sorvenka {

namespace {

const QString kPlan = QStringLiteral("--plan");
const QString kExport = QStringLiteral("--export-routines");
const QString kImport = QStringLiteral("--import-routines");

QString Usage(const QString& name) {
    return QStringLiteral(
               "使い方:\n"
               "  %1 --plan [--date yyyy/mm/dd]\n"
               "  %1 --export-routines FILE\n"
               "  %1 --import-routines FILE [--dry-run]")
        .arg(name);
}

struct Command {
    QString verb;
    QString file, date;
    bool dryRun = false;
};

bool ParseArguments(const QStringList& arguments, Command& command, QString& reason) {
    ParsedOptions options;
    if (!ParseCommandOptions(arguments.mid(1),
                             {{"--plan", false},
                              {"--export-routines", true},
                              {"--import-routines", true},
                              {"--date", true},
                              {"--dry-run", false}},
                             options, reason))
        return false;
    int verbs = 0;
    for (const QString& verb : {kPlan, kExport, kImport})
        if (options.has(verb)) {
            command.verb = verb;
            ++verbs;
        }
    if (verbs != 1) {
        reason = QStringLiteral(
            "--plan、--export-routines、--import-routines のどれか一つを指定してください。");
        return false;
    }
    command.file = options.value(command.verb);
    command.date = options.value(QStringLiteral("--date"));
    command.dryRun = options.has(QStringLiteral("--dry-run"));
    if ((options.has(QStringLiteral("--date")) && command.verb != kPlan) ||
        (command.dryRun && command.verb != kImport)) {
        reason = QStringLiteral("このコマンドには使えない引数があります。");
        return false;
    }
    if (!command.date.isEmpty() && !IsValidYmd(command.date)) {
        reason = QStringLiteral("日付が正しくありません（yyyy/mm/dd）: %1").arg(command.date);
        return false;
    }
    return true;
}

int PrintPlans(sqlite3* db, const QString& ymd, QTextStream& out, QTextStream& err) {
    RoutineBook book;
    if (!ReadRoutineBook(db, book)) {
        err << QStringLiteral("メニューを読めませんでした。") << Qt::endl;
        return kCommandFailed;
    }
    if (book.routines.empty()) {
        out << QStringLiteral("メニューがありません。") << Qt::endl;
        return kCommandOk;
    }
    for (const Routine& routine : book.routines) {
        const DayPlan plan = ComputeDayPlan(db, book, routine.id, ymd);
        if (!plan.ok) {
            err << plan.error << Qt::endl;
            return kCommandFailed;
        }
        for (const QString& line : PlanTextLines(plan, book, ymd)) out << line << '\n';
    }
    out.flush();
    return kCommandOk;
}

}  // namespace

int RunPlanCommand(const QStringList& arguments, const QString& programFolder,
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
        session.open(arguments, now,
                     {.access = command.verb == kImport && !command.dryRun ? CommandAccess::Write
                                                                           : CommandAccess::Read,
                      .recordsFolder = false});
    if (opened != kCommandOk) return opened;
    Database& db = session.database();

    if (command.verb == kPlan) {
        const QString ymd = command.date.isEmpty()
                                ? now.date().toString(QStringLiteral("yyyy/MM/dd"))
                                : command.date;
        return PrintPlans(db.connection(), ymd, out, err);
    }

    const QString file = QFileInfo(command.file).absoluteFilePath();
    if (command.verb == kExport) {
        const RoutinesCsvResult result = ExportRoutinesCsv(db.connection(), file);
        if (!result.ok) {
            err << result.error << Qt::endl;
            return kCommandFailed;
        }
        out << QStringLiteral("書き出しました: メニュー %1、日 %2、項目 %3、プレート %4")
                   .arg(result.routines)
                   .arg(result.days)
                   .arg(result.items)
                   .arg(result.plates)
            << '\n'
            << file << Qt::endl;
        return kCommandOk;
    }

    const RoutinesCsvResult result = ImportRoutinesCsv(db.connection(), file, command.dryRun);
    for (const QString& refused : result.refused) err << refused << '\n';
    if (!result.error.isEmpty()) err << result.error << '\n';
    if (!result.ok) {
        err << QStringLiteral("何も書き込んでいません。") << Qt::endl;
        return kCommandFailed;
    }
    err.flush();
    out << QStringLiteral("%1: メニュー %2、日 %3、項目 %4、プレート %5")
               .arg(command.dryRun ? QStringLiteral("加えるもの（試し、何も書き込んでいません）")
                                   : QStringLiteral("加えました"))
               .arg(result.routines)
               .arg(result.days)
               .arg(result.items)
               .arg(result.plates)
        << Qt::endl;
    return kCommandOk;
}

int RunPlanCommandLine(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunPlanCommand(arguments, ProgramFolder(), ProgramName(), QDateTime::currentDateTime(),
                          out, err);
}

}  // namespace sorvenka
