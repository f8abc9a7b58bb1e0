#pragma once

#include <QString>
#include <optional>

struct sqlite3;

namespace sorvenka {

// The time since the last finished set of the day, against a rest length the user picked.
// It holds no clock of its own: the caller passes the time of day at each reading.
class RestClock {
  public:
    // Seconds since midnight of the day's last stored finish; nothing hides the clock.
    void setLastFinish(std::optional<int> secondsOfDay);
    // 0 for no rest length.
    void setRestLength(int seconds) { restLength_ = seconds; }
    int restLength() const { return restLength_; }

    struct Reading {
        bool shown = false;    // a finish today, not in the future
        int elapsed = 0;       // seconds since it
        bool reached = false;  // the rest length is reached
        bool ring = false;     // reached at this reading for the first time since that finish
    };
    Reading read(int nowSecondsOfDay);

  private:
    std::optional<int> lastFinish_;
    int restLength_ = 0;
    bool rung_ = false;
};

// "1:05": minutes and seconds of an elapsed time.
QString RestText(int seconds);

// The latest finish time stored on the day over every exercise, in seconds since midnight;
// nothing when the day has none (finish times that are not hh:nn:ss are passed over).
std::optional<int> ReadLastFinish(sqlite3* connection, const QString& ymd);

// The rest lengths offered, in seconds (0 = none), and the one kept between starts in a
// small file ("90"); a missing or unreadable file gives 0. Only a regular file is read or
// replaced: a link, a FIFO or a device at the name is left alone.
const int* RestLengthChoices(int& count);
int LoadRestLength(const QString& path);
bool SaveRestLength(const QString& path, int seconds);

}  // namespace sorvenka
