#include "csv/csv_import.h"

#include <sqlite3.h>

#include <QSet>
#include <set>
#include <utility>

#include "backups/import_copy.h"
#include "common/platform.h"
#include "csv/csv_mapping.h"
#include "csv/exercise_destinations.h"
#include "csv/file_units.h"
#include "csv/import_masters.h"
#include "csv/set_writer.h"
#include "csv/stored_set_cache.h"
#include "db/database.h"
#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// yyyymmdd of a day text yyyy/mm/dd, a small key for counting days.
int DayNumber(const QByteArray& ymd) {
    int number = 0;
    for (char c : ymd)
        if (c >= '0' && c <= '9') number = number * 10 + (c - '0');
    return number;
}

// The walk of every row: map it, find the exercise its set goes to, and write the set unless
// it is stored already; then the units the new sets name. Refused rows are listed and skipped.
class Importer {
  public:
    Importer(sqlite3* db, const ImportOptions& options, ImportSummary& summary)
        : db_(db),
          options_(options),
          summary_(summary),
          masters_(db),
          stored_(db),
          writer_(db),
          destinations_(db, masters_, writer_, options, summary) {}

    bool prepared(QString& message) {
        if (!writer_.prepared() || !stored_.prepared()) {
            message = QStringLiteral("データベースの表が読み込みに合いません（%1）。")
                          .arg(QString::fromUtf8(sqlite3_errmsg(db_)));
            return false;
        }
        if (!masters_.load(message)) return false;
        if (!options_.group.isEmpty() && !masters_.group(options_.group)) {
            message = QStringLiteral("グループ「%1」はマスタにありません。").arg(options_.group);
            return false;
        }
        if (masters_.groups().empty()) {
            message = QStringLiteral("グループのマスタが空です。");
            return false;
        }
        if (!options_.loadUnit.isEmpty() && options_.loadUnit != QLatin1String("kg") &&
            options_.loadUnit != QLatin1String("lb")) {
            message = QStringLiteral("重量の単位は kg か lb です（%1）。").arg(options_.loadUnit);
            return false;
        }
        if (!options_.distanceUnit.isEmpty() && options_.distanceUnit != QLatin1String("km") &&
            options_.distanceUnit != QLatin1String("mi")) {
            message =
                QStringLiteral("距離の単位は km か mi です（%1）。").arg(options_.distanceUnit);
            return false;
        }
        if (!destinations_.readSavedChoices()) {
            message = QStringLiteral("以前の読み込みで選んだ種目の対応を読めませんでした。");
            return false;
        }
        return true;
    }

    bool header(const CsvRow& row, char delimiter) {
        delimiter_ = delimiter;
        QString reason;
        if (!header_.read(row, delimiter, reason)) return summary_.fail(row.line, reason);
        summary_.format = header_.format();
        units_.start(header_, options_);
        return true;
    }

    // One data row, mapped by the file's format, then decided and written; false only when
    // the import cannot go on.
    bool row(const CsvRow& row) {
        if (!row.refusal.isEmpty()) return refuse(row.line, row.refusal);
        QString reason;
        if (CheckFieldCount(header_, row, reason))
            return header_.format() == CsvFormat::Sorvenka ? ownRow(row) : peerRow(row);
        if (!MendSplitExerciseName(header_, row, delimiter_, mended_))
            return refuse(row.line, reason);
        ++summary_.mendedRows;
        return peerRow(mended_);
    }

    // Adds the units the new sets name, the last writes before the commit, and keeps where
    // every name's sets went.
    bool finish() {
        for (const auto& [target, name] : unitsSeen_) {
            if (!masters_.unitMissing(target, name) || !masters_.unitAddable(target, name))
                continue;
            if (!masters_.addUnit(target, name))
                return summary_.fail(0, WriteFailureText(sqlite3_errcode(db_)));
            summary_.newUnits << name;
        }
        summary_.days = static_cast<int>(days_.size());
        summary_.existingExercises = destinations_.existingExercises();
        return units_.settle(options_, summary_) && destinations_.saveChoices();
    }

  private:
    bool ownRow(const CsvRow& row) {
        QString reason;
        if (!MapOwnRow(header_, row, own_, reason)) return refuse(row.line, reason);
        const bool goOn = ownSet(row.line);
        // Nothing keeps the row's fields once it is written, so the reader can fill them again
        // for the next row.
        own_.release();
        return goOn;
    }

    bool peerRow(const CsvRow& row) {
        QString reason;
        if (!MapPeerRow(header_, row, delimiter_, peer_, reason, units_.loadUnit(),
                        units_.distanceUnit()))
            return refuse(row.line, reason);
        // A set listed but never done is no set: the entry window would refuse it too.
        if (peer_.nothingDone) {
            ++summary_.skippedEmptySets;
            return true;
        }
        if (peer_.assisted) ++summary_.assistedSets;
        units_.note(peer_, header_, row, delimiter_);
        return peerSet(row.line);
    }

    bool refuse(qint64 line, const QString& reason) {
        if (static_cast<int>(summary_.refused.size()) < ImportSummary::kMaxListedRefusals)
            summary_.refused.push_back({line, reason});
        ++summary_.refusedCount;
        return true;
    }

    bool written(SetWriter::Outcome outcome) {
        if (outcome == SetWriter::Outcome::Failed)
            return summary_.fail(0, WriteFailureText(writer_.failedCode()));
        ++(outcome == SetWriter::Outcome::Written ? summary_.newSets : summary_.presentSets);
        return true;
    }

