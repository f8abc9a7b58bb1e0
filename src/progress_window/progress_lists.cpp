// The records and training-days tables beside the chart.
#include <QHeaderView>
#include <cmath>

#include "common/text_tests.h"
#include "progress/progress_texts.h"
#include "progress_window/progress_window.h"

namespace sorvenka {

namespace {

QTableWidgetItem* DayItem(const QString& text, const QString& ymd) {
    auto* item = new QTableWidgetItem(text);
    item->setData(ProgressWindow::kDayRole, ymd);
    return item;
}

QString DayWithWeekday(const QString& ymd) {
    return ymd + QLatin1Char(' ') + WeekdayText(ParseYmd(ymd));
}

template <typename T>
QString Shown(const std::optional<T>& value, QString (*format)(T)) {
    return value ? format(*value) : QString();
}

QString KgText(double kg) {
    return FormatKg(kg);
}
QString DurationText(int seconds) {
    return FormatDuration(seconds);
}
QString RestText(double seconds) {
    return FormatDuration(static_cast<int>(std::lround(seconds)));
}
QString KmText(double km) {
    return FormatKm(km);
}
QString PaceText(double secondsPerKm) {
    return FormatPace(secondsPerKm);
}

QString RepsText(int reps) {
    return QString::number(reps) + QStringLiteral("回");
}

const QStringList kDayColumns{
    QStringLiteral("日付"),     QStringLiteral("セット"),     QStringLiteral("最大重量"),
    QStringLiteral("推定1RM"),  QStringLiteral("ボリューム"), QStringLiteral("合計回数"),
    QStringLiteral("最多回数"), QStringLiteral("合計時間"),   QStringLiteral("距離"),
    QStringLiteral("ペース"),   QStringLiteral("休憩中央値"), QStringLiteral("作業時間"),
    QStringLiteral("記録")};

}  // namespace

void ProgressWindow::fillRecords() {
    tblRecords->clearContents();
    tblRecords->setRowCount(static_cast<int>(history_.records.size()));
    for (int row = 0; row < tblRecords->rowCount(); ++row) {
        const PersonalRecord& record = history_.records[row];
        tblRecords->setItem(row, 0, DayItem(record.name, record.ymd));
        tblRecords->setItem(row, 1, DayItem(record.value, record.ymd));
        tblRecords->setItem(row, 2, DayItem(DayWithWeekday(record.ymd), record.ymd));
    }
    tblRecords->resizeColumnsToContents();
}

void ProgressWindow::fillDays() {
    tblDays->clear();
    tblDays->setColumnCount(static_cast<int>(kDayColumns.size()));
    tblDays->setHorizontalHeaderLabels(kDayColumns);
    const int count = static_cast<int>(history_.days.size());
    tblDays->setRowCount(count);
    std::vector<bool> used(kDayColumns.size(), false);
    used[0] = used[1] = true;
    for (int row = 0; row < count; ++row) {
        const DayFigures& day = history_.days[count - 1 - row];  // newest first
        const QStringList cells{
            DayWithWeekday(day.ymd), QString::number(day.sets), Shown(day.topKg, KgText),
            Shown(day.bestE1rmKg, KgText), Shown(day.volumeKg, KgText),
            // repetitions of the sets without a load
            Shown(day.totalRepsNoLoad, RepsText), Shown(day.mostRepsNoLoad, RepsText),
            Shown(day.durationSeconds, DurationText), Shown(day.distanceKm, KmText),
            Shown(day.paceSecondsPerKm, PaceText), Shown(day.medianRestSeconds, RestText),
            Shown(day.workingSeconds, DurationText),
            day.beaten.isEmpty() ? QString() : QStringLiteral("記録更新")};
        for (int column = 0; column < cells.size(); ++column) {
            QTableWidgetItem* item = DayItem(cells[column], day.ymd);
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblDays->setItem(row, column, item);
            if (!cells[column].isEmpty()) used[column] = true;
        }
        QTableWidgetItem* first = tblDays->item(row, 0);
        first->setToolTip(DayTooltip(day));
        if (!day.beaten.isEmpty()) {
            QTableWidgetItem* mark = tblDays->item(row, kDayColumns.size() - 1);
            mark->setToolTip(day.beaten.join(QStringLiteral("、")));
            mark->setForeground(QColor(0xC0, 0x30, 0x20));
        }
    }
    // Columns that no day fills stay out of the way (a lift has no distance, a run no load).
    for (int column = 0; column < tblDays->columnCount(); ++column)
        tblDays->setColumnHidden(column, !used[column]);
    tblDays->resizeColumnsToContents();
}

}  // namespace sorvenka
