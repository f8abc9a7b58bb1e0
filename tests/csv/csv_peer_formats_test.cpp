// Files of other training logs, built from their header rows: each format and variant maps
// to the sets expected by hand.
#include <gtest/gtest.h>

#include "common/display_width.h"
#include "csv/csv_import.h"
#include "csv/csv_test_files.h"
#include "startup/master_codes.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

// One expected set: day, group, exercise name, set number, load, its unit, count, its unit,
// minutes, seconds, comment ("" for a NULL number). The sweat level is always the first.
QString Set(const char* ymd, const char* grp, const char* name, int setNum, double target,
            const char* unitT, const char* cnt, const char* unit, const char* min, const char* sec,
            const char* comment) {
    auto number = [](const char* text) {
        return *text ? QStringLiteral("int:") + QString::fromUtf8(text) : QStringLiteral("null");
    };
    return QStringList{QStringLiteral("text:") + QString::fromUtf8(ymd),
                       QStringLiteral("text:") + QString::fromUtf8(grp),
                       QStringLiteral("text:") + QString::fromUtf8(name),
                       QStringLiteral("int:%1").arg(setNum),
                       QStringLiteral("real:") + QString::number(target, 'g', 17),
                       QStringLiteral("text:") + QString::fromUtf8(unitT),
                       number(cnt),
                       QStringLiteral("text:") + QString::fromUtf8(unit),
                       number(min),
                       number(sec),
                       QStringLiteral("text:0"),
                       QStringLiteral("text:") + QString::fromUtf8(comment)}
        .join(QStringLiteral(" | "));
}

QStringList ImportedSets(const QString& dbPath) {
    return CellRows(dbPath,
                    "select t.ymd, t.grp_cd, e.exer_name, t.set_num, t.target, t.unit_t, t.cnt, "
                    "t.unit, t.cnt_min, t.cnt_sec, t.sweat_cd, t.comment "
                    "from t_exer t join m_exer e on e.grp_cd = t.grp_cd and e.exer_cd = t.exer_cd "
                    "order by t.ymd, t.grp_cd, t.exer_cd, t.set_num");
}

struct PeerCase {
    const char* name;
    CsvFormat format;
    QByteArray file;
    QStringList expected;
    QStringList newExercises;  // "name grp code"
    bool cp932 = false;
};

QByteArray Lines(std::initializer_list<const char*> lines) {
    QByteArray bytes;
    for (const char* line : lines) bytes += QByteArray(line) + "\r\n";
    return bytes;
}

