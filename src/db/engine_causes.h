#pragma once

#include <QString>

namespace sorvenka {

// The plain Japanese words for an engine failure whose cause the user can act on: the file
// held by another program, read-only, a full disk, a failing disk, a damaged file. Empty for
// the other codes, whose messages stay as they are. The statement is never part of it.
QString PlainEngineCause(int code, const QString& dbPath);

}  // namespace sorvenka
