#pragma once

#include <QDate>
#include <QString>

namespace sorvenka {

// The record list covers whole weeks ending at its last day: the days last − i for i from 0
// to n, n = weeks × 7 − 1 rounded to the nearest whole number, halves to the even one.

// The most weeks a list covers; a larger count lists this many, so that no typed number can
// hold the window for long (one query per day).
inline constexpr int kMaxListedWeeks = 5200;

// n for the week-count text, or -1 when no day is listed: the text is not a number, or n is
// negative. n never reaches back before 0001/01/01 nor beyond kMaxListedWeeks.
int PeriodLastOffset(const QDate& lastDay, const QString& weeks);

// Rounds to the nearest whole number, a half to the even neighbour (2.5 → 2, 3.5 → 4).
double RoundHalfEven(double value);

}  // namespace sorvenka
