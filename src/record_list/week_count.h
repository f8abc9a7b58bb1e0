#pragma once

#include <QString>

namespace sorvenka {

// The week count of the record list as the "<" and ">" buttons change it. The count is
// stepped as decimal text, digit by digit, so that no count is too large; the result has no
// leading zeros (007 gives 8). A text that is not all ASCII digits comes back unchanged.

// One more.
QString WeekCountUp(const QString& text);
// One less, but never below 1: a count of 0 or 1 comes back unchanged.
QString WeekCountDown(const QString& text);

}  // namespace sorvenka
