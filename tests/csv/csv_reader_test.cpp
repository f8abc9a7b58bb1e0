// The reader splits plain lines itself and hands the others to libcsv: both ways must read
// every file alike. It fills the buffers of a row again for the next one: a caller that keeps
// fields of earlier rows must still hold them as they were read.
#include "csv/csv_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace sorvenka::testing {
namespace {

struct ReadRow {
    qint64 line;
    std::vector<CsvField> fields;
    QString refusal;
    bool operator==(const ReadRow&) const = default;
};

struct ReadResult {
    bool ok;
    std::vector<ReadRow> rows;
    QString message;
    qint64 errorLine;
    bool operator==(const ReadResult&) const = default;
};

ReadResult Read(const QString& path, bool throughLibcsvOnly) {
    CsvReader reader;
    if (throughLibcsvOnly) reader.readEveryLineThroughLibcsv();
    ReadResult result{false, {}, {}, 0};
    if (!reader.open(path, result.message)) return result;
    result.ok = reader.read(
        [&](CsvRow& row) {
            result.rows.push_back({row.line, row.fields, row.refusal});
            return true;
        },
        result.message, result.errorLine);
    return result;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_EQ(out.write(bytes), bytes.size());
}

TEST(CsvReader, PlainLinesReadAsLibcsvReadsThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.csv"));
    const std::vector<QByteArray> files{
        "a,b\r\n1,2\r\n",
        "a,b\n 1 ,\t2\t\n",               // blanks around fields
        "a,b,c\n,,\n, ,\t\n",             // empty fields, blank fields
        "a,b\n1,2",                       // no line end at the end
        "a,b\n\n\r\n  \n1,2\n",           // empty and blank lines between rows
        "a,b\n1,\"x\ny\"\n3,4\n",         // a quoted field over two lines, then a plain line
        "a,b\n1\r2,3\n",                  // a lone CR ends a row inside the line
        "a,b\n1\r\"x\n2\n\",y\n3,4\n",    // after a lone CR, a quoted field over lines
        "a;b\n1;2,5\n",                   // the semicolon as delimiter
        "a,b\n1,\"q\"\"\"\n",             // quotes doubled
        QByteArray("a,b\n1,x\0y\n", 10),  // a NUL byte
        "\xEF\xBB\xBF"
        "a,b\n1,2\n",                   // a byte-order mark
        "a,b\n\x82\xa0,\x83\x41\n",     // CP932
        "a,b\n1,\"open\n",              // an unbalanced quote
        "a,b\nx\"y,2\n",                // a quote inside a plain field
        "a,b,c\n\"\",\"\"\"\",\"\"\n",  // empty texts and an escaped quote
        "a,b,c\n \"\",\"\" ,x\"\"\n",   // blanks around "", quotes inside a field
    };
    for (const QByteArray& file : files) {
        Write(path, file);
        EXPECT_EQ(Read(path, false), Read(path, true)) << file.toStdString();
    }

    // Lines drawn from the characters that matter, with some quoted fields among them.
    QRandomGenerator random(20261210);
    const std::vector<QByteArray> pieces{"a",  "1",    " ",         "\t", ",", ";",
                                         "あ", "\"\"", "\"x,\ny\"", "\r", ""};
    for (int round = 0; round < 300; ++round) {
        QByteArray file = "h,i,j\n";
        const int lines = random.bounded(1, 8);
        for (int l = 0; l < lines; ++l) {
            const int count = random.bounded(0, 9);
            for (int p = 0; p < count; ++p) file += pieces[random.bounded(int(pieces.size()))];
            file += random.bounded(2) ? "\r\n" : "\n";
        }
        Write(path, file);
        EXPECT_EQ(Read(path, false), Read(path, true)) << file.toStdString();
    }
}

TEST(CsvReader, FieldsKeptFromEarlierRowsStayAsRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.csv"));
    QByteArray file = "a,b,c\r\n";
    std::vector<std::vector<CsvField>> expected;
    for (int row = 0; row < 200; ++row) {
        // Fields of every length, a quoted empty text and an absent one among them.
        const QByteArray first = QByteArray(row % 37, 'x') + QByteArray::number(row);
        const QByteArray second = row % 3 ? "種目" + QByteArray::number(row) : QByteArray();
        file += first + "," + (row % 5 ? second : "\"\"") + "," + (row % 7 ? "z" : "") + "\r\n";
        const CsvField middle = row % 5 == 0 ? CsvField(QByteArray(""))
                                : row % 3    ? CsvField(second)
                                             : CsvField();
        expected.push_back({first, middle, row % 7 ? CsvField("z") : CsvField()});
    }
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_EQ(out.write(file), file.size());
    out.close();

    CsvReader reader;
    QString message;
    ASSERT_TRUE(reader.open(path, message)) << qPrintable(message);
    std::vector<std::vector<CsvField>> kept;
    qint64 line = 0;
    bool header = true;
    ASSERT_TRUE(reader.read(
        [&](CsvRow& row) {
            if (!header) kept.push_back(row.fields);
            header = false;
            return true;
        },
        message, line))
        << qPrintable(message);
    ASSERT_EQ(kept.size(), expected.size());
    for (size_t row = 0; row < kept.size(); ++row) EXPECT_EQ(kept[row], expected[row]) << row;
}

}  // namespace
}  // namespace sorvenka::testing
