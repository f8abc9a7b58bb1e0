#include "progress/history_cache.h"

#include <sqlite3.h>

#include <QByteArray>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "db/prepared_statement.h"
#include "progress/daily_bests.h"

namespace sorvenka {

namespace {

// What tells that the rows a connection reads may have changed.
struct Stamp {
    sqlite3_int64 changes = 0;  // rows this connection wrote
    qint64 dataVersion = 0;     // commits of other connections
    qint64 schemaVersion = 0;   // the tables' definitions
    bool operator==(const Stamp&) const = default;
};

struct Held {
    Stamp stamp;
    std::vector<std::unique_ptr<DailyBests>> exercises;  // the most recently shown last
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<sqlite3*, Held> connections;
};

// Never destroyed: a connection may close after this code's statics are gone.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

void Forget(void* connection) {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.connections.erase(static_cast<sqlite3*>(connection));
}

void Unused(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_null(context);
}

// A function on the connection whose destructor forgets what is held for it when it closes.
// Named after this copy of the code (the program and its modules each carry one), so that one
// copy's registration never replaces another's.
bool WatchClosing(sqlite3* connection) {
    const QByteArray name = QByteArray("sorvenka_daily_bests_") +
                            QByteArray::number(reinterpret_cast<quintptr>(&TheRegistry()), 16);
    // On a failure the engine calls the destructor at once: nothing is held yet to forget.
    return sqlite3_create_function_v2(connection, name.constData(), 0,
                                      SQLITE_UTF8 | SQLITE_DIRECTONLY, connection, &Unused, nullptr,
                                      nullptr, &Forget) == SQLITE_OK;
}

bool ReadPragma(sqlite3* connection, const char* sql, qint64& value) {
    PreparedStatement s(connection, sql);
    if (!s.next()) return false;
    value = s.columnInt(0);
    return true;
}

bool ReadStamp(sqlite3* connection, Stamp& stamp) {
    stamp.changes = sqlite3_total_changes64(connection);
    return ReadPragma(connection, "PRAGMA data_version", stamp.dataVersion) &&
           ReadPragma(connection, "PRAGMA schema_version", stamp.schemaVersion);
}

// Read anew, held nowhere: when what would tell a change cannot be read.
bool Uncached(sqlite3* connection, const QString& grpCd, const QString& exerCd,
              const std::string& until, const std::function<void(DailyBests&)>& use,
              QString& error) {
    DailyBests bests(grpCd.toStdString(), exerCd.toStdString());
    if (!bests.readUntil(connection, until, error)) return false;
    use(bests);
    return true;
}

}  // namespace

bool WithDailyBests(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                    const std::string& until, const std::function<void(DailyBests&)>& use,
                    QString& error) {
    Stamp now;
    if (connection == nullptr || !ReadStamp(connection, now))
        return Uncached(connection, grpCd, exerCd, until, use, error);
    Registry& registry = TheRegistry();
    std::unique_lock lock(registry.mutex);
    auto held = registry.connections.find(connection);
    if (held == registry.connections.end()) {
        lock.unlock();  // a failed registration calls Forget at once
        if (!WatchClosing(connection))
            return Uncached(connection, grpCd, exerCd, until, use, error);
        lock.lock();
        held = registry.connections.try_emplace(connection).first;
        held->second.stamp = now;
    } else if (!(held->second.stamp == now)) {
        held->second.exercises.clear();
        held->second.stamp = now;
    }
    auto& exercises = held->second.exercises;
    const std::string grp = grpCd.toStdString(), exer = exerCd.toStdString();
    auto found = std::find_if(exercises.begin(), exercises.end(), [&](const auto& bests) {
        return bests->grpCd() == grp && bests->exerCd() == exer;
    });
    std::unique_ptr<DailyBests> bests;
    if (found == exercises.end()) {
        bests = std::make_unique<DailyBests>(grp, exer);
        if (static_cast<int>(exercises.size()) >= kExercisesHeld)
            exercises.erase(exercises.begin());
    } else {
        bests = std::move(*found);
        exercises.erase(found);
    }
    // Reading writes nothing: the stamp taken before still tells the next change.
    if (!bests->readUntil(connection, until, error)) return false;
    use(*bests);
    exercises.push_back(std::move(bests));
    return true;
}

}  // namespace sorvenka
