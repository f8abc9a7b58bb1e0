#include "db/free_code.h"

#include <algorithm>

namespace sorvenka {

namespace {
QString Numbered(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

bool IsNumber(const QString& code) {
    return code.size() == 2 && code[0].isDigit() && code[1].isDigit() && code[0].unicode() < 0x80 &&
           code[1].unicode() < 0x80;
}
}  // namespace

QString NextFreeCode(const QSet<QString>& used) {
    int highest = 0;
    for (const QString& code : used)
        if (IsNumber(code)) highest = std::max(highest, code.toInt());
    for (int n = highest + 1; n <= 99; ++n)
        if (!used.contains(Numbered(n))) return Numbered(n);
    for (int n = 1; n <= 99; ++n)
        if (!used.contains(Numbered(n))) return Numbered(n);
    // Beyond the numbers: letters and digits, never a comma, quote or blank, so every code
    // stays a valid part of a record key.
    static const QString kAlphabet =
        QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    for (const QChar first : kAlphabet)
        for (const QChar second : kAlphabet) {
            const QString code = QString(first) + second;
            if (!IsNumber(code) && !used.contains(code)) return code;
        }
    return QString();
}

}  // namespace sorvenka
