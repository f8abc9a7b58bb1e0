// Every later export of another logger holds the whole history again: a second import of the
// same file adds nothing, whatever the user renamed, moved or merged in between.
#include <gtest/gtest.h>

#include "csv/csv_import.h"
#include "csv/csv_test_files.h"
#include "masters/exercise_changes.h"
#include "masters/exercise_merge.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

// Strong's comma form: loads without a unit, a warm-up set, a timed set, a workout note.
const QByteArray kStrongFile =
    "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
    "Workout Notes,RPE\r\n"
    "2024-05-01 08:30:00,Push,1h,Bench Press (Dumbbell),W,10,12,0,0,,felt good,\r\n"
    "2024-05-01 08:30:00,Push,1h,Bench Press (Dumbbell),1,24,10,0,0,,felt good,8\r\n"
    "2024-05-01 08:30:00,Push,1h,Bench Press (Dumbbell),2,24,10,0,0,,felt good,8\r\n"
    "2024-05-01 08:30:00,Push,1h,Lunge (Dumbbell),1,12,10,0,0,,felt good,\r\n"
    "2024-05-01 08:30:00,Push,1h,Lunge (Dumbbell),2,12,10,0,0,,felt good,\r\n"
    "2024-05-01 08:30:00,Push,1h,Lat Pulldown - Wide Grip,1,50,10,0,0,,felt good,\r\n"
    "2024-05-01 08:30:00,Push,1h,Squat (Barbell),1,80,5,0,0,,felt good,\r\n"
    "2024-05-03 08:30:00,Legs,1h,Lunge (Dumbbell),1,14,8,0,0,,,\r\n"
    "2024-05-03 08:30:00,Legs,1h,Plank,1,0,0,0,60,,,\r\n"
    "2024-05-03 08:30:00,Legs,1h,Bench Press (Dumbbell),1,26,6,0,0,,,\r\n";

class SecondImport : public ::testing::Test {
  protected:
    OpenDatabase open;
    QString path = open.layout.folder(QStringLiteral("rec")) + QStringLiteral("/strong.csv");

    ImportSummary import(bool commit, QHash<QString, ExerciseTarget> mapping = {},
                         QHash<QString, QString> newNames = {}) {
        EXPECT_TRUE(WriteFileBytes(path, kStrongFile));
        ImportOptions options;
        options.loadUnit = QStringLiteral("kg");
        options.commit = commit;
        options.mapping = mapping;
        options.newNames = newNames;
        ImportSummary summary;
        ImportCsv(open.db, path, options, summary);
        return summary;
    }
    QString scalar(const char* sql) { return Scalar(open.layout.dbPath(), sql); }
    // The exercise that a name's sets went to.
    ExerciseKey destination(const ImportSummary& summary, const char* name) {
        for (const NameUse& use : summary.names)
            if (use.name == QLatin1String(name)) return {use.target.grpCd, use.target.exerCd};
        ADD_FAILURE() << name;
        return {};
    }
    void expectNothingAdded(const ImportSummary& again, const QStringList& setsBefore,
                            const QString& exercisesBefore) {
        EXPECT_TRUE(again.failure.isEmpty()) << again.failure.toStdString();
        EXPECT_EQ(again.newSets, 0);
        EXPECT_EQ(again.presentSets, 10);
        EXPECT_TRUE(again.newExercises.empty());
        for (const NameUse& use : again.names)
            EXPECT_EQ(use.match, NameMatch::Saved) << use.name.toStdString();
        EXPECT_EQ(AllSets(open.layout.dbPath()), setsBefore);
        EXPECT_EQ(scalar("select count(*) from m_exer"), exercisesBefore);
    }
};

