// Times the text of FLOAT cells: the plain decimal form against the exponent form that a
// 15-digit 'g' conversion gives, over loads as users type them and over the whole range.
#include <QElapsedTimer>
#include <QString>
#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "db/cell_text.h"

using namespace sorvenka;

namespace {

constexpr int kRounds = 20;

template <typename Convert>
double NanosecondsPerValue(const std::vector<double>& values, Convert convert) {
    qsizetype sink = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < kRounds; ++round)
        for (const double value : values) sink += convert(value).size();
    const double nanoseconds = static_cast<double>(timer.nsecsElapsed());
    if (sink == 0) std::puts("");  // keeps the conversions from being optimised away
    return nanoseconds / (static_cast<double>(values.size()) * kRounds);
}

void Report(const char* name, const std::vector<double>& values) {
    const double plain = NanosecondsPerValue(values, [](double v) { return FloatCellText(v); });
    const double exponent =
        NanosecondsPerValue(values, [](double v) { return QString::number(v, 'g', 15); });
    std::printf("%-28s FloatCellText %7.1f ns   QString::number 'g' 15 %7.1f ns\n", name, plain,
                exponent);
}

}  // namespace

int main() {
    std::mt19937_64 random(20240514);
    std::vector<double> typed;  // loads as typed: 0 to 300 in steps of 0.25, a few tiny ones
    std::uniform_int_distribution<int> quarters(0, 1200);
    for (int i = 0; i < 100000; ++i) typed.push_back(quarters(random) / 4.0);
    for (int i = 0; i < 1000; ++i) typed[static_cast<std::size_t>(i) * 100] = 0.00005 * i;

    std::vector<double> anyDouble;  // every magnitude, up to 341 characters of text
    while (anyDouble.size() < 100000) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) anyDouble.push_back(value);
    }
    Report("loads as typed", typed);
    Report("any finite double", anyDouble);
    return 0;
}
