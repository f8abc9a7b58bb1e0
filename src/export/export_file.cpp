#include "export/export_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/display_width.h"
#include "common/text_tests.h"

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
    return QString::fromLocal8Bit(std::strerror(error));
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
int CreateBeside(const QString& folder, QByteArray& created) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        created = QFile::encodeName(
            folder + QStringLiteral("/.sorvenka-%1.tmp")
                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
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

}  // namespace

bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString& message,
                     WriteCall writeCall) {
    if (writeCall == nullptr) writeCall = &SystemWrite;
    const QByteArray target = QFile::encodeName(path);
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0) {
        if (S_ISLNK(existing.st_mode)) {
            message = CannotCreate(path, QStringLiteral("この名前はシンボリックリンクです。"
                                                        "リンクの先には書き出しません。"));
            return false;
        }
        if (S_ISDIR(existing.st_mode)) {
            message = CannotCreate(path, SystemReason(EISDIR));
            return false;
        }
    }

    const QString folder = QFileInfo(path).absolutePath();
    QByteArray created;
    const int fd = CreateBeside(folder, created);
    if (fd < 0) {
        message = CannotCreate(path, SystemReason(errno));
        return false;
    }
    NewFile file(created, fd);
    QString reason;
    if (!WriteAll(file.fd(), bytes, writeCall, reason)) {
        message = CannotWrite(path, reason);
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
