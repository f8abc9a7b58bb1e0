#pragma once

#include <QByteArray>
#include <QString>

namespace sorvenka {

// Keeps a second copy of the program from running beside this one: an exclusive flock(2) on
// a lock file in the program's folder, held for the life of the process. The kernel drops the
// lock when the process ends in any way (crash and kill -9 included), so it never goes stale.
class InstanceGuard {
  public:
    InstanceGuard() = default;
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    enum class Outcome {
        Taken,          // this process holds the lock
        HeldElsewhere,  // another process holds it
        Unavailable,    // the lock file cannot be made or locked: nothing would guard the data
    };
    // True only when this process now holds the lock. A lock that cannot be had is never taken
    // for one that is free: a read-only program folder without a lock file gives false (with
    // outcome() Unavailable), and the program must not run unguarded.
    bool acquire(const QString& programFolder, const QString& programName);
    Outcome outcome() const { return outcome_; }
    // The lock file of the last acquire.
    const QString& lockPath() const { return lockPath_; }
    // What to tell the user when acquire failed: the second-instance message, or that the
    // lock file cannot be made or is not a regular file.
    QString refusalMessage() const;

    static QString lockFileName(const QString& programName) {
        return programName + QStringLiteral(".lock");
    }

  private:
    Outcome take(const QByteArray& path);

    int fd_ = -1;
    bool notRegular_ = false;
    QString lockPath_;
    Outcome outcome_ = Outcome::Unavailable;
};

// Shown, and the program not started, when the lock file cannot be made or locked, or when
// something other than a regular file (a link, a FIFO) is at its name.
QString LockUnavailableMessage(const QString& lockPath);
QString LockNotRegularMessage(const QString& lockPath);

}  // namespace sorvenka
