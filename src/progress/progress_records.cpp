#include "progress/progress_records.h"

#include <algorithm>
#include <map>

#include "progress/progress_math.h"
#include "progress/progress_texts.h"

namespace sorvenka {

namespace {

using LoadKey = std::pair<QString, double>;  // unit, load as stored

template <typename T>
bool Beats(const std::optional<T>& figure, std::optional<T>& best) {
    if (!figure) return false;
    const bool beaten = best && *figure > *best;
    if (!best || *figure > *best) best = figure;
    return beaten;
}

template <typename T>
int BestDay(const std::vector<DayFigures>& days, std::optional<T> DayFigures::*figure) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(days.size()); ++i) {
        const std::optional<T>& value = days[i].*figure;
        if (value && (best < 0 || *value > *(days[best].*figure))) best = i;
    }
    return best;
}

double KgForOrder(const LoadKey& key) {
    return LoadInKg(key.second, key.first).value_or(key.second);
}

}  // namespace

QString RecordName(RecordKind kind) {
    switch (kind) {
        case RecordKind::HeaviestLoad:
            return QStringLiteral("最大重量");
        case RecordKind::BestEstimate:
            return QStringLiteral("推定1RM");
        case RecordKind::BestVolume:
            return QStringLiteral("ボリューム");
        case RecordKind::MostReps:
            return QStringLiteral("最多回数");
        case RecordKind::LongestDuration:
            return QStringLiteral("最長時間");
        case RecordKind::MostRepsBodyweight:
            return QStringLiteral("最多回数（自重）");
        case RecordKind::LongestDistance:
            return QStringLiteral("最長距離");
        case RecordKind::BestPace:
            return QStringLiteral("最速ペース");
    }
    return QString();
}

QString MostRepsName(double load, const QString& loadUnit) {
    return RecordName(RecordKind::MostReps) + QLatin1Char(' ') + FormatNumber(load) +
           QLatin1Char(' ') + loadUnit;
}

void RecordMarks::add(DayFigures& day, const std::vector<LoadRepsDay>& loads) {
    day.beaten.clear();
    if (Beats(day.topKg, topKg_)) day.beaten << RecordName(RecordKind::HeaviestLoad);
    if (Beats(day.bestE1rmKg, bestE1rm_)) day.beaten << RecordName(RecordKind::BestEstimate);
    if (Beats(day.volumeKg, volume_)) day.beaten << RecordName(RecordKind::BestVolume);
    if (Beats(day.longestSeconds, longest_)) day.beaten << RecordName(RecordKind::LongestDuration);
    if (Beats(day.mostRepsNoLoad, mostRepsNoLoad_))
        day.beaten << RecordName(RecordKind::MostRepsBodyweight);
    if (Beats(day.longestDistanceKm, longestKm_))
        day.beaten << RecordName(RecordKind::LongestDistance);
    // A pace is better when lower: compared negated.
    std::optional<double> pace;
    if (day.paceSecondsPerKm) pace = -*day.paceSecondsPerKm;
    if (Beats(pace, fastestPace_)) day.beaten << RecordName(RecordKind::BestPace);
    for (const LoadRepsDay& load : loads) {
        const auto [known, added] = mostReps_.try_emplace({load.loadUnit, load.load}, load);
        if (!added && load.reps > known->second.reps) {
            known->second = load;
            day.beaten << MostRepsName(load.load, load.loadUnit);
        }
    }
}

int BestDayIndex(const std::vector<DayFigures>& days, std::optional<double> DayFigures::*figure) {
    return BestDay(days, figure);
}

int BestDayIndex(const std::vector<DayFigures>& days, std::optional<int> DayFigures::*figure) {
    return BestDay(days, figure);
}

std::vector<PersonalRecord> RecordMarks::mostRepsRecords() const {
    std::vector<const LoadRepsDay*> ordered;
    for (const auto& [key, best] : mostReps_) ordered.push_back(&best);
    std::stable_sort(
        ordered.begin(), ordered.end(), [](const LoadRepsDay* a, const LoadRepsDay* b) {
            return KgForOrder({a->loadUnit, a->load}) > KgForOrder({b->loadUnit, b->load});
        });
    std::vector<PersonalRecord> records;
    for (const LoadRepsDay* best : ordered)
        records.push_back({RecordKind::MostReps, MostRepsName(best->load, best->loadUnit),
                           QString::number(best->reps) + best->repsUnit, best->ymd,
                           static_cast<double>(best->reps)});
    return records;
}

}  // namespace sorvenka
