#include "db/cell_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace sorvenka {

namespace {

constexpr int kSignificantDigits = 15;

// Longest plain text: a sign, "0.", 323 zeros of the smallest subnormal and 15 digits; or a
// sign and 309 digits of the largest double.
constexpr int kLongestText = 1 + 2 + 323 + kSignificantDigits;

}  // namespace

QString FloatCellText(double value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0) return QStringLiteral("0");

    // Correctly rounded scientific form "d.dddddddddddddde+XX" of the absolute value.
    std::array<char, 32> scientific{};
    const auto [end, error] =
        std::to_chars(scientific.data(), scientific.data() + scientific.size(), std::fabs(value),
                      std::chars_format::scientific, kSignificantDigits - 1);
    if (error != std::errc()) return QString();  // cannot happen: the buffer holds any double

    // The significant digits without the point, and the exponent of the first.
    std::array<char, kSignificantDigits> digits{};
    int count = 0;
    const char* p = scientific.data();
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') digits[count++] = *p;
    const int exponent = std::atoi(p + 1);
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
