#include "backups/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>

namespace sorvenka {

namespace {

// A descriptor closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting a failed close.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool ReadSmallFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    bytes.clear();
    const Descriptor file(::open(QFile::encodeName(path).constData(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > maxBytes)
        return false;
    QByteArray read(static_cast<qsizetype>(maxBytes) + 1, '\0');
    qint64 total = 0;
    // One byte more than allowed tells a file that grew since.
    while (total <= maxBytes) {
        const ssize_t got =
            ::read(file.get(), read.data() + total, static_cast<size_t>(read.size() - total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        total += got;
    }
    if (total > maxBytes) return false;
    read.truncate(static_cast<qsizetype>(total));
    bytes = read;
    return true;
}

bool ReplaceSmallFile(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(target.constData(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        return false;
    const QByteArray partial = target + ".part";
    ::unlink(partial.constData());  // a leftover (or whatever stands there) itself, never a target
    Descriptor file(
        ::open(partial.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file.valid()) return false;
    const bool written = WriteAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.close();
    if (!written || std::rename(partial.constData(), target.constData()) != 0) {
        ::unlink(partial.constData());
        return false;
    }
    return true;
}

}  // namespace sorvenka
