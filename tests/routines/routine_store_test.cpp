// Routines, days, items, plates and warm-ups stored in tables of their own.
#include "routines/routine_store.h"

#include "routines/routine_fixture.h"
#include "routines/routine_tables.h"

namespace sorvenka::testing {
namespace {

TEST(RoutineStore, TablesAreMadeByTheFirstWriteAndTheSixKeepTheirs) {
    OpenDatabase env;
    sqlite3* db = env.db.connection();
    RoutineBook book;
    ASSERT_TRUE(ReadRoutineBook(db, book));  // nothing stored, nothing made
    EXPECT_TRUE(book.routines.empty());
    EXPECT_FALSE(RoutineTablesExist(db));
    PlateInventory plates;
    ASSERT_TRUE(ReadPlates(db, QStringLiteral("lb"), plates));
    EXPECT_EQ(plates, DefaultPlates(QStringLiteral("lb")));
    WarmupScheme warmup;
    ASSERT_TRUE(ReadWarmup(db, warmup));
    EXPECT_EQ(warmup, DefaultWarmup());

    Routine routine{0, QStringLiteral("週3"), 0, Schedule::Rotation};
    ASSERT_TRUE(AddRoutine(db, routine));
    EXPECT_TRUE(RoutineTablesExist(db));
    EXPECT_EQ(ScalarText(env.layout.dbPath(),
                         "select count(*) from sqlite_master where type = 'table' and name not "
                         "like 's\\_%' escape '\\'"),
              QStringLiteral("6"));
}

TEST(RoutineStore, MakeRenameOrderAndDelete) {
    OpenDatabase env;
    sqlite3* db = env.db.connection();
    Routine first{0, QStringLiteral("A"), 0, Schedule::Rotation};
    Routine second{0, QStringLiteral("B"), 0, Schedule::Weekdays};
    ASSERT_TRUE(AddRoutine(db, first));
    ASSERT_TRUE(AddRoutine(db, second));
    RoutineDay day{0, first.id, QStringLiteral("脚"), 0, 0};
    ASSERT_TRUE(AddDay(db, day));
    RoutineItem squat = BenchItem(ProgressionRule::Double, 8, 12);
    squat.dayId = day.id;
    squat.exerCd = QStringLiteral("01");
    squat.grpCd = QStringLiteral("03");
    squat.superset = QStringLiteral("a");
    RoutineItem lunge = squat;
    lunge.exerCd = QStringLiteral("03");
    ASSERT_TRUE(AddItem(db, squat));
    ASSERT_TRUE(AddItem(db, lunge));

    first.name = QStringLiteral("上半身・下半身");
    ASSERT_TRUE(UpdateRoutine(db, first));
    squat.startLoad = 82.5;
    squat.rule = ProgressionRule::Linear;
    ASSERT_TRUE(UpdateItem(db, squat));
    ASSERT_TRUE(OrderRoutines(db, {second.id, first.id}));
    ASSERT_TRUE(OrderItems(db, {lunge.id, squat.id}));

    RoutineBook book;
    ASSERT_TRUE(ReadRoutineBook(db, book));
    ASSERT_EQ(book.routines.size(), 2u);
    EXPECT_EQ(book.routines[0].id, second.id);
    EXPECT_EQ(book.routines[0].schedule, Schedule::Weekdays);
    EXPECT_EQ(book.routines[1].name, QStringLiteral("上半身・下半身"));
    const std::vector<RoutineItem> items = book.itemsOf(day.id);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, lunge.id);
    EXPECT_EQ(items[1].id, squat.id);
    EXPECT_DOUBLE_EQ(items[1].startLoad, 82.5);
    EXPECT_EQ(items[1].rule, ProgressionRule::Linear);
    EXPECT_EQ(items[1].superset, QStringLiteral("a"));
    EXPECT_EQ(items[1].order, 2);

    ASSERT_TRUE(DeleteRoutine(db, first.id));
    ASSERT_TRUE(ReadRoutineBook(db, book));
    EXPECT_EQ(book.routines.size(), 1u);
    EXPECT_TRUE(book.days.empty());
    EXPECT_EQ(ScalarText(env.layout.dbPath(), "select count(*) from s_routine_item"),
              QStringLiteral("0"));
}

TEST(RoutineStore, PlatesAndWarmupsAreKept) {
    OpenDatabase env;
    sqlite3* db = env.db.connection();
    const PlateInventory mine{QStringLiteral("kg"), 15, {{20, 2}, {10, 1}, {0.5, 1}}};
    ASSERT_TRUE(SavePlates(db, mine));
    PlateInventory read;
    ASSERT_TRUE(ReadPlates(db, QStringLiteral("kg"), read));
    EXPECT_EQ(read, mine);
    const WarmupScheme scheme{{{0, 5}, {50, 3}}};
    ASSERT_TRUE(SaveWarmup(db, scheme));
    WarmupScheme warmup;
    ASSERT_TRUE(ReadWarmup(db, warmup));
    EXPECT_EQ(warmup, scheme);
    ASSERT_TRUE(SaveWarmup(db, {}));  // no warm-up at all is a choice, not the default
    ASSERT_TRUE(ReadWarmup(db, warmup));
    EXPECT_TRUE(warmup.steps.empty());
}

TEST(RoutineStore, TheMastersAskAndMoveItems) {
    OpenDatabase env;
    sqlite3* db = env.db.connection();
    QString name;
    bool used = true;
    ASSERT_TRUE(RoutinesUseExercise(db, "01", "01", name, used));
    EXPECT_FALSE(used);
    Routine routine{0, QStringLiteral("胸の日"), 0, Schedule::Rotation};
    ASSERT_TRUE(AddRoutine(db, routine));
    RoutineDay day{0, routine.id, QStringLiteral("1"), 0, 0};
    ASSERT_TRUE(AddDay(db, day));
    RoutineItem bench = BenchItem(ProgressionRule::Linear, 5, 5);
    bench.dayId = day.id;
    ASSERT_TRUE(AddItem(db, bench));
    ASSERT_TRUE(RoutinesUseExercise(db, "01", "01", name, used));
    EXPECT_TRUE(used);
    EXPECT_EQ(name, QStringLiteral("胸の日"));
    ASSERT_TRUE(MoveRoutineItems(db, "01", "01", "01", "04"));
    ASSERT_TRUE(RoutinesUseExercise(db, "01", "01", name, used));
    EXPECT_FALSE(used);
    ASSERT_TRUE(RoutinesUseExercise(db, "01", "04", name, used));
    EXPECT_TRUE(used);
}

}  // namespace
}  // namespace sorvenka::testing
