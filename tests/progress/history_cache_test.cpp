// The bests of the days before a period are kept between reads of the same exercise: a later
// read must still show every change made in between, and what is kept must give the figures a
// read from nothing gives.
#include "progress/history_cache.h"

#include <QFile>
#include <functional>
#include <vector>

#include "backups/restore.h"
#include "common/paths.h"
#include "db/database.h"
#include "db/record_writes.h"
#include "progress/exercise_history.h"
#include "progress_fixture.h"

namespace sorvenka::testing {
namespace {

const ExerciseSelection kYear{"01", "01", {"2024/04/01", "2024/12/31"}};
const QStringList kHeavier{"最大重量", "推定1RM", "ボリューム"};

QStringList BeatenOnPeriodDay(Database& db) {
    const ExerciseHistory history = ReadExerciseHistory(db.connection(), kYear);
    EXPECT_TRUE(history.ok) << history.error.toStdString();
    if (history.days.size() != 1) {
        ADD_FAILURE() << "days in the period: " << history.days.size();
        return {};
    }
    return history.days[0].beaten;
}

ExerRecord EarlierSet(const char* ymd, const char* load) {
    ExerRecord r;
    r.ymd = QString::fromLatin1(ymd);
    r.grp_cd = r.exer_cd = QStringLiteral("01");
    r.set_num = QStringLiteral("1");
    r.hms_sta = QStringLiteral("09:00:00");
    r.hms_end = QStringLiteral("09:01:00");
    r.target = QString::fromLatin1(load);
    r.unit_t = QStringLiteral("kg");
    r.cnt = QStringLiteral("5");
    r.unit = QStringLiteral("回");
    r.sweat_cd = QStringLiteral("2");
    return r;
}

void Write(bool written, const QString& message) {
    ASSERT_TRUE(written) << message.toStdString();
}

struct ChangeCase {
    const char* what;
    std::function<void(OpenDatabase&)> prepare;  // before the first read
    std::function<void(OpenDatabase&)> change;   // between the two reads
    QStringList beatenAfter;
};

TEST(HistoryCacheTest, AChangeBetweenTwoReadsShowsInTheSecond) {
    const QString backupName = QStringLiteral("exercise_2024_0510-0800_00.sqlite3");
    const std::vector<ChangeCase> cases{
        {"a heavier earlier set entered (登録)",
         nullptr,
         [](OpenDatabase& env) {
             QString message;
             Write(DBInsertExerCount(env.db, EarlierSet("2024/03/02", "70"), message), message);
         },
         {}},
        {"the earlier set made heavier (更新)",
         nullptr,
         [](OpenDatabase& env) {
             QString message;
             Write(DBUpdateExerCount(env.db, EarlierSet("2024/03/01", "70"), message), message);
         },
         {}},
        {"the earlier set deleted (削除): a first figure beats nothing",
         nullptr,
         [](OpenDatabase& env) {
             QString message;
             Write(DBDeleteExer(env.db, EarlierSet("2024/03/01", "60").key(), message), message);
         },
         {}},
        {"a heavier earlier set written by another connection",
         nullptr,
         [](OpenDatabase& env) {
             env.layout.exec(QStringLiteral(
                 "insert into t_exer values('2024/03/02','01','01',1,'09:00:00','09:01:00',70,"
                 "'kg',5,'回',null,null,'2','')"));
         },
         {}},
        {"another connection's heavier set replacing as many rows as it adds",
         nullptr,
         [](OpenDatabase& env) {
             env.layout.exec(QStringLiteral("update t_exer set target = 70 where ymd < '2024/04'"));
         },
         {}},
        {"a restore of an older copy with a heavier earlier set (the file reopened)",
         [backupName](OpenDatabase& env) {
             env.layout.exec(QStringLiteral("update t_exer set target = 70 where ymd < '2024/04'"));
             ASSERT_TRUE(
                 QFile::copy(env.layout.dbPath(),
                             JoinPath(env.layout.folder(QStringLiteral("db_backup")), backupName)));
             env.layout.exec(QStringLiteral("update t_exer set target = 60 where ymd < '2024/04'"));
             // Opened anew: the connection reopened by the restore then looks the same in
             // every count (nothing written by it, no commit seen since it opened).
             env.db.close();
             QString message;
             ASSERT_TRUE(env.db.open(env.layout.dbPath(), message));
         },
         [backupName](OpenDatabase& env) {
             env.db.close();
             QString kept, message;
             ASSERT_TRUE(RestoreBackup(env.layout.base(), backupName,
                                       QDateTime(QDate(2024, 5, 14), QTime(9, 30)),
                                       kKeptBeforeRestore, kept, message))
                 << message.toStdString();
             ASSERT_TRUE(env.db.open(env.layout.dbPath(), message)) << message.toStdString();
         },
         {}},
        {"the file replaced by a plain copy while closed (the same counts when reopened)",
         [](OpenDatabase& env) {
             env.layout.exec(QStringLiteral("update t_exer set target = 70 where ymd < '2024/04'"));
             ASSERT_TRUE(QFile::copy(env.layout.dbPath(), env.layout.dbPath() + ".older"));
             env.layout.exec(QStringLiteral("update t_exer set target = 60 where ymd < '2024/04'"));
             env.db.close();
             QString message;
             ASSERT_TRUE(env.db.open(env.layout.dbPath(), message));
         },
         [](OpenDatabase& env) {
             env.db.close();
             ASSERT_TRUE(QFile::remove(env.layout.dbPath()));
             ASSERT_TRUE(QFile::rename(env.layout.dbPath() + ".older", env.layout.dbPath()));
             QString message;
             ASSERT_TRUE(env.db.open(env.layout.dbPath(), message)) << message.toStdString();
         },
         {}},
        {"the earlier sets removed by another connection and a lighter one entered",
         nullptr,
         [](OpenDatabase& env) {
             env.layout.exec(QStringLiteral(
                 "delete from t_exer where ymd < '2024/04';"
                 "insert into t_exer values('2024/03/01','01','01',1,'09:00:00','09:01:00',64,"
                 "'kg',12,'回',null,null,'2','')"));
         },
         {"最大重量"}},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDatabase env;
        StoreSets(env.layout, {{.ymd = "2024/03/01", .target = "60", .cnt = "5"},
                               {.ymd = "2024/05/14", .target = "65", .cnt = "5"}});
        if (c.prepare) c.prepare(env);
        if (::testing::Test::HasFatalFailure()) return;
        ASSERT_EQ(BeatenOnPeriodDay(env.db), kHeavier);
        // Another period of the same exercise in between: the bests are then held.
        ReadExerciseHistory(env.db.connection(), {"01", "01", {"2024/05/01", "2024/05/14"}});
        c.change(env);
        if (::testing::Test::HasFatalFailure()) return;
        EXPECT_EQ(BeatenOnPeriodDay(env.db), c.beatenAfter);
    }
}

// A history of loads in kg and lb, runs, timed sets and sets without load, with a set that is
// not a number now and then: each period, read after the others on one connection, gives what
// a connection reading it first gives.
void StoreVariedHistory(const TempLayout& layout) {
    std::vector<SetRow> rows;
    QDate day(2021, 1, 3);
    for (int i = 0; day <= QDate(2024, 5, 14); ++i, day = day.addDays(1 + i % 3)) {
        const QString ymd = day.toString(QStringLiteral("yyyy/MM/dd"));
        // Slowly rising figures with ups and downs, so that records fall now and then.
        const QString load = QString::number(40 + i / 10 + (i * 37) % 11 * 0.5);
        const int km = 3 + i / 100 + i % 3;
        rows.push_back({.ymd = ymd, .set = 1, .target = load, .cnt = QString::number(1 + i % 14)});
        rows.push_back({.ymd = ymd,
                        .set = 2,
                        .target = QString::number(90 + i / 8 + i % 5),
                        .unitT = "lb",
                        .cnt = QString::number(3 + (i * 5) % 9)});
        rows.push_back({.ymd = ymd,
                        .set = 3,
                        .target = i % 17 == 0 ? "'heavy'" : load,
                        .cnt = QString::number(2 + i % 7)});
        rows.push_back({.ymd = ymd,
                        .exer = "05",
                        .target = "0",
                        .unitT = "",
                        .cnt = QString::number(5 + i / 30 + (i * 11) % 5)});
        rows.push_back({.ymd = ymd,
                        .grp = "07",
                        .exer = "02",
                        .target = QString::number(i % 2 ? km : km * 1000),
                        .unitT = i % 2 ? "km" : "m",
                        .cnt = "null",
                        .unit = "",
                        .min = QString::number(15 + (i * 7) % 20),
                        .sec = "0"});
        rows.push_back({.ymd = ymd,
                        .grp = "06",
                        .exer = "01",
                        .target = "0",
                        .unitT = "",
                        .cnt = "null",
                        .unit = "",
                        .min = QString::number(i / 150 + i % 2),
                        .sec = QString::number((i * 13) % 60)});
    }
    StoreSets(layout, rows);
}

TEST(HistoryCacheTest, HeldBestsGiveTheFiguresOfAFreshRead) {
    OpenDatabase env;
    StoreVariedHistory(env.layout);
    // Periods that start later, earlier, on a training day and on none, in an order that
    // reads the held days back as well as further.
    const auto trainingDayFrom = [&](const char* ymd) {
        return ScalarText(env.layout.dbPath(),
                          QStringLiteral("select min(ymd) from t_exer where ymd >= '%1'")
                              .arg(QLatin1String(ymd)));
    };
    const QStringList firsts{
        "2024/04/15", trainingDayFrom("2023/05/15"), "2021/05/15", trainingDayFrom("2024/02/15"),
        "0000/00/00", trainingDayFrom("2022/07/01"), "2023/05/15", "2024/05/14"};
    const std::vector<std::pair<QString, QString>> exercises{
        {"01", "01"}, {"07", "02"}, {"01", "05"}, {"06", "01"}, {"01", "01"}};
    for (const QString& first : firsts) {
        for (const auto& [grp, exer] : exercises) {
            SCOPED_TRACE((first + QLatin1Char(' ') + grp + exer).toStdString());
            const ExerciseSelection selection{grp, exer, {first, "2024/05/14"}};
            const ExerciseHistory held = ReadExerciseHistory(env.db.connection(), selection);
            OpenDatabase fresh;
            fresh.db.close();
            QString message;
            ASSERT_TRUE(fresh.db.open(env.layout.dbPath(), message));
            const ExerciseHistory read = ReadExerciseHistory(fresh.db.connection(), selection);
            ASSERT_TRUE(held.ok && read.ok);
            ASSERT_EQ(held.days.size(), read.days.size());
            int beaten = 0;
            for (std::size_t d = 0; d < read.days.size(); ++d) {
                EXPECT_EQ(held.days[d].ymd, read.days[d].ymd);
                EXPECT_EQ(held.days[d].beaten, read.days[d].beaten)
                    << read.days[d].ymd.toStdString();
                beaten += static_cast<int>(read.days[d].beaten.size());
            }
            if (first != QStringLiteral("2024/05/14")) {
                EXPECT_GT(beaten, 0);  // the marks are part of what is compared
            }
            ASSERT_EQ(held.records.size(), read.records.size());
            for (std::size_t r = 0; r < read.records.size(); ++r) {
                EXPECT_EQ(held.records[r].name, read.records[r].name);
                EXPECT_EQ(held.records[r].value, read.records[r].value);
                EXPECT_EQ(held.records[r].ymd, read.records[r].ymd);
            }
        }
    }
}

}  // namespace
}  // namespace sorvenka::testing
