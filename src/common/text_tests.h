#pragma once

#include <QDate>
#include <QString>

namespace sorvenka {

// Not empty and only the ASCII digits 0 to 9.
bool IsDigitsText(const QString& text);
// At most one ".", and with it taken out not empty and only ASCII digits (12, 12.5, .5, 5.).
bool IsDecimalText(const QString& text);
// hh:nn:ss with the hour 00-23 and minutes and seconds 00-59, two ASCII digits each.
bool IsTimeText(const QString& text);
// yyyy/mm/dd naming a real calendar day; never fails.
bool IsValidYmd(const QString& text);

// The day of a valid day text; an invalid QDate otherwise.
QDate ParseYmd(const QString& text);
// yyyy/mm/dd, "/" whatever the locale.
QString FormatYmd(const QDate& date);
// 日 月 火 水 木 金 土 for Sunday to Saturday.
QString WeekdayText(const QDate& date);
// Seconds since midnight of a text that passes IsTimeText.
int SecondsOfDay(const QString& timeText);

}  // namespace sorvenka