std::vector<PeerCase> Cases() {
    return {
        {"Strong, comma form",
         CsvFormat::StrongComma,
         Lines({"Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,"
                "Notes,Workout Notes,RPE",
                "2024-05-01 08:30:00,Push,1h 5m,ベンチプレス,1,60,10,0,0,\"tempo, slow\",,8",
                "2024-05-01 08:30:00,Push,1h 5m,ベンチプレス,2,62.5,8,0,0,,,",
                "2024-05-01 08:30:00,Push,1h 5m,Cable Fly,W,10,15,0,0,,,",
                "2024-05-01 08:30:00,Push,1h 5m,プランク,1,0,0,0,90,,,"}),
         {Set("2024/05/01", "01", "ベンチプレス", 1, 60, "kg", "10", "回", "", "",
              "RPE 8 / tempo, slow"),
          Set("2024/05/01", "01", "ベンチプレス", 2, 62.5, "kg", "8", "回", "", "", ""),
          Set("2024/05/01", "01", "Cable Fly", 1, 10, "kg", "15", "回", "", "", "ウォームアップ"),
          Set("2024/05/01", "06", "プランク", 1, 0, "", "", "", "1", "30", "")},
         {"Cable Fly 01 05"}},
        {"Strong, semicolon form with unit columns",
         CsvFormat::StrongSemicolon,
         Lines({"Date;Workout Name;Exercise Name;Set Order;Weight;Weight Unit;Reps;RPE;Distance;"
                "Distance Unit;Seconds;Notes;Workout Notes;Workout Duration",
                "2024-05-02 07:00:00;Legs;スクワット;1;225;lbs;5;;;;0;;;45m",
                "2024-05-02 07:00:00;Legs;ランニング;1;0;lbs;0;;5,5;km;1800;;;45m"}),
         {Set("2024/05/02", "03", "スクワット", 1, 225, "lb", "5", "回", "", "", ""),
          Set("2024/05/02", "07", "ランニング", 1, 5.5, "km", "", "", "30", "0", "")},
         {}},
        {"Hevy, kilograms",
         CsvFormat::Hevy,
         Lines({"title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
                "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe",
                "Morning,\"26 Jul 2025, 07:06\",\"26 Jul 2025, 08:00\",,Deadlift (Barbell),,"
                "grip,0,warmup,60,5,,,",
                "Morning,\"26 Jul 2025, 07:06\",\"26 Jul 2025, 08:00\",,Deadlift (Barbell),,"
                "grip,1,normal,140,3,,,9",
                "Morning,\"26 Jul 2025, 07:06\",\"26 Jul 2025, 08:00\",,Deadlift (Barbell),,"
                ",2,dropset,100,6,,,"}),
         // The common name finds the first database's デッドリフト.
         {Set("2025/07/26", "02", "デッドリフト", 1, 60, "kg", "5", "回", "", "",
              "ウォームアップ / grip"),
          Set("2025/07/26", "02", "デッドリフト", 2, 140, "kg", "3", "回", "", "", "RPE 9 / grip"),
          Set("2025/07/26", "02", "デッドリフト", 3, 100, "kg", "6", "回", "", "",
              "ドロップセット")},
         {}},
        {"Hevy, pounds and miles, columns reordered, an unknown column",
         CsvFormat::Hevy,
         Lines({"exercise_title,start_time,weight_lbs,reps,distance_miles,duration_seconds,"
                "set_type,title,app_version,set_index,rpe,exercise_notes,end_time,description,"
                "superset_id",
                "ランニング,\"3 Aug 2025, 18:10\",,,3.1,1500,normal,Run,2.1,0,,,"
                "\"3 Aug 2025, 18:40\",,",
                "懸垂,\"3 Aug 2025, 18:10\",25,8,,,normal,Run,2.1,0,,,\"3 Aug 2025, 18:40\",,"}),
         {Set("2025/08/03", "02", "懸垂", 1, 25, "lb", "8", "回", "", "", ""),
          Set("2025/08/03", "07", "ランニング", 1, 3.1, "mi", "", "", "25", "0", "")},
         {}},
        {"FitNotes, kilograms; the category names the group",
         CsvFormat::FitNotes,
         Lines({"Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,Comment",
                "2024-05-03,Flat Barbell Bench Press,Chest,80.0,5,,,,",
                "2024-05-03,Flat Barbell Bench Press,Chest,80.0,5,,,,felt easy",
                "2024-05-03,Running (Treadmill),Cardio,,,5.0,km,0:30:15,"}),
         {Set("2024/05/03", "01", "ベンチプレス", 1, 80, "kg", "5", "回", "", "", ""),
          Set("2024/05/03", "01", "ベンチプレス", 2, 80, "kg", "5", "回", "", "", "felt easy"),
          Set("2024/05/03", "07", "ランニング", 1, 5, "km", "", "", "30", "15", "")},
         {}},
        {"FitNotes, pounds",
         CsvFormat::FitNotes,
         Lines({"Date,Exercise,Category,Weight (lbs),Reps,Distance,Distance Unit,Time,Comment",
                "2024-05-04,デッドリフト,Back,315,3,,,,"}),
         {Set("2024/05/04", "02", "デッドリフト", 1, 315, "lb", "3", "回", "", "", "")},
         {}},
        {"FitNotes, weight with a unit column",
         CsvFormat::FitNotes,
         Lines({"Date,Exercise,Category,Weight,Weight Unit,Reps,Distance,Distance Unit,Time,"
                "Comment",
                "2024-05-05,Arnold Press,Shoulders,40,lbs,10,,,,",
                "2024-05-05,Arnold Press,Shoulders,20,kgs,10,,,,"}),
         {Set("2024/05/05", "04", "Arnold Press", 1, 40, "lb", "10", "回", "", "", ""),
          Set("2024/05/05", "04", "Arnold Press", 2, 20, "kg", "10", "回", "", "", "")},
         {"Arnold Press 04 04"}},
        {"Strong 2016, columns named kg and km",
         CsvFormat::StrongComma,
         Lines({"Date,Workout Name,Exercise Name,Set Order,kg,Reps,km,Seconds,Notes",
                "2016-03-01 18:00:00,Legs,スクワット,1,100,5,0,0,",
                "2016-03-01 18:00:00,Legs,ランニング,1,0,0,5.5,1800,"}),
         {Set("2016/03/01", "03", "スクワット", 1, 100, "kg", "5", "回", "", "", ""),
          Set("2016/03/01", "07", "ランニング", 1, 5.5, "km", "", "", "30", "0", "")},
         {}},
        {"Strong 2016, columns named lbs and mi",
         CsvFormat::StrongComma,
         Lines({"Date,Workout Name,Exercise Name,Set Order,lbs,Reps,mi,Seconds,Notes",
                "2016-03-02 18:00:00,Legs,スクワット,1,225,5,0,0,",
                "2016-03-02 18:00:00,Legs,ランニング,1,0,0,3.1,1500,"}),
         {Set("2016/03/02", "03", "スクワット", 1, 225, "lb", "5", "回", "", "", ""),
          Set("2016/03/02", "07", "ランニング", 1, 3.1, "mi", "", "", "25", "0", "")},
         {}},
        {"Strong numbered workouts: sets never done left out, the workout's note on the first "
         "set of each exercise",
         CsvFormat::StrongComma,
         Lines({"Workout #,Date,Workout Name,Duration (sec),Exercise Name,Set Order,Weight (kg),"
                "Reps,RPE,Distance (meters),Seconds,Notes,Workout Notes",
                "1,2024-06-01 07:00:00,Push,3600,ベンチプレス,1,60,10,,,,,sore shoulder",
                "1,2024-06-01 07:00:00,Push,3600,ベンチプレス,2,60,8,,,,,sore shoulder",
                "1,2024-06-01 07:00:00,Push,3600,ベンチプレス,3,,,,,,,sore shoulder",
                "1,2024-06-01 07:00:00,Push,3600,ランニング,1,,,,800,240,,sore shoulder"}),
         {Set("2024/06/01", "01", "ベンチプレス", 1, 60, "kg", "10", "回", "", "",
              "ワークアウトのメモ: sore shoulder"),
          Set("2024/06/01", "01", "ベンチプレス", 2, 60, "kg", "8", "回", "", "", ""),
          Set("2024/06/01", "07", "ランニング", 1, 800, "m", "", "", "4", "0",
              "ワークアウトのメモ: sore shoulder")},
         {}},
        {"Hevy, the workout's description as its note",
         CsvFormat::Hevy,
         Lines({"title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
                "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe",
                "Pull,\"2 Aug 2025, 07:00\",\"2 Aug 2025, 08:00\",new gym,懸垂,,,0,normal,,8,,,",
                "Pull,\"2 Aug 2025, 07:00\",\"2 Aug 2025, 08:00\",new gym,懸垂,,,1,normal,,6,,,"}),
         {Set("2025/08/02", "02", "懸垂", 1, 0, "", "8", "回", "", "",
              "ワークアウトのメモ: new gym"),
          Set("2025/08/02", "02", "懸垂", 2, 0, "", "6", "回", "", "", "")},
         {}},
        {"FitNotes, a user's exercise name with an unquoted comma",
         CsvFormat::FitNotes,
         Lines({"Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,Comment",
                "2024-05-07,Overhead Press (Each Side, Dumbbells),Shoulders,20.0,10,,,,",
                "2024-05-07,\"Overhead Press (Each Side, Dumbbells)\",Shoulders,22.5,8,,,,"}),
         {Set("2024/05/07", "04", "Overhead Press (Each Side, Dumbbells)", 1, 20, "kg", "10", "回",
              "", "", ""),
          Set("2024/05/07", "04", "Overhead Press (Each Side, Dumbbells)", 2, 22.5, "kg", "8",
              "回", "", "", "")},
         {"Overhead Press (Each Side, Dumbbells) 04 04"}},
        {"Strong saved in CP932 by a spreadsheet program",
         CsvFormat::StrongComma,
         EncodeCp932(QString::fromUtf8(
             "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,"
             "Notes,Workout Notes,RPE\r\n"
             "2024/05/06,胸の日,1h,ベンチプレス,1,70,5,0,0,ﾒﾓ 重い,,\r\n")),
         {Set("2024/05/06", "01", "ベンチプレス", 1, 70, "kg", "5", "回", "", "", "ﾒﾓ 重い")},
         {},
         true},
    };
}

