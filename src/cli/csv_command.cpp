#include "cli/csv_command.h"

#include <QFileInfo>

#include "cli/command_arguments.h"
#include "cli/command_session.h"
#include "cli/standard_input.h"
#include "common/paths.h"
#include "common/text_tests.h"
#include "csv/csv_export.h"
#include "csv/csv_import.h"
#include "csv/name_map_file.h"
#include "db/database.h"

namespace sorvenka {

namespace {

const QString kStandardStream = QStringLiteral("-");

struct CsvRequest {
    bool exporting = false;
    QString file, from, to, group, unit, distanceUnit, map, writeMap;
    bool dryRun = false, skipRefused = false;
};

// The values the table cannot judge: units, days, and standard output for an export.
bool ReadCsvRequest(const QStringList& arguments, CsvRequest& command, QString& reason) {
    CommandArguments read;
    if (!ReadCommandArguments(arguments, &RunCsvCommandLine, read, reason)) return false;
    command.exporting = read.is("--export-csv");
    command.file = read.value(read.command->name);
    command.from = read.value("--from");
    command.to = read.value("--to");
    command.group = read.value("--group");
    command.unit = read.value("--unit");
    command.distanceUnit = read.value("--distance-unit");
    command.map = read.value("--map");
    command.writeMap = read.value("--write-map");
    command.dryRun = read.has("--dry-run");
    command.skipRefused = read.has("--skip-refused");
    if (!command.unit.isEmpty() && command.unit != QLatin1String("kg") &&
        command.unit != QLatin1String("lb")) {
        reason = QStringLiteral("--unit は kg か lb です: %1").arg(command.unit);
        return false;
    }
    if (!command.distanceUnit.isEmpty() && command.distanceUnit != QLatin1String("km") &&
        command.distanceUnit != QLatin1String("mi")) {
        reason = QStringLiteral("--distance-unit は km か mi です: %1").arg(command.distanceUnit);
        return false;
    }
    if (command.exporting && command.file == kStandardStream) {
        reason = QStringLiteral(
            "書き出し先に - （標準出力）は使えません。ファイル名を指定してください。");
        return false;
    }
    for (const QString* day : {&command.from, &command.to}) {
        if (!day->isEmpty() && !IsValidYmd(*day)) {
            reason = QStringLiteral("日付が正しくありません（yyyy/mm/dd）: %1").arg(*day);
            return false;
        }
    }
    if (!command.from.isEmpty() && !command.to.isEmpty() && command.from > command.to) {
        reason = QStringLiteral("--from が --to より後の日です。");
        return false;
    }
    return true;
}

}  // namespace

int RunCsvCommand(const QStringList& arguments, const QString& programFolder,
                  const QString& programName, const QDateTime& now, QTextStream& out,
                  QTextStream& err) {
    CsvRequest command;
    QString reason;
    if (!ReadCsvRequest(arguments, command, reason))
        return RefuseArguments(arguments, &RunCsvCommandLine, reason, err);

    CommandSession session(programFolder, programName, err);
    const int opened =
        session.open(arguments, now,
                     {.access = command.exporting || command.dryRun ? CommandAccess::Read
                                                                    : CommandAccess::Write});
    if (opened != kCommandOk) return opened;
    Database& db = session.database();
    QString message;

    if (command.exporting) {
        const QString file = QFileInfo(command.file).absoluteFilePath();
        qint64 rows = 0;
        if (!ExportCsv(db, file, command.from, command.to, rows, message)) {
            err << message << Qt::endl;
            return kCommandFailed;
        }
        out << QStringLiteral("書き出したセット数: %1").arg(rows) << '\n' << file << Qt::endl;
        return kCommandOk;
    }

    // Standard input is read to its end first: the import reads its file twice.
    QTemporaryFile spool;
    QString file = QFileInfo(command.file).absoluteFilePath();
    if (command.file == kStandardStream) {
        if (!SpoolToTemporaryFile(0, spool, kStandardInputLimit, message)) {
            err << message << Qt::endl;
            return kCommandFailed;
        }
        file = spool.fileName();
    }

    ImportOptions options;
    options.group = command.group;
    options.loadUnit = command.unit;
    options.distanceUnit = command.distanceUnit;
    options.skipRefused = command.skipRefused;
    options.commit = !command.dryRun;
    if (!command.map.isEmpty() && !ReadNameMapFile(QFileInfo(command.map).absoluteFilePath(),
                                                   options.mapping, message, &options.newNames)) {
        err << message << '\n' << QStringLiteral("何も書き込んでいません。") << Qt::endl;
        return kCommandFailed;
    }
    ImportSummary summary;
    const bool done = ImportCsv(db, file, options, summary);
    if (command.file == kStandardStream)
        summary.failure.replace(file, QStringLiteral("（標準入力）"));
    // Sorvenka's own files keep their codes: their mapping is the header alone.
    if (!command.writeMap.isEmpty() && summary.format != CsvFormat::Unknown) {
        const QString mapFile = QFileInfo(command.writeMap).absoluteFilePath();
        if (!WriteNameMapFile(mapFile, summary, message)) {
            err << message << Qt::endl;
            return kCommandFailed;
        }
        out << QStringLiteral("種目の対応を書き出しました: %1").arg(mapFile) << '\n';
    }
    // The figures on standard output; the refused rows and the reason on standard error.
    for (const QString& line : SummaryLines(summary, false)) {
        if (line.startsWith(QStringLiteral("読み込めません: "))) continue;
        out << line << '\n';
    }
    out.flush();
    for (const RefusedRow& row : summary.refused) err << RefusedRowText(row) << '\n';
    const qint64 unlisted = summary.refusedCount - static_cast<qint64>(summary.refused.size());
    if (unlisted > 0)
        err << QStringLiteral("ほか %1行（最初の %2行だけを示しました）")
                   .arg(unlisted)
                   .arg(summary.refused.size())
            << '\n';
    if (!summary.failure.isEmpty())
        err << (summary.failureLine > 0 ? RefusedRowText({summary.failureLine, summary.failure})
                                        : summary.failure)
            << '\n';
    if (!done) {
        if (summary.failure.isEmpty())
            err << QStringLiteral(
                       "読み込めない行があるため、何も書き込んでいません"
                       "（--skip-refused で残りを読み込めます）。")
                << '\n';
        else
            err << QStringLiteral("何も書き込んでいません。") << '\n';
        err.flush();
        return kCommandFailed;
    }
    err.flush();
    out << (summary.written ? QStringLiteral("読み込みました。")
                            : QStringLiteral("試しに読み込みました（何も書き込んでいません）。"))
        << Qt::endl;
    return kCommandOk;
}

int RunCsvCommandLine(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCsvCommand(arguments, ProgramFolder(), ProgramName(), QDateTime::currentDateTime(),
                         out, err);
}

}  // namespace sorvenka
