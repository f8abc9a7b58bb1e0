#include "record_list/record_key.h"

#include "common/text_tests.h"

namespace sorvenka {

namespace {

// Two characters that are neither the key part's separator, a quote, a control character nor
// half of a surrogate pair (a pair would be one character in two code units).
bool IsCodeOfForm(QStringView code) {
    if (code.size() != 2) return false;
    for (const QChar c : code) {
        if (c == QLatin1Char(',') || c == QLatin1Char('\'')) return false;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSurrogate()) return false;
    }
    return true;
}

bool IsDigits(QStringView text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

bool IsRecordKeyOfForm(QStringView ymd, QStringView grpCd, QStringView exerCd, QStringView setNum) {
    return IsCodeOfForm(grpCd) && IsCodeOfForm(exerCd) && IsDigits(setNum) &&
           IsValidYmd(ymd.toString());
}

bool IsRecordKeyOfForm(const RecordKey& key) {
    return IsRecordKeyOfForm(key.ymd, key.grp_cd, key.exer_cd, key.set_num);
}

}  // namespace sorvenka
