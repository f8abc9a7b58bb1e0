#pragma once

#include <QString>
#include <array>
#include <optional>

#include "csv/csv_format.h"
#include "csv/csv_reader.h"

namespace sorvenka {

// One set taken from a row of another logger's file, in the terms of t_exer.
struct PeerSet {
    QString ymd;
    QString exerciseName;
    QString category;  // FitNotes' category of the exercise; empty elsewhere
    double target = 0;
    QString unitT;
    std::optional<qint64> cnt;  // count form when present
    QString unit;
    std::optional<qint64> cntMin, cntSec;  // duration form (both absent: no duration given)
    QString comment;
    // A negative load: the help of an assisted exercise, stored as load 0 and named in the
    // comment.
    bool assisted = false;
    // Neither load, count, time nor distance: a set listed but never done.
    bool nothingDone = false;
    QString workout;      // the workout the set belongs to (its start and name), or empty
    QString workoutNote;  // the note on that whole workout, or empty
};

// One row of Sorvenka's own CSV: the fourteen columns of t_exer, and the names. It refers to
// the row's fields where they stand, so it is good only while the row is: a field is copied
// only where its value differs from the file's text (the export's apostrophe taken off, a
// missing key made the empty text).
class OwnSet {
  public:
    // By the order of SorvenkaCsvColumns: the columns of t_exer, then the two names.
    const CsvField& value(int column) const {
        return (changed_ >> column) & 1 ? own_[column] : *fields_[column];
    }
    const CsvField& grpName() const { return value(14); }
    const CsvField& exerName() const { return value(15); }
    const QByteArray& ymd() const { return *value(0); }
    const QByteArray& grpCd() const { return *value(1); }
    const QByteArray& exerCd() const { return *value(2); }
    const QByteArray& setNum() const { return *value(3); }

    std::array<qint64, 14> whole{};  // the whole numbers of set_num, cnt, cnt_min, cnt_sec
    double target = 0;

    // Lets go of the values copied from the row; the set is mapped anew before it is read.
    void release() {
        for (int i = 0; i < 16; ++i)
            if ((changed_ >> i) & 1) own_[i].reset();
        changed_ = 0;
    }

  private:
    friend bool MapOwnRow(const CsvHeader& header, const CsvRow& row, OwnSet& set, QString& reason);
    static const CsvField kAbsent;
    std::array<const CsvField*, 16> fields_{
        &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent,
        &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent, &kAbsent};
    std::array<CsvField, 16> own_;  // the values that differ from the row's fields
    unsigned changed_ = 0;          // a bit for each column whose value is in own_
};

// A row with another number of fields than the header is refused.
bool CheckFieldCount(const CsvHeader& header, const CsvRow& row, QString& reason);

// Day, load and unit, repetitions (count form, 回), seconds (duration form), distance and its
// unit; set type, RPE and the notes go into the comment. A load or a distance without a unit
// in the file is in loadUnit or distanceUnit. A negative load is an assisted set's help: load
// 0 and 「アシスト 20 kg」 in the comment. False with the reason of refusal.
bool MapPeerRow(const CsvHeader& header, const CsvRow& row, char delimiter, PeerSet& set,
                QString& reason, const QString& loadUnit = QStringLiteral("kg"),
                const QString& distanceUnit = QStringLiteral("km"));

// FitNotes writes a user's exercise name holding a comma without quotes, so its row has one
// field too many. True, with the row mended, when joining the exercise field with the next
// one gives a row of the header's width that maps.
bool MendSplitExerciseName(const CsvHeader& header, const CsvRow& row, char delimiter,
                           CsvRow& mended);

// The values as they are, after checking their forms: a day, codes of two characters, a set
// number from 1, times, numbers that are not negative, seconds up to 59.
bool MapOwnRow(const CsvHeader& header, const CsvRow& row, OwnSet& set, QString& reason);

// A day of the other loggers' forms: 2023-01-15, 2023-01-15 08:30:00, 2023/01/15 or
// 26 Jul 2025, 07:06. The empty text when the text names no real day.
QString PeerDay(const QString& text);

}  // namespace sorvenka
