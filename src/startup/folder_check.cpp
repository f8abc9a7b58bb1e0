#include "startup/folder_check.h"

#include <QStringList>

#include "common/log.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/version.h"

namespace sorvenka {

QString MissingFolderMessage(const QString& path) {
    return QStringLiteral("次のフォルダが存在しません。") + kCrLf +
           QStringLiteral("次のフォルダを作成してください。") + kCrLf + kCrLf +
           QStringLiteral("\u3000") + path;
}

void CheckFolders(Platform& platform, Log& log, const QString& baseFolder, const QString& list) {
    for (const QString& name : list.split(QLatin1Char(','))) {
        const QString path = JoinPath(baseFolder, name);
        if (FolderExists(path)) continue;
        log.write(MissingFolderMessage(path));
        platform.endProgram(kFailureExitStatus);
    }
}

}  // namespace sorvenka
