#include "csv/import_masters.h"

#include <sqlite3.h>

#include <algorithm>

#include "csv/exercise_names.h"
#include "db/free_code.h"
#include "db/prepared_statement.h"
#include "masters/master_inserts.h"
#include "masters/master_statements.h"
#include "masters/rest_day.h"

namespace sorvenka {

namespace {

QString PairKey(const QString& grp, const QString& exer) {
    return grp + QLatin1Char('\t') + exer;
}

}  // namespace

bool ImportMasters::load(QString& message) {
    PreparedStatement groups(db_,
                             "select grp_cd, grp_name, order_id from m_grp "
                             "order by order_id, grp_cd");
    PreparedStatement exercises(db_,
                                "select e.grp_cd, e.exer_cd, e.exer_name, e.order_id "
                                "from m_exer e left join m_grp g on g.grp_cd = e.grp_cd "
                                "order by e.status = 1 desc, g.order_id, e.order_id");
    PreparedStatement sweat(db_, "select sweat_cd from m_sweat order by order_id limit 1");
    PreparedStatement unitsT(db_, "select unit_name, order_id from m_unit_target");
    PreparedStatement units(db_, "select unit_name, order_id from m_unit");
    if (!groups.ok() || !exercises.ok() || !sweat.ok() || !unitsT.ok() || !units.ok()) {
        message = QStringLiteral("マスタを読めませんでした。");
        return false;
    }
    while (groups.step() == SQLITE_ROW) {
        groups_.push_back({groups.columnText(0), groups.columnText(1)});
        groupOrder_ = std::max(groupOrder_, groups.columnInt(2));
    }
    while (exercises.step() == SQLITE_ROW) {
        const QString grp = exercises.columnText(0), exer = exercises.columnText(1);
        const QString name = exercises.columnText(2);
        names_.insert(PairKey(grp, exer), name);
        codes_[grp].insert(exer);
        exerciseOrder_[grp] = std::max(exerciseOrder_.value(grp), exercises.columnInt(3));
        // Other loggers' sets never go to the rest day, whatever its name.
        if (IsRestDay(grp, exer)) continue;
        if (!byName_.contains(name)) byName_.insert(name, {grp, exer});
        const QString key = ExerciseNameKey(name);
        if (!byKey_.contains(key)) byKey_.insert(key, {grp, exer});
        if (!byKeyInGroup_.contains(PairKey(grp, key)))
            byKeyInGroup_.insert(PairKey(grp, key), exer);
    }
    firstSweat_ = sweat.step() == SQLITE_ROW ? sweat.columnText(0) : QStringLiteral("0");
    while (unitsT.step() == SQLITE_ROW) {
        unitsTarget_ << unitsT.columnText(0);
        unitTargetOrder_ = std::max(unitTargetOrder_, unitsT.columnInt(1));
    }
    while (units.step() == SQLITE_ROW) {
        units_ << units.columnText(0);
        unitOrder_ = std::max(unitOrder_, units.columnInt(1));
    }
    return true;
}

const ImportMasters::Group* ImportMasters::group(const QString& code) const {
    for (const Group& g : groups_)
        if (g.code == code) return &g;
    return nullptr;
}

QString ImportMasters::groupForCategory(const QString& category) const {
    const QString key = category.trimmed().toLower();
    if (key.isEmpty()) return QString();
    for (const Group& g : groups_)
        if (g.name.trimmed().toLower() == key) return g.code;
    const BodyPart part = BodyPartOfCategory(category);
    return part == BodyPart::Unknown ? QString() : groupNamed(BodyPartGroupName(part));
}

QString ImportMasters::groupNamed(const QString& name) const {
    for (const Group& g : groups_)
        if (g.name == name) return g.code;
    return QString();
}

bool ImportMasters::exerciseByKey(const QString& name, QString& grp, QString& exer) const {
    auto found = byName_.constFind(name);
    if (found == byName_.constEnd()) {
        found = byKey_.constFind(ExerciseNameKey(name));
        if (found == byKey_.constEnd()) return false;
    }
    grp = found->first, exer = found->second;
    return true;
}

QString ImportMasters::exerciseInGroup(const QString& grp, const QString& name) const {
    return byKeyInGroup_.value(PairKey(grp, ExerciseNameKey(name)));
}

QString ImportMasters::exerciseName(const QString& grp, const QString& exer) const {
    return names_.value(PairKey(grp, exer));
}

QString ImportMasters::nextFreeCode(const QString& grp, bool& ok) {
    ok = true;
    auto used = usedCodes_.find(grp);
    if (used == usedCodes_.end()) {
        QSet<QString> codes = UsedExerciseCodes(db_, grp, ok);
        if (!ok) return QString();
        used = usedCodes_.insert(grp, codes + codes_.value(grp));
    }
    return NextFreeCode(*used);
}

bool ImportMasters::addGroup(const QString& code, const QString& name) {
    if (!InsertGroupRow(db_, code, name, groupOrder_ + 1)) return false;
    groups_.push_back({code, name});
    ++groupOrder_;
    return true;
}

bool ImportMasters::addExercise(const QString& grp, const QString& exer, const QString& name) {
    const qint64 order = exerciseOrder_.value(grp) + 1;
    if (!InsertExerciseRow(db_, {grp, exer}, name, order)) return false;
    exerciseOrder_[grp] = order;
    noteExercise(grp, exer, name);
    return true;
}

void ImportMasters::noteExercise(const QString& grp, const QString& exer, const QString& name) {
    codes_[grp].insert(exer);
    if (const auto used = usedCodes_.find(grp); used != usedCodes_.end()) used->insert(exer);
    if (!name.isEmpty() && !byName_.contains(name)) byName_.insert(name, {grp, exer});
    if (const QString key = ExerciseNameKey(name); !key.isEmpty()) {
        if (!byKey_.contains(key)) byKey_.insert(key, {grp, exer});
        if (!byKeyInGroup_.contains(PairKey(grp, key)))
            byKeyInGroup_.insert(PairKey(grp, key), exer);
    }
    names_.insert(PairKey(grp, exer), name);
}

bool ImportMasters::unitAddable(bool target, const QString& name) const {
    if (name.isEmpty() || name.contains(QLatin1Char('\''))) return false;
    for (const QString& existing : target ? unitsTarget_ : units_)
        if (existing.startsWith(name)) return false;
    return true;
}

bool ImportMasters::addUnit(bool target, const QString& name) {
    PreparedStatement insert(db_, target
                                      ? "insert into m_unit_target (unit_name, status, order_id) "
                                        "values (?1, 1, ?2)"
                                      : "insert into m_unit (unit_name, status, order_id) "
                                        "values (?1, 1, ?2)");
    qint64& order = target ? unitTargetOrder_ : unitOrder_;
    if (!insert.ok()) return false;
    insert.bindText(1, name);
    insert.bindInt(2, order + 1);
    if (insert.step() != SQLITE_DONE) return false;
    ++order;
    (target ? unitsTarget_ : units_) << name;
    return true;
}

}  // namespace sorvenka
