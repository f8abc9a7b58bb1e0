#include "csv/file_units.h"

#include <algorithm>

namespace sorvenka {

namespace {

// Loads a lifter in pounds puts on a bar: the bar and pairs of 45 lb plates, and halves.
bool IsPoundsLoad(double load) {
    for (const double typical : {45.0, 95.0, 135.0, 185.0, 225.0, 275.0, 315.0, 365.0, 405.0})
        if (load == typical) return true;
    return false;
}

// Whether the row names a distance above zero (the set's figures may have put it in the load
// or the comment).
bool HoldsDistance(const CsvHeader& header, const CsvRow& row, char delimiter) {
    const int column = header.peer(PeerColumn::Distance);
    if (column < 0 || column >= static_cast<int>(row.fields.size())) return false;
    QString text = FieldText(row.fields[column]).trimmed();
    if (delimiter == ';') text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble() > 0;
}

}  // namespace

void FileUnits::start(const CsvHeader& header, const ImportOptions& options) {
    loadUnitMissing_ = header.format() != CsvFormat::Sorvenka && !header.loadUnitGiven();
    // Until a unit is given the loads are read as kilograms, for the preview's figures.
    assumedUnit_ =
        loadUnitMissing_ && !options.loadUnit.isEmpty() ? options.loadUnit : QStringLiteral("kg");
    distanceUnitMissing_ = header.format() != CsvFormat::Sorvenka && !header.distanceUnitGiven();
    assumedDistanceUnit_ = distanceUnitMissing_ && !options.distanceUnit.isEmpty()
                               ? options.distanceUnit
                               : QStringLiteral("km");
}

void FileUnits::note(const PeerSet& set, const CsvHeader& header, const CsvRow& row,
                     char delimiter) {
    if (distanceUnitMissing_ && !distancesSeen_)
        distancesSeen_ = HoldsDistance(header, row, delimiter);
    if (set.unitT == QLatin1String("lb") || set.unitT == QLatin1String("kg"))
        ++(set.unitT == QLatin1String("lb") ? poundSets_ : kilogramSets_);
    if (loadUnitMissing_ && set.unitT == assumedUnit_ && set.target > 0) {
        ++loads_;
        if (IsPoundsLoad(set.target)) ++poundsLoads_;
        heaviest_ = std::max(heaviest_, set.target);
    }
}

bool FileUnits::settle(const ImportOptions& options, ImportSummary& summary) const {
    if (loadUnitMissing_) {
        summary.loadUnitMissing = true;
        summary.loadUnit = options.loadUnit;
        const bool pounds = heaviest_ > 250 || (loads_ > 0 && poundsLoads_ * 4 >= loads_);
        summary.proposedLoadUnit = pounds ? QStringLiteral("lb") : QStringLiteral("kg");
        if (options.loadUnit.isEmpty())
            summary.fail(0,
                         QStringLiteral("ファイルに重量の単位がありません。単位を指定してください"
                                        "（--unit kg または --unit lb。重量から見ると %1）。")
                             .arg(summary.proposedLoadUnit));
    }
    // A file whose distances have no unit: the unit of its loads suggests one.
    if (distanceUnitMissing_ && distancesSeen_) {
        summary.distanceUnitMissing = true;
        summary.distanceUnit = options.distanceUnit;
        const QString loadUnit =
            loadUnitMissing_
                ? (options.loadUnit.isEmpty() ? summary.proposedLoadUnit : options.loadUnit)
                : (poundSets_ > kilogramSets_ ? QStringLiteral("lb") : QStringLiteral("kg"));
        summary.proposedDistanceUnit =
            loadUnit == QLatin1String("lb") ? QStringLiteral("mi") : QStringLiteral("km");
        if (options.distanceUnit.isEmpty())
            summary.fail(0,
                         QStringLiteral("ファイルに距離の単位がありません。単位を指定してください"
                                        "（--distance-unit km または --distance-unit mi。"
                                        "重量の単位から見ると %1）。")
                             .arg(summary.proposedDistanceUnit));
    }
    return summary.failure.isEmpty();
}

}  // namespace sorvenka
