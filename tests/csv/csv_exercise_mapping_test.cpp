// Where the exercise names of other loggers' files go: proposals, the caller's mapping, the
// choices kept for the next import, files of many new names; and the rows read as their app
// meant them (units, split names, sets never done, durations).
#include <gtest/gtest.h>

#include "csv/csv_import.h"
#include "csv/csv_test_files.h"
#include "db/master_lists.h"
#include "startup/master_codes.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const char* const kFitNotesHeader =
    "Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,Comment\r\n";
const char* const kHevyHeader =
    "title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
    "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe\r\n";
const char* const kStrongHeader =
    "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
    "Workout Notes,RPE\r\n";

QByteArray HevyRow(const QString& name, int weight = 50) {
    return QStringLiteral(
               "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,%1,,,0,normal,%2,5,,,\r\n")
        .arg(name.contains(QLatin1Char(',')) ? QLatin1Char('"') + name + QLatin1Char('"') : name)
        .arg(weight)
        .toUtf8();
}

class ExerciseMapping : public ::testing::Test {
  protected:
    OpenDatabase open;
    QString path = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/in.csv");

    ImportSummary import(const QByteArray& bytes, ImportOptions options = {}) {
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        ImportSummary summary;
        ImportCsv(open.db, path, options, summary);
        return summary;
    }
    QString scalar(const char* sql) { return Scalar(open.layout.dbPath(), sql); }
};

struct ProposalCase {
    const char* name;
    QByteArray file;     // one exercise name
    const char* target;  // "grp exer" of an existing exercise, "grp new" for a new one
    NameMatch match;
};

TEST_F(ExerciseMapping, NamesAreProposedTheirExerciseOrTheGroupOfTheirBodyPart) {
    open.layout.exec(
        QStringLiteral("insert into m_exer values ('03', '05', 'Zercher Squat', 1, 5);"));
    const ProposalCase cases[] = {
        {"the same name", HevyRow(QStringLiteral("ベンチプレス")), "01 01", NameMatch::SameName},
        {"case and blanks aside", HevyRow(QStringLiteral("zercher  SQUAT")), "03 05",
         NameMatch::SameName},
        {"half-width katakana", HevyRow(QStringLiteral("ﾍﾞﾝﾁﾌﾟﾚｽ")), "01 01", NameMatch::SameName},
        {"Strong's name of ベンチプレス", HevyRow(QStringLiteral("Bench Press (Barbell)")), "01 01",
         NameMatch::CommonName},
        {"Strong's name of スクワット", HevyRow(QStringLiteral("Squat (Barbell)")), "03 01",
         NameMatch::CommonName},
        {"FitNotes' name of ランニング", HevyRow(QStringLiteral("Running (Treadmill)")), "07 02",
         NameMatch::CommonName},
        {"a back exercise", HevyRow(QStringLiteral("Seated Cable Row")), "02 new", NameMatch::New},
        {"a leg curl is legs, not arms", HevyRow(QStringLiteral("Lying Leg Curl (Machine)")),
         "03 new", NameMatch::New},
        {"a core exercise", HevyRow(QStringLiteral("Hanging Knee Raise")), "06 new",
         NameMatch::New},
        {"unknown", HevyRow(QStringLiteral("Clean and Jerk")), "99 new", NameMatch::New},
        {"FitNotes' Quads",
         QByteArray(kFitNotesHeader) + "2024-06-01,Sissy Thing,Quads,10,5,,,,\r\n", "03 new",
         NameMatch::New},
        {"FitNotes' Forearms",
         QByteArray(kFitNotesHeader) + "2024-06-01,Reverse Thing,Forearms,10,5,,,,\r\n", "05 new",
         NameMatch::New},
        {"FitNotes' Olympic Lifts",
         QByteArray(kFitNotesHeader) + "2024-06-01,Power Clean,Olympic Lifts,60,3,,,,\r\n",
         "99 new", NameMatch::New},
    };
    for (const ProposalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes =
            c.file.startsWith("Date") ? c.file : QByteArray(kHevyHeader) + c.file;
        const ImportSummary summary = import(bytes);
        ASSERT_EQ(summary.names.size(), 1u) << summary.failure.toStdString();
        const NameUse& use = summary.names.front();
        EXPECT_EQ(use.match, c.match);
        EXPECT_EQ(use.target.grpCd + QLatin1Char(' ') +
                      (use.created ? QStringLiteral("new") : use.target.exerCd),
                  QString::fromUtf8(c.target));
        EXPECT_EQ(use.sets, 1);
        EXPECT_EQ(use.firstDay, QStringLiteral("2024/06/01"));
    }
}

