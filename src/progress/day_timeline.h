#pragma once

#include <QString>
#include <vector>

struct sqlite3;

namespace sorvenka {

// One set of the day drawn from its start to its finish (seconds since midnight).
struct TimelineBar {
    int start = 0;
    int finish = 0;
    QString detail;  // "第2セット 09:05:00–09:06:10 60 kg × 10回"
};

// One exercise of the day with its sets in order.
struct TimelineRow {
    QString grpCd;
    QString exerCd;
    QString name;
    std::vector<TimelineBar> bars;
};

// Every set of one day with both times, one row per exercise in the order they were begun;
// the rests are the gaps between the bars.
struct DayTimeline {
    bool ok = true;
    QString error;
    std::vector<TimelineRow> rows;
    int untimed = 0;  // sets without both times, or finishing before they start
};

DayTimeline ReadDayTimeline(sqlite3* connection, const QString& ymd);

}  // namespace sorvenka
