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
// half-width kana, characters CP932 cannot hold, an exercise only this database knows, and the
// leap day of a year divisible by 400.
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
 ('2024/05/03', '42', '01', 3, '', '', 20, 'kg', 5, '回', null, null, '0', '"'),
 ('2000/02/29', '01', '01', 1, '', '', 1234567.875, 'kg', 3, '回', null, null, '0', 'leap day');
)sql";

TEST(CsvRoundTrip, EveryCellComesBackWithItsKind) {
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(kEveryKindOfSet));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/all.csv");
    qint64 rows = 0;
    QString message;
    ASSERT_TRUE(ExportCsv(source.db, file, QString(), QString(), rows, message))
        << message.toStdString();
    EXPECT_EQ(rows, 10);

    const QByteArray bytes = ReadFileBytes(file);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBFymd,grp_cd,exer_cd,set_num,"));
    EXPECT_TRUE(bytes.contains("\"line one\r\nline \"\"two\"\", with commas\""));
    // NULL is an empty field, the empty text "".
    EXPECT_TRUE(bytes.contains("2024/05/01,01,01,11,,,,,,,,,,,"));
    EXPECT_TRUE(bytes.contains("2024/05/01,01,01,1,08:00:00,08:01:30,60,kg,10,回,,,2,\"\","));
    EXPECT_EQ(bytes.count("\r\n"), 12);  // header, 10 rows, one line break inside a comment
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));

    OpenDatabase target;
    ImportOptions options;
    options.commit = true;
    ImportSummary summary;
    ASSERT_TRUE(ImportCsv(target.db, file, options, summary))
        << SummaryLines(summary).join('\n').toStdString();
    EXPECT_EQ(summary.format, CsvFormat::Sorvenka);
    EXPECT_EQ(summary.newSets, 10);
    EXPECT_EQ(summary.days, 4);
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
    EXPECT_EQ(summary.presentSets, 10);
    EXPECT_TRUE(summary.newExercises.empty());
    EXPECT_EQ(AllSets(target.layout.dbPath()), AllSets(source.layout.dbPath()));
}