TEST(CsvPeerFormats, EachFormatMapsToTheSetsExpected) {
    for (const PeerCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        OpenDatabase open;
        const QString file = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/in.csv");
        ASSERT_TRUE(WriteFileBytes(file, c.file));
        ImportOptions options;
        options.loadUnit = QStringLiteral("kg");  // used only by a file without units
        ImportSummary preview;
        ASSERT_TRUE(ImportCsv(open.db, file, options, preview))
            << SummaryLines(preview).join('\n').toStdString();
        EXPECT_EQ(preview.format, c.format);
        EXPECT_EQ(preview.encoding, c.cp932 ? CsvEncoding::Cp932 : CsvEncoding::Utf8);
        EXPECT_EQ(preview.newSets, c.expected.size());
        EXPECT_TRUE(ImportedSets(open.layout.dbPath()).isEmpty()) << "the preview wrote";

        options.commit = true;
        ImportSummary summary;
        ASSERT_TRUE(ImportCsv(open.db, file, options, summary));
        EXPECT_EQ(ImportedSets(open.layout.dbPath()), c.expected);
        QStringList created;
        for (const NewExercise& e : summary.newExercises)
            created << e.name + QLatin1Char(' ') + e.grpCd + QLatin1Char(' ') + e.exerCd;
        EXPECT_EQ(created, c.newExercises);
        QString message;
        EXPECT_TRUE(CheckMasterCodes(open.db, message)) << message.toStdString();

        // A second import finds every set stored and adds nothing.
        ASSERT_TRUE(ImportCsv(open.db, file, options, summary));
        EXPECT_EQ(summary.newSets, 0);
        EXPECT_EQ(summary.presentSets, c.expected.size());
        EXPECT_EQ(ImportedSets(open.layout.dbPath()), c.expected);
    }
}

