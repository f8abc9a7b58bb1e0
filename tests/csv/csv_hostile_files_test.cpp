// Files that must not be imported: each is refused with the line at fault and nothing of it
// is written, neither sets nor exercises.
#include <gtest/gtest.h>

#include "csv/csv_import.h"
#include "csv/csv_test_files.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QByteArray kOwnHeader =
    "ymd,grp_cd,exer_cd,set_num,hms_sta,hms_end,target,unit_t,cnt,unit,cnt_min,cnt_sec,sweat_cd,"
    "comment,grp_name,exer_name\r\n";
// A good row of an exercise the first database lacks: were it written, m_exer would grow.
const QByteArray kGoodRow = "2024/05/01,01,07,1,,,60,kg,10,回,,,0,ok,胸,新しい種目\r\n";

QByteArray OwnRow(const QByteArray& target, const QByteArray& cnt, const QByteArray& comment,
                  const QByteArray& ymd = "2024/05/02") {
    return ymd + ",01,01,1,,," + target + ",kg," + cnt + ",回,,,0," + comment + ",胸,ベンチ\r\n";
}

struct HostileCase {
    const char* name;
    QByteArray file;
    qint64 line;         // the line reported
    const char* reason;  // a part of the reason
    bool wholeFile;      // the file as a whole cannot be read (no row can be skipped)
};

std::vector<HostileCase> Cases() {
    const QByteArray bigField = '"' + QByteArray(1024 * 1024 + 1, 'x') + '"';
    return {
        {"unbalanced quote",
         kOwnHeader + kGoodRow + OwnRow("60", "10", "\"never closed") + kGoodRow, 3, "引用符",
         true},
        {"quote inside a field", kOwnHeader + kGoodRow + OwnRow("60", "10", "a\"b"), 3, "引用符",
         true},
        {"a field over 1 MB", kOwnHeader + kGoodRow + OwnRow("60", "10", bigField), 3, "1 MB",
         false},
        {"a field far over 1 MB",
         kOwnHeader + kGoodRow + OwnRow("60", "10", bigField + bigField + bigField), 3, "1 MB",
         true},
        {"too few columns", kOwnHeader + kGoodRow + "2024/05/02,01,01,1\r\n", 3, "列の数", false},
        {"too many columns", kOwnHeader + kGoodRow + OwnRow("60", "10", "a,b"), 3, "列の数", false},
        {"a NUL byte", kOwnHeader + kGoodRow + OwnRow("60", "10", QByteArray("a\0b", 3)), 3, "NUL",
         false},
        {"bytes neither UTF-8 nor CP932", kOwnHeader + kGoodRow + OwnRow("60", "10", "\xFF\xFE"), 3,
         "UTF-8でもCP932でもない", false},
        {"a day that does not exist", kOwnHeader + kGoodRow + OwnRow("60", "10", "", "2023/02/29"),
         3, "日付", false},
        {"February 29 of a century not divisible by 400",
         kOwnHeader + kGoodRow + OwnRow("60", "10", "", "1900/02/29"), 3, "日付", false},
        {"April 31", kOwnHeader + kGoodRow + OwnRow("60", "10", "", "2024/04/31"), 3, "日付",
         false},
        {"a thirteenth month", kOwnHeader + kGoodRow + OwnRow("60", "10", "", "2024/13/01"), 3,
         "日付", false},
        {"a load with two decimal points", kOwnHeader + kGoodRow + OwnRow("6.0.5", "10", ""), 3,
         "数ではありません", false},
        {"a negative load", kOwnHeader + kGoodRow + OwnRow("-5", "10", ""), 3, "負の数", false},
        {"a count that is no number", kOwnHeader + kGoodRow + OwnRow("60", "ten", ""), 3,
         "整数ではありません", false},
        {"a negative count", kOwnHeader + kGoodRow + OwnRow("60", "-3", ""), 3, "負の数", false},
        // Past the range of an int: once read as 0 and let through.
        {"seconds of eleven digits",
         kOwnHeader + kGoodRow + "2024/05/02,01,01,1,,,60,kg,,,1,99999999999,0,,胸,ベンチ\r\n", 3,
         "59を超えています", false},
        {"a start time in full-width digits",
         kOwnHeader + kGoodRow + "2024/05/02,01,01,1,０７:00:00,,60,kg,10,回,,,0,,胸,ベンチ\r\n", 3,
         "時刻ではありません", false},
        {"a line break inside a quoted comment counts",
         kOwnHeader + OwnRow("60", "10", "\"a\r\nb\"") + OwnRow("x", "10", ""), 4,
         "数ではありません", false},
        {"Strong with a bad date",
         "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
         "Workout Notes,RPE\r\n2023-02-29 08:00:00,A,1h,ベンチプレス,1,60,10,0,0,,,\r\n"
         "2023-02-28 08:00:00,A,1h,ベンチプレス,1,60,10,0,0,,,\r\n",
         2, "日付", false},
        // A negative weight is an assisted set's help; a negative distance means nothing.
        {"Hevy with a negative distance",
         "title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
         "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe\r\n"
         "A,\"1 Jan 2025, 07:00\",,,Run,,,0,normal,,,-3,600,\r\n"
         "A,\"1 Jan 2025, 07:00\",,,Squat,,,1,normal,20,5,,,\r\n",
         2, "負の数", false},
        {"FitNotes with reps that are no number",
         "Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,Comment\r\n"
         "2024-01-01,Squat,Legs,100,five,,,,\r\n"
         "2024-01-01,Squat,Legs,100,5,,,,\r\n",
         2, "数ではありません", false},
        // A name the file gives a new group or exercise becomes a master name: a TAB or a line
        // break in it would split the lists and the record lines that show it.
        {"own format: a new exercise's name with a TAB",
         kOwnHeader + "2024/05/01,01,07,1,,,60,kg,10,回,,,0,ok,胸,新しい\t種目\r\n", 2,
         "タブや改行", true},
        {"own format: a new group's name with a line break",
         kOwnHeader + "2024/05/01,50,01,1,,,60,kg,10,回,,,0,ok,\"胸\r\n腕\",種目\r\n", 2,
         "タブや改行", true},
        {"Strong: a new exercise's name with a line break",
         "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
         "Workout Notes,RPE\r\n2023-02-28 08:00:00,A,1h,ベンチプレス,1,60,10,0,0,,,\r\n"
         "2023-02-28 08:00:00,A,1h,\"Zercher\nHold\",1,60,10,0,0,,,\r\n",
         3, "タブや改行", true},
        {"an empty file", "", 1, "空", true},
        {"a header only", kOwnHeader, 2, "見出し行のほかに行がありません", true},
        {"an unknown header", "a,b,c\r\n1,2,3\r\n", 1, "形式がわかりません", true},
        {"own format without a column", "ymd,grp_cd,exer_cd,set_num\r\n2024/05/01,01,01,1\r\n", 1,
         "列「hms_sta」がありません", true},
    };
}

