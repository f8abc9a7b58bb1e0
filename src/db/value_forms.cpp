#include "db/value_forms.h"

#include "common/text_tests.h"
#include "common/utf16.h"

namespace sorvenka {

namespace {

const QChar kQuote = QLatin1Char('\'');
const QChar kNul = QChar(u'\0');

bool refuse(const QString& name, const QString& value, const char* form, QString& message) {
    message =
        QStringLiteral("Value of %1 is not %2: [%3]").arg(name, QString::fromLatin1(form), value);
    return false;
}

// A text placed between quotes must be valid UTF-16: the engine reads an unpaired surrogate
// together with the next code unit, which may be the closing quote.
bool checkUtf16(const QString& name, const QString& value, QString& message) {
    if (IsValidUtf16(value)) return true;
    message = QStringLiteral("Value of %1 holds an unpaired UTF-16 surrogate").arg(name);
    return false;
}

bool isTimeOrEmpty(const QString& text) {
    return text.isEmpty() || IsTimeText(text);
}

// Units are placed between quotes as they are: a quote would end the text early.
bool checkUnit(const QString& name, const QString& unit, QString& message) {
    if (unit.contains(kQuote) || unit.contains(kNul))
        return refuse(name, unit, "a unit name without single quotes", message);
    return checkUtf16(name, unit, message);
}

bool checkDigits(const QString& name, const QString& value, QString& message) {
    if (!IsDigitsText(value)) return refuse(name, value, "a whole number", message);
    return true;
}

}  // namespace

bool CheckDayForm(const QString& name, const QString& ymd, QString& message) {
    if (!IsValidYmd(ymd)) return refuse(name, ymd, "a day yyyy/mm/dd", message);
    return true;
}

bool CheckCodeForm(const QString& name, const QString& code, int length, QString& message) {
    if (code.size() != length || code.contains(kQuote) || code.contains(kNul)) {
        const QByteArray form =
            QStringLiteral("a %1-character code without single quotes").arg(length).toLatin1();
        return refuse(name, code, form.constData(), message);
    }
    return checkUtf16(name, code, message);
}

bool CheckDayAndCodes(const QString& ymd, const QString& grpCd, const QString& exerCd,
                      QString& message) {
    return CheckDayForm(QStringLiteral("ymd"), ymd, message) &&
           CheckCodeForm(QStringLiteral("grp_cd"), grpCd, 2, message) &&
           CheckCodeForm(QStringLiteral("exer_cd"), exerCd, 2, message);
}

bool CheckKeyForm(const RecordKey& key, QString& message) {
    return CheckDayAndCodes(key.ymd, key.grp_cd, key.exer_cd, message) &&
           checkDigits(QStringLiteral("set_num"), key.set_num, message);
}

bool CheckTimesForm(const QString& hmsSta, const QString& hmsEnd, QString& message) {
    if (!isTimeOrEmpty(hmsSta))
        return refuse(QStringLiteral("hms_sta"), hmsSta, "a time hh:nn:ss or empty", message);
    if (!isTimeOrEmpty(hmsEnd))
        return refuse(QStringLiteral("hms_end"), hmsEnd, "a time hh:nn:ss or empty", message);
    return true;
}

bool CheckRecordForm(const ExerRecord& r, bool countForm, QString& message) {
    if (!CheckKeyForm(r.key(), message) || !CheckTimesForm(r.hms_sta, r.hms_end, message))
        return false;
    if (!IsDecimalText(r.target))
        return refuse(QStringLiteral("target"), r.target, "a decimal number", message);
    if (!checkUnit(QStringLiteral("unit_t"), r.unit_t, message) ||
        !checkUnit(QStringLiteral("unit"), r.unit, message))
        return false;
    if (countForm) {
        if (!checkDigits(QStringLiteral("cnt"), r.cnt, message)) return false;
    } else {
        if (!r.cnt_min.isEmpty() && !IsDigitsText(r.cnt_min))
            return refuse(QStringLiteral("cnt_min"), r.cnt_min, "a whole number or empty", message);
        if (!checkDigits(QStringLiteral("cnt_sec"), r.cnt_sec, message)) return false;
    }
    if (!CheckCodeForm(QStringLiteral("sweat_cd"), r.sweat_cd, 1, message)) return false;
    if (r.comment.contains(kNul)) {
        message = QStringLiteral("Value of comment holds the character U+0000");
        return false;
    }
    if (!checkUtf16(QStringLiteral("comment"), r.comment, message)) return false;
    message.clear();
    return true;
}

}  // namespace sorvenka