// A key twice in the file, or stored before, is written once, whatever keys the table of
// sets has: the program's own, or none (a table of an older program). A rule of the table
// that a set breaks still refuses the import, as any failed write does, rather than the set
// being taken for one stored before.
TEST(CsvRoundTrip, AKeyIsWrittenOnceWhateverTheTableKeys) {
    const char* const columns =
        "ymd text not null, grp_cd text not null, exer_cd text not null, set_num integer not "
        "null, hms_end text, target real, unit_t text, cnt integer, unit text, cnt_min integer, "
        "cnt_sec integer, sweat_cd text, ";
    const QString key = QStringLiteral(", primary key (ymd, grp_cd, exer_cd, set_num));");
    struct Case {
        const char* name;
        QString shape;  // run on the target before the imports
        bool refused;
    };
    const std::vector<Case> cases{
        {"the program's key", QString(), false},
        {"no key",
         "create table k as select * from t_exer; drop table t_exer; alter table k rename to "
         "t_exer;",
         false},
        {"a check",
         "drop table t_exer; create table t_exer (" + QString::fromUtf8(columns) +
             "hms_sta text, comment text check (comment is not 'leap day')" + key,
         true},
        {"not null",
         "drop table t_exer; create table t_exer (" + QString::fromUtf8(columns) +
             "hms_sta text not null, comment text" + key,
         true},
    };
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(kEveryKindOfSet));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/all.csv");
    qint64 rows = 0;
    QString message;
    ASSERT_TRUE(ExportCsv(source.db, file, QString(), QString(), rows, message));
    // The first set once more at the end of the file.
    QByteArray bytes = ReadFileBytes(file);
    bytes += "2024/05/01,01,01,1,08:00:00,08:01:30,60,kg,10,回,,,2,\"\",,\r\n";
    ASSERT_TRUE(WriteFileBytes(file, bytes));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenDatabase target;
        if (!c.shape.isEmpty()) target.layout.exec(c.shape);
        ImportOptions options;
        options.commit = true;
        ImportSummary summary;
        if (c.refused) {
            EXPECT_FALSE(ImportCsv(target.db, file, options, summary));
            EXPECT_TRUE(AllSets(target.layout.dbPath()).isEmpty());
            continue;
        }
        ASSERT_TRUE(ImportCsv(target.db, file, options, summary))
            << SummaryLines(summary).join('\n').toStdString();
        EXPECT_EQ(summary.newSets, 10);
        EXPECT_EQ(summary.presentSets, 1);
        ASSERT_TRUE(ImportCsv(target.db, file, options, summary));
        EXPECT_EQ(summary.newSets, 0);
        EXPECT_EQ(summary.presentSets, 11);
        EXPECT_EQ(AllSets(target.layout.dbPath()), AllSets(source.layout.dbPath()));
    }
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
                          Case{"", "2024/05/01", 6, 8}, Case{"2025/01/01", "", 0, 1}}) {
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

// Texts that begin like formulas, in comments and in names, from Sorvenka's own sets and from
// another logger's file: written with an apostrophe first, read back exactly as stored.
TEST(CsvRoundTrip, FormulaLikeTextsAreGuardedAndComeBackUnchanged) {
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(R"sql(
insert into m_grp values ('43', '=HYPERLINK("http://x","y")', 1, 43);
insert into m_exer values ('43', '01', '@SUM(A1)', 1, 1);
insert into t_exer values
 ('2024/05/01', '43', '01', 1, '', '', 60, 'kg', 10, '回', null, null, '0', '=1+1'),
 ('2024/05/01', '43', '01', 2, '', '', 60, 'kg', 10, '回', null, null, '0',
  '=cmd|'' /C calc''!A0'),
 ('2024/05/01', '43', '01', 3, '', '', 60, 'kg', 10, '回', null, null, '0', '-tight'),
 ('2024/05/01', '43', '01', 4, '', '', 60, 'kg', 10, '回', null, null, '0', char(9) || '+x'),
 ('2024/05/01', '43', '01', 5, '', '', 60, 'kg', 10, '回', null, null, '0', char(13) || '=x'),
 ('2024/05/01', '43', '01', 6, '', '', 60, 'kg', 10, '回', null, null, '0', '''=1'),
 ('2024/05/01', '43', '01', 7, '', '', 60, 'kg', 10, '回', null, null, '0', '''''-1'),
 ('2024/05/01', '43', '01', 8, '', '', 60, 'kg', 10, '回', null, null, '0', '''plain');
)sql"));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/f.csv");
    qint64 rows = 0;
    QString message;
    ASSERT_TRUE(ExportCsv(source.db, file, QString(), QString(), rows, message))
        << message.toStdString();
    const QByteArray bytes = ReadFileBytes(file);
    for (const char* cell :
         {",'=1+1,", ",'=cmd|' /C calc'!A0,", ",'-tight,", ",'\t+x,", ",\"'\r=x\",", ",''=1,",
          ",'''-1,", ",'plain,", ",\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",'@SUM(A1)\r\n"})
        EXPECT_TRUE(bytes.contains(cell)) << cell << "\n" << bytes.toStdString();

    OpenDatabase target;
    ImportOptions options;
    options.commit = true;
    ImportSummary summary;
    ASSERT_TRUE(ImportCsv(target.db, file, options, summary))
        << SummaryLines(summary).join('\n').toStdString();
    EXPECT_EQ(AllSets(target.layout.dbPath()), AllSets(source.layout.dbPath()));
    EXPECT_EQ(Scalar(target.layout.dbPath(), "select grp_name from m_grp where grp_cd = '43'"),
              QStringLiteral("text:=HYPERLINK(\"http://x\",\"y\")"));
    EXPECT_EQ(Scalar(target.layout.dbPath(),
                     "select exer_name from m_exer where grp_cd = '43' and exer_cd = '01'"),
              QStringLiteral("text:@SUM(A1)"));

    // Another logger's note keeps its apostrophes as written, and is guarded on export.
    const QString strong = target.layout.folder(QStringLiteral("rec")) + QStringLiteral("/s.csv");
    ASSERT_TRUE(WriteFileBytes(strong,
                               "Date,Exercise Name,Set Order,kg,Reps,Notes\r\n"
                               "2024-06-01 08:00:00,Press,1,50,5,=1+1\r\n"
                               "2024-06-01 08:00:00,Press,2,50,5,'=2\r\n"));
    ASSERT_TRUE(ImportCsv(target.db, strong, options, summary))
        << SummaryLines(summary).join('\n').toStdString();
    EXPECT_EQ(CellRows(target.layout.dbPath(),
                       "select comment from t_exer where ymd = '2024/06/01' order by set_num"),
              (QStringList{QStringLiteral("text:=1+1"), QStringLiteral("text:'=2")}));
    ASSERT_TRUE(ExportCsv(target.db, file, QStringLiteral("2024/06/01"), QString(), rows, message));
    EXPECT_TRUE(ReadFileBytes(file).contains(",'=1+1,")) << ReadFileBytes(file).toStdString();
    EXPECT_TRUE(ReadFileBytes(file).contains(",''=2,"));
}

// A ";" makes a quoted cell with an apostrophe after it where a formula would start; a NUL
// goes out as an escape. The import brings every text back byte for byte.
TEST(CsvRoundTrip, SemicolonsAndNulsComeBackUnchanged) {
    OpenDatabase source;
    source.layout.exec(QString::fromUtf8(R"sql(
insert into m_exer values ('01', '05', 'Press;=1', 1, 5);
insert into t_exer values
 ('2024/05/01', '01', '05', 1, '', '', 60, 'kg', 10, '回', null, null, '0', '1;=1+1'),
 ('2024/05/01', '01', '05', 2, '', '', 60, 'kg', 10, '回', null, null, '0', 'a;b'),
 ('2024/05/01', '01', '05', 3, '', '', 60, 'kg', 10, '回', null, null, '0', 'a;''-1'),
 ('2024/05/01', '01', '05', 4, '', '', 60, 'kg', 10, '回', null, null, '0',
  'a' || char(0) || 'b'),
 ('2024/05/01', '01', '05', 5, '', '', 60, 'kg', 10, '回', null, null, '0', 'C:\0\'),
 ('2024/05/01', '01', '05', 6, '', '', 60, 'kg', 10, '回', null, null, '0',
  '\' || char(0) || ';@x');
)sql"));
    const QString file = source.layout.folder(QStringLiteral("rec")) + QStringLiteral("/s.csv");
    qint64 rows = 0;
    QString message;
    ASSERT_TRUE(ExportCsv(source.db, file, QString(), QString(), rows, message))
        << message.toStdString();
    const QByteArray bytes = ReadFileBytes(file);
    EXPECT_FALSE(bytes.contains('\0'));
    for (const char* cell : {",0,\"1;'=1+1\",", ",0,\"a;b\",", ",0,\"a;''-1\",", ",0,a\\0b,",
                             ",0,C:\\\\0\\,", ",0,\"\\\\\\0;'@x\",", ",\"Press;'=1\"\r\n"})
        EXPECT_TRUE(bytes.contains(cell)) << cell << "\n" << bytes.toStdString();

    OpenDatabase target;
    ImportOptions options;
    options.commit = true;
    ImportSummary summary;
    ASSERT_TRUE(ImportCsv(target.db, file, options, summary))
        << SummaryLines(summary).join('\n').toStdString();
    // Compared as bytes: a NUL would end a text read as a C string.
    const char* everyText =
        "select group_concat(hex(comment), ' ') from (select comment from t_exer "
        "order by set_num)";
    EXPECT_EQ(Scalar(target.layout.dbPath(), everyText), Scalar(source.layout.dbPath(), everyText));
    EXPECT_EQ(AllSets(target.layout.dbPath()), AllSets(source.layout.dbPath()));
    EXPECT_EQ(Scalar(target.layout.dbPath(),
                     "select exer_name from m_exer where grp_cd = '01' and exer_cd = '05'"),
              QStringLiteral("text:Press;=1"));
}

}  // namespace
}  // namespace sorvenka::testing
