#pragma once

#include <QString>

#include "csv/csv_mapping.h"
#include "csv/stored_set_cache.h"
#include "db/prepared_statement.h"

struct sqlite3;

namespace sorvenka {

// The sets of an import written to t_exer, each unless it is stored already.
class SetWriter {
  public:
    enum class Outcome { Written, Present, Failed };

    explicit SetWriter(sqlite3* db);
    // False when a statement cannot be prepared (the engine's message is on the connection).
    bool prepared() const;

    // An own row is present when its key is stored or came earlier in the file; its number
    // stays. Nothing holds the row's fields afterwards.
    Outcome writeOwn(const OwnSet& set, StoredGroup& group);
    // Whether the table's own key tells a stored key: writeOwnNewKey then decides an own row
    // alone, without the stored sets of its day and exercise.
    bool keyHeldByEngine() const { return keyHeldByEngine_; }
    Outcome writeOwnNewKey(const OwnSet& set);
    // Another logger's set is present when an identical one was stored; it is numbered after
    // the sets of its day and exercise.
    Outcome writePeer(const PeerSet& set, const QString& grp, const QString& exer,
                      const QString& sweat, StoredGroup& group);
    // Whether the exercise has a set of the day like this one, its comment aside.
    bool holdsLikeSet(const PeerSet& set, const QString& grp, const QString& exer);
    // The engine's code of the failed write.
    int failedCode() const { return failedCode_; }

  private:
    static void bindOwn(PreparedStatement& s, const OwnSet& set);
    bool isPresent(const PeerSet& set, const QString& grp, const QString& exer, StoredGroup& group);
    Outcome stepped(int code);

    sqlite3* db_;
    bool keyHeldByEngine_;
    PreparedStatement insertNewKey_, insert_, keyExists_, sameSets_, likeSet_;
    int failedCode_ = 0;
};

}  // namespace sorvenka