    bool ownSet(qint64 line) {
        if (!destinations_.own(own_, line)) return false;
        ++summary_.sets;
        // Rows of a day come together: the set of days is asked only when the day changes.
        if (const int day = DayNumber(own_.ymd()); day != lastOwnDay_)
            days_.insert(lastOwnDay_ = day);
        // Where the table's key tells a stored set, the stored sets of the day are not read.
        if (writer_.keyHeldByEngine()) return written(writer_.writeOwnNewKey(own_));
        return written(writer_.writeOwn(own_, stored_.at(own_.ymd(), own_.grpCd(), own_.exerCd())));
    }

    bool peerSet(qint64 line) {
        ExerciseDestinations::Outcome outcome = ExerciseDestinations::Outcome::Known;
        const int index = destinations_.peer(peer_, line, outcome);
        if (outcome == ExerciseDestinations::Outcome::Failed) return false;
        NameUse& use = summary_.names[index];
        ++use.sets;
        if (use.firstDay.isEmpty() || peer_.ymd < use.firstDay) use.firstDay = peer_.ymd;
        if (peer_.ymd > use.lastDay) use.lastDay = peer_.ymd;
        ++summary_.sets;
        days_.insert(DayNumber(peer_.ymd.toUtf8()));
        if (outcome == ExerciseDestinations::Outcome::OutOfCodes) {
            // Counted for the preview; the import as a whole is refused.
            ++summary_.newSets;
            return true;
        }
        addWorkoutNote();
        const QString grp = use.target.grpCd, exer = use.target.exerCd;
        const SetWriter::Outcome result =
            writer_.writePeer(peer_, grp, exer, masters_.firstSweat(),
                              stored_.at(peer_.ymd.toUtf8(), grp.toUtf8(), exer.toUtf8()));
        if (result == SetWriter::Outcome::Written) {
            if (!peer_.unitT.isEmpty()) unitsSeen_.insert({true, peer_.unitT});
            if (!peer_.unit.isEmpty()) unitsSeen_.insert({false, peer_.unit});
        }
        return written(result);
    }

    // The workout's note goes with the first set of each of its exercises.
    void addWorkoutNote() {
        if (peer_.workoutNote.isEmpty()) return;
        const QString key = peer_.workout + QLatin1Char('\t') + peer_.exerciseName;
        if (notedWorkouts_.contains(key)) return;
        notedWorkouts_.insert(key);
        const QString note = QStringLiteral("ワークアウトのメモ: ") + peer_.workoutNote;
        peer_.comment =
            peer_.comment.isEmpty() ? note : peer_.comment + QStringLiteral(" / ") + note;
    }

    sqlite3* db_;
    const ImportOptions& options_;
    ImportSummary& summary_;
    ImportMasters masters_;
    StoredSetCache stored_;
    SetWriter writer_;
    ExerciseDestinations destinations_;
    FileUnits units_;
    char delimiter_ = ',';
    CsvHeader header_;
    OwnSet own_;
    PeerSet peer_;
    CsvRow mended_;
    QSet<int> days_;               // yyyymmdd
    int lastOwnDay_ = -1;          // the day of the own row before
    QSet<QString> notedWorkouts_;  // workout and exercise that carry the workout's note
    std::set<std::pair<bool, QString>> unitsSeen_;
};

}  // namespace

bool ImportCsv(Database& db, const QString& path, const ImportOptions& options,
               ImportSummary& summary) {
    summary = ImportSummary();
    CsvReader reader;
    // Nothing of a row is kept past its walk: the values written are bound for one step, and
    // what the summary and the masters keep is copied.
    reader.lendFields();
    QString message;
    if (!reader.open(path, message)) {
        summary.failure = message;
        return false;
    }
    summary.encoding = reader.encoding();

    sqlite3* handle = db.rawHandle();
    // The database as it was, for a restore: kept only when the import writes sets.
    ImportCopy copy;
    if (options.commit && !copy.take(handle, db.platform().now(), summary.failure)) return false;
    Transaction transaction(handle);
    if (!transaction.begun()) {
        summary.failure = QStringLiteral("データベースに書き込めません（使用中です）。");
        return false;
    }
    Importer importer(handle, options, summary);
    if (!importer.prepared(message)) {
        summary.failure = message;
        return false;
    }

    bool headerRead = false;
    bool stopped = false;
    qint64 errorLine = 0;
    const bool read = reader.read(
        [&](CsvRow& row) {
            if (!headerRead) {
                headerRead = true;
                stopped = !importer.header(row, reader.delimiter());
            } else {
                stopped = !importer.row(row);
            }
            return !stopped;
        },
        message, errorLine);
    if (!read) return summary.fail(errorLine, message);
    if (!headerRead) return summary.fail(1, QStringLiteral("ファイルが空です"));
    if (stopped && !summary.failure.isEmpty()) return false;
    if (summary.sets == 0 && summary.refusedCount == 0)
        return summary.fail(2, QStringLiteral("見出し行のほかに行がありません"));
    if (!importer.finish()) return false;
    if (!summary.importable(options.skipRefused)) return false;
    if (!options.commit) return true;
    if (!transaction.commit()) {
        summary.failure = QStringLiteral("データベースに書き込めませんでした（確定できません）。");
        return false;
    }
    summary.written = true;
    if (summary.newSets > 0) copy.keep();
    return true;
}

}  // namespace sorvenka
