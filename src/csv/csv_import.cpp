#include "csv/csv_import.h"

#include <sqlite3.h>

#include <QHash>
#include <QSet>
#include <set>
#include <string>
#include <string_view>

#include "backups/import_copy.h"
#include "common/platform.h"
#include "csv/csv_mapping.h"
#include "csv/exercise_names.h"
#include "db/database.h"
#include "db/free_code.h"
#include "db/prepared_statement.h"
#include "masters/master_names.h"
#include "masters/rest_day.h"

namespace sorvenka {

namespace {

// yyyymmdd of a day text yyyy/mm/dd, a small key for counting days.
int DayNumber(const QByteArray& ymd) {
    int number = 0;
    for (char c : ymd)
        if (c >= '0' && c <= '9') number = number * 10 + (c - '0');
    return number;
}

struct Group {
    QString code, name;
};

// Loads a lifter in pounds puts on a bar: the bar and pairs of 45 lb plates, and halves.
bool IsPoundsLoad(double load) {
    for (const double typical : {45.0, 95.0, 135.0, 185.0, 225.0, 275.0, 315.0, 365.0, 405.0})
        if (load == typical) return true;
    return false;
}

QString PairKey(const QString& grp, const QString& exer) {
    return grp + QLatin1Char('\t') + exer;
}

// The masters as they stand, and as this import extends them.
class Masters {
  public:
    bool load(sqlite3* db, QString& message) {
        PreparedStatement groups(db,
                                 "select grp_cd, grp_name, order_id from m_grp "
                                 "order by order_id, grp_cd");
        PreparedStatement exercises(db,
                                    "select e.grp_cd, e.exer_cd, e.exer_name, e.order_id "
                                    "from m_exer e left join m_grp g on g.grp_cd = e.grp_cd "
                                    "order by e.status = 1 desc, g.order_id, e.order_id");
        PreparedStatement sweat(db, "select sweat_cd from m_sweat order by order_id limit 1");
        PreparedStatement unitsT(db, "select unit_name, order_id from m_unit_target");
        PreparedStatement units(db, "select unit_name, order_id from m_unit");
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

    const std::vector<Group>& groups() const { return groups_; }
    const Group* group(const QString& code) const {
        for (const Group& g : groups_)
            if (g.code == code) return &g;
        return nullptr;
    }
    // The group of a FitNotes category: a group of that name, else the group of its body part.
    QString groupForCategory(const QString& category) const {
        const QString key = category.trimmed().toLower();
        if (key.isEmpty()) return QString();
        for (const Group& g : groups_)
            if (g.name.trimmed().toLower() == key) return g.code;
        const BodyPart part = BodyPartOfCategory(category);
        return part == BodyPart::Unknown ? QString() : groupNamed(BodyPartGroupName(part));
    }
    QString groupNamed(const QString& name) const {
        for (const Group& g : groups_)
            if (g.name == name) return g.code;
        return QString();
    }
    bool exerciseByName(const QString& name, QString& grp, QString& exer) const {
        const auto found = byName_.find(name);
        if (found == byName_.end()) return false;
        grp = found->first, exer = found->second;
        return true;
    }
    // An exercise whose name is the same once case, blanks and width are set aside.
    bool exerciseByKey(const QString& name, QString& grp, QString& exer) const {
        if (exerciseByName(name, grp, exer)) return true;
        const auto found = byKey_.find(ExerciseNameKey(name));
        if (found == byKey_.end()) return false;
        grp = found->first, exer = found->second;
        return true;
    }
    bool hasExercise(const QString& grp, const QString& exer) const {
        return codes_.value(grp).contains(exer);
    }
    // The exercise of the group with the same name once case, blanks and width are set aside.
    QString exerciseInGroup(const QString& grp, const QString& name) const {
        return byKeyInGroup_.value(PairKey(grp, ExerciseNameKey(name)));
    }
    QString exerciseName(const QString& grp, const QString& exer) const {
        return names_.value(PairKey(grp, exer));
    }
    // Two characters always: the numbers first, then letters and digits.
    QString nextFreeCode(const QString& grp) const { return NextFreeCode(codes_.value(grp)); }
    void addGroup(const QString& code, const QString& name) {
        groups_.push_back({code, name});
        ++groupOrder_;
    }
    qint64 groupOrder() const { return groupOrder_; }
    qint64 addExercise(const QString& grp, const QString& exer, const QString& name) {
        codes_[grp].insert(exer);
        if (!name.isEmpty() && !byName_.contains(name)) byName_.insert(name, {grp, exer});
        if (const QString key = ExerciseNameKey(name); !key.isEmpty()) {
            if (!byKey_.contains(key)) byKey_.insert(key, {grp, exer});
            if (!byKeyInGroup_.contains(PairKey(grp, key)))
                byKeyInGroup_.insert(PairKey(grp, key), exer);
        }
        names_.insert(PairKey(grp, exer), name);
        return ++exerciseOrder_[grp];
    }
    const QString& firstSweat() const { return firstSweat_; }

    // A unit may be added at the end of its list only when it begins no name before it.
    bool unitMissing(bool target, const QString& name) const {
        return !(target ? unitsTarget_ : units_).contains(name);
    }
    bool unitAddable(bool target, const QString& name) const {
        if (name.isEmpty() || name.contains(QLatin1Char('\''))) return false;
        for (const QString& existing : target ? unitsTarget_ : units_)
            if (existing.startsWith(name)) return false;
        return true;
    }
    qint64 addUnit(bool target, const QString& name) {
        (target ? unitsTarget_ : units_) << name;
        return target ? ++unitTargetOrder_ : ++unitOrder_;
    }

  private:
    std::vector<Group> groups_;
    qint64 groupOrder_ = 0;
    QHash<QString, std::pair<QString, QString>> byName_, byKey_;
    QHash<QString, QString> names_;         // by PairKey
    QHash<QString, QString> byKeyInGroup_;  // the code by group and name key
    QHash<QString, QSet<QString>> codes_;
    QHash<QString, qint64> exerciseOrder_;
    QString firstSweat_;
    QStringList unitsTarget_, units_;
    qint64 unitTargetOrder_ = 0, unitOrder_ = 0;
};

// A copy that shares no bytes with the row it came from.
QByteArray OwnCopy(const QByteArray& bytes) {
    return QByteArray(bytes.constData(), bytes.size());
}

// One day and exercise as the import meets it: what was stored before, and what it added.
struct StoredGroup {
    QByteArray ymd;
    qint64 count = 0;
    qint64 maxSetNum = 0;
    qint64 added = 0;
    QList<qint64> addedSetNums;  // Sorvenka's own rows: a key twice in the file
    QHash<size_t, int> seen;     // other loggers' rows: identical sets met so far
};

// The groups met lately, in two generations: memory stays bounded however long the file,
// while the groups of the days at hand are kept. A group met again after it was dropped is
// read anew and then counts this import's sets as stored; files list a day's sets together,
// so only a day spread over thousands of other groups could meet that.
class GroupCache {
  public:
    GroupCache() { recent_.reserve(kGeneration); }
    // Whether a group of the day may have been dropped: its sets then must be read anew.
    bool mayHaveDropped(const QByteArray& ymd) const {
        return !droppedFirst_.isEmpty() && ymd >= droppedFirst_ && ymd <= droppedLast_;
    }
    StoredGroup* find(const QByteArray& key) {
        // A key past every key kept so far is new: a file in order of day, group and exercise
        // meets its groups so, and needs no look-up for them.
        if (key > greatestKey_) return nullptr;
        if (auto found = recent_.find(key); found != recent_.end()) return &*found;
        auto older = older_.find(key);
        if (older == older_.end()) return nullptr;
        StoredGroup group = std::move(*older);
        older_.erase(older);
        return &insert(key, std::move(group));
    }
    StoredGroup& insert(const QByteArray& key, StoredGroup group) {
        if (recent_.size() >= kGeneration) {
            for (const StoredGroup& dropped : older_) {
                if (droppedFirst_.isEmpty() || dropped.ymd < droppedFirst_)
                    droppedFirst_ = dropped.ymd;
                if (droppedLast_.isEmpty() || dropped.ymd > droppedLast_)
                    droppedLast_ = dropped.ymd;
            }
            older_ = std::move(recent_);
            recent_.clear();
            recent_.reserve(kGeneration);  // filled without growing step by step
        }
        if (key > greatestKey_) greatestKey_ = key;
        return *recent_.insert(key, std::move(group));
    }

