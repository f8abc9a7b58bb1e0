#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace sorvenka {

namespace {
const QChar kSeparator = QDir::separator();
}

QString ParentFolder(const QString& path) {
    // The final character is never examined, so one trailing separator is ignored.
    for (qsizetype i = path.size() - 2; i >= 0; --i)
        if (path[i] == kSeparator) return path.left(i);
    return QString();
}

bool FolderExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).isDir();
}

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QString JoinPath(const QString& folder, const QString& name) {
    return folder + kSeparator + name;
}

QString ProgramFolder() {
    // An installed program lives in a folder that is not the user's to write; the launcher
    // names a per-user folder instead, beside which the data folders lie.
    const QString named = qEnvironmentVariable(kProgramFolderVariable);
    if (!named.isEmpty())
        return QDir::toNativeSeparators(QDir::cleanPath(QDir(named).absolutePath()));
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString BaseFolder() {
    return ParentFolder(ProgramFolder());
}

QString ProgramName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

}  // namespace sorvenka
