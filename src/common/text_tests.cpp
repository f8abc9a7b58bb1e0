#include "common/text_tests.h"

namespace sorvenka {

namespace {
bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allAsciiDigits(QStringView text) {
    for (QChar c : text)
        if (!isAsciiDigit(c)) return false;
    return true;
}

// A two-digit field between "00" and the given maximum.
bool isTwoDigitField(QStringView field, int max) {
    return allAsciiDigits(field) && field.toInt() <= max;
}
}  // namespace

bool IsDigitsText(const QString& text) {
    return !text.isEmpty() && allAsciiDigits(text);
}

bool IsDecimalText(const QString& text) {
    if (text.count(QLatin1Char('.')) > 1) return false;
    QString digits = text;
    digits.remove(QLatin1Char('.'));
    return IsDigitsText(digits);
}

// Fields must be digits: a field such as "1x" sorts between "00" and "23" but is no time,
// and durations are computed from every text that passes.
bool IsTimeText(const QString& text) {
    if (text.size() != 8) return false;
    if (text[2] != QLatin1Char(':') || text[5] != QLatin1Char(':')) return false;
    const QStringView view(text);
    return isTwoDigitField(view.mid(0, 2), 23) && isTwoDigitField(view.mid(3, 2), 59) &&
           isTwoDigitField(view.mid(6, 2), 59);
}

QDate ParseYmd(const QString& text) {
    if (text.size() != 10) return {};
    if (text[4] != QLatin1Char('/') || text[7] != QLatin1Char('/')) return {};
    const QStringView view(text);
    const QStringView year = view.mid(0, 4), month = view.mid(5, 2), day = view.mid(8, 2);
    if (!allAsciiDigits(year) || !allAsciiDigits(month) || !allAsciiDigits(day)) return {};
    const int y = year.toInt();
    if (y < 1) return {};  // QDate counts year 0 as invalid; keep every accepted text a real day.
    return QDate(y, month.toInt(), day.toInt());
}

bool IsValidYmd(const QString& text) {
    return ParseYmd(text).isValid();
}

QString FormatYmd(const QDate& date) {
    return QStringLiteral("%1/%2/%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString WeekdayText(const QDate& date) {
    static const QString kNames = QStringLiteral("日月火水木金土");
    return kNames.mid(date.dayOfWeek() % 7, 1);  // Qt counts Monday 1 .. Sunday 7.
}

int SecondsOfDay(const QString& timeText) {
    return timeText.mid(0, 2).toInt() * 3600 + timeText.mid(3, 2).toInt() * 60 +
           timeText.mid(6, 2).toInt();
}

}  // namespace sorvenka
