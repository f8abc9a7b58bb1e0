#pragma once

#include <QString>

struct sqlite3;

namespace sorvenka {

// Changes of the group master m_grp. Each is refused (false, with a Japanese reason in
// message, nothing written) when the name is empty or used by another group, the group does
// not exist, or the write fails. Codes are never changed, so the start-up checks keep passing.

// A new shown group at the end of the list with the next free two-character code (newCode).
bool AddGroup(sqlite3* db, const QString& typedName, QString& newCode, QString& message);
bool RenameGroup(sqlite3* db, const QString& grpCd, const QString& typedName, QString& message);
// status 1 (listed in the main window) or 0 (hidden there; its sets stay listed).
bool SetGroupShown(sqlite3* db, const QString& grpCd, bool shown, QString& message);
// Only an empty group goes: one that no exercise and no stored set names.
bool DeleteGroup(sqlite3* db, const QString& grpCd, QString& message);

// The reason a write failed, with the engine's own words below it.
QString WriteFailedMessage(sqlite3* db);

// Whether m_grp holds the group; false with ok false when the read failed.
bool GroupExists(sqlite3* db, const QString& grpCd, bool& ok);
// The reason a change of a group, or of one of its exercises, is refused when the group is gone.
inline const QString kNoGroupMessage = QStringLiteral("選んだグループがありません。");

}  // namespace sorvenka