  private:
    static constexpr qsizetype kGeneration = 4096;
    QHash<QByteArray, StoredGroup> recent_, older_;
    QByteArray droppedFirst_, droppedLast_;
    QByteArray greatestKey_;  // the greatest key ever kept
};

class Importer {
  public:
    Importer(sqlite3* db, const ImportOptions& options, ImportSummary& summary)
        : db_(db),
          options_(options),
          summary_(summary),
          insert_(db,
                  "insert into t_exer (ymd, grp_cd, exer_cd, set_num, hms_sta, hms_end, target, "
                  "unit_t, cnt, unit, cnt_min, cnt_sec, sweat_cd, comment) "
                  "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)"),
          storedGroup_(db,
                       "select count(*), coalesce(max(set_num), 0) from t_exer "
                       "where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3"),
          keyExists_(db,
                     "select 1 from t_exer "
                     "where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3 and set_num = ?4"),
          sameSets_(db,
                    "select count(*) from t_exer "
                    "where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3 and set_num <= ?4 "
                    "and target is ?5 and unit_t is ?6 and cnt is ?7 and unit is ?8 "
                    "and cnt_min is ?9 and cnt_sec is ?10 and comment is ?11"),
          heldSet_(db,
                   "select 1 from t_exer where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3 "
                   "and target is ?4 and unit_t is ?5 and cnt is ?6 and cnt_min is ?7 "
                   "and cnt_sec is ?8 limit 1"),
          insertGroup_(db,
                       "insert into m_grp (grp_cd, grp_name, status, order_id) "
                       "values (?1, ?2, 1, ?3)"),
          insertExercise_(db,
                          "insert into m_exer (grp_cd, exer_cd, exer_name, status, order_id) "
                          "values (?1, ?2, ?3, 1, ?4)"),
          insertUnitTarget_(db,
                            "insert into m_unit_target (unit_name, status, order_id) "
                            "values (?1, 1, ?2)"),
          insertUnit_(db, "insert into m_unit (unit_name, status, order_id) values (?1, 1, ?2)") {}

