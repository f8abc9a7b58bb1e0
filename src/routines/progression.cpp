#include "routines/progression.h"

#include <sqlite3.h>

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <string>

#include "db/prepared_statement.h"
#include "progress/progress_math.h"
#include "routines/plates.h"

namespace sorvenka {

namespace {

// Loads closer than this (in kg) are the same load: a load stored in lb and converted.
constexpr double kSameLoadKg = 0.001;

bool IsWeightUnit(const QString& unit) {
    return unit == QStringLiteral("kg") || unit == QStringLiteral("lb");
}

// A set's load in kg: 0 for a set without a load (body weight), nothing for a load in a unit
// the item cannot compare with.
std::optional<double> SetKg(const SessionSet& set) {
    if (!set.load) return 0.0;
    if (set.loadUnit.isEmpty() && *set.load == 0) return 0.0;
    return LoadInKg(*set.load, set.loadUnit);
}

double ToKg(double load, const QString& unit) {
    return LoadInKg(load, unit).value_or(load);
}
// "60kg×12,12,12", "60kg×12,12・57.5kg×10": the sets grouped by load in their order.
QString SetsText(const std::vector<const SessionSet*>& sets) {
    QStringList groups;
    QString currentLoad;
    QStringList reps;
    auto flush = [&] {
        if (!reps.isEmpty()) groups.push_back(currentLoad + QStringLiteral("×") + reps.join(','));
        reps.clear();
    };
    for (const SessionSet* set : sets) {
        const QString load = set->load ? LoadText(*set->load) + set->loadUnit : QString();
        if (load != currentLoad || reps.isEmpty()) {
            flush();
            currentLoad = load;
        }
        reps.push_back(set->count ? QString::number(*set->count) : QStringLiteral("-"));
    }
    flush();
    return groups.join(QStringLiteral("・"));
}

QString ValueText(double load, const QString& unit) {
    return LoadText(load) + unit;
}

// The target of an item whose sets are timed or run, without a load progression.
ItemTarget HeldTarget(const RoutineItem& item, const std::vector<ItemSession>& sessions) {
    ItemTarget target;
    target.load = item.startLoad;
    target.loadUnit = item.loadUnit;
    target.durationSec = item.durationSec;
    target.repMin = item.repMin;
    target.repMax = item.repMax;
    target.reps = item.repMax;
    if (sessions.empty()) {
        target.reason = QStringLiteral("前回なし → 開始重量");
        return target;
    }
    target.fromLog = true;
    target.lastYmd = sessions.back().ymd;
    QStringList sets;
    for (SessionSet set : sessions.back().sets) {
        // The sessions hold numbers only: the texts are made for the few sets shown.
        if (set.load) set.loadText = LoadText(*set.load);
        sets.push_back(SetValuesText(set));
    }
    target.reason = QStringLiteral("前回 %1 → 据え置き").arg(sets.join(QStringLiteral(", ")));
    return target;
}

}  // namespace

QString LoadText(double load) {
    QString text = QString::number(load, 'f', 3);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

ItemTarget ComputeTarget(const RoutineItem& item, const std::vector<ItemSession>& sessions,
                         const PlateInventory* plates) {
    if (item.kind != ItemKind::Reps) return HeldTarget(item, sessions);
    ItemTarget target;
    target.loadUnit = item.loadUnit;
    target.repMin = item.repMin;
    target.repMax = item.repMax;
    const bool weighed = IsWeightUnit(item.loadUnit);
    const bool usePlates = plates && item.usesPlates && plates->unit == item.loadUnit;
    auto raise = [&](double load) {
        const double raised = load + item.step;
        return usePlates ? RoundToLoadable(*plates, raised, item.rounding) : raised;
    };

    double load = item.startLoad;  // the target, in the item's unit
    int reps = item.rule == ProgressionRule::Double ? item.repMin : item.repMax;
    QString lastText;
    for (const ItemSession& session : sessions) {
        // The sets with a count and a load the item compares with, in kg.
        std::vector<std::pair<const SessionSet*, double>> sets;
        for (const SessionSet& set : session.sets) {
            if (!set.count || set.notANumber) continue;
            const std::optional<double> kg = weighed ? SetKg(set) : set.load.value_or(0.0);
            if (kg) sets.push_back({&set, *kg});
        }
        if (sets.empty()) continue;
        target.fromLog = true;
        target.lastYmd = session.ymd;
        target.raised = false;
        const double heaviest =
            std::max_element(sets.begin(), sets.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->second;
        const double targetKg = weighed ? ToKg(load, item.loadUnit) : load;
        // The working sets: those at the target or above; lighter ones are warm-ups, or a
        // session at less than planned, which never raises the load.
        std::vector<const SessionSet*> working;
        for (const auto& [set, kg] : sets)
            if (kg >= targetKg - kSameLoadKg) working.push_back(set);
        std::vector<const SessionSet*> shown = working;
        if (shown.empty())
            for (const auto& [set, kg] : sets)
                if (kg >= heaviest - kSameLoadKg) shown.push_back(set);
        lastText = SetsText(shown);
        const int top = item.repMax;
        const bool reached = static_cast<int>(working.size()) >= std::max(item.workingSets, 1) &&
                             std::all_of(working.begin(), working.end(),
                                         [&](const SessionSet* s) { return *s->count >= top; });
        if (item.rule == ProgressionRule::None) continue;
        if (reached) {
            load = raise(load);
            target.raised = true;
            reps = item.rule == ProgressionRule::Double ? item.repMin : item.repMax;
        } else if (item.rule == ProgressionRule::Double && !working.empty()) {
            // Still climbing the range: one more than the weakest working set.
            qint64 fewest = *working.front()->count;
            for (const SessionSet* s : working) fewest = std::min(fewest, *s->count);
            reps = static_cast<int>(std::clamp<qint64>(fewest + 1, item.repMin, item.repMax));
        }
    }
    target.load = load;
    target.reps = item.rule == ProgressionRule::Double ? reps : item.repMax;
    if (!target.fromLog)
        target.reason = QStringLiteral("前回なし → 開始重量");
    else if (target.raised)
        target.reason = QStringLiteral("前回 %1 達成 → %2")
                            .arg(lastText, ValueText(target.load, target.loadUnit));
    else
        target.reason = QStringLiteral("前回 %1 → 据え置き").arg(lastText);
    return target;
}

bool ReadSessions(sqlite3* db, const std::vector<SessionExercise>& exercises, const QString& since,
                  const QString& ymd, std::vector<std::vector<ItemSession>>& sessions) {
    sessions.assign(exercises.size(), {});
    if (exercises.empty()) return true;
    // One pass over the days in range: the key's index leads by day.
    QString sql = QStringLiteral("SELECT grp_cd, exer_cd, " SESSION_SET_COLUMNS
                                 " FROM t_exer WHERE ymd >= ?1 AND ymd < ?2 AND"
                                 " (grp_cd, exer_cd) IN (VALUES ");
    for (std::size_t i = 0; i < exercises.size(); ++i)
        sql += QStringLiteral("%1(?%2, ?%3)").arg(i ? "," : "").arg(2 * i + 3).arg(2 * i + 4);
    sql += QStringLiteral(") ORDER BY ymd, set_num");
    PreparedStatement s(db, sql);
    s.bindText(1, since);
    s.bindText(2, ymd);
    // Rows are matched by their bytes and only the numbers are read (no texts are made): the
    // read walks every day in range, and each exercise has hundreds of sessions on a long log.
    std::vector<std::pair<QByteArray, QByteArray>> keys;
    for (std::size_t i = 0; i < exercises.size(); ++i) {
        s.bindText(static_cast<int>(2 * i + 3), exercises[i].grpCd);
        s.bindText(static_cast<int>(2 * i + 4), exercises[i].exerCd);
        keys.push_back({exercises[i].grpCd.toUtf8(), exercises[i].exerCd.toUtf8()});
    }
    std::string lastDay;
    QString lastDayText;
    while (s.next()) {
        const std::string_view grp = s.bytes(0), exer = s.bytes(1), day = s.bytes(2);
        if (day != lastDay) {
            lastDay.assign(day);
            lastDayText = QString::fromUtf8(day.data(), static_cast<qsizetype>(day.size()));
        }
        const SessionSet set = ReadSessionNumbers(s, 2);
        // An exercise may be asked for twice (two items of one exercise).
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (grp != std::string_view(keys[i].first.constData(), keys[i].first.size()) ||
                exer != std::string_view(keys[i].second.constData(), keys[i].second.size()))
                continue;
            std::vector<ItemSession>& list = sessions[i];
            if (list.empty() || list.back().ymd != lastDayText) list.push_back({lastDayText, {}});
            list.back().sets.push_back(set);
        }
    }
    return s.ok();
}

ItemTarget ReadTarget(sqlite3* db, const RoutineItem& item, const QString& ymd,
                      const PlateInventory* plates) {
    std::vector<std::vector<ItemSession>> sessions;
    if (!ReadSessions(db, {{item.grpCd, item.exerCd}}, item.since, ymd, sessions)) {
        ItemTarget failed;
        failed.ok = false;
        return failed;
    }
    return ComputeTarget(item, sessions.front(), plates);
}

}  // namespace sorvenka
