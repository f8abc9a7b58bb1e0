#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// Small file helpers shared by the start-up tests.
namespace sorvenka::testing {

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The lines of a text file with CR LF line ends (the part after the last CR LF included).
inline QStringList ReadCrLfLines(const QString& path) {
    return QString::fromUtf8(ReadBytes(path)).split(QStringLiteral("\r\n"));
}

// The names of the files in a folder, sorted.
inline QStringList FileNames(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A file that cannot be deleted while this object lives: immutable where the file system and
// the privileges allow it, otherwise (an ordinary user) its folder is made read-only.
class UndeletableFile {
  public:
    explicit UndeletableFile(const QString& path) : path_(path) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                immutable_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
            }
            ::close(fd);
        }
        if (!immutable_ && ::geteuid() != 0) {
            folder_ = QFileInfo(path).absolutePath();
            readOnlyFolder_ = ::chmod(QFile::encodeName(folder_).constData(), 0555) == 0;
        }
    }
    ~UndeletableFile() {
        if (immutable_) {
            const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0) ::close(fd);
        }
        if (readOnlyFolder_) ::chmod(QFile::encodeName(folder_).constData(), 0755);
    }
    UndeletableFile(const UndeletableFile&) = delete;
    UndeletableFile& operator=(const UndeletableFile&) = delete;

    bool works() const { return immutable_ || readOnlyFolder_; }

  private:
    QString path_;
    QString folder_;
    bool immutable_ = false;
    bool readOnlyFolder_ = false;
};

}  // namespace sorvenka::testing