// The caller's destinations win; a choice given once is proposed at the next import, in a
// table of its own that exists only once a choice was kept.
TEST_F(ExerciseMapping, GivenDestinationsAreWrittenAndProposedAgain) {
    const QByteArray file = QByteArray(kHevyHeader) +
                            HevyRow(QStringLiteral("Bench Press (Dumbbell)")) +
                            HevyRow(QStringLiteral("My Own Press"));
    ImportSummary summary = import(file);
    EXPECT_EQ(scalar("select count(*) from sqlite_master where name = 's_import_name_map'"),
              QStringLiteral("int:0"));

    ImportOptions options;
    options.commit = true;
    options.mapping.insert(QStringLiteral("Bench Press (Dumbbell)"),
                           {QStringLiteral("01"), QStringLiteral("01")});
    options.mapping.insert(QStringLiteral("My Own Press"), {QStringLiteral("04"), QString()});
    summary = import(file, options);
    ASSERT_TRUE(summary.written) << summary.failure.toStdString();
    EXPECT_EQ(CellRows(open.layout.dbPath(),
                       "select grp_cd || exer_cd from t_exer order by grp_cd, exer_cd"),
              (QStringList{"text:0101", "text:0404"}));
    EXPECT_EQ(CellRows(open.layout.dbPath(),
                       "select source_name, grp_cd, exer_cd from s_import_name_map "
                       "order by source_name"),
              (QStringList{"text:Bench Press (Dumbbell) | text:01 | text:01",
                           "text:My Own Press | text:04 | text:04"}));

    // Without a mapping the kept choices come back, and every set is found stored.
    summary = import(file);
    ASSERT_EQ(summary.names.size(), 2u);
    EXPECT_EQ(summary.names[0].match, NameMatch::Saved);
    EXPECT_EQ(summary.names[0].target,
              (ExerciseTarget{QStringLiteral("01"), QStringLiteral("01")}));
    EXPECT_EQ(summary.presentSets, 2);
    EXPECT_EQ(summary.newSets, 0);

    // The same mapping again finds the exercise it made: nothing new.
    summary = import(file, options);
    ASSERT_TRUE(summary.written) << summary.failure.toStdString();
    EXPECT_TRUE(summary.newExercises.empty());
    EXPECT_EQ(summary.newSets, 0);
    open.layout.exec(QStringLiteral("delete from s_import_name_map;"));
    summary = import(file, options);
    EXPECT_TRUE(summary.newExercises.empty());
    EXPECT_EQ(summary.presentSets, 2);

    // A destination that is not in the masters stops the import.
    options.mapping.insert(QStringLiteral("My Own Press"),
                           {QStringLiteral("04"), QStringLiteral("77")});
    summary = import(file, options);
    EXPECT_FALSE(summary.written);
    EXPECT_TRUE(summary.failure.contains(QStringLiteral("My Own Press")))
        << summary.failure.toStdString();
}

TEST_F(ExerciseMapping, FiveHundredNewNamesImportWithTwoCharacterCodesInOrder) {
    QByteArray file = kHevyHeader;
    for (int i = 1; i <= 500; ++i)
        file += HevyRow(QStringLiteral("Custom Move %1").arg(i, 3, 10, QLatin1Char('0')));
    ImportOptions options;
    options.commit = true;
    options.group = QStringLiteral("01");
    const ImportSummary summary = import(file, options);
    ASSERT_TRUE(summary.written) << summary.failure.toStdString();
    EXPECT_EQ(summary.newExercises.size(), 500u);
    EXPECT_EQ(scalar("select count(*) from t_exer"), QStringLiteral("int:500"));
    EXPECT_EQ(scalar("select count(*) from m_exer where grp_cd = '01'"), QStringLiteral("int:504"));
    EXPECT_EQ(scalar("select count(*) from m_exer where length(exer_cd) <> 2"),
              QStringLiteral("int:0"));
    QString message;
    EXPECT_TRUE(CheckMasterCodes(open.db, message)) << message.toStdString();
    // The list shows them in the order of the file, after the first database's four.
    const QStringList listed = DBFillExerList(open.db, QStringLiteral("01"));
    ASSERT_EQ(listed.size(), 504);
    EXPECT_EQ(listed[4], QStringLiteral("05 Custom Move 001"));
    EXPECT_EQ(listed[98], QStringLiteral("99 Custom Move 095"));
    EXPECT_EQ(listed[99], QStringLiteral("0A Custom Move 096"));
    EXPECT_EQ(listed.last().mid(3), QStringLiteral("Custom Move 500"));

    const ImportSummary again = import(file, options);
    EXPECT_EQ(again.newSets, 0);
    EXPECT_TRUE(again.newExercises.empty());
}

