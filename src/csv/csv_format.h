#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "csv/csv_reader.h"

namespace sorvenka {

// The kinds of CSV files the import understands, told apart by their header row.
enum class CsvFormat { Unknown, Sorvenka, StrongComma, StrongSemicolon, Hevy, FitNotes };

// The name shown in the preview ("Sorvenka", "Strong", ...).
QString CsvFormatName(CsvFormat format);

// The columns of Sorvenka's own CSV, in their order in the file: every column of t_exer,
// then the group's and the exercise's names.
const QStringList& SorvenkaCsvColumns();

// The columns of the other loggers' files that the import reads, whatever they are called.
enum class PeerColumn {
    Date,
    Exercise,
    Category,
    WeightKg,
    WeightLb,
    Weight,
    WeightUnit,
    DistanceKm,
    DistanceMi,
    DistanceM,
    Distance,
    DistanceUnit,
    Reps,
    Time,
    Seconds,
    Rpe,
    SetType,
    SetOrder,
    Notes,
    Workout,
    WorkoutNotes,
    Count
};

// The header row read: which format, and where each known column is. Column names compare
// without regard to case and surrounding blanks; unknown columns are ignored and the order
// is free.
class CsvHeader {
  public:
    // False with the reason when the header names no known format or lacks a column the
    // format needs.
    bool read(const CsvRow& header, char delimiter, QString& reason);

    CsvFormat format() const { return format_; }
    int columnCount() const { return columnCount_; }
    // The position of a column by any of its names, or -1.
    int position(const QString& name) const;
    int position(std::initializer_list<const char*> names) const;
    // Positions found once when the header is read, for the rows that follow.
    int peer(PeerColumn column) const { return peer_[static_cast<int>(column)]; }
    int own(int column) const { return own_[column]; }  // by the order of SorvenkaCsvColumns
    // Whether the loads' unit is known from the header: a column per unit, a unit column, or
    // no load column at all. Strong's comma form has a bare "Weight" in the user's unit.
    bool loadUnitGiven() const;
    // The same for distances: Strong's comma form has a bare "Distance" in the user's unit.
    bool distanceUnitGiven() const;

  private:
    std::array<int, static_cast<int>(PeerColumn::Count)> peer_{};
    std::array<int, 16> own_{};
    CsvFormat format_ = CsvFormat::Unknown;
    int columnCount_ = 0;
    QHash<QString, int> positions_;
};

}  // namespace sorvenka
