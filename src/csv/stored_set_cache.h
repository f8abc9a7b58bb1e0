#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <string>

#include "db/prepared_statement.h"

struct sqlite3;

namespace sorvenka {

// One day and exercise as the import meets it: what was stored before, and what it added.
struct StoredGroup {
    QByteArray ymd;
    qint64 count = 0;
    qint64 maxSetNum = 0;
    qint64 added = 0;
    QList<qint64> addedSetNums;  // Sorvenka's own rows: a key twice in the file
    QHash<size_t, int> seen;     // other loggers' rows: identical sets met so far
};

// The stored sets of the days and exercises an import meets, read once each. The groups met
// lately are kept in two generations: memory stays bounded however long the file, while the
// groups of the days at hand are kept. A group met again after it was dropped is read anew
// and then counts this import's sets as stored; files list a day's sets together, so only a
// day spread over thousands of other groups could meet that.
class StoredSetCache {
  public:
    explicit StoredSetCache(sqlite3* db);
    // False when the statement cannot be prepared (the engine's message is on the connection).
    bool prepared();

    // The group of the day and exercise; the reference holds until the next call.
    StoredGroup& at(const QByteArray& ymd, const QByteArray& grp, const QByteArray& exer);

  private:
    StoredGroup& findOrRead(const QByteArray& ymd, const QByteArray& grp, const QByteArray& exer);
    StoredGroup* find(const QByteArray& key);
    StoredGroup& insert(const QByteArray& key, StoredGroup group);
    // Whether a group of the day may have been dropped: its sets then must be read anew.
    bool mayHaveDropped(const QByteArray& ymd) const {
        return !droppedFirst_.isEmpty() && ymd >= droppedFirst_ && ymd <= droppedLast_;
    }

    static constexpr qsizetype kGeneration = 4096;
    sqlite3* db_;
    PreparedStatement read_;
    QByteArray firstDay_, lastDay_;  // the days stored before the import
    QHash<QByteArray, StoredGroup> recent_, older_;
    QByteArray droppedFirst_, droppedLast_;
    QByteArray greatestKey_;  // the greatest key ever kept
    StoredGroup* last_ = nullptr;
    // Kept in buffers of their own, filled again rather than allocated for every row.
    std::string probe_, lastKey_;  // day, group and exercise of the row before
};

}  // namespace sorvenka
