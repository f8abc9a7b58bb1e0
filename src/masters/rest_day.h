#pragma once

#include <QString>

namespace sorvenka {

// Group 99, exercise 99 is the rest day: the main window fills its load and count itself and
// the charts leave it out, so it keeps its codes and stays listed. It may be renamed, and
// nothing else: no move, no merge either way, no hiding, no deleting, and no other logger's
// sets are ever written to it. Its group stays listed for the same reason.
inline const QString kRestDayGrpCd = QStringLiteral("99");
inline const QString kRestDayExerCd = QStringLiteral("99");

inline bool IsRestDay(const QString& grpCd, const QString& exerCd) {
    return grpCd == kRestDayGrpCd && exerCd == kRestDayExerCd;
}

// The changes that are refused for the rest day, and for its group.
enum class RestDayChange {
    Move,
    MergeFrom,
    MergeInto,
    Hide,
    Delete,
    HideGroup,
    DeleteGroup,
    ImportInto
};

// The plain reason given for the refusal.
QString RestDayRefusal(RestDayChange change);

}  // namespace sorvenka
