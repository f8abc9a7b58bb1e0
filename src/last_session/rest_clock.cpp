#include "last_session/rest_clock.h"

#include <sqlite3.h>

#include "common/regular_file.h"
#include "common/text_tests.h"
#include "db/prepared_statement.h"
#include "export/export_file.h"

namespace sorvenka {

namespace {

// Texts compare as times in hh:nn:ss: the greatest of the day's times of that form is the last.
const char* const kLastFinishSql =
    "SELECT hms_end FROM t_exer WHERE ymd = ?1 AND hms_end GLOB "
    "'[0-2][0-9]:[0-5][0-9]:[0-5][0-9]' ORDER BY hms_end DESC";

constexpr int kChoices[] = {0, 60, 90, 120, 150, 180, 240, 300};

}  // namespace

void RestClock::setLastFinish(std::optional<int> secondsOfDay) {
    if (secondsOfDay != lastFinish_) rung_ = false;
    lastFinish_ = secondsOfDay;
}

RestClock::Reading RestClock::read(int now) {
    Reading reading;
    if (!lastFinish_ || now < *lastFinish_) return reading;
    reading.shown = true;
    reading.elapsed = now - *lastFinish_;
    reading.reached = restLength_ > 0 && reading.elapsed >= restLength_;
    reading.ring = reading.reached && !rung_;
    if (reading.reached) rung_ = true;
    return reading;
}

QString RestText(int seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<int> ReadLastFinish(sqlite3* connection, const QString& ymd) {
    PreparedStatement s(connection, kLastFinishSql);
    s.bindText(1, ymd);
    // Hours 24 to 29 pass the pattern; the first real time from the top is the last one.
    while (s.ok() && s.step() == SQLITE_ROW) {
        const QString text = s.columnText(0);
        if (IsTimeText(text)) return SecondsOfDay(text);
    }
    return std::nullopt;
}

const int* RestLengthChoices(int& count) {
    count = static_cast<int>(std::size(kChoices));
    return kChoices;
}

int LoadRestLength(const QString& path) {
    // Only a regular file: a FIFO at the name would hold the window's start.
    RegularFile file(path, RegularFile::Access::Read);
    if (!file.isOpen()) return 0;
    bool ok = false;
    const int seconds = QString::fromLatin1(file.read(16)).trimmed().toInt(&ok);
    for (const int choice : kChoices)
        if (ok && seconds == choice) return seconds;
    return 0;
}

bool SaveRestLength(const QString& path, int seconds) {
    // Written beside and renamed into place: a failed write keeps the previous choice, and a
    // link, a FIFO or a device at the name is left as it is.
    QString message;
    return WriteFileSafely(path, QByteArray::number(seconds) + "\r\n", message);
}

}  // namespace sorvenka