    bool prepared(QString& message) {
        for (const PreparedStatement* s :
             {&insert_, &storedGroup_, &keyExists_, &sameSets_, &heldSet_, &insertGroup_,
              &insertExercise_, &insertUnitTarget_, &insertUnit_}) {
            if (!s->ok()) {
                message = QStringLiteral("データベースの表が読み込みに合いません（%1）。")
                              .arg(QString::fromUtf8(sqlite3_errmsg(db_)));
                return false;
            }
        }
        if (!masters_.load(db_, message)) return false;
        PreparedStatement range(db_, "select min(ymd), max(ymd) from t_exer");
        if (range.step() == SQLITE_ROW && range.columnType(0) != SQLITE_NULL) {
            firstDay_ = range.columnText(0).toUtf8();
            lastDay_ = range.columnText(1).toUtf8();
        }
        if (!options_.group.isEmpty() && !masters_.group(options_.group)) {
            message = QStringLiteral("グループ「%1」はマスタにありません。").arg(options_.group);
            return false;
        }
        if (masters_.groups().empty()) {
            message = QStringLiteral("グループのマスタが空です。");
            return false;
        }
        if (!options_.loadUnit.isEmpty() && options_.loadUnit != QLatin1String("kg") &&
            options_.loadUnit != QLatin1String("lb")) {
            message = QStringLiteral("重量の単位は kg か lb です（%1）。").arg(options_.loadUnit);
            return false;
        }
        if (!options_.distanceUnit.isEmpty() && options_.distanceUnit != QLatin1String("km") &&
            options_.distanceUnit != QLatin1String("mi")) {
            message =
                QStringLiteral("距離の単位は km か mi です（%1）。").arg(options_.distanceUnit);
            return false;
        }
        if (!ReadSavedNameChoices(db_, savedChoices_)) {
            message = QStringLiteral("以前の読み込みで選んだ種目の対応を読めませんでした。");
            return false;
        }
        return true;
    }

    bool header(const CsvRow& row, char delimiter) {
        delimiter_ = delimiter;
        QString reason;
        if (!header_.read(row, delimiter, reason)) return fail(row.line, reason);
        summary_.format = header_.format();
        loadUnitMissing_ = header_.format() != CsvFormat::Sorvenka && !header_.loadUnitGiven();
        // Until a unit is given the loads are read as kilograms, for the preview's figures.
        assumedUnit_ = loadUnitMissing_ && !options_.loadUnit.isEmpty() ? options_.loadUnit
                                                                        : QStringLiteral("kg");
        distanceUnitMissing_ =
            header_.format() != CsvFormat::Sorvenka && !header_.distanceUnitGiven();
        assumedDistanceUnit_ = distanceUnitMissing_ && !options_.distanceUnit.isEmpty()
                                   ? options_.distanceUnit
                                   : QStringLiteral("km");
        return true;
    }

    // One data row; false only when the import cannot go on.
    bool row(const CsvRow& row) {
        QString reason;
        if (!row.refusal.isEmpty()) return refuse(row.line, row.refusal);
        if (!CheckFieldCount(header_, row, reason)) {
            if (!MendSplitExerciseName(header_, row, delimiter_, mended_))
                return refuse(row.line, reason);
            ++summary_.mendedRows;
            return peerRow(mended_);
        }
        if (header_.format() == CsvFormat::Sorvenka) {
            if (!MapOwnRow(header_, row, own_, reason)) return refuse(row.line, reason);
            const bool goOn = ownSet();
            // Nothing keeps the row's fields once it is written, so the reader can fill them
            // again for the next row.
            insert_.reset();
            keyExists_.reset();
            own_ = OwnSet();
            return goOn;
        }
        return peerRow(row);
    }

    bool peerRow(const CsvRow& row) {
        QString reason;
        if (!MapPeerRow(header_, row, delimiter_, peer_, reason, assumedUnit_,
                        assumedDistanceUnit_))
            return refuse(row.line, reason);
        // A set listed but never done is no set: the entry window would refuse it too.
        if (peer_.nothingDone) {
            ++summary_.skippedEmptySets;
            return true;
        }
        if (peer_.assisted) ++summary_.assistedSets;
        if (distanceUnitMissing_ && !distancesSeen_) distancesSeen_ = holdsDistance(row);
        if (peer_.unitT == QLatin1String("lb") || peer_.unitT == QLatin1String("kg"))
            ++(peer_.unitT == QLatin1String("lb") ? poundSets_ : kilogramSets_);
        if (loadUnitMissing_ && peer_.unitT == assumedUnit_ && peer_.target > 0) {
            ++loads_;
            if (IsPoundsLoad(peer_.target)) ++poundsLoads_;
            heaviest_ = std::max(heaviest_, peer_.target);
        }
        return peerSet();
    }

    // Adds the units the new sets name; the last writes before the commit.
    bool finish() {
        for (const auto& [target, name] : unitsSeen_) {
            if (!masters_.unitMissing(target, name) || !masters_.unitAddable(target, name))
                continue;
            PreparedStatement& s = target ? insertUnitTarget_ : insertUnit_;
            s.reset();
            s.bindText(1, name);
            s.bindInt(2, masters_.addUnit(target, name));
            if (!done(s.step())) return false;
            summary_.newUnits << name;
        }
        summary_.days = static_cast<int>(days_.size());
        summary_.existingExercises = static_cast<int>(existingExercises_.size());
        if (loadUnitMissing_) {
            summary_.loadUnitMissing = true;
            summary_.loadUnit = options_.loadUnit;
            // A heaviest load past 250 or many loads of 45 lb plates: pounds.
            const bool pounds = heaviest_ > 250 || (loads_ > 0 && poundsLoads_ * 4 >= loads_);
            summary_.proposedLoadUnit = pounds ? QStringLiteral("lb") : QStringLiteral("kg");
            if (options_.loadUnit.isEmpty())
                fail(0, QStringLiteral("ファイルに重量の単位がありません。単位を指定してください"
                                       "（--unit kg または --unit lb。重量から見ると %1）。")
                            .arg(summary_.proposedLoadUnit));
        }
        // A file whose distances have no unit: the unit of its loads suggests one.
        if (distanceUnitMissing_ && distancesSeen_) {
            summary_.distanceUnitMissing = true;
            summary_.distanceUnit = options_.distanceUnit;
            const QString loadUnit =
                loadUnitMissing_
                    ? (options_.loadUnit.isEmpty() ? summary_.proposedLoadUnit : options_.loadUnit)
                    : (poundSets_ > kilogramSets_ ? QStringLiteral("lb") : QStringLiteral("kg"));
            summary_.proposedDistanceUnit =
                loadUnit == QLatin1String("lb") ? QStringLiteral("mi") : QStringLiteral("km");
            if (options_.distanceUnit.isEmpty())
                fail(0, QStringLiteral("ファイルに距離の単位がありません。単位を指定してください"
                                       "（--distance-unit km または --distance-unit mi。"
                                       "重量の単位から見ると %1）。")
                            .arg(summary_.proposedDistanceUnit));
        }
        // Both units are proposed before a missing one stops the import.
        if (!summary_.failure.isEmpty()) return false;
        // Where every name's sets went is kept for the next import of the same history: the
        // masters' changes carry it along, so renaming, moving or merging the exercise never
        // makes that import write the sets again.
        for (const NameUse& use : summary_.names) {
            if (use.target.exerCd.isEmpty()) continue;
            if (!SaveNameChoice(db_, use.name, use.target))
                return fail(0, QStringLiteral("種目の対応を保存できませんでした。"));
        }
        return true;
    }

