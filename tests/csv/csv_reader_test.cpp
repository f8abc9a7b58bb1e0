// The reader splits most rows itself and hands the others to libcsv: both ways must read
// every file alike. It fills the buffers of a row again for the next one: a caller that keeps
// fields of earlier rows must still hold them as they were read.
#include "csv/csv_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

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

ReadResult Read(const QString& path, bool throughLibcsvOnly, bool lent = false) {
    CsvReader reader;
    if (throughLibcsvOnly) reader.readEveryLineThroughLibcsv();
    if (lent) reader.lendFields();
    ReadResult result{false, {}, {}, 0};
    if (!reader.open(path, result.message)) return result;
    result.ok = reader.read(
        [&](CsvRow& row) {
            // A lent field is good only while its row is: the bytes are copied to be kept.
            std::vector<CsvField> fields;
            for (const CsvField& field : row.fields)
                fields.push_back(field ? CsvField(QByteArray(field->constData(), field->size()))
                                       : CsvField());
            result.rows.push_back({row.line, fields, row.refusal});
            return true;
        },
        result.message, result.errorLine);
    return result;
}

// Lent or copied, split by the reader or by libcsv: every way reads the file alike.
void ExpectEveryWayAlike(const QString& path, const QByteArray& file) {
    const ReadResult libcsv = Read(path, true);
    EXPECT_EQ(Read(path, false), libcsv) << file.toStdString();
    EXPECT_EQ(Read(path, false, true), libcsv) << "lent: " << file.toStdString();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_EQ(out.write(bytes), bytes.size());
}

