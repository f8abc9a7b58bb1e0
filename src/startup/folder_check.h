#pragma once

#include <QString>

namespace sorvenka {

class Log;
class Platform;

// CheckFolders: tests baseFolder/name for each name of the comma-separated list, in order.
// At the first missing folder its message goes to the log (the only trace: no message box)
// and the program ends; later names are not tested.
void CheckFolders(Platform& platform, Log& log, const QString& baseFolder, const QString& list);

// "次のフォルダが存在しません。…" naming the missing folder on its last line.
QString MissingFolderMessage(const QString& path);

}  // namespace sorvenka
