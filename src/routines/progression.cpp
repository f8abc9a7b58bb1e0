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

}  // namespace

QString LoadText(double load) {
    QString text = QString::number(load, 'f', 3);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

TargetWalk::TargetWalk(const RoutineItem& item, const PlateInventory* plates)
    : item_(item),
      plates_(plates && item.usesPlates && plates->unit == item.loadUnit ? plates : nullptr),
      load_(item.startLoad),
      reps_(item.rule == ProgressionRule::Double ? item.repMin : item.repMax) {}

void TargetWalk::add(ItemSession session) {
    if (item_.kind != ItemKind::Reps) {
        if (session.sets.empty()) return;
        fromLog_ = true;
        last_ = std::move(session);
        shown_.clear();
        for (std::size_t i = 0; i < last_.sets.size(); ++i) shown_.push_back(i);
        return;
    }
    const bool weighed = IsWeightUnit(item_.loadUnit);
    // The sets with a count and a load the item compares with, in kg.
    std::vector<std::pair<std::size_t, double>> sets;
    for (std::size_t i = 0; i < session.sets.size(); ++i) {
        const SessionSet& set = session.sets[i];
        if (!set.count || set.notANumber) continue;
        const std::optional<double> kg = weighed ? SetKg(set) : set.load.value_or(0.0);
        if (kg) sets.push_back({i, *kg});
    }
    if (sets.empty()) return;
    fromLog_ = true;
    raised_ = false;
    double heaviest = sets.front().second;
    for (const auto& [i, kg] : sets) heaviest = std::max(heaviest, kg);
    const double targetKg = weighed ? ToKg(load_, item_.loadUnit) : load_;
    // The working sets: those at the target or above; lighter ones are warm-ups, or a session
    // at less than planned, which never raises the load.
    std::vector<std::size_t> working;
    for (const auto& [i, kg] : sets)
        if (kg >= targetKg - kSameLoadKg) working.push_back(i);
    shown_ = working;
    if (shown_.empty())
        for (const auto& [i, kg] : sets)
            if (kg >= heaviest - kSameLoadKg) shown_.push_back(i);
    const qint64 top = item_.repMax;
    bool reached = static_cast<int>(working.size()) >= std::max(item_.workingSets, 1);
    qint64 fewest = top;
    for (std::size_t i : working) {
        reached = reached && *session.sets[i].count >= top;
        fewest = std::min(fewest, *session.sets[i].count);
    }
    last_ = std::move(session);
    if (item_.rule == ProgressionRule::None) return;
    if (reached) {
        const double raised = load_ + item_.step;
        load_ = plates_ ? RoundToLoadable(*plates_, raised, item_.rounding) : raised;
        raised_ = true;
        reps_ = item_.rule == ProgressionRule::Double ? item_.repMin : item_.repMax;
    } else if (item_.rule == ProgressionRule::Double && !working.empty()) {
        // Still climbing the range: one more than the weakest working set.
        reps_ = static_cast<int>(std::clamp<qint64>(fewest + 1, item_.repMin, item_.repMax));
    }
}

ItemTarget TargetWalk::result() const {
    ItemTarget target;
    target.loadUnit = item_.loadUnit;
    target.repMin = item_.repMin;
    target.repMax = item_.repMax;
    target.durationSec = item_.durationSec;
    target.fromLog = fromLog_;
    target.lastYmd = fromLog_ ? last_.ymd : QString();
    if (item_.kind != ItemKind::Reps) {
        target.load = item_.startLoad;
        target.reps = item_.repMax;
        if (!fromLog_) {
            target.reason = QStringLiteral("前回なし → 開始重量");
            return target;
        }
        QStringList sets;
        for (SessionSet set : last_.sets) {
            // The sessions hold numbers only: the texts are made for the few sets shown.
            if (set.load) set.loadText = LoadText(*set.load);
            sets.push_back(SetValuesText(set));
        }
        target.reason = QStringLiteral("前回 %1 → 据え置き").arg(sets.join(QStringLiteral(", ")));
        return target;
    }
    target.load = load_;
    target.raised = raised_;
    target.reps = item_.rule == ProgressionRule::Double ? reps_ : item_.repMax;
    std::vector<const SessionSet*> shown;
    for (std::size_t i : shown_) shown.push_back(&last_.sets[i]);
    if (!fromLog_)
        target.reason = QStringLiteral("前回なし → 開始重量");
    else if (raised_)
        target.reason = QStringLiteral("前回 %1 達成 → %2")
                            .arg(SetsText(shown), ValueText(target.load, target.loadUnit));
    else
        target.reason = QStringLiteral("前回 %1 → 据え置き").arg(SetsText(shown));
    return target;
}

ItemTarget ComputeTarget(const RoutineItem& item, const std::vector<ItemSession>& sessions,
                         const PlateInventory* plates) {
    TargetWalk walk(item, plates);
    for (const ItemSession& session : sessions) walk.add(session);
    return walk.result();
}

bool ForEachSession(sqlite3* db, const std::vector<SessionExercise>& exercises,
                    const QString& since, const QString& ymd, const SessionSink& sink) {
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
            sink(i, lastDayText, set);
        }
    }
    return s.ok();
}

bool ReadSessions(sqlite3* db, const std::vector<SessionExercise>& exercises, const QString& since,
                  const QString& ymd, std::vector<std::vector<ItemSession>>& sessions) {
    sessions.assign(exercises.size(), {});
    return ForEachSession(db, exercises, since, ymd,
                          [&](std::size_t i, const QString& day, const SessionSet& set) {
                              std::vector<ItemSession>& list = sessions[i];
                              if (list.empty() || list.back().ymd != day) list.push_back({day, {}});
                              list.back().sets.push_back(set);
                          });
}

bool ReadTargets(sqlite3* db, const std::vector<RoutineItem>& items,
                 const std::vector<const PlateInventory*>& plates, const QString& ymd,
                 std::vector<ItemTarget>& targets) {
    targets.clear();
    std::vector<SessionExercise> exercises;
    QString since;
    bool fromStart = items.empty();
    for (const RoutineItem& item : items) {
        exercises.push_back({item.grpCd, item.exerCd});
        if (item.since.isEmpty()) fromStart = true;
        if (since.isEmpty() || item.since < since) since = item.since;
    }
    if (fromStart) since.clear();
    std::vector<TargetWalk> walks;
    std::vector<ItemSession> current(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        walks.emplace_back(items[i], i < plates.size() ? plates[i] : nullptr);
    // Each exercise's sessions go to its walks day by day: only the day being read is held.
    const bool read = ForEachSession(db, exercises, since, ymd,
                                     [&](std::size_t i, const QString& day, const SessionSet& set) {
                                         if (!items[i].since.isEmpty() && day < items[i].since)
                                             return;
                                         if (current[i].ymd != day) {
                                             if (!current[i].sets.empty())
                                                 walks[i].add(std::move(current[i]));
                                             current[i] = {day, {}};
                                         }
                                         current[i].sets.push_back(set);
                                     });
    if (!read) return false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!current[i].sets.empty()) walks[i].add(std::move(current[i]));
        targets.push_back(walks[i].result());
    }
    return true;
}

ItemTarget ReadTarget(sqlite3* db, const RoutineItem& item, const QString& ymd,
                      const PlateInventory* plates) {
    std::vector<ItemTarget> targets;
    if (!ReadTargets(db, {item}, {plates}, ymd, targets)) {
        ItemTarget failed;
        failed.ok = false;
        return failed;
    }
    return targets.front();
}

}  // namespace sorvenka
