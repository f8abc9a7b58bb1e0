#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <set>
#include <string>
#include <utility>

#include "csv/csv_mapping.h"
#include "csv/import_masters.h"
#include "csv/import_summary.h"
#include "csv/set_writer.h"

struct sqlite3;

namespace sorvenka {

// The exercise each row's sets go to. Own rows name theirs by code, and a group or exercise
// missing from the masters is added with the file's names. Another logger's exercise name goes
// where the caller said, else where an earlier import took it, else to an exercise of the same
// (or the Japanese common) name, else to a new exercise in the group of its category or body
// part. Every decision and every new exercise is noted in the summary; a reason that stops the
// import goes there too.
class ExerciseDestinations {
  public:
    enum class Outcome { Known, OutOfCodes, Failed };

    ExerciseDestinations(sqlite3* db, ImportMasters& masters, SetWriter& sets,
                         const ImportOptions& options, ImportSummary& summary);
    // The choices of earlier imports; false when they cannot be read.
    bool readSavedChoices() { return ReadSavedNameChoices(db_, savedChoices_); }

    // The row's group and exercise, added when missing; false when a name the file gives a
    // new one cannot be a name or the write failed.
    bool own(const OwnSet& set, qint64 line);
    // The place of the set's exercise name in the summary's names, decided (and a new exercise
    // added) when the name is first met; -1 when the import cannot go on.
    int peer(const PeerSet& set, qint64 line, Outcome& outcome);

    int existingExercises() const { return static_cast<int>(existing_.size()); }
    // Keeps where every name's sets went, for the next import of the same history.
    bool saveChoices();

  private:
    ExerciseTarget propose(const QString& name, const QString& category, NameMatch& match) const;
    const ExerciseTarget* savedChoice(const QString& name) const;
    bool given(const PeerSet& set, NameUse& use);
    bool newName(NameUse& use, qint64 line, QString& name);
    bool writeFailed();
    void noteExisting(const QString& grp, const QString& exer);

    sqlite3* db_;
    ImportMasters& masters_;
    SetWriter& sets_;  // asked whether an exercise holds a set like the row's
    const ImportOptions& options_;
    ImportSummary& summary_;
    QHash<QString, ExerciseTarget> savedChoices_;
    QHash<QString, int> nameIndex_;  // a peer's exercise name: its place in summary_.names
    QSet<QString> existing_, new_;   // group and exercise codes
    // The pair of the own row before, in buffers of their own, filled again for every change.
    std::string lastGrp_, lastExer_;
    std::set<std::pair<std::string, std::string>> checkedPairs_;  // the own rows' pairs so far
    bool havePair_ = false;
};

}  // namespace sorvenka