QString FirstProblem(const ImportSummary& summary, qint64& line) {
    if (!summary.refused.empty()) {
        line = summary.refused.front().line;
        return summary.refused.front().reason;
    }
    line = summary.failureLine;
    return summary.failure;
}

TEST(CsvHostileFiles, RefusedWithTheLineAndNothingWritten) {
    for (const HostileCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        OpenDatabase open;
        const QString file = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/in.csv");
        ASSERT_TRUE(WriteFileBytes(file, c.file));
        const QString exercisesBefore = Scalar(open.layout.dbPath(), "select count(*) from m_exer");

        ImportOptions options;
        options.commit = true;
        options.loadUnit = QStringLiteral("kg");  // the Strong files have no unit
        ImportSummary summary;
        EXPECT_FALSE(ImportCsv(open.db, file, options, summary));
        qint64 line = -1;
        const QString reason = FirstProblem(summary, line);
        EXPECT_EQ(line, c.line);
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reason))) << reason.toStdString();
        EXPECT_FALSE(summary.written);
        EXPECT_EQ(Scalar(open.layout.dbPath(), "select count(*) from t_exer"),
                  QStringLiteral("int:0"));
        EXPECT_EQ(Scalar(open.layout.dbPath(), "select count(*) from m_exer"), exercisesBefore);

        // Skipping the refused rows writes the good ones, unless the file cannot be read on.
        options.skipRefused = true;
        const bool written = ImportCsv(open.db, file, options, summary);
        EXPECT_EQ(written, !c.wholeFile) << summary.failure.toStdString();
        if (written) {
            EXPECT_GE(summary.newSets, 1);
        }
    }
}

TEST(CsvHostileFiles, RefusedRowsAreListedInThePreviewWithTheirLines) {
    OpenDatabase open;
    const QString file = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/in.csv");
    ASSERT_TRUE(WriteFileBytes(
        file, kOwnHeader + kGoodRow + OwnRow("-1", "10", "") + "\r\n" + OwnRow("60", "x", "")));
    ImportSummary summary;
    EXPECT_FALSE(ImportCsv(open.db, file, ImportOptions(), summary));
    const QString text = SummaryLines(summary).join('\n');
    EXPECT_TRUE(text.contains(QStringLiteral("読み込めない行: 2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("3行目: targetが負の数です（-1）")));
    // A blank line is no row, but counts as a line.
    EXPECT_TRUE(text.contains(QStringLiteral("5行目: cntが整数ではありません（x）")));
    EXPECT_EQ(summary.newSets, 1);
}

}  // namespace
}  // namespace sorvenka::testing
