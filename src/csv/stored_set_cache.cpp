#include "csv/stored_set_cache.h"

#include <sqlite3.h>

#include <utility>

namespace sorvenka {

namespace {

// A copy that shares no bytes with the row it came from.
QByteArray OwnCopy(const QByteArray& bytes) {
    return QByteArray(bytes.constData(), bytes.size());
}

}  // namespace

StoredSetCache::StoredSetCache(sqlite3* db)
    : db_(db),
      read_(db,
            "select count(*), coalesce(max(set_num), 0) from t_exer "
            "where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3") {
    recent_.reserve(kGeneration);
}

bool StoredSetCache::prepared() {
    if (!read_.ok()) return false;
    PreparedStatement range(db_, "select min(ymd), max(ymd) from t_exer");
    if (range.step() == SQLITE_ROW && range.columnType(0) != SQLITE_NULL) {
        firstDay_ = range.columnText(0).toUtf8();
        lastDay_ = range.columnText(1).toUtf8();
    }
    return true;
}

StoredGroup& StoredSetCache::at(const QByteArray& ymd, const QByteArray& grp,
                                const QByteArray& exer) {
    // The group of the row before, when it is the same: nothing was added to the cache
    // since, so the pointer still holds.
    probe_.clear();
    probe_.append(ymd.constData(), ymd.size()).append(1, '\t');
    probe_.append(grp.constData(), grp.size()).append(1, '\t');
    probe_.append(exer.constData(), exer.size());
    if (last_ && probe_ == lastKey_) return *last_;
    std::swap(probe_, lastKey_);
    last_ = &findOrRead(ymd, grp, exer);
    return *last_;
}

StoredGroup& StoredSetCache::findOrRead(const QByteArray& ymd, const QByteArray& grp,
                                        const QByteArray& exer) {
    QByteArray key;
    key.reserve(ymd.size() + grp.size() + exer.size() + 2);
    key.append(ymd).append('\t').append(grp).append('\t').append(exer);
    if (StoredGroup* found = find(key)) return *found;
    // A day outside the stored ones holds nothing, unless this import wrote to it in a
    // group since dropped from the cache: no need to ask.
    const bool mayHoldSets =
        (!firstDay_.isEmpty() && ymd >= firstDay_ && ymd <= lastDay_) || mayHaveDropped(ymd);
    StoredGroup group;
    group.ymd = OwnCopy(ymd);
    if (!mayHoldSets) return insert(key, std::move(group));
    read_.reset();
    read_.bindBytes(1, ymd);
    read_.bindBytes(2, grp);
    read_.bindBytes(3, exer);
    if (read_.step() == SQLITE_ROW) {
        group.count = read_.columnInt(0);
        group.maxSetNum = read_.columnInt(1);
    }
    return insert(key, std::move(group));
}

StoredGroup* StoredSetCache::find(const QByteArray& key) {
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

StoredGroup& StoredSetCache::insert(const QByteArray& key, StoredGroup group) {
    if (recent_.size() >= kGeneration) {
        for (const StoredGroup& dropped : older_) {
            if (droppedFirst_.isEmpty() || dropped.ymd < droppedFirst_) droppedFirst_ = dropped.ymd;
            if (droppedLast_.isEmpty() || dropped.ymd > droppedLast_) droppedLast_ = dropped.ymd;
        }
        older_ = std::move(recent_);
        recent_.clear();
        recent_.reserve(kGeneration);  // filled without growing step by step
    }
    if (key > greatestKey_) greatestKey_ = key;
    return *recent_.insert(key, std::move(group));
}

}  // namespace sorvenka
