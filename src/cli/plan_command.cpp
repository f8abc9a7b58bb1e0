#include "cli/plan_command.h"

#include <QFileInfo>

#include "cli/command_arguments.h"
#include "cli/command_session.h"
#include "common/paths.h"
#include "common/text_tests.h"
#include "db/database.h"
#include "routines/day_plan.h"
#include "routines/plan_text.h"
#include "routines/routines_csv.h"

namespace sorvenka {

namespace {

struct PlanRequest {
    bool plan = false, exporting = false;  // else importing
    QString file, date;
    bool dryRun = false;
};

bool ReadPlanRequest(const QStringList& arguments, PlanRequest& command, QString& reason) {
    CommandArguments read;
    if (!ReadCommandArguments(arguments, &RunPlanCommandLine, read, reason)) return false;
    command.plan = read.is("--plan");
    command.exporting = read.is("--export-routines");
    command.file = read.value(read.command->name);
    command.date = read.value("--date");
    command.dryRun = read.has("--dry-run");
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
    PlanRequest command;
    QString reason;
    if (!ReadPlanRequest(arguments, command, reason))
        return RefuseArguments(arguments, &RunPlanCommandLine, reason, err);

    CommandSession session(programFolder, programName, err);
    const int opened = session.open(
        arguments, now,
        {.access = !command.plan && !command.exporting && !command.dryRun ? CommandAccess::Write
                                                                          : CommandAccess::Read,
         .recordsFolder = false});
    if (opened != kCommandOk) return opened;
    Database& db = session.database();

    if (command.plan) {
        const QString ymd = command.date.isEmpty()
                                ? now.date().toString(QStringLiteral("yyyy/MM/dd"))
                                : command.date;
        return PrintPlans(db.connection(), ymd, out, err);
    }

    const QString file = QFileInfo(command.file).absoluteFilePath();
    if (command.exporting) {
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