    bool fail(qint64 line, const QString& reason) {
        if (summary_.failure.isEmpty()) {
            summary_.failure = reason;
            summary_.failureLine = line;
        }
        return false;
    }

  private:
    bool refuse(qint64 line, const QString& reason) {
        if (static_cast<int>(summary_.refused.size()) < ImportSummary::kMaxListedRefusals)
            summary_.refused.push_back({line, reason});
        ++summary_.refusedCount;
        return true;
    }

    bool done(int code) {
        if (code == SQLITE_DONE || code == SQLITE_ROW) return true;
        return fail(0, QStringLiteral("データベースに書き込めませんでした（%1）。")
                           .arg(QString::fromUtf8(sqlite3_errstr(code))));
    }

    StoredGroup& storedGroup(const QByteArray& ymd, const QByteArray& grp, const QByteArray& exer) {
        // The group of the row before, when it is the same: nothing was added to the cache
        // since, so the pointer still holds.
        probe_.clear();
        probe_.append(ymd.constData(), ymd.size()).append(1, '\t');
        probe_.append(grp.constData(), grp.size()).append(1, '\t');
        probe_.append(exer.constData(), exer.size());
        if (lastGroup_ && probe_ == lastGroupKey_) return *lastGroup_;
        std::swap(probe_, lastGroupKey_);
        lastGroup_ = &findOrReadGroup(ymd, grp, exer);
        return *lastGroup_;
    }

    StoredGroup& findOrReadGroup(const QByteArray& ymd, const QByteArray& grp,
                                 const QByteArray& exer) {
        QByteArray key;
        key.reserve(ymd.size() + grp.size() + exer.size() + 2);
        key.append(ymd).append('\t').append(grp).append('\t').append(exer);
        if (StoredGroup* found = groups_.find(key)) return *found;
        // A day outside the stored ones holds nothing, unless this import wrote to it in a
        // group since dropped from the cache: no need to ask.
        const bool mayHoldSets = (!firstDay_.isEmpty() && ymd >= firstDay_ && ymd <= lastDay_) ||
                                 groups_.mayHaveDropped(ymd);
        StoredGroup group;
        group.ymd = OwnCopy(ymd);
        if (!mayHoldSets) return groups_.insert(key, std::move(group));
        storedGroup_.reset();
        storedGroup_.bindBytes(1, ymd);
        storedGroup_.bindBytes(2, grp);
        storedGroup_.bindBytes(3, exer);
        if (storedGroup_.step() == SQLITE_ROW) {
            group.count = storedGroup_.columnInt(0);
            group.maxSetNum = storedGroup_.columnInt(1);
        }
        return groups_.insert(key, std::move(group));
    }

    // The masters an own row needs: its group and exercise, added when missing. Rows of one
    // exercise come together, so the same pair as the row before needs no look-up.
    bool ownMasters(const QByteArray& grpBytes, const QByteArray& exerBytes) {
        const std::string_view grpView(grpBytes.constData(), grpBytes.size());
        const std::string_view exerView(exerBytes.constData(), exerBytes.size());
        if (havePair_ && grpView == lastGrp_ && exerView == lastExer_) return true;
        havePair_ = true;
        lastGrp_.assign(grpView), lastExer_.assign(exerView);
        // A pair met earlier in the file has its group and exercise by now.
        if (!checkedPairs_.emplace(lastGrp_, lastExer_).second) return true;
        const QString grp = QString::fromUtf8(grpBytes), exer = QString::fromUtf8(exerBytes);
        if (!masters_.group(grp)) {
            const QString given = FieldText(own_.grpName());
            const QString name = given.isEmpty() ? grp : given;
            insertGroup_.reset();
            insertGroup_.bindText(1, grp);
            insertGroup_.bindText(2, name);
            insertGroup_.bindInt(3, masters_.groupOrder() + 1);
            if (!done(insertGroup_.step())) return false;
            masters_.addGroup(grp, name);
        }
        if (!masters_.hasExercise(grp, exer)) {
            const QString given = FieldText(own_.exerName());
            const QString name = given.isEmpty() ? exer : given;
            insertExercise_.reset();
            insertExercise_.bindText(1, grp);
            insertExercise_.bindText(2, exer);
            insertExercise_.bindText(3, name);
            insertExercise_.bindInt(4, masters_.addExercise(grp, exer, name));
            if (!done(insertExercise_.step())) return false;
            summary_.newExercises.push_back({name, grp, masters_.group(grp)->name, exer, name});
            newPairs_.insert(grp + exer);
        } else if (!newPairs_.contains(grp + exer)) {
            existingExercises_.insert(grp + exer);
        }
        return true;
    }

