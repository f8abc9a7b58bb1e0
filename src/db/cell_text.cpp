#include "db/cell_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace sorvenka {

namespace {

constexpr int kSignificantDigits = 15;

// Longest plain text: a sign, "0.", 323 zeros of the smallest subnormal and 15 digits; or a
// sign and 309 digits of the largest double.
constexpr int kLongestText = 1 + 2 + 323 + kSignificantDigits;

// The value correctly rounded to 15 significant digits, written as "d.dddddddddddddde+XX"
// and taken apart into its digits and the exponent of the first.
void ScientificDigits(double value, std::array<char, kSignificantDigits>& digits, int& count,
                      int& exponent) {
    std::array<char, 32> scientific{};
    char* const first = scientific.data();
    const std::to_chars_result written =
        std::to_chars(first, first + scientific.size(), value, std::chars_format::scientific,
                      kSignificantDigits - 1);
    count = 0;
    const char* p = first;
    for (; p < written.ptr && *p != 'e'; ++p)
        if (*p != '.') digits[count++] = *p;
    exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), written.ptr, exponent);
}

}  // namespace

QString FloatCellText(double value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0) return QStringLiteral("0");

    // The significant digits without the point, and the exponent of the first.
    std::array<char, kSignificantDigits> digits{};
    int count = 0;
    int exponent = 0;
    ScientificDigits(std::fabs(value), digits, count, exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    std::array<char, kLongestText> text{};
    int length = 0;
    if (value < 0) text[length++] = '-';
    if (exponent < 0) {
        // 0.000ddd
        text[length++] = '0';
        text[length++] = '.';
        for (int i = -1; i > exponent; --i) text[length++] = '0';
        for (int i = 0; i < count; ++i) text[length++] = digits[i];
    } else {
        // ddd000 or ddd.ddd
        const int integerDigits = exponent + 1;
        for (int i = 0; i < integerDigits; ++i) text[length++] = i < count ? digits[i] : '0';
        if (count > integerDigits) {
            text[length++] = '.';
            for (int i = integerDigits; i < count; ++i) text[length++] = digits[i];
        }
    }
    return QString::fromLatin1(text.data(), length);
}

}  // namespace sorvenka
