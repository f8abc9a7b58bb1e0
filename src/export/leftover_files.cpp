#include "export/leftover_files.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>

namespace sorvenka {

namespace {

bool ProcessRuns(qint64 process) {
    if (process <= 0 || process != static_cast<pid_t>(process)) return false;
    // A process of another user answers EPERM: it runs.
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

}  // namespace

QString TemporaryExportName(qint64 process, quint32 random) {
    return QStringLiteral(".sorvenka-%1-%2.tmp").arg(process).arg(random, 8, 16, QLatin1Char('0'));
}

int RemoveLeftoverExportFiles(const QString& folder) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\.sorvenka-([1-9][0-9]{0,9})-[0-9a-f]{8}\\.tmp$"));
    int removed = 0;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral(".sorvenka-*.tmp")},
                               QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch() || ProcessRuns(match.captured(1).toLongLong())) continue;
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        if (::unlink(path.constData()) == 0) ++removed;
    }
    return removed;
}

}  // namespace sorvenka
