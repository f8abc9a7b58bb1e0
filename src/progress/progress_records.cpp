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
    }
    return QString();
}

QString MostRepsName(double load, const QString& loadUnit) {
    return RecordName(RecordKind::MostReps) + QLatin1Char(' ') + FormatNumber(load) +
           QLatin1Char(' ') + loadUnit;
}

void MarkBeatenRecords(std::vector<DayFigures>& days, const std::vector<LoadRepsDay>& loadReps) {
    std::optional<double> topKg, bestE1rm, volume;
    std::optional<int> longest;
    std::map<LoadKey, int> mostReps;
    auto load = loadReps.begin();
    for (DayFigures& day : days) {
        day.beaten.clear();
        if (Beats(day.topKg, topKg)) day.beaten << RecordName(RecordKind::HeaviestLoad);
        if (Beats(day.bestE1rmKg, bestE1rm)) day.beaten << RecordName(RecordKind::BestEstimate);
        if (Beats(day.volumeKg, volume)) day.beaten << RecordName(RecordKind::BestVolume);
        if (Beats(day.longestSeconds, longest))
            day.beaten << RecordName(RecordKind::LongestDuration);
        // The loads of the days before this one are already in mostReps.
        while (load != loadReps.end() && load->ymd < day.ymd) ++load;
        for (; load != loadReps.end() && load->ymd == day.ymd; ++load) {
            const LoadKey key{load->loadUnit, load->load};
            const auto known = mostReps.find(key);
            if (known == mostReps.end()) {
                mostReps.emplace(key, load->reps);
            } else if (load->reps > known->second) {
                known->second = load->reps;
                day.beaten << MostRepsName(load->load, load->loadUnit);
            }
        }
    }
}

int BestDayIndex(const std::vector<DayFigures>& days, std::optional<double> DayFigures::*figure) {
    return BestDay(days, figure);
}

int BestDayIndex(const std::vector<DayFigures>& days, std::optional<int> DayFigures::*figure) {
    return BestDay(days, figure);
}

std::vector<PersonalRecord> MostRepsRecords(const std::vector<LoadRepsDay>& loadReps) {
    std::map<LoadKey, const LoadRepsDay*> best;
    for (const LoadRepsDay& entry : loadReps) {  // day order: the first day keeps a tie
        const LoadRepsDay*& known = best[{entry.loadUnit, entry.load}];
        if (known == nullptr || entry.reps > known->reps) known = &entry;
    }
    std::vector<std::pair<LoadKey, const LoadRepsDay*>> ordered(best.begin(), best.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return KgForOrder(a.first) > KgForOrder(b.first);
    });
    std::vector<PersonalRecord> records;
    for (const auto& [key, entry] : ordered)
        records.push_back({RecordKind::MostReps, MostRepsName(entry->load, entry->loadUnit),
                           QString::number(entry->reps) + entry->repsUnit, entry->ymd,
                           static_cast<double>(entry->reps)});
    return records;
}

}  // namespace sorvenka
