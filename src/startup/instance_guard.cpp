#include "startup/instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "common/paths.h"

namespace sorvenka {

InstanceGuard::~InstanceGuard() {
    if (fd_ >= 0) ::close(fd_);
}

bool InstanceGuard::acquire(const QString& programFolder, const QString& programName) {
    const QByteArray path = QFile::encodeName(JoinPath(programFolder, lockFileName(programName)));
    // Close-on-exec: a program started from the window (the shell open) must not inherit the
    // lock and keep it after this process has ended.
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    return true;
}

}  // namespace sorvenka
