#pragma once

#include <QByteArray>
#include <QString>

namespace sorvenka {

// The program's own small files (its log, its lock, a remembered choice) opened only when the
// name is a regular file: a symbolic link at the name is never followed, and a FIFO or a
// device is never waited on, read or written. Closed with the object.
class RegularFile {
  public:
    enum class Access {
        Read,            // an existing file
        Append,          // created when missing, written at its end
        Replace,         // created when missing, emptied once found regular
        ReadWriteCreate  // created when missing, left as it is (a lock file)
    };

    RegularFile(const QString& path, Access access);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Why the file is not open: the system's error; ELOOP for a link, ENODEV (or ENXIO) for a
    // FIFO, a device or a socket, EISDIR for a folder.
    int error() const { return error_; }
    // True when something other than a regular file is at the name (a link included).
    bool notRegular() const { return notRegular_; }

    // At most `limit` bytes from the current position; empty on failure.
    QByteArray read(qint64 limit);
    // Every byte or false.
    bool writeAll(const QByteArray& bytes);
    // Hands the descriptor over; the object no longer closes it.
    int release();

  private:
    int fd_ = -1;
    int error_ = 0;
    bool notRegular_ = false;
};

}  // namespace sorvenka
