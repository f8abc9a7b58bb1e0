#include "last_session/personal_bests.h"

#include <sqlite3.h>

#include <cmath>

#include "db/prepared_statement.h"
#include "progress/progress_math.h"
#include "progress/progress_texts.h"

namespace sorvenka {

namespace {

const char* const kExerciseSetsSql =
    "SELECT " SESSION_SET_COLUMNS " FROM t_exer WHERE grp_cd = ?1 AND exer_cd = ?2";
// Every set before the set of ?3 (day) and ?4 (set number).
const char* const kSetsBeforeSql = "SELECT " SESSION_SET_COLUMNS
                                   " FROM t_exer WHERE grp_cd = ?1 AND exer_cd = ?2"
                                   " AND (ymd < ?3 OR (ymd = ?3 AND set_num < ?4))";
const char* const kOneSetSql = "SELECT " SESSION_SET_COLUMNS
                               " FROM t_exer WHERE grp_cd = ?1 AND exer_cd = ?2"
                               " AND ymd = ?3 AND set_num = ?4";

// The set being added: its numbers, and the whole set read from its row once it is needed.
class Candidate {
  public:
    Candidate(const SessionSet& numbers, const PreparedStatement* row)
        : numbers_(numbers), row_(row) {}
    const SessionSet& numbers() const { return numbers_; }
    const SessionSet& whole() {
        if (!row_) return numbers_;
        if (!whole_) whole_ = ReadSessionSet(*row_);
        return *whole_;
    }