// Set numbers follow those stored that day; identical sets are matched one to one.
TEST(CsvPeerFormats, NewSetsFollowTheStoredOnesAndDuplicatesCountOnce) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/01', '01', '01', 1, '', '', 60, 'kg', 10, '回', "
        "null, null, '2', ''), ('2024/05/01', '01', '01', 4, '', '', 50, 'kg', 12, '回', null, "
        "null, '2', '');"));
    const QString file = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/in.csv");
    ASSERT_TRUE(WriteFileBytes(
        file,
        Lines({"Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,Comment",
               "2024-05-01,ベンチプレス,Chest,60,10,,,,", "2024-05-01,ベンチプレス,Chest,60,10,,,,",
               "2024-05-01,ベンチプレス,Chest,60,10,,,,"})));
    ImportOptions options;
    options.commit = true;
    ImportSummary summary;
    ASSERT_TRUE(ImportCsv(open.db, file, options, summary));
    EXPECT_EQ(summary.presentSets, 1);
    EXPECT_EQ(summary.newSets, 2);
    EXPECT_EQ(CellRows(open.layout.dbPath(), "select set_num from t_exer order by set_num"),
              (QStringList{"int:1", "int:4", "int:5", "int:6"}));
    ASSERT_TRUE(ImportCsv(open.db, file, options, summary));
    EXPECT_EQ(summary.presentSets, 3);
    EXPECT_EQ(summary.newSets, 0);
}

