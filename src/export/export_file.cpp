#include "export/export_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>

#include "common/display_width.h"
#include "common/system_error_text.h"
#include "common/text_tests.h"
#include "export/leftover_files.h"

namespace sorvenka {

QString ProposedExportName(const QString& ymd, const QString& weeks, bool ascending) {
    QString name = QStringLiteral("Rec");
    const QDate day = ParseYmd(ymd);
    if (day.isValid())
        name += QStringLiteral("%1_%2%3_")
                    .arg(day.year(), 4, 10, QLatin1Char('0'))
                    .arg(day.month(), 2, 10, QLatin1Char('0'))
                    .arg(day.day(), 2, 10, QLatin1Char('0'));
    name += weeks;
    name += ascending ? QStringLiteral("_asc") : QStringLiteral("_desc");
    return name + QStringLiteral(".txt");
}

bool IsPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) return false;
    for (QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) return false;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    }
    return true;
}

namespace {

// The descriptor of the new file; closed (result ignored) and removed unless committed.
class NewFile {
  public:
    NewFile(const QByteArray& path, int fd) : path_(path), fd_(fd) {}
    ~NewFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.constData());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    int fd() const { return fd_; }
    // Closes the descriptor, reporting a failed close (a late write error on some systems).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void commit() { committed_ = true; }

  private:
    QByteArray path_;
    int fd_;
    bool committed_ = false;
};

QString SystemReason(int error) {
    return SystemErrorText(error);
}

QString CannotCreate(const QString& path, const QString& reason) {
    return QStringLiteral("ファイルを作成できませんでした。\r\n") + path + QStringLiteral("\r\n") +
           reason;
}

QString CannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("ファイルを書き込めませんでした。\r\n") + path + QStringLiteral("\r\n") +
           reason;
}

long SystemWrite(int fd, const void* data, unsigned long size) {
    return static_cast<long>(::write(fd, data, size));
}

// A new file with a name of its own in the target's folder; never opened through a link.
// The name carries this process's number, so that a later export knows it for a leftover
// once the process is gone.
int CreateBeside(const QString& folder, QByteArray& created) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        created = QFile::encodeName(
            folder + QLatin1Char('/') +
            TemporaryExportName(::getpid(), QRandomGenerator::global()->generate()));
        const int fd =
            ::open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes everything in pieces; a piece that comes back short is a failure, not a retry.
bool WriteAll(int fd, const QByteArray& bytes, WriteCall writeCall, QString& reason) {
    constexpr qsizetype kPiece = 1 << 20;
    for (qsizetype done = 0; done < bytes.size();) {
        const auto size = static_cast<unsigned long>(std::min(kPiece, bytes.size() - done));
        const long written = writeCall(fd, bytes.constData() + done, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            reason = SystemReason(errno);
            return false;
        }
        if (static_cast<unsigned long>(written) != size) {
            // The file stays incomplete whatever follows; one more write of the rest only
            // asks the system for the cause (a full disk answers ENOSPC).
            errno = 0;
            const long more = writeCall(fd, bytes.constData() + done + written, size - written);
            if (more < 0 && errno != 0 && errno != EINTR) {
                reason = SystemReason(errno);
                return false;
            }
            reason = QStringLiteral(
                         "%1 バイトのうち %2 バイトしか書き込めませんでした"
                         "（ディスクの空きが足りない可能性があります）。")
                         .arg(size)
                         .arg(written);
            return false;
        }
        done += written;
    }
    return true;
}

// Fills a new file beside the target through `fill` and renames it into place only when
// every step succeeded. Only a regular file is ever replaced, and it keeps its permissions: a
// symbolic link, a folder, a device or a FIFO at the name is refused and left as it is.
bool CommitNewFile(const QString& path, QString& message,
                   const std::function<bool(int fd, QString& reason)>& fill) {
    const QByteArray target = QFile::encodeName(path);
    struct stat existing {};
    const bool replacing = ::lstat(target.constData(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        if (S_ISLNK(existing.st_mode))
            message = CannotCreate(path, QStringLiteral("この名前はシンボリックリンクです。"
                                                        "リンクの先には書き出しません。"));
        else if (S_ISDIR(existing.st_mode))
            message = CannotCreate(path, SystemReason(EISDIR));
        else
            message = CannotCreate(path, QStringLiteral("この名前は通常のファイルではありません"
                                                        "（デバイス、FIFO、ソケットなど）。"
                                                        "置き換えずに残します。"));
        return false;
    }

    const QString folder = QFileInfo(path).absolutePath();
    RemoveLeftoverExportFiles(folder);
    QByteArray created;
    const int fd = CreateBeside(folder, created);
    if (fd < 0) {
        message = CannotCreate(path, SystemReason(errno));
        return false;
    }
    NewFile file(created, fd);
    QString reason;
    if (!fill(file.fd(), reason)) {
        message = CannotWrite(path, reason);
        return false;
    }
    // The file it replaces keeps who may read it (a 0600 file stays private), and its owner
    // when the administrator exports over a user's file.
    if (replacing && ::geteuid() == 0 &&
        ::fchown(file.fd(), existing.st_uid, existing.st_gid) != 0) {
        message = CannotWrite(path, SystemReason(errno));
        return false;
    }
    if (replacing && ::fchmod(file.fd(), existing.st_mode & 07777) != 0) {
        message = CannotWrite(path, SystemReason(errno));
        return false;
    }
    if (::fsync(file.fd()) != 0 || !file.close()) {
        message = CannotWrite(path, SystemReason(errno));
        return false;
    }
    // rename replaces a link that appeared meanwhile by the file; it never writes through one.
    if (::rename(created.constData(), target.constData()) != 0) {
        message = CannotWrite(path, SystemReason(errno));
        return false;
    }
    file.commit();
    // The rename itself reaches the disk with the folder; the file is complete either way.
    const int folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    message.clear();
    return true;
}

// The new file as a device for a body writer: every write goes through WriteAll, so that a
// failure keeps the system's cause (a full disk) rather than a generic one.
class DescriptorDevice : public QIODevice {
  public:
    explicit DescriptorDevice(int fd) : fd_(fd) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    const QString& reason() const { return reason_; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!reason_.isEmpty()) return -1;
        if (!WriteAll(fd_, QByteArray::fromRawData(data, size), &SystemWrite, reason_)) {
            setErrorString(reason_);
            return -1;
        }
        return size;
    }

  private:
    int fd_;
    QString reason_;
};

}  // namespace

bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString& message,
                     WriteCall writeCall) {
    if (writeCall == nullptr) writeCall = &SystemWrite;
    return CommitNewFile(path, message, [&](int fd, QString& reason) {
        return WriteAll(fd, bytes, writeCall, reason);
    });
}

bool WriteFileSafely(const QString& path, const FileBodyWriter& writeBody, QString& message) {
    return CommitNewFile(path, message, [&](int fd, QString& reason) {
        DescriptorDevice file(fd);
        const bool written = writeBody(file, reason);
        // The cause of a failed write wins over what the body made of it.
        if (!file.reason().isEmpty()) {
            reason = file.reason();
            return false;
        }
        if (!written && reason.isEmpty())
            reason = QStringLiteral("書き込みを終えられませんでした。");
        return written;
    });
}

bool WriteLinesToFile(const QStringList& lines, const QString& path, QString& message,
                      WriteCall writeCall) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += EncodeCp932(line);
        bytes += "\r\n";
    }
    return WriteFileSafely(path, bytes, message, writeCall);
}

}  // namespace sorvenka