  private:
    const SessionSet& numbers_;
    const PreparedStatement* row_;
    std::optional<SessionSet> whole_;
};

// Keeps the set when its figure is above the best so far; the first set of a figure stays
// on a tie.
void RaiseFigure(std::optional<SessionSet>& best, std::optional<double>& bestFigure, Candidate& set,
                 std::optional<double> figure) {
    if (!figure) return;
    if (!bestFigure || *figure > *bestFigure) {
        best = set.whole();
        bestFigure = figure;
    }
}

// Repetitions above 0; a set of none sets no repetitions record.
std::optional<double> Reps(const SessionSet& set) {
    if (!set.count || *set.count <= 0) return std::nullopt;
    return static_cast<double>(*set.count);
}

std::optional<double> Negated(std::optional<double> value) {
    if (!value) return std::nullopt;
    return -*value;
}

// Reads every row of the statement into the bests; false when the read failed.
bool AddRows(PreparedStatement& s, ExerciseBests& bests) {
    if (!s.ok()) return false;
    int code;
    while ((code = s.step()) == SQLITE_ROW) bests.add(ReadSessionNumbers(s), &s);
    return code == SQLITE_DONE;
}

QString SetLoadText(const SessionSet& set) {
    QString text = set.loadText + QLatin1Char(' ') + set.loadUnit;
    if (set.loadUnit != QStringLiteral("kg") && set.kg())
        text += QStringLiteral("（") + FormatKg(*set.kg()) + QStringLiteral("）");
    return text;
}

QString RepsText(const SessionSet& set) {
    return QString::number(set.count.value_or(0)) + set.countUnit;
}

QString DurationText(const SessionSet& set) {
    return FormatDuration(static_cast<int>(set.durationSeconds().value_or(0)));
}

}  // namespace

std::optional<double> RepsLoadKg(const SessionSet& set) {
    if (set.notANumber || !set.count) return std::nullopt;
    if (!set.load || *set.load == 0) return 0.0;
    return set.kg();
}

bool SameLoad(double a, double b) {
    return std::fabs(a - b) < 0.005;
}

void ExerciseBests::add(const SessionSet& set, const PreparedStatement* row) {
    if (set.notANumber) {
        ++notANumber;
        return;
    }
    Candidate candidate(set, row);
    RaiseFigure(heaviest, heaviestKg_, candidate, set.kg());
    RaiseFigure(bestEstimate, bestEstimateKg_, candidate, set.estimatedMaxKg());
    const std::optional<double> repsLoad = RepsLoadKg(set);
    if (repsLoad && *repsLoad > 0) RaiseFigure(mostReps, mostReps_, candidate, Reps(set));
    if (repsLoad && *repsLoad == 0)
        RaiseFigure(mostRepsBodyweight, mostRepsBodyweight_, candidate, Reps(set));
    if (repsLoad && loadOfInterest_ && SameLoad(*repsLoad, *loadOfInterest_))
        RaiseFigure(mostRepsAtLoad, mostRepsAtLoad_, candidate, Reps(set));
    RaiseFigure(longestDistance, longestKm_, candidate, set.km());
    RaiseFigure(bestPace, bestPace_, candidate, Negated(set.paceSecondsPerKm()));
    const std::optional<qint64> duration = set.durationSeconds();
    if (duration && *duration > 0)
        RaiseFigure(longestDuration, longestSeconds_, candidate, static_cast<double>(*duration));
}

PersonalBests ReadPersonalBests(sqlite3* connection, const QString& grpCd, const QString& exerCd) {
    PersonalBests records;
    if (IsRestDayExercise(grpCd, exerCd)) return records;
    PreparedStatement s(connection, kExerciseSetsSql);
    s.bindText(1, grpCd);
    s.bindText(2, exerCd);
    records.ok = AddRows(s, records.bests);
    return records;
}

QStringList RecordsBeatenBy(sqlite3* connection, const RecordKey& key) {
    std::optional<SessionSet> set;
    {
        PreparedStatement s(connection, kOneSetSql);
        s.bindText(1, key.grp_cd);
        s.bindText(2, key.exer_cd);
        s.bindText(3, key.ymd);
        s.bindInt(4, key.set_num.toLongLong());
        if (s.ok() && s.step() == SQLITE_ROW) set = ReadSessionSet(s);
    }
    if (!set || set->notANumber || IsRestDayExercise(key.grp_cd, key.exer_cd)) return {};

    ExerciseBests before(RepsLoadKg(*set));
    PreparedStatement s(connection, kSetsBeforeSql);
    s.bindText(1, key.grp_cd);
    s.bindText(2, key.exer_cd);
    s.bindText(3, key.ymd);
    s.bindInt(4, key.set_num.toLongLong());
    if (!AddRows(s, before)) return {};

    QStringList beaten;
    // Strictly above an earlier best of the same kind; nothing earlier, nothing beaten.
    auto above = [](std::optional<double> figure, const std::optional<SessionSet>& best,
                    std::optional<double> (*of)(const SessionSet&)) {
        return figure && best && of(*best) && *figure > *of(*best) + 1e-9;
    };
    if (above(set->kg(), before.heaviest, [](const SessionSet& s) { return s.kg(); }))
        beaten << QStringLiteral("最大重量 ") + SetLoadText(*set);
    if (above(set->estimatedMaxKg(), before.bestEstimate,
              [](const SessionSet& s) { return s.estimatedMaxKg(); }))
        beaten << QStringLiteral("推定1RM ") + FormatKg(*set->estimatedMaxKg());
    // More repetitions than ever at this load, or than any set with a load (the record the
    // panel lists): one line either way.
    const std::optional<double> repsLoad = RepsLoadKg(*set);
    if (repsLoad && (above(Reps(*set), before.mostRepsAtLoad, &Reps) ||
                     (*repsLoad > 0 && above(Reps(*set), before.mostReps, &Reps))))
        beaten << (*repsLoad > 0 ? QStringLiteral("最多回数 ") + SetLoadText(*set) +
                                       QStringLiteral(" × ") + RepsText(*set)
                                 : QStringLiteral("最多回数（自重） ") + RepsText(*set));
    if (above(set->km(), before.longestDistance, [](const SessionSet& s) { return s.km(); }))
        beaten << QStringLiteral("最長距離 ") + FormatKm(*set->km());
    if (above(Negated(set->paceSecondsPerKm()), before.bestPace,
              [](const SessionSet& s) { return Negated(s.paceSecondsPerKm()); }))
        beaten << QStringLiteral("最速ペース ") + FormatPace(*set->paceSecondsPerKm());
    const auto seconds = [](const SessionSet& s) -> std::optional<double> {
        const std::optional<qint64> duration = s.durationSeconds();
        if (!duration || *duration <= 0) return std::nullopt;
        return static_cast<double>(*duration);
    };
    if (above(seconds(*set), before.longestDuration, seconds))
        beaten << QStringLiteral("最長時間 ") + DurationText(*set);
    return beaten;
}

QStringList RecordLines(const ExerciseBests& bests) {
    QStringList lines;
    auto line = [&lines](const QString& name, const QString& value, const SessionSet& set) {
        lines << name + QLatin1Char(' ') + value + QStringLiteral("  ") + set.ymd;
    };
    if (bests.heaviest)
        line(QStringLiteral("最大重量"),
             SetLoadText(*bests.heaviest) + QStringLiteral(" × ") + RepsText(*bests.heaviest),
             *bests.heaviest);
    if (bests.bestEstimate)
        line(QStringLiteral("推定1RM"),
             FormatKg(*bests.bestEstimate->estimatedMaxKg()) + QStringLiteral("（") +
                 SetValuesText(*bests.bestEstimate) + QStringLiteral("）"),
             *bests.bestEstimate);
    if (bests.mostReps)
        line(QStringLiteral("最多回数"),
             RepsText(*bests.mostReps) + QStringLiteral("（") + SetLoadText(*bests.mostReps) +
                 QStringLiteral("）"),
             *bests.mostReps);
    if (bests.mostRepsBodyweight)
        line(QStringLiteral("最多回数（自重）"), RepsText(*bests.mostRepsBodyweight),
             *bests.mostRepsBodyweight);
    if (bests.longestDistance)
        line(QStringLiteral("最長距離"), FormatKm(*bests.longestDistance->km()),
             *bests.longestDistance);
    if (bests.bestPace)
        line(QStringLiteral("最速ペース"), FormatPace(*bests.bestPace->paceSecondsPerKm()),
             *bests.bestPace);
    if (bests.longestDuration)
        line(QStringLiteral("最長時間"), DurationText(*bests.longestDuration),
             *bests.longestDuration);
    return lines;
}

const std::vector<const char*>& PersonalBestsStatements() {
    static const std::vector<const char*> statements{kExerciseSetsSql};
    return statements;
}

}  // namespace sorvenka