TEST_F(SecondImport, AddsNothingAfterARenameAMoveAndAMerge) {
    const ImportSummary first = import(true);
    ASSERT_TRUE(first.written) << first.failure.toStdString();
    ASSERT_EQ(first.newSets, 10);
    const ExerciseKey bench = destination(first, "Bench Press (Dumbbell)");
    const ExerciseKey lunge = destination(first, "Lunge (Dumbbell)");
    const ExerciseKey pulldown = destination(first, "Lat Pulldown - Wide Grip");
    const ExerciseKey squat = destination(first, "Squat (Barbell)");
    EXPECT_EQ(squat, (ExerciseKey{"03", "01"}));  // スクワット, found by its common name

    QString message, code;
    ASSERT_TRUE(
        RenameExercise(open.db.connection(), bench, QStringLiteral("ダンベルプレス"), message))
        << message.toStdString();
    MergeFigures figures;
    ASSERT_TRUE(MergeExercise(open.db.connection(), lunge, {"03", "03"}, figures, message))
        << message.toStdString();
    ASSERT_TRUE(MoveExerciseToGroup(open.db.connection(), pulldown, "04", code, message))
        << message.toStdString();
    // The first database's exercise that a common name found, renamed and moved as well.
    ASSERT_TRUE(
        RenameExercise(open.db.connection(), squat, QStringLiteral("バックスクワット"), message));
    QString squatCode;
    ASSERT_TRUE(MoveExerciseToGroup(open.db.connection(), squat, "99", squatCode, message));
    const QStringList sets = AllSets(open.layout.dbPath());
    const QString exercises = scalar("select count(*) from m_exer");

    // The preview proposes where the sets are now, and the import writes nothing.
    ImportSummary again = import(false);
    EXPECT_EQ(destination(again, "Bench Press (Dumbbell)"), bench);
    EXPECT_EQ(destination(again, "Lunge (Dumbbell)"), (ExerciseKey{"03", "03"}));
    EXPECT_EQ(destination(again, "Lat Pulldown - Wide Grip"), (ExerciseKey{"04", code}));
    EXPECT_EQ(destination(again, "Squat (Barbell)"), (ExerciseKey{"99", squatCode}));
    expectNothingAdded(again, sets, exercises);
    again = import(true);
    EXPECT_TRUE(again.written) << again.failure.toStdString();
    expectNothingAdded(again, sets, exercises);
}

// The caller's "new exercise in a group" once more, after that exercise was moved and its
// name kept nowhere else: the sets are found where it went.
TEST_F(SecondImport, AGivenNewExerciseIsFoundAfterItWasMovedAndMerged) {
    QHash<QString, ExerciseTarget> mapping{
        {QStringLiteral("Bench Press (Dumbbell)"), {QStringLiteral("01"), QString()}},
        {QStringLiteral("Lunge (Dumbbell)"), {QStringLiteral("99"), QString()}}};
    const ImportSummary first = import(true, mapping);
    ASSERT_TRUE(first.written) << first.failure.toStdString();
    const ExerciseKey bench = destination(first, "Bench Press (Dumbbell)");
    const ExerciseKey lunge = destination(first, "Lunge (Dumbbell)");

    QString message, code;
    ASSERT_TRUE(MoveExerciseToGroup(open.db.connection(), bench, "05", code, message));
    MergeFigures figures;
    ASSERT_TRUE(MergeExercise(open.db.connection(), lunge, {"03", "03"}, figures, message));
    const QStringList sets = AllSets(open.layout.dbPath());
    const QString exercises = scalar("select count(*) from m_exer");

    const ImportSummary again = import(true, mapping);
    EXPECT_TRUE(again.written) << again.failure.toStdString();
    EXPECT_EQ(again.newSets, 0);
    EXPECT_TRUE(again.newExercises.empty());
    EXPECT_EQ(destination(again, "Bench Press (Dumbbell)"), (ExerciseKey{"05", code}));
    EXPECT_EQ(destination(again, "Lunge (Dumbbell)"), (ExerciseKey{"03", "03"}));
    EXPECT_EQ(AllSets(open.layout.dbPath()), sets);
    EXPECT_EQ(scalar("select count(*) from m_exer"), exercises);
}

