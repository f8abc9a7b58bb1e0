// An exercise a routine uses: refused as a delete, carried along by a merge or a move.
#include <gtest/gtest.h>

#include "masters/exercise_changes.h"
#include "masters/exercise_merge.h"
#include "routines/routine_store.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

class ExerciseRoutines : public ::testing::Test {
  protected:
    ExerciseRoutines() {
        Routine routine{0, QStringLiteral("胸の日"), 0, Schedule::Rotation};
        EXPECT_TRUE(AddRoutine(db(), routine));
        RoutineDay day{0, routine.id, QStringLiteral("1"), 0, 0};
        EXPECT_TRUE(AddDay(db(), day));
        item.dayId = day.id;
        item.grpCd = QStringLiteral("01");
        item.exerCd = QStringLiteral("02");  // ダンベルフライ, without sets
        EXPECT_TRUE(AddItem(db(), item));
    }
    sqlite3* db() { return env.db.connection(); }
    QString itemKey() {
        return ScalarText(env.layout.dbPath(),
                          "select grp_cd || '/' || exer_cd from s_routine_item");
    }

    OpenDatabase env;
    RoutineItem item;
};

TEST_F(ExerciseRoutines, DeleteIsRefusedWithTheRoutinesName) {
    QString message;
    EXPECT_FALSE(DeleteExercise(db(), {"01", "02"}, message));
    EXPECT_TRUE(message.contains(QStringLiteral("メニュー「胸の日」"))) << message.toStdString();
    EXPECT_EQ(ScalarText(env.layout.dbPath(),
                         "select count(*) from m_exer where grp_cd = '01' and exer_cd = '02'"),
              QStringLiteral("1"));
    // Another exercise without sets or routines still goes.
    EXPECT_TRUE(DeleteExercise(db(), {"01", "03"}, message)) << message.toStdString();
}

TEST_F(ExerciseRoutines, MergeAndMoveCarryTheItems) {
    MergeFigures figures;
    QString message;
    ASSERT_TRUE(MergeExercise(db(), {"01", "02"}, {"01", "04"}, figures, message))
        << message.toStdString();
    EXPECT_EQ(itemKey(), QStringLiteral("01/04"));
    QString code;
    ASSERT_TRUE(MoveExerciseToGroup(db(), {"01", "04"}, "04", code, message))
        << message.toStdString();
    EXPECT_EQ(itemKey(), QStringLiteral("04/") + code);
}

}  // namespace
}  // namespace sorvenka::testing