// Sets that still name an exercise the masters lost keep its code to themselves: a new
// exercise takes the next code, as one added in the masters window does, and never adopts them.
TEST_F(ExerciseMapping, ANewExerciseNeverTakesACodeThatStoredSetsName) {
    open.layout.exec(QStringLiteral(
        "insert into t_exer values ('2020/01/01', '01', '05', 1, '', '', 40, 'kg', 5, '回', "
        "null, null, '0', 'left behind');"));
    ImportOptions options;
    options.group = QStringLiteral("01");
    const QByteArray file = QByteArray(kHevyHeader) + HevyRow(QStringLiteral("Custom Move"));
    const ImportSummary preview = import(file, options);
    ASSERT_EQ(preview.newExercises.size(), 1u) << preview.failure.toStdString();
    EXPECT_EQ(preview.newExercises.front().exerCd, QStringLiteral("06"));

    options.commit = true;
    const ImportSummary summary = import(file, options);
    ASSERT_TRUE(summary.written) << summary.failure.toStdString();
    EXPECT_EQ(scalar("select exer_cd from m_exer where exer_name = 'Custom Move'"),
              QStringLiteral("text:06"));
    EXPECT_EQ(scalar("select count(*) from m_exer where grp_cd = '01' and exer_cd = '05'"),
              QStringLiteral("int:0"));
    EXPECT_EQ(scalar("select comment from t_exer where exer_cd = '05'"),
              QStringLiteral("text:left behind"));
}

struct UnitCase {
    const char* name;
    const char* loads;     // the weights of the file's sets
    const char* given;     // the unit given, "" for none
    const char* proposed;  // the unit the loads suggest
    const char* stored;    // unit_t stored, "" when refused
};

// Strong's comma form has no unit: the caller names it, the loads only propose one.
TEST_F(ExerciseMapping, LoadsWithoutAUnitNeedOneGiven) {
    const UnitCase cases[] = {
        {"pounds, refused without a unit", "45 135 185 225", "", "lb", ""},
        {"a deadlift of 420", "60 420", "", "lb", ""},
        {"kilograms proposed", "60 62.5 80 100", "", "kg", ""},
        {"pounds given", "45 135 185 225", "lb", "lb", "lb"},
        {"kilograms given against the loads", "45 135 185 225", "kg", "lb", "kg"},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.name);
        open.layout.exec(QStringLiteral("delete from t_exer;"));
        QByteArray file = kStrongHeader;
        int order = 0;
        for (const QByteArray& load : QByteArray(c.loads).split(' '))
            file += "2024-06-01 07:00:00,W,1h,ベンチプレス," + QByteArray::number(++order) + "," +
                    load + ",5,0,0,,,\r\n";
        ImportOptions options;
        options.commit = true;
        options.loadUnit = QString::fromLatin1(c.given);
        const ImportSummary summary = import(file, options);
        EXPECT_TRUE(summary.loadUnitMissing);
        EXPECT_EQ(summary.proposedLoadUnit, QString::fromLatin1(c.proposed));
        if (!*c.stored) {
            EXPECT_FALSE(summary.written);
            EXPECT_TRUE(summary.failure.contains(QStringLiteral("--unit")))
                << summary.failure.toStdString();
            EXPECT_EQ(scalar("select count(*) from t_exer"), QStringLiteral("int:0"));
            continue;
        }
        ASSERT_TRUE(summary.written) << summary.failure.toStdString();
        EXPECT_EQ(scalar("select group_concat(distinct unit_t) from t_exer"),
                  QStringLiteral("text:") + QString::fromLatin1(c.stored));
        EXPECT_TRUE(SummaryLines(summary).join('\n').contains(QStringLiteral("重量の単位: ") +
                                                              QString::fromLatin1(c.stored)));
    }
}

