#pragma once

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

    // False when another process holds the lock. When the lock file can neither be created
    // nor opened (a read-only program folder without one), there is no way to tell, and the
    // program is let run rather than refused with a wrong message.
    bool acquire(const QString& programFolder, const QString& programName);

    static QString lockFileName(const QString& programName) {
        return programName + QStringLiteral(".lock");
    }

  private:
    int fd_ = -1;
};

}  // namespace sorvenka
