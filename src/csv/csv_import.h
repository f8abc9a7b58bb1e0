#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "csv/csv_format.h"
#include "csv/csv_reader.h"

namespace sorvenka {

class Database;

struct ImportOptions {
    // The group of new exercises; empty: the group that FitNotes' category names, else the
    // first group of the master.
    QString group;
    // Writes the good rows although others were refused.
    bool skipRefused = false;
    // False: a preview; everything is decided and then rolled back.
    bool commit = false;
};

struct NewExercise {
    QString name;
    QString grpCd, grpName;
    QString exerCd;  // empty when the group has no free code left
};

struct RefusedRow {
    qint64 line = 0;
    QString reason;
};

// What an import found, and did.
struct ImportSummary {
    CsvFormat format = CsvFormat::Unknown;
    CsvEncoding encoding = CsvEncoding::Utf8;
    int days = 0;
    qint64 sets = 0;         // good rows
    qint64 newSets = 0;      // of them written (or to be written)
    qint64 presentSets = 0;  // of them already stored and skipped
    int existingExercises = 0;
    std::vector<NewExercise> newExercises;
    QStringList newUnits;
    std::vector<RefusedRow> refused;  // the first kMaxListedRefusals
    qint64 refusedCount = 0;
    // Why nothing can be written at all (an unreadable file, a group out of codes, ...).
    QString failure;
    qint64 failureLine = 0;  // the line the failure is about, or 0
    bool written = false;    // committed

    static constexpr int kMaxListedRefusals = 1000;
    // Nothing to stop the import: no failure, and refused rows only when they may be skipped.
    bool importable(bool skipRefused) const {
        return failure.isEmpty() && (refusedCount == 0 || skipRefused);
    }
};

// Reads the file, decides every row and, when the options say so, writes all new sets, and
// the exercises and units they need, in one transaction. A preview runs the same way and
// rolls back, so its figures are those of the import. True when the transaction was
// committed, or for a preview when it could be.
bool ImportCsv(Database& db, const QString& path, const ImportOptions& options,
               ImportSummary& summary);

// The preview's figures as lines of text; the refused rows one per line (unless
// listRefusedRows is false: then only their count). A file whose format was never found
// gives only the reason it cannot be read.
QStringList SummaryLines(const ImportSummary& summary, bool listRefusedRows = true);
QString RefusedRowText(const RefusedRow& row);

// The group that a FitNotes category names: a group of that name, or of the Japanese name
// of one of FitNotes' own categories. Empty when none.
QString GroupForCategory(Database& db, const QString& category);

}  // namespace sorvenka