TEST(CsvReader, RowsReadAsLibcsvReadsThem) {
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
        "a,b\n1,2\n",                                     // a byte-order mark
        "a,b\n\x82\xa0,\x83\x41\n",                       // CP932
        "a,b\n1,\"open\n",                                // an unbalanced quote
        "a,b\nx\"y,2\n",                                  // a quote inside a plain field
        "a,b,c\n\"\",\"\"\"\",\"\"\n",                    // empty texts and an escaped quote
        "a,b,c\n \"\",\"\" ,x\"\"\n",                     // blanks around "", quotes inside a field
        "a,b\n \"x, y\" ,\t\"\"\"q\"\"\"\t\r\n",          // blanks around quoted fields
        "a,b\n\"1\r\n\"\"2\"\"\r3\n\",\" \"\r\n4,5\r\n",  // every line end inside quotes
        "a,b\n\"x\" y,2\n",                               // text after a closing quote
        "a,b\n\"x\" \"y\",2\n",                           // a second quote after blanks
        "a,b\n1,\"x\"",                                   // a quoted field at the end of the file
        "a,b\n  \n\t\r\n1,2\n",                           // lines of blanks before a row
        "a,b,c\n\"x\"\"y\",\"\"\"\",\"p\"\"q\"\"r\"\n",   // doubled quotes in every field
        "a,b\n\"\"\"\"\"\",1\n2,3\n",                     // a field of quotes alone, then more
    };
    for (const QByteArray& file : files) {
        Write(path, file);
        ExpectEveryWayAlike(path, file);
    }

    // Lines drawn from the characters that matter, with some quoted fields among them.
    QRandomGenerator random(20261210);
    const std::vector<QByteArray> pieces{
        "a", "1", " ", "\t", ",", ";", "あ", "\"\"", "\"x,\ny\"", "\"\"\"\r\n\"", "\r", "", "\""};
    for (int round = 0; round < 600; ++round) {
        QByteArray file = "h,i,j\n";
        const int lines = random.bounded(1, 8);
        for (int l = 0; l < lines; ++l) {
            const int count = random.bounded(0, 9);
            for (int p = 0; p < count; ++p) file += pieces[random.bounded(int(pieces.size()))];
            // CR LF, LF, or a lone CR as old Mac files end their lines.
            const char* const ends[] = {"\r\n", "\n", "\r"};
            file += ends[random.bounded(3)];
        }
        Write(path, file);
        ExpectEveryWayAlike(path, file);
    }

    // Files of well-formed rows over several of the reader's chunks of 64 KiB, so that rows
    // (quoted line breaks, a CR LF) are cut at a chunk's end in every way.
    const std::vector<QByteArray> fields{"1",         " a b ",       "",          "\"\"",
                                         "\"x,\ny\"", " \"\"\"q\" ", "あいう",    "\"\r\n\"",
                                         "\t",        "\"a\rb\"",    "2024/01/02"};
    for (int round = 0; round < 4; ++round) {
        QByteArray file = "h,i,j\n";
        while (file.size() < 200 * 1024) {
            const int count = random.bounded(1, 5);
            for (int f = 0; f < count; ++f) {
                if (f > 0) file += ',';
                file += fields[random.bounded(int(fields.size()))];
            }
            const char* const ends[] = {"\r\n", "\n", "\r"};
            file += ends[random.bounded(3)];
        }
        Write(path, file);
        const ReadResult own = Read(path, false);
        EXPECT_TRUE(own.ok) << own.message.toStdString();
        EXPECT_GT(own.rows.size(), 10000u);
        EXPECT_EQ(own, Read(path, true));
        EXPECT_EQ(Read(path, false, true), own);
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

// Every row knows the line it starts on, whatever ends the lines: LF, CR LF, or a lone CR as
// old Mac files have it, also where a CR LF is cut at the end of a chunk the reader reads.
TEST(CsvReader, RowsKnowTheirLinesWhateverEndsThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.csv"));
    // A header line that fills the first chunk of 64 KiB up to its CR.
    const QByteArray longHeader = "h" + QByteArray(64 * 1024 - 2, 'x') + "\r\n";
    struct Case {
        const char* name;
        QByteArray file;
        std::vector<qint64> lines;
    };
    const Case cases[] = {
        {"LF", "a,b\n1,2\n3,4\n", {1, 2, 3}},
        {"CR LF", "a,b\r\n1,2\r\n3,4\r\n", {1, 2, 3}},
        {"CR alone", "a,b\r1,2\r3,4\r", {1, 2, 3}},
        {"CR alone, no end", "a,b\r1,2\r3,4", {1, 2, 3}},
        {"CR alone with empty lines", "a,b\r\r1,2\r\r\r3,4\r", {1, 3, 6}},
        {"mixed", "a,b\r1,2\n3,4\r\n\r5,6", {1, 2, 3, 5}},
        {"quoted line break", "a,b\r1,\"x\ry\"\r3,4\r", {1, 2, 4}},
        {"quoted CR LF", "a,b\r\n1,\"x\r\ny\r\n\"\r\n3,4\r\n", {1, 2, 5}},
        {"a line of blanks before a row", "a,b\n \t\n1,2\n", {1, 3}},
        {"CR LF cut at the chunk's end", longHeader + "1,2\r\n3,4\r\n", {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(path, c.file);
        for (bool libcsvOnly : {false, true}) {
            const ReadResult result = Read(path, libcsvOnly);
            ASSERT_TRUE(result.ok) << result.message.toStdString();
            std::vector<qint64> lines;
            for (const ReadRow& row : result.rows) lines.push_back(row.line);
            EXPECT_EQ(lines, c.lines);
        }
    }
    // A refusal names the line of a CR-only file too.
    Write(path, "a,b\r1,2\r3,\"never closed\r4,5\r");
    const ReadResult broken = Read(path, false);
    EXPECT_FALSE(broken.ok);
    EXPECT_EQ(broken.errorLine, 3);
}

// What the reader opens, run in a child that ends after a few seconds at the latest: a file
// that is no regular one must be refused at once rather than read (a FIFO without writer
// waits for ever, /dev/zero never ends). Returns the open's message, or why the child failed.
QString OpenInChild(const QString& path, int standardInput = -1) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::alarm(5);
        if (standardInput >= 0) ::dup2(standardInput, 0);
        CsvReader reader;
        QString message;
        const QByteArray answer =
            reader.open(path, message) ? QByteArray("opened") : message.toUtf8();
        (void)!::write(pipeFds[1], answer.constData(), static_cast<size_t>(answer.size()));
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    QByteArray answer;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) answer.append(buffer, got);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return QStringLiteral("the child hung or crashed");
    return QString::fromUtf8(answer);
}

TEST(CsvReader, OnlyRegularFilesAreRead) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QString device = dir.filePath(QStringLiteral("zero.csv"));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 5)) != 0)
        device = QStringLiteral("/dev/zero");
    int sent[2];
    ASSERT_EQ(::pipe(sent), 0);
    ASSERT_EQ(::write(sent[1], "a,b\n1,2\n", 8), 8);
    ::close(sent[1]);
    struct Case {
        const char* name;
        QString path;
        const char* reason;
        int standardInput;
    };
    const Case cases[] = {
        {"FIFO without a writer", fifo, "通常のファイルではありません", -1},
        {"device", device, "通常のファイルではありません", -1},
        {"standard input that is a pipe", QStringLiteral("/dev/stdin"), " - ", sent[0]},
        {"folder", dir.path(), "フォルダです", -1},
        {"missing", dir.filePath(QStringLiteral("none.csv")), "ありません", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString message = OpenInChild(c.path, c.standardInput);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
        EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
    }
    ::close(sent[0]);
    const QString regular = dir.filePath(QStringLiteral("plain.csv"));
    Write(regular, "a,b\n1,2\n");
    EXPECT_EQ(OpenInChild(regular), QStringLiteral("opened"));
}

// A UTF-16 file is named as such, not read as CP932 with every row refused.
TEST(CsvReader, AUtf16FileIsNamedAsSuch) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u16.csv"));
    const QString text = QStringLiteral("Date,Exercise Name,Reps\r\n2024-05-01,ベンチ,10\r\n");
    const QByteArray le(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray be = le;
    for (qsizetype i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    struct Case {
        const char* name;
        QByteArray file;
        bool utf16;
    };
    const Case cases[] = {
        {"little endian with mark", "\xFF\xFE" + le, true},
        {"big endian with mark", "\xFE\xFF" + be, true},
        {"little endian", le, true},
        {"big endian", be, true},
        {"UTF-8", text.toUtf8(), false},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text.toUtf8(), false},
        {"a NUL byte in a row", QByteArray("a,b\n1,x\0y\n", 10), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(path, c.file);
        EXPECT_EQ(LooksLikeUtf16(c.file), c.utf16);
        CsvReader reader;
        QString message;
        EXPECT_EQ(reader.open(path, message), !c.utf16);
        EXPECT_EQ(message.contains(QStringLiteral("UTF-16")), c.utf16) << message.toStdString();
    }
}

}  // namespace
}  // namespace sorvenka::testing
