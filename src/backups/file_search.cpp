#include "backups/file_search.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>
#include <memory>

namespace sorvenka {

namespace {
struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
}  // namespace

bool FindFiles(const QString& folder, const QString& pattern, QStringList& names) {
    names.clear();
    const QByteArray folderPath = QFile::encodeName(folder);
    const QByteArray wildcard = QFile::encodeName(pattern);
    std::unique_ptr<DIR, DirCloser> dir(opendir(folderPath.constData()));
    if (!dir) return false;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            if (errno == 0) return true;
            names.clear();
            return false;
        }
        // FNM_PERIOD: a leading "." is never matched by a wildcard, so hidden files stay out.
        if (fnmatch(wildcard.constData(), entry->d_name, FNM_PERIOD) != 0) continue;
        struct stat info {};
        const QByteArray full = folderPath + '/' + entry->d_name;
        if (stat(full.constData(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        names << QFile::decodeName(entry->d_name);
    }
}

}  // namespace sorvenka
