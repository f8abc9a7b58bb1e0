// Display widths in raw UTF-16: padding gives exactly the width asked for, keeps a prefix of
// the text (or adds blanks in front of it), and the width is the length of the encoded text.
#include "common/display_width.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int width = data[0] % 64;
    const bool right = (data[1] & 1) != 0;
    const QString text = sorvenka::fuzz::RawUtf16(data + 2, size - 2);

    const int textWidth = sorvenka::ByteWidth(text);
    REQUIRE(textWidth == sorvenka::EncodeCp932(text).size());
    REQUIRE(textWidth >= 0);

    const QString padded = sorvenka::PadToWidth(text, width, right);
    REQUIRE(sorvenka::ByteWidth(padded) == width);
    // Blanks in front (right-aligned) or behind, around a prefix of the text.
    bool framed = false;
    for (qsizetype blanks = 0; blanks <= padded.size() && !framed; ++blanks) {
        const QString fill(blanks, QLatin1Char(' '));
        const QString rest = right ? padded.mid(blanks) : padded.left(padded.size() - blanks);
        // Compared by value: a null and an empty text are the same here.
        const bool filled = (right ? padded.left(blanks) : padded.right(blanks)) == fill;
        framed = filled && text.left(rest.size()) == rest;
    }
    REQUIRE(framed);
    if (textWidth <= width)
        REQUIRE((right ? padded.right(text.size()) : padded.left(text.size())) == text);

    QString minutes, seconds;
    const int duration = (data[0] << 8 | data[1]) - 32768;
    sorvenka::SplitDuration(duration, minutes, seconds);
    REQUIRE(minutes.size() == 3 && seconds.size() == 2);
    return 0;
}
