#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace sorvenka {

namespace {

int OpenFlags(RegularFile::Access access) {
    // Non-blocking: opening a FIFO would wait for its other end.
    const int common = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    switch (access) {
        case RegularFile::Access::Read:
            return common | O_RDONLY;
        case RegularFile::Access::Append:
            return common | O_WRONLY | O_CREAT | O_APPEND;
        case RegularFile::Access::Replace:
            // Emptied only after the check: O_TRUNC would empty whatever is at the name.
            return common | O_WRONLY | O_CREAT;
        case RegularFile::Access::ReadWriteCreate:
            return common | O_RDWR | O_CREAT;
    }
    return common | O_RDONLY;
}

}  // namespace

RegularFile::RegularFile(const QString& path, Access access) {
    const int fd = ::open(QFile::encodeName(path).constData(), OpenFlags(access), 0644);
    if (fd < 0) {
        error_ = errno;
        // A link at the name answers ELOOP; a FIFO without a reader ENXIO.
        notRegular_ = error_ == ELOOP || error_ == ENXIO || error_ == EISDIR;
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error_ = info.st_mode == 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        notRegular_ = info.st_mode != 0;
        ::close(fd);
        return;
    }
    // Reads and writes of a regular file wait as they always do.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (access == Access::Replace && ::ftruncate(fd, 0) != 0) {
        error_ = errno;
        ::close(fd);
        return;
    }
    fd_ = fd;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

QByteArray RegularFile::read(qint64 limit) {
    QByteArray bytes;
    if (fd_ < 0 || limit <= 0) return bytes;
    bytes.resize(limit);
    qint64 done = 0;
    while (done < limit) {
        const ssize_t got = ::read(fd_, bytes.data() + done, static_cast<size_t>(limit - done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return QByteArray();
        if (got == 0) break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

bool RegularFile::writeAll(const QByteArray& bytes) {
    if (fd_ < 0) return false;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::write(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

int RegularFile::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

}  // namespace sorvenka
