#include "routines/plan_text.h"

namespace sorvenka {

namespace {

QString Clock(int seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString DayName(const RoutineBook& book, qint64 id) {
    const RoutineDay* day = book.day(id);
    return day ? day->name : QString();
}

}  // namespace

QString TargetText(const ItemPlan& plan) {
    const ItemTarget& t = plan.target;
    const RoutineItem& item = plan.item;
    const QString load = t.load > 0 ? LoadText(t.load) + t.loadUnit : QString();
    switch (item.kind) {
        case ItemKind::Duration:
            return (load.isEmpty() ? QString() : load + QStringLiteral(" ")) + Clock(t.durationSec);
        case ItemKind::Distance:
            return t.durationSec > 0 ? load + QStringLiteral(" ") + Clock(t.durationSec) : load;
        case ItemKind::Reps:
            break;
    }
    QString reps = QString::number(t.reps) + item.countUnit;
    if (item.rule == ProgressionRule::Double && item.repMin != item.repMax)
        reps +=
            QStringLiteral("（%1〜%2%3）").arg(item.repMin).arg(item.repMax).arg(item.countUnit);
    return load.isEmpty() ? reps : load + QStringLiteral(" × ") + reps;
}

QStringList PlanTextLines(const DayPlan& plan, const RoutineBook& book, const QString& ymd) {
    QStringList lines;
    if (plan.day.id == 0) {
        lines.push_back(QStringLiteral("%1 メニュー「%2」: この日の予定はありません")
                            .arg(ymd, plan.routine.name));
        return lines;
    }
    QString head =
        QStringLiteral("%1 メニュー「%2」 日「%3」").arg(ymd, plan.routine.name, plan.day.name);
    if (plan.next.inProgress)
        head += QStringLiteral("（この日に始めています）");
    else if (plan.next.lastDayId != 0)
        head += QStringLiteral("（前回 %1 に「%2」）")
                    .arg(plan.next.lastYmd, DayName(book, plan.next.lastDayId));
    lines.push_back(head);
    if (plan.items.empty()) lines.push_back(QStringLiteral("  項目がありません"));
    for (const PlanLine& line : plan.lines) {
        const ItemPlan& item = plan.items[line.item];
        const QString name = item.exerciseName.isEmpty()
                                 ? item.item.grpCd + QStringLiteral("/") + item.item.exerCd
                                 : item.exerciseName;
        QString text = QStringLiteral("  ");
        if (!line.label.isEmpty()) text += line.label + QStringLiteral(" ");
        text += QStringLiteral("%1  %2/%3セット  %4")
                    .arg(name)
                    .arg(item.done)
                    .arg(item.planned)
                    .arg(TargetText(item));
        if (line.round > 0 && line.done) text += QStringLiteral("  済");
        if (line.restSec > 0) text += QStringLiteral("  休憩 %1").arg(Clock(line.restSec));
        lines.push_back(text);
        // The reason, plates and warm-ups once per item: at its line or its first round.
        if (line.round > 1) continue;
        lines.push_back(QStringLiteral("      ") + item.target.reason);
        if (!item.platesText.isEmpty()) lines.push_back(QStringLiteral("      ") + item.platesText);
        for (const WarmupRow& row : item.warmups)
            lines.push_back(QStringLiteral("      ウォームアップ %1%2 × %3回  %4")
                                .arg(LoadText(row.load), item.target.loadUnit)
                                .arg(row.reps)
                                .arg(row.platesText));
    }
    return lines;
}

}  // namespace sorvenka
