#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "csv/csv_format.h"
#include "csv/csv_reader.h"
#include "csv/import_name_map.h"

namespace sorvenka {

struct ImportOptions {
    // The group of every new exercise; empty: each new exercise in the group proposed for it.
    QString group;
    // The unit of loads in a file that has none ("kg" or "lb"); empty: such a file is refused.
    QString loadUnit;
    // The unit of distances in a file that has none ("km" or "mi"); empty: such a file with
    // distances is refused.
    QString distanceUnit;
    // Where the sets of the file's exercise names go, by name; names not given go where the
    // import proposes.
    QHash<QString, ExerciseTarget> mapping;
    // The name a new exercise gets, by the file's exercise name (absent or blank: the file's
    // name); a name that the exercise's group has already sends the sets to that exercise.
    QHash<QString, QString> newNames;
    // Writes the good rows although others were refused.
    bool skipRefused = false;
    // False: a preview; everything is decided and then rolled back.
    bool commit = false;
};

struct NewExercise {
    QString name;
    QString grpCd, grpName;
    QString exerCd;      // empty when the group has no free code left
    QString sourceName;  // the file's exercise name (the same as name unless one was given)
};

// How the destination of an exercise name was found.
enum class NameMatch {
    Given,       // the caller's mapping
    Saved,       // the choice kept from an earlier import
    SameName,    // an exercise of that name (case, blanks and width aside)
    CommonName,  // an exercise of the Japanese name of a common exercise
    New          // a new exercise in the group of its category or body part
};

// One exercise name of a peer's file and where its sets go.
struct NameUse {
    QString name, category;
    qint64 sets = 0;
    QString firstDay, lastDay;  // yyyy/mm/dd
    NameMatch match = NameMatch::New;
    ExerciseTarget target;  // a new exercise's code once given
    QString grpName;        // the name of the group the sets go to
    QString exerName;       // the name of the exercise the sets go to
    bool created = false;   // a new exercise of this import
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
    std::vector<NameUse> names;   // a peer's file: its exercise names in order of appearance
    qint64 mendedRows = 0;        // rows with an exercise name split at a comma, joined again
    qint64 skippedEmptySets = 0;  // sets listed with nothing done, left out
    qint64 assistedSets = 0;      // negative loads: stored as load 0, the help in the comment
    // A file whose loads have no unit: the unit used (empty when none was given), and the
    // one its loads suggest.
    bool loadUnitMissing = false;
    QString loadUnit;
    QString proposedLoadUnit;
    // A file whose distances have no unit and that holds distances: the unit used (empty when
    // none was given), and the one the loads' unit suggests (lb → mi).
    bool distanceUnitMissing = false;
    QString distanceUnit;
    QString proposedDistanceUnit;
    QStringList newUnits;
    std::vector<RefusedRow> refused;  // the first kMaxListedRefusals
    qint64 refusedCount = 0;
    // Why nothing can be written at all (an unreadable file, a group out of codes, ...).
    QString failure;
    qint64 failureLine = 0;  // the line the failure is about, or 0
    bool written = false;    // committed

    static constexpr int kMaxListedRefusals = 1000;
    // Keeps the first reason that stops the import; false always.
    bool fail(qint64 line, const QString& reason) {
        if (failure.isEmpty()) {
            failure = reason;
            failureLine = line;
        }
        return false;
    }
    // Nothing to stop the import: no failure, and refused rows only when they may be skipped.
    bool importable(bool skipRefused) const {
        return failure.isEmpty() && (refusedCount == 0 || skipRefused);
    }
};

}  // namespace sorvenka
