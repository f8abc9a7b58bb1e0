#include "record_list/week_count.h"

#include "common/text_tests.h"

namespace sorvenka {

namespace {
QString withoutLeadingZeros(const QString& digits) {
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0')) ++first;
    return digits.mid(first);
}
}  // namespace

QString WeekCountUp(const QString& text) {
    if (!IsDigitsText(text)) return text;
    QString digits = withoutLeadingZeros(text);
    qsizetype i = digits.size() - 1;
    for (; i >= 0 && digits[i] == QLatin1Char('9'); --i) digits[i] = QLatin1Char('0');
    if (i < 0)
        digits.prepend(QLatin1Char('1'));
    else
        digits[i] = QChar(digits[i].unicode() + 1);
    return digits;
}

QString WeekCountDown(const QString& text) {
    if (!IsDigitsText(text)) return text;
    QString digits = withoutLeadingZeros(text);
    if (digits == QStringLiteral("0") || digits == QStringLiteral("1")) return text;
    qsizetype i = digits.size() - 1;
    for (; digits[i] == QLatin1Char('0'); --i) digits[i] = QLatin1Char('9');
    digits[i] = QChar(digits[i].unicode() - 1);
    return withoutLeadingZeros(digits);
}

}  // namespace sorvenka
