// The due day of a routine, read from the sets stored on real database files.
#include "routines/next_day.h"

#include "routines/routine_fixture.h"

namespace sorvenka::testing {
namespace {

// A rotation A (bench 01/01, fly 01/02), B (squat 03/01, lunge 03/03), C (pull-up 02/01,
// row 02/03), stored through the store.
struct Rotation {
    explicit Rotation(sqlite3* db) {
        routine.name = QStringLiteral("3分割");
        EXPECT_TRUE(AddRoutine(db, routine));
        const std::vector<std::pair<QString, std::vector<std::pair<QString, QString>>>> plan{
            {QStringLiteral("A"), {{"01", "01"}, {"01", "02"}}},
            {QStringLiteral("B"), {{"03", "01"}, {"03", "03"}}},
            {QStringLiteral("C"), {{"02", "01"}, {"02", "03"}}},
        };
        for (const auto& [name, exercises] : plan) {
            RoutineDay day;
            day.routineId = routine.id;
            day.name = name;
            EXPECT_TRUE(AddDay(db, day));
            ids.push_back(day.id);
            for (const auto& [grp, exer] : exercises) {
                RoutineItem item;
                item.dayId = day.id;
                item.grpCd = grp;
                item.exerCd = exer;
                EXPECT_TRUE(AddItem(db, item));
            }
        }
    }
    Routine routine;
    std::vector<qint64> ids;
};

std::vector<SetRow> Trained(const QString& ymd, const QString& grp, const QString& exer) {
    return Sets(ymd, "50", "kg", {10}, 1, exer, grp);
}

TEST(FindNextDay, FollowsTheLogNotAPosition) {
    struct Case {
        const char* what;
        std::vector<SetRow> stored;
        int due;  // index of the day: 0 A, 1 B, 2 C
        bool inProgress;
    };
    const std::vector<Case> cases{
        {"a new routine starts at its first day", {}, 0, false},
        {"in order: after A comes B",
         Join({Trained("2024/05/10", "01", "01"), Trained("2024/05/10", "01", "02")}), 1, false},
        {"in order: after C comes A again",
         Join({Trained("2024/05/08", "01", "01"), Trained("2024/05/10", "03", "01"),
               Trained("2024/05/12", "02", "01")}),
         0, false},
        {"out of order: C trained after A, so A is next",
         Join({Trained("2024/05/08", "01", "01"), Trained("2024/05/10", "02", "03")}), 0, false},
        {"a skipped day is simply passed: A then C leaves A next",
         Join({Trained("2024/05/06", "01", "01"), Trained("2024/05/09", "02", "01"),
               Trained("2024/05/09", "02", "03")}),
         0, false},
        {"the day with most of its exercises trained wins",
         Join({Trained("2024/05/10", "01", "01"), Trained("2024/05/10", "03", "01"),
               Trained("2024/05/10", "03", "03")}),
         2, false},
        {"exercises outside the routine are not read",
         Join({Trained("2024/05/08", "01", "01"), Trained("2024/05/10", "05", "01")}), 1, false},
        {"later days are not read",
         Join({Trained("2024/05/08", "01", "01"), Trained("2024/05/20", "03", "01")}), 1, false},
        {"a day begun on the date stays due",
         Join({Trained("2024/05/08", "01", "01"), Trained("2024/05/14", "02", "01")}), 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDatabase env;
        Rotation rotation(env.db.connection());
        Store(env.layout, c.stored);
        RoutineBook book;
        ASSERT_TRUE(ReadRoutineBook(env.db.connection(), book));
        const NextDay next = FindNextDay(env.db.connection(), book, rotation.routine.id,
                                         QStringLiteral("2024/05/14"));
        ASSERT_TRUE(next.ok);
        EXPECT_EQ(next.dayId, rotation.ids[c.due]);
        EXPECT_EQ(next.inProgress, c.inProgress);
    }
}

TEST(FindNextDay, WeekdaySchedulePicksByTheDatesWeekday) {
    OpenDatabase env;
    sqlite3* db = env.db.connection();
    Routine routine{0, QStringLiteral("週2"), 0, Schedule::Weekdays};
    ASSERT_TRUE(AddRoutine(db, routine));
    RoutineDay monday{0, routine.id, QStringLiteral("月"), 0, WeekdayBit(Qt::Monday)};
    RoutineDay thursday{0, routine.id, QStringLiteral("木"), 0,
                        WeekdayBit(Qt::Thursday) | WeekdayBit(Qt::Friday)};
    ASSERT_TRUE(AddDay(db, monday));
    ASSERT_TRUE(AddDay(db, thursday));
    RoutineBook book;
    ASSERT_TRUE(ReadRoutineBook(db, book));
    // 2024/05/13 is a Monday.
    EXPECT_EQ(FindNextDay(db, book, routine.id, "2024/05/13").dayId, monday.id);
    EXPECT_EQ(FindNextDay(db, book, routine.id, "2024/05/17").dayId, thursday.id);
    EXPECT_EQ(FindNextDay(db, book, routine.id, "2024/05/14").dayId, 0);
}

}  // namespace
}  // namespace sorvenka::testing
