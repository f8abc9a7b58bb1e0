#pragma once

// Turning a fuzzer's bytes into the texts the program's functions take.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace sorvenka::fuzz {

// The bytes as raw UTF-16 code units (little-endian pairs): any code unit can occur, unpaired
// surrogates and U+0000 included, as in a text typed or pasted into the window.
inline QString RawUtf16(const uint8_t* data, size_t size) {
    QString text;
    text.reserve(static_cast<qsizetype>(size / 2));
    for (size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    return text;
}

// The text cut at U+001F into exactly `count` fields (missing ones empty, extra ones joined
// into the last), so that one input fills several values.
inline QStringList Fields(const QString& text, int count) {
    QStringList fields = text.split(QChar(0x1F));
    while (fields.size() > count) fields[count - 1] += fields.takeAt(count);
    while (fields.size() < count) fields.append(QString());
    return fields;
}

// Ends the run, naming the broken property, so that libFuzzer keeps the input.
inline void Fail(const char* property, int line) {
    std::fprintf(stderr, "property broken at line %d: %s\n", line, property);
    std::abort();
}

}  // namespace sorvenka::fuzz

#define REQUIRE(property) ((property) ? void() : ::sorvenka::fuzz::Fail(#property, __LINE__))

namespace sorvenka::fuzz {}  // namespace sorvenka::fuzz