    bool ownSet() {
        const QByteArray& grp = own_.grpCd();
        const QByteArray& exer = own_.exerCd();
        if (!ownMasters(grp, exer)) return false;

        ++summary_.sets;
        // Rows of a day come together: the set of days is asked only when the day changes.
        if (const int day = DayNumber(own_.ymd()); day != lastOwnDay_)
            days_.insert(lastOwnDay_ = day);
        StoredGroup& group = storedGroup(own_.ymd(), grp, exer);
        const qint64 setNum = own_.whole[3];
        bool present = group.addedSetNums.contains(setNum);
        if (!present && group.count > 0) {
            keyExists_.reset();
            for (int i = 0; i < 4; ++i) keyExists_.bindBytes(i + 1, own_.value(i));
            present = keyExists_.step() == SQLITE_ROW;
        }
        if (present) {
            ++summary_.presentSets;
            return true;
        }
        insert_.reset();
        // Numbers go in as numbers, the kinds the columns' affinities give them; texts (an
        // empty text in a number column too) as read.
        for (int i = 0; i < 14; ++i) {
            const CsvField& value = own_.value(i);
            if (value && !value->isEmpty() && (i == 3 || i == 8 || i == 10 || i == 11))
                insert_.bindInt(i + 1, own_.whole[i]);
            else if (value && !value->isEmpty() && i == 6)
                insert_.bindDouble(i + 1, own_.target);
            else
                insert_.bindBorrowed(i + 1, value);  // own_ holds the row until it is reset
        }
        if (!done(insert_.step())) return false;
        group.addedSetNums.append(setNum);
        ++summary_.newSets;
        return true;
    }

    enum class Exercise { Known, OutOfCodes, WriteFailed };

    // Where a name's sets go when the caller gave nothing: the choice kept from an earlier
    // import, an exercise of the same name, one of the Japanese name of a common exercise,
    // else a new exercise in the group of its category or body part.
    ExerciseTarget propose(const QString& name, const QString& category, NameMatch& match) {
        ExerciseTarget target;
        if (const ExerciseTarget* saved = savedChoice(name)) {
            match = NameMatch::Saved;
            return *saved;
        }
        if (masters_.exerciseByKey(name, target.grpCd, target.exerCd)) {
            match = NameMatch::SameName;
            return target;
        }
        const CommonExercise common = LookUpCommonExercise(name);
        if (!common.japaneseName.isEmpty() &&
            masters_.exerciseByKey(common.japaneseName, target.grpCd, target.exerCd)) {
            match = NameMatch::CommonName;
            return target;
        }
        match = NameMatch::New;
        target.exerCd.clear();
        target.grpCd = options_.group;
        if (target.grpCd.isEmpty()) target.grpCd = masters_.groupForCategory(category);
        if (target.grpCd.isEmpty() && common.part != BodyPart::Unknown)
            target.grpCd = masters_.groupNamed(BodyPartGroupName(common.part));
        if (target.grpCd.isEmpty())
            target.grpCd = masters_.groupNamed(BodyPartGroupName(BodyPart::Other));
        if (target.grpCd.isEmpty()) target.grpCd = masters_.groups().front().code;
        return target;
    }

    // Whether the row names a distance above zero (the set's figures may have put it in the
    // load or the comment).
    bool holdsDistance(const CsvRow& row) const {
        const int column = header_.peer(PeerColumn::Distance);
        if (column < 0 || column >= static_cast<int>(row.fields.size())) return false;
        QString text = FieldText(row.fields[column]).trimmed();
        if (delimiter_ == ';') text.replace(QLatin1Char(','), QLatin1Char('.'));
        return text.toDouble() > 0;
    }

    // Where an earlier import wrote the name's sets, when that exercise is still there.
    const ExerciseTarget* savedChoice(const QString& name) const {
        const auto saved = savedChoices_.constFind(name);
        if (saved == savedChoices_.constEnd() ||
            !masters_.hasExercise(saved->grpCd, saved->exerCd) ||
            IsRestDay(saved->grpCd, saved->exerCd))
            return nullptr;
        return &*saved;
    }

    // Whether the exercise has a set of the day like the row at hand (its comment aside: the
    // workout's note joins it later).
    bool holdsSet(const ExerciseTarget& exercise) {
        heldSet_.reset();
        heldSet_.bindText(1, peer_.ymd);
        heldSet_.bindText(2, exercise.grpCd);
        heldSet_.bindText(3, exercise.exerCd);
        heldSet_.bindDouble(4, peer_.target);
        heldSet_.bindText(5, peer_.unitT);
        bindOptional(heldSet_, 6, peer_.cnt);
        bindOptional(heldSet_, 7, peer_.cntMin);
        bindOptional(heldSet_, 8, peer_.cntSec);
        return heldSet_.step() == SQLITE_ROW;
    }

