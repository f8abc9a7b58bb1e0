#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
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

// Every row of every table of a database file, as the engine reads it (a journal beside the
// file is rolled back first), or the error that stopped the reading.
inline QString Contents(const QString& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("<cannot open>");
    }
    QStringList rows;
    const auto collect = [&](const QByteArray& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
            rows << QString::fromUtf8(sqlite3_errmsg(db));
            return QStringList();
        }
        QStringList firstColumn;
        int code = SQLITE_ROW;
        while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
            QStringList cells;
            for (int i = 0; i < sqlite3_column_count(statement); ++i)
                cells << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            firstColumn << cells.value(0);
            rows << cells.join(QLatin1Char('|'));
        }
        if (code != SQLITE_DONE) rows << QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        return firstColumn;
    };
    const QStringList tables =
        collect("select name from sqlite_master where type = 'table' order by name");
    for (const QString& table : tables)
        collect("select * from \"" + table.toUtf8() + "\" order by rowid");
    sqlite3_close(db);
    return rows.join(QLatin1Char('\n'));
}

// The answer of the engine's full integrity check of a database file.
inline QString IntegrityCheck(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList answers;
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
            static_cast<QStringList*>(out)->append(QString::fromUtf8(values[0]));
            return 0;
        },
        &answers, nullptr);
    sqlite3_close(db);
    return answers.join(QLatin1Char('\n'));
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
