#include "startup/instance_guard.h"

#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "common/paths.h"
#include "common/regular_file.h"
#include "startup/startup.h"

namespace sorvenka {

namespace {

// Only a regular file is locked: a link at the name is not followed, a FIFO is not waited on.
int OpenLockFile(const QString& path, bool& notRegular) {
    RegularFile writable(path, RegularFile::Access::ReadWriteCreate);
    notRegular = writable.notRegular();
    if (writable.isOpen() || notRegular) return writable.release();
    // A lock file in a folder the user may only read still locks.
    RegularFile readable(path, RegularFile::Access::Read);
    notRegular = readable.notRegular();
    return readable.release();
}

}  // namespace

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

QString LockNotRegularMessage(const QString& lockPath) {
    return QStringLiteral(
               "ほかに起動しているものがないかを確かめるためのファイルが通常のファイルでは"
               "ない（リンク、FIFO など）ため、起動できません。\r\n"
               "次のものを消してから起動してください。\r\n\u3000") +
           lockPath;
}

bool InstanceGuard::acquire(const QString& programFolder, const QString& programName) {
    lockPath_ = JoinPath(programFolder, lockFileName(programName));
    outcome_ = take(QFile::encodeName(lockPath_));
    return outcome_ == Outcome::Taken;
}

QString InstanceGuard::refusalMessage() const {
    if (outcome_ == Outcome::HeldElsewhere) return kSecondInstanceMessage;
    return notRegular_ ? LockNotRegularMessage(lockPath_) : LockUnavailableMessage(lockPath_);
}

InstanceGuard::Outcome InstanceGuard::take(const QByteArray& path) {
    // Close-on-exec: a program started from the window (the shell open) must not inherit the
    // lock and keep it after this process has ended.
    const int fd = OpenLockFile(QFile::decodeName(path), notRegular_);
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
