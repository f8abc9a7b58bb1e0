#include "progress/progress_math.h"

#include <algorithm>

namespace sorvenka {

bool IsRestDayExercise(const QString& grpCd, const QString& exerCd) {
    return grpCd == QStringLiteral("99") && exerCd == QStringLiteral("99");
}

std::optional<double> LoadInKg(double load, const QString& unit) {
    if (unit == QStringLiteral("kg")) return load;
    if (unit == QStringLiteral("lb")) return load * kKgPerLb;
    return std::nullopt;
}

std::optional<double> EstimatedOneRepMax(double loadKg, int reps) {
    if (!(loadKg > 0) || reps < 1 || reps > kMostRepsForEstimate) return std::nullopt;
    if (reps == 1) return loadKg;
    return loadKg * (1.0 + reps / 30.0);
}

RestPairs PairRests(std::vector<SetTimes> sets) {
    std::erase_if(sets, [](const SetTimes& s) { return s.start < 0; });
    std::sort(sets.begin(), sets.end(), [](const SetTimes& a, const SetTimes& b) {
        return a.start != b.start ? a.start < b.start : a.finish < b.finish;
    });
    RestPairs pairs;
    for (std::size_t i = 1; i < sets.size(); ++i) {
        const SetTimes& previous = sets[i - 1];
        const SetTimes& next = sets[i];
        const bool overnight = previous.finish >= 0 && previous.finish < previous.start;
        const int gap = next.start - previous.finish;
        if (previous.finish < 0 || overnight || gap < 0 || gap > kLongestRestSeconds)
            ++pairs.leftOut;
        else
            pairs.rests.push_back(gap);
    }
    return pairs;
}

std::optional<double> Median(std::vector<int> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2.0;
}

}  // namespace sorvenka
