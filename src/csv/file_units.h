#pragma once

#include <QString>

#include "csv/csv_format.h"
#include "csv/csv_mapping.h"
#include "csv/import_summary.h"

namespace sorvenka {

// The units of a file whose header names none for its loads or distances: the unit the caller
// gave, else the kilogram and kilometre for the preview's figures while the sets show which
// unit they were written in (a heaviest load past 250, or many loads of 45 lb plates: pounds).
class FileUnits {
  public:
    void start(const CsvHeader& header, const ImportOptions& options);
    const QString& loadUnit() const { return assumedUnit_; }
    const QString& distanceUnit() const { return assumedDistanceUnit_; }

    // Counts the set's load and whether the row (as read) holds a distance.
    void note(const PeerSet& set, const CsvHeader& header, const CsvRow& row, char delimiter);
    // Fills the summary's units and proposals; false (the reason in the summary) when a unit is
    // missing and none was given. Both units are proposed before a missing one stops the import.
    bool settle(const ImportOptions& options, ImportSummary& summary) const;

  private:
    bool loadUnitMissing_ = false;
    QString assumedUnit_ = QStringLiteral("kg");
    bool distanceUnitMissing_ = false, distancesSeen_ = false;
    QString assumedDistanceUnit_ = QStringLiteral("km");
    qint64 poundSets_ = 0, kilogramSets_ = 0;
    qint64 loads_ = 0, poundsLoads_ = 0;
    double heaviest_ = 0;
};

}  // namespace sorvenka
