#include "startup/instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "common/paths.h"
#include "startup/startup.h"

namespace sorvenka {

InstanceGuard::~InstanceGuard() {
    if (fd_ >= 0) ::close(fd_);
}

QString LockUnavailableMessage(const QString& lockPath) {
    return QStringLiteral(
               "ほかに起動しているものがないかを確かめるためのファイルを作れないため、"
               "起動できません。\r\n"
               "次のファイルを作れるように、フォルダに書き込めるかを確かめてください。\r\n\u3000") +
           lockPath;
}

bool InstanceGuard::acquire(const QString& programFolder, const QString& programName) {
    lockPath_ = JoinPath(programFolder, lockFileName(programName));
    outcome_ = take(QFile::encodeName(lockPath_));
    return outcome_ == Outcome::Taken;
}

QString InstanceGuard::refusalMessage() const {
    return outcome_ == Outcome::HeldElsewhere ? kSecondInstanceMessage
                                              : LockUnavailableMessage(lockPath_);
}

InstanceGuard::Outcome InstanceGuard::take(const QByteArray& path) {
    // Close-on-exec: a program started from the window (the shell open) must not inherit the
    // lock and keep it after this process has ended.
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Outcome::Unavailable;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return heldElsewhere ? Outcome::HeldElsewhere : Outcome::Unavailable;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    return Outcome::Taken;
}

}  // namespace sorvenka
