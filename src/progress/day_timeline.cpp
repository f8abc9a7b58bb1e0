#include "progress/day_timeline.h"

#include <algorithm>

#include "db/prepared_statement.h"
#include "progress/progress_texts.h"

namespace sorvenka {

namespace {

const char* const kDayTimelineSql =
    "SELECT t.grp_cd, t.exer_cd, e.exer_name, t.set_num, t.hms_sta, t.hms_end,"
    " t.target, t.unit_t, t.cnt, t.unit, t.cnt_min, t.cnt_sec"
    " FROM t_exer t LEFT JOIN m_exer e ON e.grp_cd = t.grp_cd AND e.exer_cd = t.exer_cd"
    " WHERE t.ymd = ?1";

// The set's figures as stored, for the hover text; texts that are not numbers are shown as
// they are, since nothing is computed from them here.
QString Figures(const PreparedStatement& s) {
    QString text;
    const QString load = s.isNumber(6) ? FormatNumber(s.columnDouble(6)) : s.columnText(6);
    if (!s.columnText(7).isEmpty() && load != QStringLiteral("0"))
        text += QLatin1Char(' ') + load + QLatin1Char(' ') + s.columnText(7);
    if (!s.isNull(8)) {
        text += (text.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" × ")) + s.columnText(8) +
                s.columnText(9);
    } else if (!s.isNull(10) || !s.isNull(11)) {
        text += QLatin1Char(' ') + s.columnText(10) + QStringLiteral("分") + s.columnText(11) +
                QStringLiteral("秒");
    }
    return text;
}

}  // namespace

DayTimeline ReadDayTimeline(sqlite3* connection, const QString& ymd) {
    DayTimeline timeline;
    struct Placed {
        int rowFirstStart;
        TimelineRow row;
    };
    std::vector<Placed> placed;
    PreparedStatement s(connection, kDayTimelineSql);
    s.bindText(1, ymd);
    while (s.next()) {
        const int start = s.timeOfDay(4);
        const int finish = s.timeOfDay(5);
        if (start < 0 || finish < start) {
            ++timeline.untimed;
            continue;
        }
        const QString grp = s.columnText(0), exer = s.columnText(1);
        auto row = std::find_if(placed.begin(), placed.end(), [&](const Placed& p) {
            return p.row.grpCd == grp && p.row.exerCd == exer;
        });
        if (row == placed.end()) {
            const QString name = s.isNull(2) ? grp + QLatin1Char('-') + exer : s.columnText(2);
            placed.push_back({start, {grp, exer, name, {}}});
            row = placed.end() - 1;
        }
        row->rowFirstStart = std::min(row->rowFirstStart, start);
        row->row.bars.push_back({start, finish,
                                 QStringLiteral("第%1セット %2–%3")
                                         .arg(s.columnText(3), s.columnText(4), s.columnText(5)) +
                                     Figures(s)});
    }
    if (!s.ok()) return {false, s.error(), {}, 0};
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.rowFirstStart < b.rowFirstStart;
    });
    for (Placed& p : placed) {
        std::stable_sort(
            p.row.bars.begin(), p.row.bars.end(),
            [](const TimelineBar& a, const TimelineBar& b) { return a.start < b.start; });
        timeline.rows.push_back(std::move(p.row));
    }
    return timeline;
}

}  // namespace sorvenka
