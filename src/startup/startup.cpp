#include "startup/startup.h"

#include <QApplication>

#include "common/paths.h"
#include "common/platform.h"
#include "db/database.h"
#include "startup/log.h"
#include "window/main_window.h"

namespace sorvenka {

int Main(Platform& platform, const QString& programFolder, const QString& programName) {
    Log log(platform, programFolder, programName);
    log.start();
    Database db(platform, log);
    const QString base = ParentFolder(programFolder);
    const QString dbFilePath =
        JoinPath(JoinPath(base, QStringLiteral("db")), QStringLiteral("exercise.sqlite3"));
    QString message;
    if (!db.open(dbFilePath, message)) {
        platform.message(message);
        platform.endProgram(kFailureExitStatus);
    }
    MainWindow window({db, platform, dbFilePath, base, programName});
    window.Form_Load();
    window.show();
    return QApplication::exec();
}

}  // namespace sorvenka
