// The text of FLOAT cells over the whole range of doubles.
#include "db/cell_text.h"

#include <gtest/gtest.h>

#include <QString>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace sorvenka::testing {
namespace {

// Digits of the text without sign, point and the zeros that only place the point.
QString SignificantDigits(const QString& text) {
    QString digits = text;
    digits.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
    while (digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
    while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
    return digits;
}

// Finite doubles of every magnitude, from random bit patterns: the text names the value
// rounded to 15 significant digits, in plain decimal form.
TEST(FloatCellText, AnyFiniteValueReadsAsPlainDecimalOfFifteenDigits) {
    std::mt19937_64 random(20240514);
    int checked = 0;
    while (checked < 20000) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value) || value == 0) continue;
        ++checked;
        const QString text = FloatCellText(value);
        SCOPED_TRACE(QString::number(value, 'g', 17).toStdString() + " -> " + text.toStdString());
        bool number = false;
        const long double read = text.toDouble(&number);
        ASSERT_TRUE(number);
        // Within half a unit of the 15th digit (an exact tie goes to the even digit), give or
        // take the rounding of reading the text back as a double.
        const long double magnitude = std::fabs(static_cast<long double>(value));
        const long double unit = std::pow(10.0L, std::floor(std::log10(magnitude)) - 14);
        EXPECT_LE(std::fabs(read - value), unit / 2 + magnitude * 0x1p-52L);
        EXPECT_FALSE(text.contains(QLatin1Char('e')));
        EXPECT_LE(SignificantDigits(text).size(), 15);
        if (text.contains(QLatin1Char('.'))) {
            EXPECT_FALSE(text.endsWith(QLatin1Char('0')));
        }
        EXPECT_EQ(text.startsWith(QLatin1Char('-')), value < 0);
    }
}

}  // namespace
}  // namespace sorvenka::testing
