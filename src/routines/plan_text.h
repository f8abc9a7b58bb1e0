#pragma once

#include <QStringList>

#include "routines/day_plan.h"

namespace sorvenka {

// The day's plan as lines of text: the routine and its day, then each line of the plan with its
// sets done and planned, target, rest, reason, plates and warm-up rows.
QStringList PlanTextLines(const DayPlan& plan, const RoutineBook& book, const QString& ymd);

// "102.5kg × 5回", "60kg × 11回（8〜12回）", "1:00", "5km 25:00": an item's target in words.
QString TargetText(const ItemPlan& item);

}  // namespace sorvenka
