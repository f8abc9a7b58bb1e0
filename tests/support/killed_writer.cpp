#include "support/killed_writer.h"

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <string>

namespace sorvenka::testing {

bool KillWriterMidCommit(const QString& dbPath, const char* then) {
    const QByteArray path = QFile::encodeName(dbPath);
    const std::string script =
        std::string(
            "PRAGMA cache_size = 2; begin;"
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < "
            "400) insert into t_exer select '2024/05/14','01','01',i,'','',60,'kg',10,"
            "'回',null,null,'2',printf('%0300d', i) from n;") +
        then;
    const pid_t writer = fork();
    if (writer < 0) return false;
    if (writer == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(path.constData(), &db);
        sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr);
        kill(getpid(), SIGKILL);
        _exit(1);
    }
    int status = 0;
    if (waitpid(writer, &status, 0) != writer || !WIFSIGNALED(status)) return false;
    return QFileInfo(dbPath + QStringLiteral("-journal")).size() > 0;
}

}  // namespace sorvenka::testing
