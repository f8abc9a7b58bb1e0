#include "last_session/last_session.h"

#include <sqlite3.h>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// The key's index (ymd, grp_cd, exer_cd, set_num) walked backwards from the day: the first
// hit is the last session, however long the history.
const char* const kLastDaySql =
    "SELECT ymd FROM t_exer WHERE ymd < ?3 AND grp_cd = ?1 AND exer_cd = ?2"
    " ORDER BY ymd DESC LIMIT 1";
const char* const kExerciseDaySetsSql =
    "SELECT " SESSION_SET_COLUMNS
    " FROM t_exer WHERE ymd = ?3 AND grp_cd = ?1 AND exer_cd = ?2"
    " ORDER BY set_num";
const char* const kStoredOnDaySql =
    "SELECT count(*) FROM t_exer WHERE ymd = ?3 AND grp_cd = ?1 AND exer_cd = ?2";

void Bind(PreparedStatement& s, const QString& grpCd, const QString& exerCd, const QString& ymd) {
    s.bindText(1, grpCd);
    s.bindText(2, exerCd);
    s.bindText(3, ymd);
}

LastSession Failed() {
    LastSession session;
    session.ok = false;
    return session;
}

}  // namespace

LastSession ReadLastSession(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                            const QString& ymd) {
    LastSession session;
    {
        PreparedStatement s(connection, kStoredOnDaySql);
        Bind(s, grpCd, exerCd, ymd);
        if (!s.ok() || s.step() != SQLITE_ROW) return Failed();
        session.storedOnDay = static_cast<int>(s.columnInt(0));
    }
    {
        PreparedStatement s(connection, kLastDaySql);
        Bind(s, grpCd, exerCd, ymd);
        const int code = s.ok() ? s.step() : SQLITE_ERROR;
        if (code == SQLITE_DONE) return session;
        if (code != SQLITE_ROW) return Failed();
        session.ymd = s.columnText(0);
    }
    if (!ReadDaySets(connection, grpCd, exerCd, session.ymd, session.sets)) return Failed();
    double best = 0;
    for (int i = 0; i < static_cast<int>(session.sets.size()); ++i) {
        const std::optional<double> estimate = session.sets[i].estimatedMaxKg();
        if (estimate && (session.bestIndex < 0 || *estimate > best)) {
            session.bestIndex = i;
            best = *estimate;
        }
    }
    return session;
}

bool ReadDaySets(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                 const QString& ymd, std::vector<SessionSet>& sets) {
    sets.clear();
    PreparedStatement s(connection, kExerciseDaySetsSql);
    Bind(s, grpCd, exerCd, ymd);
    int code = s.ok() ? SQLITE_ROW : SQLITE_ERROR;
    while (s.ok() && (code = s.step()) == SQLITE_ROW) sets.push_back(ReadSessionSet(s));
    return code == SQLITE_DONE;
}

std::optional<FillValues> NextSetValues(const LastSession& session) {
    if (session.sets.empty()) return std::nullopt;
    const std::size_t index = std::min(static_cast<std::size_t>(std::max(session.storedOnDay, 0)),
                                       session.sets.size() - 1);
    const SessionSet& set = session.sets[index];
    FillValues values;
    if (!set.notANumber) {
        values.load = set.loadText;
        values.loadUnit = set.loadUnit;
        if (set.count) {
            values.count = QString::number(*set.count);
            values.countUnit = set.countUnit;
        } else if (set.isDuration()) {
            const qint64 total = *set.durationSeconds();
            values.minutes = QString::number(total / 60);
            values.seconds = QString::number(total % 60);
        }
    }
    return values;
}

const std::vector<const char*>& LastSessionStatements() {
    static const std::vector<const char*> statements{kStoredOnDaySql, kLastDaySql,
                                                     kExerciseDaySetsSql};
    return statements;
}

}  // namespace sorvenka