struct GroupCase {
    const char* name;
    const char* group;     // the option
    const char* setup;     // statements run first
    const char* expected;  // group and code of the new exercise, or "" when refused
};

TEST(CsvPeerFormats, NewExercisesTakeTheNextFreeCodeOfTheChosenGroup) {
    const GroupCase cases[] = {
        {"the group of its body part by default", "", "", "03 05"},
        {"the group named on the command line", "05", "", "05 05"},
        {"after the highest code", "99", "", "99 01"},
        {"a gap when 99 is taken", "99",
         "insert into m_exer values ('99', '98', 'a', 1, 2); "
         "insert into m_exer values ('99', '01', 'b', 1, 3);",
         "99 02"},
        {"letters and digits once 01 to 99 are taken", "99",
         "with recursive n(i) as (select 1 union all select i + 1 from n where i < 98) "
         "insert into m_exer select '99', printf('%02d', i), 'x' || i, 1, i + 1 from n;",
         "99 0A"},
        {"a group out of every two-character code", "99",
         "with recursive n(i) as (select 1 union all select i + 1 from n where i < 62), "
         "c(i, ch) as (select i, "
         "substr('0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz', "
         "i, 1) from n) "
         "insert into m_exer select '99', a.ch || b.ch, 'x' || a.ch || b.ch, 1, a.i * 100 + b.i "
         "from c a, c b where a.ch || b.ch not in ('99', '00');",
         ""},
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.name);
        OpenDatabase open;
        if (*c.setup) open.layout.exec(QString::fromUtf8(c.setup));
        const QString before = Scalar(open.layout.dbPath(), "select count(*) from m_exer");
        const QString file = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/in.csv");
        ASSERT_TRUE(WriteFileBytes(
            file, Lines({"Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,"
                         "Comment",
                         "2024-05-01,Zercher Squat,Misc,60,5,,,,"})));
        ImportOptions options;
        options.group = QString::fromLatin1(c.group);
        options.commit = true;
        ImportSummary summary;
        const bool written = ImportCsv(open.db, file, options, summary);
        ASSERT_EQ(summary.newExercises.size(), 1u);
        const NewExercise& e = summary.newExercises.front();
        if (*c.expected) {
            EXPECT_TRUE(written) << summary.failure.toStdString();
            EXPECT_EQ(e.grpCd + QLatin1Char(' ') + e.exerCd, QString::fromLatin1(c.expected));
            QString message;
            EXPECT_TRUE(CheckMasterCodes(open.db, message));
        } else {
            EXPECT_FALSE(written);
            EXPECT_TRUE(
                summary.failure.contains(QStringLiteral("空いている種目コードがありません")));
            EXPECT_TRUE(SummaryLines(summary).join('\n').contains(summary.failure));
            EXPECT_EQ(Scalar(open.layout.dbPath(), "select count(*) from t_exer"),
                      QStringLiteral("int:0"));
            EXPECT_EQ(Scalar(open.layout.dbPath(), "select count(*) from m_exer"), before);
        }
    }
}

}  // namespace
}  // namespace sorvenka::testing