    // The name's place in the list of names, its destination decided (and a new exercise
    // added) when it is first met; -1 when the import cannot go on.
    int nameUse(Exercise& outcome) {
        outcome = Exercise::Known;
        if (const auto found = nameIndex_.constFind(peer_.exerciseName);
            found != nameIndex_.constEnd()) {
            if (summary_.names[*found].target.exerCd.isEmpty()) outcome = Exercise::OutOfCodes;
            return *found;
        }
        NameUse use;
        use.name = peer_.exerciseName;
        use.category = peer_.category;
        if (const auto given = options_.mapping.constFind(use.name);
            given != options_.mapping.constEnd()) {
            use.match = NameMatch::Given;
            use.target = *given;
            const bool known = use.target.isNew()
                                   ? masters_.group(use.target.grpCd) != nullptr
                                   : masters_.hasExercise(use.target.grpCd, use.target.exerCd);
            if (!known) {
                fail(0, QStringLiteral(
                            "種目「%1」の行き先（グループ %2、種目 %3）はマスタにありません。")
                            .arg(use.name, use.target.grpCd, use.target.exerCd));
                outcome = Exercise::WriteFailed;
                return -1;
            }
            if (IsRestDay(use.target.grpCd, use.target.exerCd)) {
                fail(0, QStringLiteral("種目「%1」: ").arg(use.name) +
                            RestDayRefusal(RestDayChange::ImportInto));
                outcome = Exercise::WriteFailed;
                return -1;
            }
            // "New" for a name imported before: the exercise its sets went to then takes
            // them when it is in that group, or holds this set already (it was moved or
            // merged since), so the same choice twice adds nothing. Otherwise the user chose
            // anew.
            if (use.target.isNew()) {
                const ExerciseTarget* saved = savedChoice(use.name);
                if (saved && (saved->grpCd == use.target.grpCd || holdsSet(*saved)))
                    use.target = *saved;
                else
                    use.target.exerCd = masters_.exerciseInGroup(use.target.grpCd, use.name);
            }
        } else {
            use.target = propose(use.name, use.category, use.match);
        }
        // The name the user gave the new exercise (a Japanese one, say); a name its group has
        // already sends the sets to that exercise.
        QString newName = use.name;
        if (use.target.isNew()) {
            const QString typed = options_.newNames.value(use.name);
            QString message;
            if (!typed.trimmed().isEmpty() && !CheckedMasterName(typed, newName, message)) {
                fail(0, QStringLiteral("種目「%1」の新しい名前: %2").arg(use.name, message));
                outcome = Exercise::WriteFailed;
                return -1;
            }
            if (newName != use.name) {
                use.target.exerCd = masters_.exerciseInGroup(use.target.grpCd, newName);
                if (!use.target.isNew()) use.match = NameMatch::SameName;
            }
        }
        if (use.target.isNew()) {
            const QString grp = use.target.grpCd;
            const QString exer = masters_.nextFreeCode(grp);
            const Group* group = masters_.group(grp);
            summary_.newExercises.push_back({newName, grp, group->name, exer, use.name});
            if (exer.isEmpty()) {
                fail(0, QStringLiteral("グループ「%1 %2」に空いている種目コードがありません。")
                            .arg(grp, group->name));
                outcome = Exercise::OutOfCodes;
            } else {
                insertExercise_.reset();
                insertExercise_.bindText(1, grp);
                insertExercise_.bindText(2, exer);
                insertExercise_.bindText(3, newName);
                insertExercise_.bindInt(4, masters_.addExercise(grp, exer, newName));
                if (!done(insertExercise_.step())) {
                    outcome = Exercise::WriteFailed;
                    return -1;
                }
                newPairs_.insert(grp + exer);
                use.target.exerCd = exer;
                use.created = true;
            }
        } else if (!newPairs_.contains(use.target.grpCd + use.target.exerCd)) {
            existingExercises_.insert(use.target.grpCd + use.target.exerCd);
        }
        use.exerName = masters_.exerciseName(use.target.grpCd, use.target.exerCd);
        if (const Group* group = masters_.group(use.target.grpCd)) use.grpName = group->name;
        const int index = static_cast<int>(summary_.names.size());
        summary_.names.push_back(use);
        nameIndex_.insert(use.name, index);
        return index;
    }

    bool peerSet() {
        Exercise exercise = Exercise::Known;
        const int index = nameUse(exercise);
        if (exercise == Exercise::WriteFailed) return false;
        NameUse& use = summary_.names[index];
        ++use.sets;
        if (use.firstDay.isEmpty() || peer_.ymd < use.firstDay) use.firstDay = peer_.ymd;
        if (peer_.ymd > use.lastDay) use.lastDay = peer_.ymd;
        const QString grp = use.target.grpCd, exer = use.target.exerCd;
        ++summary_.sets;
        days_.insert(DayNumber(peer_.ymd.toUtf8()));
        if (exercise == Exercise::OutOfCodes) {
            // Counted for the preview; the import as a whole is refused.
            ++summary_.newSets;
            return true;
        }
        // The workout's note goes with the first set of each of its exercises.
        if (!peer_.workoutNote.isEmpty()) {
            const QString key = peer_.workout + QLatin1Char('\t') + peer_.exerciseName;
            if (!notedWorkouts_.contains(key)) {
                notedWorkouts_.insert(key);
                const QString note = QStringLiteral("ワークアウトのメモ: ") + peer_.workoutNote;
                peer_.comment =
                    peer_.comment.isEmpty() ? note : peer_.comment + QStringLiteral(" / ") + note;
            }
        }
        StoredGroup& group = storedGroup(peer_.ymd.toUtf8(), grp.toUtf8(), exer.toUtf8());
        if (group.count > 0 && isPresent(grp, exer, group)) {
            ++summary_.presentSets;
            return true;
        }
        insert_.reset();
        insert_.bindText(1, peer_.ymd);
        insert_.bindText(2, grp);
        insert_.bindText(3, exer);
        insert_.bindInt(4, group.maxSetNum + ++group.added);
        insert_.bindText(5, QString());
        insert_.bindText(6, QString());
        insert_.bindDouble(7, peer_.target);
        insert_.bindText(8, peer_.unitT);
        bindOptional(insert_, 9, peer_.cnt);
        insert_.bindText(10, peer_.unit);
        bindOptional(insert_, 11, peer_.cntMin);
        bindOptional(insert_, 12, peer_.cntSec);
        insert_.bindText(13, masters_.firstSweat());
        insert_.bindText(14, peer_.comment);
        if (!done(insert_.step())) return false;
        ++summary_.newSets;
        if (!peer_.unitT.isEmpty()) unitsSeen_.insert({true, peer_.unitT});
        if (!peer_.unit.isEmpty()) unitsSeen_.insert({false, peer_.unit});
        return true;
    }

