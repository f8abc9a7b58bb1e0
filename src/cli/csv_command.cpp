#include "cli/csv_command.h"

#include <QFileInfo>

#include "cli/command_guard.h"
#include "cli/command_options.h"
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

const QString kExport = QStringLiteral("--export-csv");
const QString kImport = QStringLiteral("--import-csv");

const QString kStandardStream = QStringLiteral("-");

QString Usage(const QString& name) {
    // The second line of the import goes on under its options.
    return QStringLiteral(
               "使い方:\n"
               "  %1 --export-csv FILE [--from yyyy/mm/dd] [--to yyyy/mm/dd]\n"
               "  %1 --import-csv FILE|- [--group CODE] [--dry-run] [--skip-refused] "
               "[--unit kg|lb]\n"
               "%2[--distance-unit km|mi] [--map FILE] [--dry-run --write-map FILE]")
        .arg(name, QString(name.size() + 22, QLatin1Char(' ')));
}

struct Command {
    bool exporting = false;
    QString file, from, to, group, unit, distanceUnit, map, writeMap;
    bool dryRun = false, skipRefused = false;
};

bool ParseArguments(const QStringList& arguments, Command& command, QString& reason) {
    ParsedOptions options;
    if (!ParseCommandOptions(arguments.mid(1),
                             {{"--export-csv", true},
                              {"--import-csv", true},
                              {"--from", true},
                              {"--to", true},
                              {"--group", true},
                              {"--unit", true},
                              {"--distance-unit", true},
                              {"--map", true},
                              {"--write-map", true},
                              {"--dry-run", false},
                              {"--skip-refused", false}},
                             options, reason))
        return false;
    if (options.has(kExport) == options.has(kImport)) {
        reason = QStringLiteral("--export-csv か --import-csv のどちらか一つを指定してください。");
        return false;
    }
    command.exporting = options.has(kExport);
    command.file = options.value(command.exporting ? kExport : kImport);
    command.from = options.value(QStringLiteral("--from"));
    command.to = options.value(QStringLiteral("--to"));
    command.group = options.value(QStringLiteral("--group"));
    command.unit = options.value(QStringLiteral("--unit"));
    command.distanceUnit = options.value(QStringLiteral("--distance-unit"));
    command.map = options.value(QStringLiteral("--map"));
    command.writeMap = options.value(QStringLiteral("--write-map"));
    command.dryRun = options.has(QStringLiteral("--dry-run"));
    command.skipRefused = options.has(QStringLiteral("--skip-refused"));
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
    const bool importOptions = !command.group.isEmpty() || command.dryRun || command.skipRefused ||
                               !command.unit.isEmpty() || !command.distanceUnit.isEmpty() ||
                               !command.map.isEmpty() || !command.writeMap.isEmpty();
    const bool exportOptions = !command.from.isEmpty() || !command.to.isEmpty();
    if ((command.exporting && importOptions) || (!command.exporting && exportOptions)) {
        reason = QStringLiteral("このコマンドには使えない引数があります。");
        return false;
    }
    if (command.exporting && command.file == kStandardStream) {
        reason = QStringLiteral(
            "書き出し先に - （標準出力）は使えません。ファイル名を指定してください。");
        return false;
    }
    // The proposed mapping is written for editing, never beside an import.
    if (!command.writeMap.isEmpty() && !command.dryRun) {
        reason = QStringLiteral("--write-map は --dry-run と一緒に指定してください。");
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
    Command command;
    QString reason;
    if (!ParseArguments(arguments, command, reason)) {
        err << reason << '\n' << Usage(CommandName(arguments)) << Qt::endl;
        return kCommandUsage;
    }

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
