// The text tests on raw UTF-16: each agrees with a plain reading of its form.
#include "common/text_tests.h"
#include "common/utf16.h"
#include "fuzz_input.h"

namespace {

bool AsciiDigits(QStringView text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// Valid UTF-16 is exactly what survives a round trip through UTF-8 unchanged (behind a letter,
// since the decoder drops a byte order mark at the start).
bool SurvivesUtf8(const QString& text) {
    const QString marked = QLatin1Char('x') + text;
    return QString::fromUtf8(marked.toUtf8()) == marked;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = sorvenka::fuzz::RawUtf16(data, size);

    REQUIRE(sorvenka::IsDigitsText(text) == (!text.isEmpty() && AsciiDigits(text)));

    const qsizetype dots = text.count(QLatin1Char('.'));
    QString undotted = text;
    undotted.remove(QLatin1Char('.'));
    REQUIRE(sorvenka::IsDecimalText(text) ==
            (dots <= 1 && !undotted.isEmpty() && AsciiDigits(undotted)));

    if (sorvenka::IsTimeText(text)) {
        const int seconds = sorvenka::SecondsOfDay(text);
        REQUIRE(seconds >= 0 && seconds < 24 * 3600);
        REQUIRE(QStringLiteral("%1:%2:%3")
                    .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                    .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(seconds % 60, 2, 10, QLatin1Char('0')) == text);
    }

    const QDate day = sorvenka::ParseYmd(text);
    REQUIRE(sorvenka::IsValidYmd(text) == day.isValid());
    if (day.isValid()) REQUIRE(sorvenka::FormatYmd(day) == text);

    REQUIRE(sorvenka::IsValidUtf16(text) == SurvivesUtf8(text));
    return 0;
}