    // Identical sets are matched one to one: the k-th identical set of a day and exercise in
    // the file is present when at least k identical ones were stored before the import.
    bool isPresent(const QString& grp, const QString& exer, StoredGroup& group) {
        const QString fingerprint = QString::number(peer_.target, 'g', 17) + QLatin1Char('\t') +
                                    peer_.unitT + QLatin1Char('\t') + optionalText(peer_.cnt) +
                                    QLatin1Char('\t') + peer_.unit + QLatin1Char('\t') +
                                    optionalText(peer_.cntMin) + QLatin1Char('\t') +
                                    optionalText(peer_.cntSec) + QLatin1Char('\t') + peer_.comment;
        const int seen = ++group.seen[qHash(fingerprint, 0x5eed)];
        sameSets_.reset();
        sameSets_.bindText(1, peer_.ymd);
        sameSets_.bindText(2, grp);
        sameSets_.bindText(3, exer);
        sameSets_.bindInt(4, group.maxSetNum);
        sameSets_.bindDouble(5, peer_.target);
        sameSets_.bindText(6, peer_.unitT);
        bindOptional(sameSets_, 7, peer_.cnt);
        sameSets_.bindText(8, peer_.unit);
        bindOptional(sameSets_, 9, peer_.cntMin);
        bindOptional(sameSets_, 10, peer_.cntSec);
        sameSets_.bindText(11, peer_.comment);
        const qint64 stored = sameSets_.step() == SQLITE_ROW ? sameSets_.columnInt(0) : 0;
        return stored >= seen;
    }

    static QString optionalText(const std::optional<qint64>& value) {
        return value ? QString::number(*value) : QStringLiteral("-");
    }
    static void bindOptional(PreparedStatement& s, int position,
                             const std::optional<qint64>& value) {
        if (value)
            s.bindInt(position, *value);
        else
            s.bindNull(position);
    }

