#include "routines/plates.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "routines/progression.h"

namespace sorvenka {

namespace {

// Weights are compared in thousandths so that 1.25 + 1.25 is 2.5 exactly.
using Milli = qint64;
Milli ToMilli(double weight) {
    return std::llround(weight * 1000.0);
}
double FromMilli(Milli milli) {
    return static_cast<double>(milli) / 1000.0;
}

// The usable plate kinds, heaviest first.
struct Kind {
    Milli weight;
    int pairs;
};
std::vector<Kind> Kinds(const PlateInventory& plates) {
    std::vector<Kind> kinds;
    for (const PlatePair& p : plates.plates)
        if (p.weight > 0 && p.pairs > 0) kinds.push_back({ToMilli(p.weight), p.pairs});
    std::sort(kinds.begin(), kinds.end(),
              [](const Kind& a, const Kind& b) { return a.weight > b.weight; });
    return kinds;
}

// Every loadable weight per side with its fewest plates (counts per kind); heavier plates win
// a tie, as they are met first.
std::map<Milli, std::vector<int>> SideSums(const std::vector<Kind>& kinds) {
    std::map<Milli, std::vector<int>> sums{{0, std::vector<int>(kinds.size(), 0)}};
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        std::map<Milli, std::vector<int>> next = sums;
        for (const auto& [sum, counts] : sums) {
            for (int c = 1; c <= kinds[k].pairs; ++c) {
                std::vector<int> grown = counts;
                grown[k] = c;
                const Milli total = sum + c * kinds[k].weight;
                auto found = next.find(total);
                auto plates = [](const std::vector<int>& v) {
                    int n = 0;
                    for (int x : v) n += x;
                    return n;
                };
                if (found == next.end() || plates(grown) < plates(found->second))
                    next[total] = grown;
            }
        }
        sums = std::move(next);
    }
    return sums;
}

std::vector<double> SideList(const std::vector<Kind>& kinds, const std::vector<int>& counts) {
    std::vector<double> side;
    for (std::size_t k = 0; k < kinds.size(); ++k)
        for (int c = 0; c < counts[k]; ++c) side.push_back(FromMilli(kinds[k].weight));
    return side;
}

BarLoad MakeLoad(Milli bar, Milli side, const std::vector<Kind>& kinds,
                 const std::vector<int>& counts) {
    return {FromMilli(bar + 2 * side), SideList(kinds, counts)};
}

// Every way to put exactly `side` on one side, at most `limit` of them.
void AllWays(const std::vector<Kind>& kinds, std::size_t k, Milli left, std::vector<int>& counts,
             std::vector<std::vector<int>>& ways, std::size_t limit) {
    if (ways.size() >= limit) return;
    if (left == 0) {
        ways.push_back(counts);
        return;
    }
    if (k == kinds.size()) return;
    for (int c = std::min<qint64>(kinds[k].pairs, left / kinds[k].weight); c >= 0; --c) {
        counts[k] = c;
        AllWays(kinds, k + 1, left - c * kinds[k].weight, counts, ways, limit);
    }
    counts[k] = 0;
}

QString Unit(const PlateInventory& plates) {
    return plates.unit;
}

}  // namespace

LoadFit FitLoad(const PlateInventory& plates, double load) {
    LoadFit fit;
    const std::vector<Kind> kinds = Kinds(plates);
    const Milli bar = ToMilli(plates.bar);
    const Milli wanted = ToMilli(load);
    const auto sums = SideSums(kinds);
    const Milli twiceSide = wanted - bar;
    if (twiceSide >= 0 && twiceSide % 2 == 0) {
        const auto found = sums.find(twiceSide / 2);
        if (found != sums.end()) {
            fit.loadable = true;
            fit.exact = MakeLoad(bar, found->first, kinds, found->second);
            return fit;
        }
    }
    // The neighbours: the largest total below and the smallest above.
    for (const auto& [side, counts] : sums) {
        const Milli total = bar + 2 * side;
        if (total < wanted) fit.below = MakeLoad(bar, side, kinds, counts);
        if (total > wanted && !fit.above) fit.above = MakeLoad(bar, side, kinds, counts);
    }
    return fit;
}

double RoundToLoadable(const PlateInventory& plates, double load, double rounding) {
    const LoadFit fit = FitLoad(plates, load);
    if (fit.loadable) return fit.exact.total;
    const Milli wanted = ToMilli(load);
    const Milli reach = ToMilli(std::max(rounding, 0.0));
    std::optional<double> best;
    Milli bestGap = std::numeric_limits<Milli>::max();
    for (const std::optional<BarLoad>& near : {fit.below, fit.above}) {
        if (!near) continue;
        const Milli gap = std::llabs(ToMilli(near->total) - wanted);
        if (gap <= reach && gap < bestGap) {
            best = near->total;
            bestGap = gap;
        }
    }
    return best.value_or(load);
}

