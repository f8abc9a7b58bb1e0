// The reader fills the buffers of a row again for the next one: a caller that keeps fields of
// earlier rows must still hold them as they were read.
#include "csv/csv_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace sorvenka::testing {
namespace {

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