    sqlite3* db_;
    const ImportOptions& options_;
    ImportSummary& summary_;
    char delimiter_ = ',';
    CsvHeader header_;
    Masters masters_;
    OwnSet own_;
    PeerSet peer_;
    PreparedStatement insert_, storedGroup_, keyExists_, sameSets_, heldSet_, insertGroup_,
        insertExercise_, insertUnitTarget_, insertUnit_;
    GroupCache groups_;
    StoredGroup* lastGroup_ = nullptr;
    // Kept in buffers of their own, filled again rather than allocated for every change.
    std::string probe_, lastGroupKey_;  // day, group and exercise of the row before
    std::string lastGrp_, lastExer_;    // the pair of the own row before
    std::set<std::pair<std::string, std::string>> checkedPairs_;  // the own rows' pairs so far
    bool havePair_ = false;
    QByteArray firstDay_, lastDay_;  // the days stored before the import
    QSet<int> days_;                 // yyyymmdd
    int lastOwnDay_ = -1;            // the day of the own row before
    QSet<QString> existingExercises_, newPairs_;
    QHash<QString, ExerciseTarget> savedChoices_;
    QHash<QString, int> nameIndex_;  // a peer's exercise name: its place in summary_.names
    QSet<QString> notedWorkouts_;    // workout and exercise that carry the workout's note
    CsvRow mended_;
    bool loadUnitMissing_ = false;
    QString assumedUnit_ = QStringLiteral("kg");
    bool distanceUnitMissing_ = false, distancesSeen_ = false;
    QString assumedDistanceUnit_ = QStringLiteral("km");
    qint64 poundSets_ = 0, kilogramSets_ = 0;
    qint64 loads_ = 0, poundsLoads_ = 0;
    double heaviest_ = 0;
    std::set<std::pair<bool, QString>> unitsSeen_;
};

}  // namespace

QString GroupForCategory(Database& db, const QString& category) {
    Masters masters;
    QString message;
    if (!masters.load(db.rawHandle(), message)) return QString();
    return masters.groupForCategory(category);
}

bool ImportCsv(Database& db, const QString& path, const ImportOptions& options,
               ImportSummary& summary) {
    summary = ImportSummary();
    CsvReader reader;
    QString message;
    if (!reader.open(path, message)) {
        summary.failure = message;
        return false;
    }
    summary.encoding = reader.encoding();

    sqlite3* handle = db.rawHandle();
    // The database as it was, for a restore: kept only when the import writes sets.
    ImportCopy copy;
    if (options.commit && !copy.take(handle, db.platform().now(), summary.failure)) return false;
    Transaction transaction(handle);
    if (!transaction.begun()) {
        summary.failure = QStringLiteral("データベースに書き込めません（使用中です）。");
        return false;
    }
    Importer importer(handle, options, summary);
    if (!importer.prepared(message)) {
        summary.failure = message;
        return false;
    }

    bool headerRead = false;
    bool stopped = false;
    qint64 errorLine = 0;
    const bool read = reader.read(
        [&](CsvRow& row) {
            if (!headerRead) {
                headerRead = true;
                stopped = !importer.header(row, reader.delimiter());
            } else {
                stopped = !importer.row(row);
            }
            return !stopped;
        },
        message, errorLine);
    if (!read) {
        importer.fail(errorLine, message);
        return false;
    }
    if (!headerRead) {
        importer.fail(1, QStringLiteral("ファイルが空です"));
        return false;
    }
    if (stopped && !summary.failure.isEmpty()) return false;
    if (summary.sets == 0 && summary.refusedCount == 0) {
        importer.fail(2, QStringLiteral("見出し行のほかに行がありません"));
        return false;
    }
    if (!importer.finish()) return false;
    if (!summary.importable(options.skipRefused)) return false;
    if (!options.commit) return true;
    if (!transaction.commit()) {
        summary.failure = QStringLiteral("データベースに書き込めませんでした（確定できません）。");
        return false;
    }
    summary.written = true;
    if (summary.newSets > 0) copy.keep();
    return true;
}

QString RefusedRowText(const RefusedRow& row) {
    return QStringLiteral("%1行目: %2").arg(row.line).arg(row.reason);
}

QString NameMatchText(NameMatch match) {
    switch (match) {
        case NameMatch::Given:
            return QStringLiteral("指定");
        case NameMatch::Saved:
            return QStringLiteral("前回の選択");
        case NameMatch::SameName:
            return QStringLiteral("同じ名前");
        case NameMatch::CommonName:
            return QStringLiteral("名前の表");
        case NameMatch::New:
            break;
    }
    return QStringLiteral("新規");
}

namespace {

QString FailureLine(const ImportSummary& summary) {
    return summary.failureLine > 0 ? QStringLiteral("読み込めません: %1行目: %2")
                                         .arg(summary.failureLine)
                                         .arg(summary.failure)
                                   : QStringLiteral("読み込めません: %1").arg(summary.failure);
}

}  // namespace

QStringList SummaryLines(const ImportSummary& summary, bool listRefusedRows) {
    // Nothing was read: figures of zero would only hide the reason.
    if (summary.format == CsvFormat::Unknown && !summary.failure.isEmpty())
        return {FailureLine(summary)};
    QStringList lines;
    lines << QStringLiteral("形式: %1").arg(CsvFormatName(summary.format));
    if (summary.encoding == CsvEncoding::Cp932)
        lines << QStringLiteral("文字コード: CP932（シフトJIS）");
    if (summary.loadUnitMissing)
        lines << (summary.loadUnit.isEmpty()
                      ? QStringLiteral("重量の単位: ファイルになし（重量から見ると %1）")
                            .arg(summary.proposedLoadUnit)
                      : QStringLiteral("重量の単位: %1（ファイルに単位がないため指定による）")
                            .arg(summary.loadUnit));
    if (summary.distanceUnitMissing)
        lines << (summary.distanceUnit.isEmpty()
                      ? QStringLiteral("距離の単位: ファイルになし（重量の単位から見ると %1）")
                            .arg(summary.proposedDistanceUnit)
                      : QStringLiteral("距離の単位: %1（ファイルに単位がないため指定による）")
                            .arg(summary.distanceUnit));
    if (summary.assistedSets > 0)
        lines << QStringLiteral(
                     "アシスト付きのセット（負の重量。重量 0 で、アシストをメモに記録）: %1")
                     .arg(summary.assistedSets);
    if (summary.mendedRows > 0)
        lines << QStringLiteral("種目名のカンマで列が1つ多い行を直して読む: %1行")
                     .arg(summary.mendedRows);
    if (summary.skippedEmptySets > 0)
        lines << QStringLiteral("重量・回数・時間・距離のないセット（読み込まない）: %1")
                     .arg(summary.skippedEmptySets);
    lines << QStringLiteral("日数: %1").arg(summary.days);
    lines << QStringLiteral("セット数: %1（新規 %2、登録済みのため読み込まない %3）")
                 .arg(summary.sets)
                 .arg(summary.newSets)
                 .arg(summary.presentSets);
    lines << QStringLiteral("種目: 登録済み %1、新規 %2")
                 .arg(summary.existingExercises)
                 .arg(summary.newExercises.size());
    for (const NewExercise& e : summary.newExercises)
        lines << QStringLiteral("  新しい種目: %1 → グループ %2 %3、コード %4")
                     .arg(e.sourceName == e.name || e.sourceName.isEmpty()
                              ? e.name
                              : QStringLiteral("%1（名前 %2）").arg(e.sourceName, e.name),
                          e.grpCd, e.grpName,
                          e.exerCd.isEmpty() ? QStringLiteral("（空きなし）") : e.exerCd);
    for (const NameUse& use : summary.names) {
        if (use.created || use.target.exerCd.isEmpty()) continue;
        lines << QStringLiteral("  対応: %1 → %2 %3 %4（%5）")
                     .arg(use.name, use.target.grpCd, use.target.exerCd, use.exerName,
                          NameMatchText(use.match));
    }
    if (!summary.newUnits.isEmpty())
        lines << QStringLiteral("単位を追加: %1").arg(summary.newUnits.join(QStringLiteral("、")));
    lines << QStringLiteral("読み込めない行: %1").arg(summary.refusedCount);
    if (listRefusedRows) {
        for (const RefusedRow& row : summary.refused)
            lines << QStringLiteral("  ") + RefusedRowText(row);
        if (summary.refusedCount > static_cast<qint64>(summary.refused.size()))
            lines << QStringLiteral("  ほか %1行")
                         .arg(summary.refusedCount - static_cast<qint64>(summary.refused.size()));
    }
    if (!summary.failure.isEmpty()) lines << FailureLine(summary);
    return lines;
}

}  // namespace sorvenka
