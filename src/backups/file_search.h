#pragma once

#include <QString>
#include <QStringList>

namespace sorvenka {

// Directory search with a wildcard pattern ('*' any text, '?' one character): the names of
// the ordinary files of the folder that match, in the order the directory delivers them.
// Folders and hidden files (names beginning with ".") are not found. False, with no names,
// when the folder cannot be read.
bool FindFiles(const QString& folder, const QString& pattern, QStringList& names);

}  // namespace sorvenka
