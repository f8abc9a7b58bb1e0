// The figures of one exercise read from a real database file: day aggregates, units, rests,
// working time, records and the days they were beaten, texts that are not numbers.
#include "progress/exercise_history.h"

#include <QDate>
#include <map>
#include <vector>

#include "common/text_tests.h"
#include "db/database.h"
#include "progress/progress_texts.h"
#include "progress_fixture.h"

namespace sorvenka::testing {
namespace {

class ExerciseHistoryTest : public ::testing::Test {
  protected:
    ExerciseHistory read(const QString& first = QStringLiteral("2024/01/01"),
                         const QString& last = QStringLiteral("2024/12/31"),
                         const QString& grp = QStringLiteral("01"),
                         const QString& exer = QStringLiteral("01")) {
        ExerciseHistory history =
            ReadExerciseHistory(env.db.connection(), {grp, exer, {first, last}});
        EXPECT_TRUE(history.ok) << history.error.toStdString();
        return history;
    }
    const PersonalRecord* record(const ExerciseHistory& h, const QString& name) {
        for (const PersonalRecord& r : h.records)
            if (r.name == name) return &r;
        return nullptr;
    }
    OpenDatabase env;
};

TEST_F(ExerciseHistoryTest, LoadFiguresOfADayWithKgAndLbSets) {
    StoreSets(env.layout, {
                              {.set = 1, .target = "60", .cnt = "10"},
                              {.set = 2, .target = "200", .unitT = "lb", .cnt = "5"},
                              {.set = 3, .target = "100", .cnt = "1"},
                              {.set = 4, .target = "110", .cnt = "13"},  // no estimate
                              {.set = 5, .target = "0", .cnt = "20"},    // body weight
                              {.set = 6, .target = "20", .cnt = "null", .min = "1", .sec = "30"},
                          });
    const ExerciseHistory h = read();
    ASSERT_EQ(h.days.size(), 1u);
    const DayFigures& d = h.days[0];
    EXPECT_EQ(d.ymd, QStringLiteral("2024/05/14"));
    EXPECT_EQ(d.sets, 6);
    EXPECT_EQ(d.skipped, 0);
    EXPECT_DOUBLE_EQ(*d.topKg, 110);
    EXPECT_DOUBLE_EQ(*d.bestE1rmKg, 200 * 0.45359237 * (1 + 5 / 30.0));
    // Σ load × count over the count sets with a load; the timed set has no count.
    EXPECT_DOUBLE_EQ(*d.volumeKg, 600 + 200 * 0.45359237 * 5 + 100 + 110 * 13);
    EXPECT_EQ(*d.durationSeconds, 90);
    EXPECT_FALSE(d.distanceKm);
    // The hover text: all sets began at the same time, so there is no rest to show.
    EXPECT_EQ(DayTooltip(d), QStringLiteral("2024/05/14 (火)\nセット数: 6\n最大重量: 110 kg\n"
                                            "推定1RM: 105.84 kg\nボリューム: 2583.59 kg\n"
                                            "回数（自重）: 合計 20回、1セット最多 20回\n"
                                            "合計時間: 1:30\n最長セット: 1:30\n作業時間: 1:00"));
}

TEST_F(ExerciseHistoryTest, DurationDistanceAndPace) {
    StoreSets(env.layout,
              {
                  {.ymd = "2024/05/10",
                   .grp = "07",
                   .exer = "02",
                   .set = 1,
                   .target = "5",
                   .unitT = "km",
                   .cnt = "null",
                   .unit = "",
                   .min = "25",
                   .sec = "0"},
                  {.ymd = "2024/05/10",
                   .grp = "07",
                   .exer = "02",
                   .set = 2,
                   .target = "800",
                   .unitT = "m",
                   .cnt = "null",
                   .unit = "",
                   .min = "4",
                   .sec = "0"},
                  // A distance without a duration counts for the distance, not for the pace.
                  {.ymd = "2024/05/10",
                   .grp = "07",
                   .exer = "02",
                   .set = 3,
                   .target = "2",
                   .unitT = "km",
                   .cnt = "null",
                   .unit = ""},
              });
    const ExerciseHistory h = read("2024/01/01", "2024/12/31", "07", "02");
    ASSERT_EQ(h.days.size(), 1u);
    const DayFigures& d = h.days[0];
    EXPECT_DOUBLE_EQ(*d.distanceKm, 7.8);
    EXPECT_DOUBLE_EQ(*d.paceSecondsPerKm, (1500 + 240) / 5.8);
    EXPECT_EQ(*d.durationSeconds, 1740);
    EXPECT_EQ(*d.longestSeconds, 1500);
    EXPECT_FALSE(d.topKg);  // km is no load
    EXPECT_FALSE(d.volumeKg);
}

TEST_F(ExerciseHistoryTest, TextsThatAreNotNumbersAreSkippedAndCounted) {
    StoreSets(env.layout, {
                              {.set = 1},
                              {.set = 2, .target = "'abc'"},
                              {.set = 3, .cnt = "'x'"},
                              {.set = 4, .target = "''"},
                              {.set = 5, .target = "80", .cnt = "null", .min = "'ten'", .sec = "0"},
                              {.ymd = "2024/05/15", .set = 1, .target = "'重い'"},
                              {.ymd = "2024/05/3", .set = 1},  // not a day
                          });
    const ExerciseHistory h = read();
    ASSERT_EQ(h.days.size(), 2u);
    EXPECT_EQ(h.days[0].sets, 5);
    EXPECT_EQ(h.days[0].skipped, 4);
    EXPECT_DOUBLE_EQ(*h.days[0].topKg, 60);
    EXPECT_DOUBLE_EQ(*h.days[0].volumeKg, 600);
    EXPECT_FALSE(h.days[0].durationSeconds);
    EXPECT_EQ(h.days[1].skipped, 1);
    EXPECT_FALSE(h.days[1].topKg);
    EXPECT_EQ(h.skipped, 6);
    ASSERT_NE(record(h, QStringLiteral("最大重量")), nullptr);
    EXPECT_EQ(record(h, QStringLiteral("最大重量"))->value, QStringLiteral("60 kg × 10回"));
}

TEST_F(ExerciseHistoryTest, OnlyTheExerciseWithinThePeriod) {
    StoreSets(env.layout, {
                              {.ymd = "2024/02/14", .target = "50"},
                              {.ymd = "2024/02/15", .target = "55"},
                              {.ymd = "2024/05/14", .target = "60"},
                              {.ymd = "2024/05/15", .target = "200"},
                              {.ymd = "2024/05/14", .exer = "02", .target = "300"},
                              {.ymd = "2024/05/14", .grp = "02", .target = "300"},
                          });
    const ExerciseHistory h = read("2024/02/15", "2024/05/14");
    ASSERT_EQ(h.days.size(), 2u);
    EXPECT_EQ(h.days[0].ymd, QStringLiteral("2024/02/15"));
    EXPECT_DOUBLE_EQ(*h.days[0].topKg, 55);
    EXPECT_DOUBLE_EQ(*h.days[1].topKg, 60);
}

TEST_F(ExerciseHistoryTest, RestsOfTheExerciseAndWorkingTimeOfTheWholeDay) {
    StoreSets(env.layout,
              {
                  {.set = 1, .sta = "09:00:00", .end = "09:01:00"},
                  {.set = 2, .sta = "09:03:00", .end = "09:04:00"},  // rest 120
                  {.set = 3, .sta = "09:05:30", .end = "09:06:00"},  // 90
                  {.set = 4, .sta = "09:06:30", .end = ""},          // 30
                  {.set = 5, .sta = "09:10:00", .end = "09:11:00"},  // no finish before
                  {.set = 6, .sta = "", .end = "09:20:00"},          // no place
                  {.set = 7, .sta = "09:50:00", .end = "09:51:00"},  // a break
                  {.exer = "02", .set = 1, .sta = "08:30:00", .end = "08:31:00"},
                  {.exer = "02", .set = 2, .sta = "10:00:00", .end = "10:02:00"},
                  {.ymd = "2024/05/13", .exer = "02", .sta = "07:00:00", .end = "07:01:00"},
              });
    const ExerciseHistory h = read();
    ASSERT_EQ(h.days.size(), 1u);
    const DayFigures& d = h.days[0];
    EXPECT_DOUBLE_EQ(*d.medianRestSeconds, 90);
    EXPECT_EQ(d.restsCounted, 3);
    EXPECT_EQ(d.restsLeftOut, 2);
    EXPECT_EQ(*d.workingSeconds, 5520);  // 08:30:00 to 10:02:00 over both exercises
}

TEST_F(ExerciseHistoryTest, RecordsAndTheDaysThatBeatThem) {
    StoreSets(env.layout,
              {
                  {.ymd = "2024/05/01", .set = 1, .target = "80", .cnt = "5"},
                  {.ymd = "2024/05/01", .set = 2, .target = "60", .cnt = "10"},
                  {.ymd = "2024/05/03", .set = 1, .target = "80", .cnt = "6"},
                  {.ymd = "2024/05/05", .set = 1, .target = "85", .cnt = "3"},
                  {.ymd = "2024/05/05", .set = 2, .target = "60", .cnt = "12"},
                  {.ymd = "2024/05/07", .set = 1, .target = "200", .unitT = "lb", .cnt = "2"},
                  {.ymd = "2024/05/09", .set = 1, .target = "60", .cnt = "20"},
              });
    const ExerciseHistory h = read();
    const std::vector<std::pair<const char*, QStringList>> expected{
        {"2024/05/01", {}},
        {"2024/05/03", {QStringLiteral("推定1RM"), QStringLiteral("最多回数 80 kg")}},
        {"2024/05/05", {QStringLiteral("最大重量"), QStringLiteral("最多回数 60 kg")}},
        {"2024/05/07", {QStringLiteral("最大重量"), QStringLiteral("推定1RM")}},
        {"2024/05/09", {QStringLiteral("ボリューム"), QStringLiteral("最多回数 60 kg")}},
    };
    ASSERT_EQ(h.days.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(h.days[i].ymd, QString::fromLatin1(expected[i].first));
        EXPECT_EQ(h.days[i].beaten, expected[i].second) << expected[i].first;
    }

    struct Expected {
        const char* name;
        QString value;
        const char* ymd;
    };
    const Expected records[] = {
        {"最大重量", QStringLiteral("200 lb × 2回（90.72 kg）"), "2024/05/07"},
        {"推定1RM", QStringLiteral("96.77 kg（200 lb × 2回）"), "2024/05/07"},
        {"ボリューム", QStringLiteral("1200 kg"), "2024/05/09"},
        {"最多回数 200 lb", QStringLiteral("2回"), "2024/05/07"},
        {"最多回数 85 kg", QStringLiteral("3回"), "2024/05/05"},
        {"最多回数 80 kg", QStringLiteral("6回"), "2024/05/03"},
        {"最多回数 60 kg", QStringLiteral("20回"), "2024/05/09"},
    };
    ASSERT_EQ(h.records.size(), std::size(records));
    for (std::size_t i = 0; i < std::size(records); ++i) {
        EXPECT_EQ(h.records[i].name, QString::fromUtf8(records[i].name));
        EXPECT_EQ(h.records[i].value, records[i].value) << records[i].name;
        EXPECT_EQ(h.records[i].ymd, QString::fromLatin1(records[i].ymd)) << records[i].name;
    }
}

// A day's mark does not depend on the period shown: it is judged against every earlier day;
// the records table stays the period's own.
TEST_F(ExerciseHistoryTest, MarksAgainstTheWholeHistoryWhateverThePeriod) {
    StoreSets(env.layout, {
                              {.ymd = "2022/03/01", .target = "120", .cnt = "1"},
                              {.ymd = "2023/09/01", .target = "100", .cnt = "5"},
                              {.ymd = "2024/01/20", .target = "110", .cnt = "3"},
                              {.ymd = "2024/05/01", .target = "125", .cnt = "1"},
                          });
    struct Case {
        const char* first;
        QStringList jan20, may01;
    };
    // 01/20: 110 kg stays below 2022's 120 kg; its estimate 110 × 1.1 = 121 beats 120 (2022)
    // and 116.67 (2023). 05/01: 125 kg beats 120 kg, and its estimate 125 beats 121.
    for (const Case& c : {Case{"2024/01/01", {"推定1RM"}, {"最大重量", "推定1RM"}},
                          Case{"2023/06/01", {"推定1RM"}, {"最大重量", "推定1RM"}},
                          Case{"2000/01/01", {"推定1RM"}, {"最大重量", "推定1RM"}}}) {
        const ExerciseHistory h = read(QString::fromLatin1(c.first));
        ASSERT_GE(h.days.size(), 2u) << c.first;
        const DayFigures& jan20 = h.days[h.days.size() - 2];
        const DayFigures& may01 = h.days.back();
        ASSERT_EQ(jan20.ymd, QStringLiteral("2024/01/20"));
        EXPECT_EQ(jan20.beaten, c.jan20) << c.first;
        EXPECT_EQ(may01.beaten, c.may01) << c.first;
    }
    // The first day of a short period beats nothing that came before it, and its records are
    // its own: 2024's heaviest, not 2022's.
    const ExerciseHistory h = read(QStringLiteral("2024/01/01"));
    EXPECT_EQ(h.days[0].beaten, QStringList{"推定1RM"});
    EXPECT_EQ(record(h, QStringLiteral("最大重量"))->ymd, QStringLiteral("2024/05/01"));
    ASSERT_NE(record(h, QStringLiteral("最多回数 110 kg")), nullptr);
    EXPECT_EQ(record(h, QStringLiteral("最多回数 120 kg")), nullptr);
}

// A generated history of several exercises: loads in kg and lb, sets without load, distances
// in km and m with durations, rest-day sets, texts that are not numbers and a day text that is
// no date. Whatever the period, each day's marks are those it gets when read with every day
// before it.
TEST_F(ExerciseHistoryTest, MarksOfEveryPeriodEqualThoseOfTheWholeHistory) {
    std::vector<SetRow> rows;
    unsigned seed = 20240514;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    const QDate first(2021, 11, 1);
    for (int index = 0; index < 960; ++index) {
        if (next(3) == 0) continue;  // a day off
        QString ymd = FormatYmd(first.addDays(index));
        if (index == 120) ymd = QStringLiteral("2022/02/30");  // edited into no date
        if (index == 520) ymd = QStringLiteral("2023/02/29");
        int set = 0;
        auto add = [&](SetRow row) {
            row.ymd = ymd;
            row.set = ++set;
            rows.push_back(row);
        };
        for (int i = 0, n = 2 + next(4); i < n; ++i) {  // bench press
            const bool pounds = next(6) == 0;
            const double kg = 40 + index / 30 * 2.5 + next(9) * 2.5;
            SetRow row{.target = QString::number(pounds ? kg * 2.2 : kg, 'f', 1),
                       .unitT = pounds ? QStringLiteral("lb") : QStringLiteral("kg"),
                       .cnt = QString::number(1 + next(12))};
            if (next(50) == 0) row.target = QStringLiteral("'abc'");
            if (next(40) == 0) row.cnt = QStringLiteral("null");
            add(row);
        }
        for (int i = 0, n = next(3); i < n; ++i)  // pull-ups without load
            add({.exer = "02",
                 .target = "null",
                 .unitT = "",
                 .cnt = QString::number(3 + next(15))});
        if (next(2) == 0) {  // a run: km or m, with its time
            const bool metres = next(3) == 0;
            const int tenths = 20 + next(100);
            add({.grp = "02",
                 .target = metres ? QString::number(tenths * 100) : QString::number(tenths / 10.0),
                 .unitT = metres ? "m" : "km",
                 .cnt = "null",
                 .unit = "",
                 .min = QString::number(10 + next(50)),
                 .sec = QString::number(next(60))});
        }
        if (next(8) == 0)  // a rest day's entry
            add({.grp = "99",
                 .exer = "99",
                 .target = "null",
                 .unitT = "",
                 .cnt = QString::number(next(30)),
                 .min = QString::number(next(90))});
    }
    StoreSets(env.layout, rows);

    const QStringList exercises[] = {{"01", "01"}, {"01", "02"}, {"02", "01"}, {"99", "99"}};
    const QDate lastDays[] = {QDate(2022, 6, 30), QDate(2023, 1, 1), QDate(2023, 12, 31),
                              QDate(2024, 6, 17)};
    int marked = 0;
    for (const QStringList& exercise : exercises) {
        const ExerciseHistory whole = read(QStringLiteral("0000/00/00"),
                                           QStringLiteral("9999/12/31"), exercise[0], exercise[1]);
        std::map<QString, QStringList> marks;
        for (const DayFigures& day : whole.days) {
            marks[day.ymd] = day.beaten;
            marked += !day.beaten.isEmpty();
        }
        std::vector<DayRange> periods;
        for (const QDate& last : lastDays) {
            for (int p = 0; p <= static_cast<int>(ProgressPeriod::All); ++p)
                periods.push_back(PeriodDays(static_cast<ProgressPeriod>(p), last));
        }
        // A period that begins on the day text that is no date, and one that ends before it.
        periods.push_back({QStringLiteral("2022/02/30"), QStringLiteral("2022/12/31")});
        periods.push_back({QStringLiteral("2021/12/24"), QStringLiteral("2022/02/29")});
        for (const DayRange& period : periods) {
            const ExerciseHistory h = read(period.first, period.last, exercise[0], exercise[1]);
            const QString where = exercise.join('/') + ' ' + period.first + '-' + period.last;
            size_t inPeriod = 0;
            for (const auto& [ymd, beaten] : marks)
                inPeriod += ymd >= period.first && ymd <= period.last;
            ASSERT_EQ(h.days.size(), inPeriod) << where.toStdString();
            for (const DayFigures& day : h.days)
                EXPECT_EQ(day.beaten, marks[day.ymd])
                    << where.toStdString() << ' ' << day.ymd.toStdString();
        }
    }
    EXPECT_GT(marked, 40);  // the history does beat its records now and then
}

// Numbers no strength can have are left out like texts, and counted with them.
TEST_F(ExerciseHistoryTest, InfiniteAndNegativeValuesAreLeftOutAndCounted) {
    StoreSets(env.layout, {
                              {.set = 1, .target = "70", .cnt = "5"},
                              {.set = 2, .target = "1e9999", .cnt = "5"},
                              {.set = 3, .target = "-1e9999", .cnt = "5"},
                              {.set = 4, .target = "-20", .cnt = "5"},
                              {.set = 5, .target = "60", .cnt = "-3"},
                              {.set = 6, .target = "0", .cnt = "null", .min = "-1", .sec = "0"},
                              {.set = 7, .target = "0/0", .cnt = "5"},  // NaN: stored as NULL
                          });
    const ExerciseHistory h = read();
    ASSERT_EQ(h.days.size(), 1u);
    EXPECT_EQ(h.days[0].skipped, 5);
    EXPECT_EQ(h.skipped, 5);
    EXPECT_DOUBLE_EQ(*h.days[0].topKg, 70);
    EXPECT_DOUBLE_EQ(*h.days[0].volumeKg, 350);
    EXPECT_FALSE(h.days[0].durationSeconds);
    EXPECT_EQ(record(h, QStringLiteral("最大重量"))->value, QStringLiteral("70 kg × 5回"));
}

// Pull-ups without a load and runs: repetitions, longest distance and best pace as records.
TEST_F(ExerciseHistoryTest, BodyweightAndDistanceRecords) {
    auto pullUp = [](const char* ymd, int set, const char* reps) {
        return SetRow{.ymd = ymd, .exer = "05", .set = set, .target = "0", .cnt = reps};
    };
    auto run = [](const char* ymd, const char* km, const char* minutes) {
        return SetRow{.ymd = ymd,
                      .grp = "07",
                      .exer = "02",
                      .target = km,
                      .unitT = "km",
                      .cnt = "null",
                      .unit = "",
                      .min = minutes,
                      .sec = "0"};
    };
    StoreSets(env.layout, {pullUp("2024/05/01", 1, "8"), pullUp("2024/05/01", 2, "6"),
                           pullUp("2024/05/03", 1, "8"), pullUp("2024/05/03", 2, "7"),
                           pullUp("2024/05/05", 1, "10"), run("2024/05/02", "5", "30"),
                           run("2024/05/04", "8", "52"), run("2024/05/06", "5", "27")});
    const ExerciseHistory pull = read("2024/01/01", "2024/12/31", "01", "05");
    ASSERT_EQ(pull.days.size(), 3u);
    EXPECT_EQ(pull.days[0].mostRepsNoLoad, 8);
    EXPECT_EQ(pull.days[0].totalRepsNoLoad, 14);
    EXPECT_FALSE(pull.days[0].topKg);
    EXPECT_TRUE(pull.days[1].beaten.isEmpty());  // 8 again: a tie
    EXPECT_EQ(pull.days[2].beaten, QStringList{"最多回数（自重）"});
    ASSERT_NE(record(pull, QStringLiteral("最多回数（自重）")), nullptr);
    EXPECT_EQ(record(pull, QStringLiteral("最多回数（自重）"))->value, QStringLiteral("10回"));
    EXPECT_EQ(record(pull, QStringLiteral("最多回数（自重）"))->ymd, QStringLiteral("2024/05/05"));
    EXPECT_EQ(record(pull, QStringLiteral("最大重量")), nullptr);

    const ExerciseHistory running = read("2024/01/01", "2024/12/31", "07", "02");
    ASSERT_EQ(running.days.size(), 3u);
    // 6:00, 6:30 and 5:24 /km
    EXPECT_EQ(running.days[1].beaten, QStringList({"最長時間", "最長距離"}));
    EXPECT_EQ(running.days[2].beaten, QStringList{"最速ペース"});
    EXPECT_EQ(record(running, QStringLiteral("最長距離"))->value, QStringLiteral("8 km"));
    EXPECT_EQ(record(running, QStringLiteral("最長距離"))->ymd, QStringLiteral("2024/05/04"));
    EXPECT_EQ(record(running, QStringLiteral("最速ペース"))->value, QStringLiteral("5:24 /km"));
    EXPECT_EQ(record(running, QStringLiteral("最速ペース"))->ymd, QStringLiteral("2024/05/06"));
    EXPECT_EQ(record(running, QStringLiteral("最長時間"))->value, QStringLiteral("52:00"));
}

TEST_F(ExerciseHistoryTest, ATieKeepsTheFirstDayAndBeatsNothing) {
    StoreSets(env.layout, {
                              {.ymd = "2024/05/01", .target = "100", .cnt = "3"},
                              {.ymd = "2024/05/08", .target = "100", .cnt = "3"},
                          });
    const ExerciseHistory h = read();
    ASSERT_EQ(h.days.size(), 2u);
    EXPECT_TRUE(h.days[1].beaten.isEmpty());
    EXPECT_EQ(record(h, QStringLiteral("最大重量"))->ymd, QStringLiteral("2024/05/01"));
    EXPECT_EQ(record(h, QStringLiteral("最多回数 100 kg"))->ymd, QStringLiteral("2024/05/01"));
}

TEST_F(ExerciseHistoryTest, RestDaySetsAndLongestDuration) {
    StoreSets(env.layout, {
                              {.ymd = "2024/05/12",
                               .grp = "99",
                               .exer = "99",
                               .sta = "",
                               .end = "",
                               .target = "0",
                               .unitT = "",
                               .cnt = "99",
                               .unit = "回"},
                              {.ymd = "2024/05/13",
                               .grp = "06",
                               .exer = "01",
                               .target = "0",
                               .unitT = "",
                               .cnt = "null",
                               .unit = "",
                               .min = "1",
                               .sec = "30"},
                              {.ymd = "2024/05/14",
                               .grp = "06",
                               .exer = "01",
                               .target = "0",
                               .unitT = "",
                               .cnt = "null",
                               .unit = "",
                               .min = "2",
                               .sec = "5"},
                          });
    const ExerciseHistory rest = read("2024/01/01", "2024/12/31", "99", "99");
    ASSERT_EQ(rest.days.size(), 1u);
    EXPECT_FALSE(rest.days[0].topKg);
    EXPECT_FALSE(rest.days[0].volumeKg);
    EXPECT_TRUE(rest.records.empty());

    const ExerciseHistory plank = read("2024/01/01", "2024/12/31", "06", "01");
    ASSERT_EQ(plank.days.size(), 2u);
    EXPECT_EQ(plank.days[1].beaten, QStringList{QStringLiteral("最長時間")});
    ASSERT_EQ(plank.records.size(), 1u);
    EXPECT_EQ(plank.records[0].value, QStringLiteral("2:05"));
    EXPECT_EQ(plank.records[0].ymd, QStringLiteral("2024/05/14"));
}

TEST_F(ExerciseHistoryTest, AMissingTableIsReportedNotFatal) {
    env.layout.exec(QStringLiteral("drop table t_exer;"));
    const ExerciseHistory h =
        ReadExerciseHistory(env.db.connection(), {"01", "01", {"2024/01/01", "2024/12/31"}});
    EXPECT_FALSE(h.ok);
    EXPECT_TRUE(h.error.contains(QStringLiteral("t_exer"))) << h.error.toStdString();
    EXPECT_TRUE(h.days.empty());
}

}  // namespace
}  // namespace sorvenka::testing