struct RowCase {
    const char* name;
    const char* row;  // one FitNotes row
    int sets, mended, skipped, refused;
    const char* reason;  // a part of the refusal
};

TEST_F(ExerciseMapping, RowsAreReadAsTheirAppMeantThem) {
    const RowCase cases[] = {
        {"a name split at its comma, mended",
         "2024-06-01,Overhead Press (Each Side, Dumbbells),Shoulders,20,10,,,,", 1, 1, 0, 0, ""},
        {"one field too many that no join explains", "2024-06-01,Curl,Arms,20,10,,,,,extra", 0, 0,
         0, 1, "列の数"},
        {"two fields too many", "2024-06-01,A, B, C,Arms,20,10,,,,", 0, 0, 0, 1, "列の数"},
        {"a set with nothing done", "2024-06-01,Curl,Arms,,,,,,", 0, 0, 1, 0, ""},
        {"zeros alone are nothing done", "2024-06-01,Curl,Arms,0,0,0,km,0:00:00,", 0, 0, 1, 0, ""},
        {"h:m:s", "2024-06-01,Plank,Abs,,,,,1:02:03,", 1, 0, 0, 0, ""},
        {"more parts than h:m:s", "2024-06-01,Plank,Abs,,,,,1:2:3:4:5:6:7:8:9,", 0, 0, 0, 1,
         "時間ではありません"},
        {"minutes past 59 after hours", "2024-06-01,Plank,Abs,,,,,1:75:00,", 0, 0, 0, 1,
         "時間ではありません"},
        {"hours too large to store", "2024-06-01,Plank,Abs,,,,,9999999999:00:00,", 0, 0, 0, 1,
         "時間ではありません"},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        ImportOptions options;
        options.skipRefused = true;
        const ImportSummary summary = import(QByteArray(kFitNotesHeader) + c.row + "\r\n" +
                                                 "2024-06-02,ベンチプレス,Chest,60,10,,,,\r\n",
                                             options);
        EXPECT_EQ(summary.sets, c.sets + 1);
        EXPECT_EQ(summary.mendedRows, c.mended);
        EXPECT_EQ(summary.skippedEmptySets, c.skipped);
        EXPECT_EQ(summary.refusedCount, c.refused);
        if (*c.reason) {
            ASSERT_FALSE(summary.refused.empty());
            EXPECT_EQ(summary.refused.front().line, 2);
            EXPECT_TRUE(summary.refused.front().reason.contains(QString::fromUtf8(c.reason)))
                << summary.refused.front().reason.toStdString();
        }
    }
}

// The longest duration read stays a whole number of minutes that reads back.
TEST_F(ExerciseMapping, AnHourMinuteSecondDurationIsStoredAsMinutesAndSeconds) {
    ImportOptions options;
    options.commit = true;
    const ImportSummary summary = import(
        QByteArray(kFitNotesHeader) + "2024-06-01,Plank,Abs,,,,,999999999:59:59,\r\n", options);
    ASSERT_TRUE(summary.written) << summary.failure.toStdString();
    EXPECT_EQ(scalar("select cnt_min || ' ' || cnt_sec from t_exer"),
              QStringLiteral("text:59999999999 59"));
}

