#pragma once

#include <QString>

namespace sorvenka {

// The name of an export's file in the making: ".sorvenka-<process>-<8 hex digits>.tmp".
QString TemporaryExportName(qint64 process, quint32 random);

// Removes from the folder the files in the making that an export left when its process was
// killed: regular files of exactly that name pattern whose process no longer runs. Files of
// a running process (this one, another export) and every other name stay. Returns how many
// were removed.
int RemoveLeftoverExportFiles(const QString& folder);

}  // namespace sorvenka
