#include <QSet>

#include "routines/day_plan.h"

namespace sorvenka {

std::vector<PlanLine> OrderLines(const std::vector<RoutineItem>& items) {
    std::vector<PlanLine> lines;
    QSet<QString> placed;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const QString& letter = items[i].superset;
        if (letter.isEmpty()) {
            lines.push_back({i, 0, {}, items[i].restSec, false});
            continue;
        }
        // A superset is trained where its first item stands: round by round, each item once a
        // round while it has sets left, the rest after the round.
        if (placed.contains(letter)) continue;
        placed.insert(letter);
        std::vector<int> members;
        int rounds = 0, rest = 0;
        for (int j = i; j < static_cast<int>(items.size()); ++j)
            if (items[j].superset == letter) {
                members.push_back(j);
                rounds = std::max(rounds, items[j].workingSets);
                rest = std::max(rest, items[j].restSec);
            }
        for (int round = 1; round <= rounds; ++round) {
            for (std::size_t m = 0; m < members.size(); ++m) {
                if (items[members[m]].workingSets < round) continue;
                const QString label =
                    QString(QChar('A' + static_cast<int>(m % 26))) + QString::number(round);
                lines.push_back({members[m], round, label, 0, false});
            }
            lines.back().restSec = rest;
        }
    }
    return lines;
}

}  // namespace sorvenka