// The group proposed for the exercise names of Strong, Hevy and FitNotes exports: the
// movement decides, never the grip or the equipment.
TEST_F(ExerciseMapping, GroupsFollowTheMovementOfRealExerciseNames) {
    const std::pair<const char*, const char*> cases[] = {
        // Pulldowns and rows, whatever the grip or machine.
        {"Lat Pulldown - Wide Grip", "背中"},
        {"Lat Pulldown - Wide Grip (Cable)", "背中"},
        {"Lat Pulldown - Close Grip (Cable)", "背中"},
        {"Reverse Grip Lat Pulldown (Cable)", "背中"},
        {"Straight Arm Lat Pulldown (Cable)", "背中"},
        {"Lat Pulldown (Cable)", "背中"},
        {"Seated Cable Row - V Grip", "背中"},
        {"Seated Cable Row - V Grip (Cable)", "背中"},
        {"Seated Cable Row - Bar Grip", "背中"},
        {"Iso-Lateral Row (Machine)", "背中"},
        {"Iso-Lateral High Row (Machine)", "背中"},
        {"Seated Row (Machine)", "背中"},
        {"Bent Over Row (Barbell)", "背中"},
        {"Bent Over One Arm Row (Dumbbell)", "背中"},
        {"Chest Supported Incline Row (Dumbbell)", "背中"},
        {"T Bar Row", "背中"},
        {"Pendlay Row (Barbell)", "背中"},
        {"Inverted Row", "背中"},
        {"Pull Up (Assisted)", "背中"},
        {"Chin Up", "背中"},
        {"Deadlift (Barbell)", "背中"},
        {"Shrug (Dumbbell)", "背中"},
        {"Back Extension (Hyperextension)", "背中"},
        // Only rowing machines and ergometers are cardio.
        {"Rowing Machine", "有酸素"},
        {"Rowing (Machine)", "有酸素"},
        {"Rowing", "有酸素"},
        {"Row Erg", "有酸素"},
        {"Rowing Ergometer", "有酸素"},
        {"Running (Treadmill)", "有酸素"},
        {"Cycling", "有酸素"},
        {"Elliptical Trainer", "有酸素"},
        {"Stair Machine", "有酸素"},
        // Twists are the core's.
        {"Cable Twist", "体幹"},
        {"Russian Twist", "体幹"},
        {"Landmine Twist", "体幹"},
        {"Torso Rotation (Machine)", "体幹"},
        {"Plank", "体幹"},
        {"Cable Crunch", "体幹"},
        {"Hanging Leg Raise", "体幹"},
        {"Ab Wheel", "体幹"},
        // A grip says nothing of its own.
        {"Bench Press (Barbell)", "胸"},
        {"Bench Press (Dumbbell)", "胸"},
        {"Wide Grip Bench Press", "胸"},
        {"Incline Bench Press (Dumbbell)", "胸"},
        {"Chest Fly (Machine)", "胸"},
        {"Cable Fly Crossovers", "胸"},
        {"Iso-Lateral Chest Press (Machine)", "胸"},
        {"Bench Press - Close Grip (Barbell)", "腕"},
        {"Bicep Curl (Dumbbell)", "腕"},
        {"Hammer Curl (Dumbbell)", "腕"},
        {"Preacher Curl (Barbell)", "腕"},
        {"Triceps Pushdown (Cable - Straight Bar)", "腕"},
        {"Triceps Rope Pushdown", "腕"},
        {"Skullcrusher (Barbell)", "腕"},
        {"Wrist Curl (Barbell)", "腕"},
        {"Overhead Press (Barbell)", "肩"},
        {"Seated Overhead Press (Dumbbell)", "肩"},
        {"Lateral Raise (Cable)", "肩"},
        {"Face Pull (Cable)", "肩"},
        {"Reverse Fly (Dumbbell)", "肩"},
        {"Upright Row (Barbell)", "肩"},
        {"Squat (Barbell)", "脚"},
        {"Front Squat (Barbell)", "脚"},
        {"Bulgarian Split Squat", "脚"},
        {"Romanian Deadlift (Barbell)", "脚"},
        {"Leg Extension (Machine)", "脚"},
        {"Seated Leg Curl (Machine)", "脚"},
        {"Hip Thrust (Barbell)", "脚"},
        {"Lunge (Dumbbell)", "脚"},
        {"Walking Lunge (Dumbbell)", "脚"},
        {"Kettlebell Swing", "脚"},
        {"Standing Calf Raise (Smith Machine)", "脚"},
        {"Clean and Jerk (Barbell)", "その他"},
        {"Stretching", "その他"},
    };
    QByteArray file = kHevyHeader;
    for (const auto& [name, group] : cases) file += HevyRow(QString::fromUtf8(name));
    const ImportSummary summary = import(file);
    ASSERT_EQ(summary.names.size(), std::size(cases)) << summary.failure.toStdString();
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(summary.names[i].grpName.toStdString(), cases[i].second) << cases[i].first;
}

