// Export and import of Sorvenka's own CSV: every kind of set comes back cell by cell.
#include <gtest/gtest.h>

#include "csv/csv_export.h"
#include "csv/csv_import.h"
#include "csv/csv_test_files.h"
#include "startup/master_codes.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

// Count and duration forms, empty minutes, NULLs beside empty texts, REAL loads that are
// whole numbers, set numbers past 9, comments with CR LF, quotes, commas and edge blanks,
// half-width kana, characters CP932 cannot hold, and an exercise only this database knows.
const char* kEveryKindOfSet = R"sql(
insert into m_exer values ('01', '05', 'ケーブルフライ, "低め"', 1, 5);
insert into m_grp values ('42', '臨時', 0, 42);
insert into m_exer values ('42', '01', '臨時の種目', 1, 1);
insert into t_exer values
 ('2024/05/01', '01', '01', 1, '08:00:00', '08:01:30', 60, 'kg', 10, '回', null, null, '2', ''),
 ('2024/05/01', '01', '01', 2, '', '', 62.5, 'kg', 8, '回', null, null, '2',
  'line one' || char(13, 10) || 'line "two", with commas'),
 ('2024/05/01', '01', '01', 10, '', '', 0.1, 'lb', 1, '', null, null, '0', ' padded '),
 ('2024/05/01', '01', '01', 11, null, null, null, null, null, null, null, null, null, null),
 ('2024/05/01', '07', '02', 1, '06:00:00', '06:30:00', 5.25, 'km', null, '', 30, 15, '3',
  'ｾｯﾄ ﾒﾓ 😀 ß'),
 ('2024/05/02', '06', '01', 1, '', '', 0, '', null, '', null, null, '1', '時間なし'),
 ('2024/05/02', '06', '01', 2, '', '', 0, '', null, null, 2, 0, '1', ''''),
 ('2024/05/03', '01', '05', 1, '', '', 1e-7, 'kg', 123456789012, '回', null, null, '4', ','),
 ('2024/05/03', '42', '01', 3, '', '', 20, 'kg', 5, '回', null, null, '0', '"');
)sql";

TEST(CsvRoundTrip, EveryCellComesBackWithItsKind) {
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(kEveryKindOfSet));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/all.csv");
    qint64 rows = 0;
    QString message;
    ASSERT_TRUE(ExportCsv(source.db, file, QString(), QString(), rows, message))
        << message.toStdString();
    EXPECT_EQ(rows, 9);

    const QByteArray bytes = ReadFileBytes(file);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFymd,grp_cd,exer_cd,set_num,"));
    EXPECT_TRUE(bytes.contains("\"line one\r\nline \"\"two\"\", with commas\""));
    // NULL is an empty field, the empty text "".
    EXPECT_TRUE(bytes.contains("2024/05/01,01,01,11,,,,,,,,,,,"));
    EXPECT_TRUE(bytes.contains("2024/05/01,01,01,1,08:00:00,08:01:30,60,kg,10,回,,,2,\"\","));
    EXPECT_EQ(bytes.count("\r\n"), 11);  // header, 9 rows, one line break inside a comment
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));

    OpenDatabase target;
    ImportOptions options;
    options.commit = true;
    ImportSummary summary;
    ASSERT_TRUE(ImportCsv(target.db, file, options, summary))
        << SummaryLines(summary).join('\n').toStdString();
    EXPECT_EQ(summary.format, CsvFormat::Sorvenka);
    EXPECT_EQ(summary.newSets, 9);
    EXPECT_EQ(summary.days, 3);
    EXPECT_EQ(AllSets(target.layout.dbPath()), AllSets(source.layout.dbPath()));

    // Exercises and groups the target lacked come with their codes and names, and the
    // masters still pass the start-up checks.
    EXPECT_EQ(Scalar(target.layout.dbPath(),
                     "select exer_name from m_exer where grp_cd = '01' and exer_cd = '05'"),
              QStringLiteral("text:ケーブルフライ, \"低め\""));
    EXPECT_EQ(Scalar(target.layout.dbPath(), "select grp_name from m_grp where grp_cd = '42'"),
              QStringLiteral("text:臨時"));
    EXPECT_TRUE(CheckMasterCodes(target.db, message)) << message.toStdString();

    // The same file again adds nothing.
    ASSERT_TRUE(ImportCsv(target.db, file, options, summary));
    EXPECT_EQ(summary.newSets, 0);
    EXPECT_EQ(summary.presentSets, 9);
    EXPECT_TRUE(summary.newExercises.empty());
    EXPECT_EQ(AllSets(target.layout.dbPath()), AllSets(source.layout.dbPath()));
}

TEST(CsvRoundTrip, PeriodExportHoldsOnlyItsDays) {
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(kEveryKindOfSet));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/p.csv");
    struct Case {
        const char *from, *to;
        qint64 rows;
        qsizetype lineEnds;  // the header's, the rows', and those inside comments
    };
    for (const Case& c : {Case{"2024/05/02", "2024/05/02", 2, 3}, Case{"2024/05/02", "", 4, 5},
                          Case{"", "2024/05/01", 5, 7}, Case{"2025/01/01", "", 0, 1}}) {
        qint64 rows = -1;
        QString message;
        ASSERT_TRUE(ExportCsv(source.db, file, QString::fromLatin1(c.from),
                              QString::fromLatin1(c.to), rows, message));
        EXPECT_EQ(rows, c.rows) << c.from << " - " << c.to;
        EXPECT_EQ(ReadFileBytes(file).count("\r\n"), c.lineEnds);
    }
}

TEST(CsvRoundTrip, FailedExportKeepsThePreviousFile) {
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(kEveryKindOfSet));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/x.csv");
    ASSERT_TRUE(WriteFileBytes(file, "previous"));
    // The records cannot be read: the table is gone.
    source.layout.exec(QStringLiteral("drop table t_exer;"));
    qint64 rows = 0;
    QString message;
    EXPECT_FALSE(ExportCsv(source.db, file, QString(), QString(), rows, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(ReadFileBytes(file), QByteArray("previous"));
}

}  // namespace
}  // namespace sorvenka::testing