// A deleted exercise's names are forgotten: the exercise that takes its code later is another
// one and receives nothing of them.
TEST_F(SecondImport, ADeletedExercisesNamesAreForgotten) {
    ASSERT_TRUE(import(true).written);
    const ImportSummary first = import(false);
    const ExerciseKey pulldown = destination(first, "Lat Pulldown - Wide Grip");
    open.layout.exec(QStringLiteral("delete from t_exer where grp_cd = '%1' and exer_cd = '%2';")
                         .arg(pulldown.grpCd, pulldown.exerCd));
    QString message, code;
    ASSERT_TRUE(DeleteExercise(open.db.connection(), pulldown, message)) << message.toStdString();
    ASSERT_TRUE(AddExercise(open.db.connection(), pulldown.grpCd, QStringLiteral("懸垂（加重）"),
                            code, message));
    ASSERT_EQ(code, pulldown.exerCd);
    EXPECT_EQ(
        scalar("select count(*) from s_import_name_map where exer_cd = '" +
               pulldown.exerCd.toLatin1() + "' and grp_cd = '" + pulldown.grpCd.toLatin1() + "'"),
        QStringLiteral("int:0"));
    const ImportSummary again = import(false);
    EXPECT_NE(destination(again, "Lat Pulldown - Wide Grip"), pulldown);
    EXPECT_EQ(again.newSets, 1);
}

// A new exercise may get its own name (a Japanese one) before it is made; a name its group
// has already sends the sets there; the next import finds both by the file's names.
TEST_F(SecondImport, NewExercisesTakeTheNamesGivenInThePreview) {
    const QHash<QString, QString> names{
        {QStringLiteral("Bench Press (Dumbbell)"), QStringLiteral(" ダンベルプレス ")},
        {QStringLiteral("Lunge (Dumbbell)"), QStringLiteral("ランジ")},  // 03 03 exists
        {QStringLiteral("Squat (Barbell)"), QStringLiteral("not new: ignored")},
        {QStringLiteral("Plank"), QString()}};
    // A name the masters refuse stops the import.
    const ImportSummary bad =
        import(false, {}, {{QStringLiteral("Lat Pulldown - Wide Grip"), QStringLiteral("a\tb")}});
    EXPECT_TRUE(bad.failure.contains(QStringLiteral("Lat Pulldown - Wide Grip")))
        << bad.failure.toStdString();
    ImportSummary first = import(false, {}, names);
    ASSERT_TRUE(first.failure.isEmpty()) << first.failure.toStdString();
    EXPECT_TRUE(SummaryLines(first).join('\n').contains(QStringLiteral(
        "新しい種目: Bench Press (Dumbbell)（名前 ダンベルプレス） → グループ 01 胸")));
    first = import(true, {}, names);
    ASSERT_TRUE(first.written) << first.failure.toStdString();
    EXPECT_EQ(destination(first, "Lunge (Dumbbell)"), (ExerciseKey{"03", "03"}));
    EXPECT_EQ(CellRows(open.layout.dbPath(),
                       "select grp_cd || exer_cd || ' ' || exer_name from m_exer "
                       "where grp_cd || exer_cd not in ('0101','0102','0103','0104','0201',"
                       "'0202','0203','0204','0301','0302','0303','0304','0401','0402','0403',"
                       "'0501','0502','0503','0504','0601','0602','0603','0604','0701','0702',"
                       "'0703','0704','9999') order by 1"),
              (QStringList{"text:0105 ダンベルプレス", "text:0205 Lat Pulldown - Wide Grip"}));
    const QStringList sets = AllSets(open.layout.dbPath());
    const QString exercises = scalar("select count(*) from m_exer");
    expectNothingAdded(import(true), sets, exercises);
}

}  // namespace
}  // namespace sorvenka::testing
