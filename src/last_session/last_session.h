#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "last_session/session_set.h"

struct sqlite3;

namespace sorvenka {

// The last day before a given day on which an exercise has sets, with those sets.
struct LastSession {
    bool ok = true;
    QString ymd;                   // empty when the exercise has no earlier day
    std::vector<SessionSet> sets;  // by set number
    int bestIndex = -1;            // the set with the best estimated maximum, -1 when none has one
    int storedOnDay = 0;           // sets of the exercise already stored on the given day
};

// Reads the exercise's last session before `ymd` and counts its sets stored on `ymd`. Each
// call reads the database anew; nothing is kept between calls.
LastSession ReadLastSession(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                            const QString& ymd);

// The exercise's sets of one day, by set number; false when the read failed.
bool ReadDaySets(sqlite3* connection, const QString& grpCd, const QString& exerCd,
                 const QString& ymd, std::vector<SessionSet>& sets);

// What the entry controls take from a set of last time.
struct FillValues {
    QString load;  // the load's text; empty when it had none
    QString loadUnit;
    QString count;  // count form
    QString countUnit;
    QString minutes, seconds;  // duration form
};

// The values of last time's set N+1 for the N sets already stored today; once today has as
// many sets as last time, its last set again. Nothing without a last session.
std::optional<FillValues> NextSetValues(const LastSession& session);

// The statements of the read, with ?1 group, ?2 exercise, ?3 day (for the comparison with
// the bare engine).
const std::vector<const char*>& LastSessionStatements();

}  // namespace sorvenka
