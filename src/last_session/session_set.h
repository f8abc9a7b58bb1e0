#pragma once

#include <QString>
#include <optional>

namespace sorvenka {

class PreparedStatement;

// One stored set as the bench panel shows and compares it. Loads in kg for kg and lb,
// distances in km for km and m; everything else is not a load the records look at.
struct SessionSet {
    QString ymd;
    int setNum = 0;
    QString start, finish;  // as stored; empty when none
    QString loadText;       // the load as the entry would show it ("62.5"); empty for NULL
    QString loadUnit;
    std::optional<qint64> count;  // count form
    QString countUnit;
    std::optional<qint64> minutes, seconds;  // duration form (count NULL)
    // A load, count or duration stored as something other than a number, or a load that is
    // infinite, NaN or negative, or a negative count or duration: shown, never compared.
    bool notANumber = false;
    std::optional<double> load;  // the finite, non-negative load as stored

    bool isDuration() const { return !count && (minutes || seconds); }
    // Whole seconds of a duration set.
    std::optional<qint64> durationSeconds() const;
    // The load in kg (kg or lb), nothing for any other unit or no load above 0.
    std::optional<double> kg() const;
    // The distance in km (km or m), nothing for any other unit or no distance above 0.
    std::optional<double> km() const;
    // Epley's estimated maximum of a count set with a load in kg or lb, 1 to 12 repetitions.
    std::optional<double> estimatedMaxKg() const;
    // Seconds per km of a distance set with a duration.
    std::optional<double> paceSecondsPerKm() const;
};

// The columns the reads select, in this order, after any of their own.
#define SESSION_SET_COLUMNS \
    "ymd, set_num, hms_sta, hms_end, target, unit_t, cnt, unit, cnt_min, cnt_sec"

// Reads a row of SESSION_SET_COLUMNS starting at the given column.
SessionSet ReadSessionSet(const PreparedStatement& statement, int firstColumn = 0);
// Only what the figures compare: the numbers, and the load unit when it is kg, lb, km or m;
// no texts are made. A scan of thousands of sets reads this and the whole set only for the
// few that become a best.
SessionSet ReadSessionNumbers(const PreparedStatement& statement, int firstColumn = 0);

// "62.5 kg × 8回", "12:30", "5 km 25:00": the set's values in one short text.
QString SetValuesText(const SessionSet& set);

}  // namespace sorvenka