// Hevy writes the help of an assisted exercise as a negative load: the set is kept, with load
// 0 and the help in its comment after the set's other words, and counted in the summary.
TEST_F(ExerciseMapping, AnAssistedSetKeepsItsHelpInTheComment) {
    ImportOptions options;
    options.commit = true;
    const ImportSummary summary =
        import(QByteArray(kHevyHeader) +
                   "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Pull Up (Assisted),,,0,warmup,"
                   "-20,8,,,\r\n"
                   "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Pull Up (Assisted),,slow down,1,"
                   "normal,-12.5,6,,,8\r\n"
                   "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Pull Up (Assisted),,,2,normal,"
                   "-20,,,,\r\n"
                   "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Dip,,,0,normal,-x,6,,,\r\n",
               [&] {
                   options.skipRefused = true;
                   return options;
               }());
    ASSERT_TRUE(summary.written) << summary.failure.toStdString();
    EXPECT_EQ(summary.assistedSets, 2);
    EXPECT_EQ(summary.refusedCount, 1);      // "-x" is no number
    EXPECT_EQ(summary.skippedEmptySets, 1);  // help, but no repetition
    EXPECT_EQ(CellRows(open.layout.dbPath(),
                       "select set_num, target, unit_t, cnt, comment from t_exer order by set_num"),
              (QStringList{"int:1 | real:0 | text: | int:8 | text:ウォームアップ / アシスト 20 kg",
                           "int:2 | real:0 | text: | int:6 | text:RPE 8 / アシスト 12.5 kg / "
                           "slow down"}));
    EXPECT_TRUE(SummaryLines(summary).join('\n').contains(QStringLiteral("アシスト付きのセット")));
}

struct DistanceCase {
    const char* name;
    const char* distance;  // the Distance cell of the running set
    const char* loadUnit;  // given, "" for none
    const char* given;     // the distance unit given, "" for none
    const char* proposed;  // "" when the file holds no distance and nothing is asked
    const char* stored;    // the running set's target and unit, "" when refused
};

// Strong's comma form names the unit of neither loads nor distances: the distance unit is
// asked like the load unit, proposed from it.
TEST_F(ExerciseMapping, DistancesWithoutAUnitNeedOneGiven) {
    const DistanceCase cases[] = {
        {"pounds propose miles", "3.1", "lb", "", "mi", ""},
        {"kilograms propose kilometres", "5", "kg", "", "km", ""},
        {"no load unit: the loads' proposal decides", "3.1", "", "", "mi", ""},
        {"miles given", "3.1", "lb", "mi", "mi", "3.1 mi"},
        {"kilometres given against the proposal", "5", "lb", "km", "mi", "5.0 km"},
        {"no distance in the file: nothing asked", "0", "lb", "", "", "0.0 "},
    };
    for (const DistanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        open.layout.exec(QStringLiteral("delete from t_exer;"));
        const QByteArray file = QByteArray(kStrongHeader) +
                                "2024-06-01 07:00:00,W,1h,ベンチプレス,1,135,5,0,0,,,\r\n"
                                "2024-06-01 07:00:00,W,1h,ベンチプレス,2,225,5,0,0,,,\r\n"
                                "2024-06-01 07:00:00,W,1h,Running,1,0,0," +
                                c.distance + ",1800,,,\r\n";
        ImportOptions options;
        options.commit = true;
        options.loadUnit = QString::fromLatin1(c.loadUnit);
        options.distanceUnit = QString::fromLatin1(c.given);
        const ImportSummary summary = import(file, options);
        EXPECT_EQ(summary.distanceUnitMissing, *c.proposed != 0);
        EXPECT_EQ(summary.proposedDistanceUnit, QString::fromLatin1(c.proposed));
        if (!*c.stored) {
            EXPECT_FALSE(summary.written);
            EXPECT_TRUE(summary.failure.contains(QStringLiteral("--distance-unit")) ||
                        (!*c.loadUnit && summary.failure.contains(QStringLiteral("--unit"))))
                << summary.failure.toStdString();
            EXPECT_TRUE(SummaryLines(summary).join('\n').contains(
                QStringLiteral("距離の単位: ファイルになし（重量の単位から見ると ") +
                QString::fromLatin1(c.proposed)));
            EXPECT_EQ(scalar("select count(*) from t_exer"), QStringLiteral("int:0"));
            continue;
        }
        ASSERT_TRUE(summary.written) << summary.failure.toStdString();
        EXPECT_EQ(scalar("select target || ' ' || unit_t from t_exer where exer_cd <> '01'"),
                  QStringLiteral("text:") + QString::fromLatin1(c.stored));
    }
}

}  // namespace
}  // namespace sorvenka::testing
