#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace sorvenka {

// One field as read, in UTF-8 whatever the file's encoding: absent for an empty field without
// quotes, so that a NULL written as an empty field and an empty text written as "" stay apart.
using CsvField = std::optional<QByteArray>;

// The text of a field; the empty text when absent.
inline QString FieldText(const CsvField& field) {
    return field ? QString::fromUtf8(*field) : QString();
}

struct CsvRow {
    qint64 line = 0;  // the file line on which the row starts, from 1
    std::vector<CsvField> fields;
    QString refusal;  // why the row cannot be used (a field over 1 MB, a NUL byte, ...)
};

enum class CsvEncoding { Utf8, Cp932 };

// Whether the first bytes of a file are UTF-16: a byte-order mark, or NUL bytes in every
// other position as ASCII characters give them.
bool LooksLikeUtf16(const QByteArray& head);

// The longest field taken; a longer one refuses its row.
inline constexpr qsizetype kMaxCsvFieldBytes = 1024 * 1024;

// Reads a CSV file row by row without holding the file in memory: the reader splits whole rows
// itself where libcsv would read them without fault, and gives libcsv the rest one line at a
// time, so every row knows the line it starts on. A file that
// is not valid UTF-8 throughout is read as CP932 (when CP932 fits it better). The delimiter is the
// comma, or the semicolon when the header line holds more semicolons than commas.
class CsvReader {
  public:
    // Checks the encoding (one pass over the file) and reads the delimiter from the first
    // line. False with a message when the file cannot be read, is no regular file (a FIFO,
    // a device, a folder: opened without waiting for a writer), or is UTF-16.
    bool open(const QString& path, QString& message);

    CsvEncoding encoding() const { return encoding_; }
    char delimiter() const { return delimiter_; }

    // Calls onRow for every row in file order; onRow returns false to stop. False when the
    // file cannot be read on (an unbalanced quote, a field far over the limit): message then
    // names the reason and errorLine the line of the row where it began.
    bool read(const std::function<bool(CsvRow&)>& onRow, QString& message, qint64& errorLine);

    // The fields of most rows handed on as views into the reader's buffer, without a copy:
    // good only until onRow returns. A caller that keeps a field copies its bytes
    // (QByteArray(field->constData(), field->size())); a plain copy of the QByteArray would
    // still be a view.
    void lendFields() { lendFields_ = true; }

    // Every line through libcsv, no row split by the reader's own path; both must read every
    // file alike (tests compare them).
    void readEveryLineThroughLibcsv() { plainLines_ = false; }

  private:
    QString path_;
    bool plainLines_ = true;
    bool lendFields_ = false;
    CsvEncoding encoding_ = CsvEncoding::Utf8;
    char delimiter_ = ',';
    bool utf8Faults_ = false;
};

}  // namespace sorvenka
