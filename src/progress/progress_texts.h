#pragma once

#include <QString>

namespace sorvenka {

struct DayFigures;

// The texts of the progress figures as the window shows them.

// A number with at most two decimals and no trailing zeros: 102.5, 45.36, 60.
QString FormatNumber(double value);
// "102.5 kg"
QString FormatKg(double kg);
// m:ss below an hour, h:mm:ss from an hour on.
QString FormatDuration(int seconds);
// "5:30 /km"
QString FormatPace(double secondsPerKm);
// "12.3 km"
QString FormatKm(double km);
// The day's figures on one line each, headed by the day and its weekday: the hover text.
QString DayTooltip(const DayFigures& day);

}  // namespace sorvenka