QString PlatesText(const PlateInventory& plates, const BarLoad& load) {
    QString text = QStringLiteral("バー%1%2").arg(LoadText(plates.bar), Unit(plates));
    if (load.perSide.empty()) return text;
    QStringList side;
    for (double w : load.perSide) side.push_back(LoadText(w));
    return text + QStringLiteral(" + 片側 ") + side.join(QStringLiteral("・"));
}

QString FitText(const PlateInventory& plates, double load, const LoadFit& fit) {
    if (fit.loadable) return PlatesText(plates, fit.exact);
    QStringList near;
    if (fit.below)
        near.push_back(
            QStringLiteral("下 %1%2: %3")
                .arg(LoadText(fit.below->total), Unit(plates), PlatesText(plates, *fit.below)));
    if (fit.above)
        near.push_back(
            QStringLiteral("上 %1%2: %3")
                .arg(LoadText(fit.above->total), Unit(plates), PlatesText(plates, *fit.above)));
    QString text = QStringLiteral("%1%2 はプレートで作れません").arg(LoadText(load), Unit(plates));
    if (!near.isEmpty()) text += QStringLiteral("(") + near.join(QStringLiteral(" / ")) + ")";
    return text;
}

int PlateChanges(const std::vector<double>& from, const std::vector<double>& to) {
    std::map<Milli, int> balance;
    for (double w : from) ++balance[ToMilli(w)];
    for (double w : to) --balance[ToMilli(w)];
    int changes = 0;
    for (const auto& [weight, n] : balance) changes += std::abs(n);
    return changes;
}

std::vector<WarmupRow> WarmupRamp(const PlateInventory& plates, const WarmupScheme& scheme,
                                  double workingLoad) {
    const std::vector<Kind> kinds = Kinds(plates);
    const Milli bar = ToMilli(plates.bar);
    const Milli work = ToMilli(workingLoad);
    const auto sums = SideSums(kinds);
    // Each row's load: the heaviest loadable at or below its share, never under the bar; a row
    // that would reach the working load is no warm-up.
    std::vector<WarmupRow> rows;
    std::vector<Milli> sides;
    for (const WarmupStep& step : scheme.steps) {
        const Milli share = step.percent <= 0 ? bar : work * step.percent / 100;
        Milli side = 0;
        for (const auto& [s, counts] : sums)
            if (bar + 2 * s <= share) side = s;
        const Milli total = bar + 2 * side;
        if (total >= work) continue;
        rows.push_back({FromMilli(total), step.reps, {}, {}});
        sides.push_back(side);
    }
    if (rows.empty()) return rows;
    // All ways to load each row and the working set; then the path through them with the fewest
    // plate changes (fewer plates on a tie).
    constexpr std::size_t kWaysPerRow = 64;
    std::vector<std::vector<std::vector<double>>> ways;
    const auto workFit = FitLoad(plates, workingLoad);
    const std::size_t stages = rows.size() + (workFit.loadable ? 1 : 0);
    for (std::size_t i = 0; i < stages; ++i) {
        const Milli side = i < rows.size() ? sides[i] : (work - bar) / 2;
        std::vector<std::vector<int>> found;
        std::vector<int> counts(kinds.size(), 0);
        AllWays(kinds, 0, side, counts, found, kWaysPerRow);
        std::vector<std::vector<double>> lists;
        for (const auto& c : found) lists.push_back(SideList(kinds, c));
        if (lists.empty()) lists.push_back({});
        ways.push_back(std::move(lists));
    }
    // cost[i][w]: the fewest changes from the first row to way w of row i.
    std::vector<std::vector<std::pair<int, int>>> cost(stages);  // (changes, from)
    for (std::size_t w = 0; w < ways[0].size(); ++w)
        cost[0].push_back({static_cast<int>(ways[0][w].size()), -1});
    for (std::size_t i = 1; i < stages; ++i) {
        for (std::size_t w = 0; w < ways[i].size(); ++w) {
            std::pair<int, int> best{std::numeric_limits<int>::max(), -1};
            for (std::size_t v = 0; v < ways[i - 1].size(); ++v) {
                const int c = cost[i - 1][v].first + PlateChanges(ways[i - 1][v], ways[i][w]);
                if (c < best.first) best = {c, static_cast<int>(v)};
            }
            cost[i].push_back(best);
        }
    }
    int w = static_cast<int>(std::min_element(cost.back().begin(), cost.back().end()) -
                             cost.back().begin());
    for (std::size_t i = stages; i-- > 0;) {
        if (i < rows.size()) {
            rows[i].plates = {rows[i].load, ways[i][w]};
            rows[i].platesText = PlatesText(plates, rows[i].plates);
        }
        w = cost[i][w].second;
    }
    return rows;
}

}  // namespace sorvenka
