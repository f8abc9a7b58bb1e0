// Merging one exercise into another: numbering on shared days, the figures of the preview,
// refusals, the copy taken first, and a merge cut off by the end of its process.
#include "masters/exercise_merge.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>

#include "backups/day_copy.h"
#include "common/paths.h"
#include "masters/merge_copy.h"
#include "masters_fixture.h"

namespace sorvenka::testing {
namespace {

using ExerciseMerge = MastersTest;

struct Set {
    const char* ymd;
    const char* grp;
    const char* exer;
    int num;
    const char* start;  // "null" for NULL
    const char* comment;
};

const ExerciseKey kBench{QStringLiteral("01"), QStringLiteral("01")};
const ExerciseKey kTwin{QStringLiteral("01"), QStringLiteral("05")};
const ExerciseKey kElsewhere{QStringLiteral("06"), QStringLiteral("05")};

struct MergeCase {
    const char* what;
    std::vector<Set> sets;
    ExerciseKey from;
    std::vector<const char*> after;  // ymd|grp|exer|set_num|comment, in that order
    qint64 days, sharedDays, renumbered;
};

TEST_F(ExerciseMerge, SetsAreReKeyedAndNumberedAfterTheTargetsOfTheSameDay) {
    const MergeCase cases[] = {
        {"no shared day keeps the numbers",
         {{"2024/05/01", "01", "05", 1, "09:00:00", "t1"},
          {"2024/05/01", "01", "05", 3, "09:10:00", "t3"},
          {"2024/05/02", "01", "01", 1, "09:00:00", "b1"}},
         kTwin,
         {"2024/05/01|01|01|1|t1", "2024/05/01|01|01|3|t3", "2024/05/02|01|01|1|b1"},
         1,
         0,
         0},
        {"shared day: after the target's highest, by start time",
         {{"2024/05/01", "01", "01", 1, "08:00:00", "b1"},
          {"2024/05/01", "01", "01", 2, "08:10:00", "b2"},
          {"2024/05/01", "01", "05", 1, "09:30:00", "t1"},
          {"2024/05/01", "01", "05", 2, "07:00:00", "t2"}},
         kTwin,
         {"2024/05/01|01|01|1|b1", "2024/05/01|01|01|2|b2", "2024/05/01|01|01|3|t2",
          "2024/05/01|01|01|4|t1"},
         1,
         1,
         2},
        {"sets without a start time come last, by their old numbers",
         {{"2024/05/01", "01", "01", 1, "08:00:00", "b1"},
          {"2024/05/01", "01", "05", 1, "", "t1"},
          {"2024/05/01", "01", "05", 2, "null", "t2"},
          {"2024/05/01", "01", "05", 3, "10:00:00", "t3"}},
         kTwin,
         {"2024/05/01|01|01|1|b1", "2024/05/01|01|01|2|t3", "2024/05/01|01|01|3|t1",
          "2024/05/01|01|01|4|t2"},
         1,
         1,
         3},
        {"a gap in the target's numbers: after the highest",
         {{"2024/05/01", "01", "01", 1, "08:00:00", "b1"},
          {"2024/05/01", "01", "01", 10, "08:30:00", "b10"},
          {"2024/05/01", "01", "05", 1, "08:10:00", "t1"},
          {"2024/05/03", "01", "05", 1, "08:10:00", "t3"}},
         kTwin,
         {"2024/05/01|01|01|1|b1", "2024/05/01|01|01|10|b10", "2024/05/01|01|01|11|t1",
          "2024/05/03|01|01|1|t3"},
         2,
         1,
         1},
        {"from another group",
         {{"2024/05/01", "01", "01", 1, "08:00:00", "b1"},
          {"2024/05/01", "06", "05", 1, "07:00:00", "o1"},
          {"2024/05/02", "06", "05", 2, "07:00:00", "o2"},
          {"2024/05/02", "06", "01", 1, "07:00:00", "plank"}},
         kElsewhere,
         {"2024/05/01|01|01|1|b1", "2024/05/01|01|01|2|o1", "2024/05/02|01|01|2|o2",
          "2024/05/02|06|01|1|plank"},
         2,
         1,
         1},
        {"nothing stored: only the master goes", {}, kTwin, {}, 0, 0, 0},
    };
    for (const MergeCase& c : cases) {
        OpenDatabase fresh;
        fresh.layout.exec(
            QStringLiteral("insert into m_exer values ('01','05','Bench Press (Barbell)',1,5),"
                           "('06','05','Bench Press',1,5);"));
        for (const Set& s : c.sets) {
            const QString start = QString::fromUtf8(s.start);
            fresh.layout.exec(
                QStringLiteral("insert into t_exer values ('%1','%2','%3',%4,%5,'',60,'kg',10,"
                               "'回',null,null,'1','%6');")
                    .arg(QString::fromUtf8(s.ymd), QString::fromUtf8(s.grp),
                         QString::fromUtf8(s.exer))
                    .arg(s.num)
                    .arg(start == QStringLiteral("null") ? start : "'" + start + "'",
                         QString::fromUtf8(s.comment)));
        }
        MergeFigures preview, done;
        QString message;
        ASSERT_TRUE(PreviewMerge(fresh.db.connection(), c.from, kBench, preview, message))
            << c.what << message.toStdString();
        ASSERT_TRUE(MergeExercise(fresh.db.connection(), c.from, kBench, done, message))
            << c.what << message.toStdString();
        for (const MergeFigures& f : {preview, done}) {
            EXPECT_EQ(f.sets, static_cast<qint64>(std::count_if(
                                  c.sets.begin(), c.sets.end(),
                                  [&](const Set& s) {
                                      return c.from == ExerciseKey{QString::fromUtf8(s.grp),
                                                                   QString::fromUtf8(s.exer)};
                                  })))
                << c.what;
            EXPECT_EQ(f.days, c.days) << c.what;
            EXPECT_EQ(f.sharedDays, c.sharedDays) << c.what;
            EXPECT_EQ(f.renumberedSets, c.renumbered) << c.what;
        }
        QStringList expected;
        for (const char* row : c.after) expected << QString::fromUtf8(row);
        EXPECT_EQ(ScalarText(fresh.layout.dbPath(),
                             QStringLiteral("select group_concat(r, ',') from (select ymd||'|'||"
                                            "grp_cd||'|'||exer_cd||'|'||set_num||'|'||comment as r"
                                            " from t_exer order by ymd, grp_cd, exer_cd, set_num)"))
                      .toStdString(),
                  expected.join(QLatin1Char(',')).toStdString())
            << c.what;
        EXPECT_EQ(ScalarText(fresh.layout.dbPath(),
                             QStringLiteral("select count(*) from m_exer where grp_cd = '%1' and "
                                            "exer_cd = '%2'")
                                 .arg(c.from.grpCd, c.from.exerCd)),
                  QStringLiteral("0"))
            << c.what;
        EXPECT_FALSE(DBFillExerList(fresh.db, c.from.grpCd)
                         .contains(QStringLiteral("05 Bench Press (Barbell)")));
        QString check;
        EXPECT_TRUE(CheckMasterCodes(fresh.db, check)) << check.toStdString();
    }
}

TEST_F(ExerciseMerge, RefusedMergesWriteNothing) {
    addSet(QStringLiteral("2024/05/01"), QStringLiteral("01"), QStringLiteral("02"), 1, {}, {});
    struct Case {
        ExerciseKey from, into;
        QString message;
    };
    const Case cases[] = {
        {kBench, kBench, QStringLiteral("統合元と統合先に同じ種目が選ばれています。")},
        {{QStringLiteral("01"), QStringLiteral("77")},
         kBench,
         QStringLiteral("統合元の種目がありません。")},
        {{QStringLiteral("01"), QStringLiteral("02")},
         {QStringLiteral("42"), QStringLiteral("01")},
         QStringLiteral("統合先の種目がありません。")},
    };
    const QStringList before = rows("select * from t_exer") + rows("select * from m_exer");
    for (const Case& c : cases) {
        MergeFigures figures;
        QString message;
        EXPECT_FALSE(MergeExercise(db(), c.from, c.into, figures, message));
        EXPECT_EQ(message, c.message);
        MergeOutcome outcome;
        EXPECT_FALSE(MergeWithCopy(db(), env.layout.dbPath(),
                                   env.layout.folder(QStringLiteral("db_backup")),
                                   env.platform.clock, c.from, c.into, outcome));
        EXPECT_EQ(outcome.message, c.message);
    }
    EXPECT_EQ(rows("select * from t_exer") + rows("select * from m_exer"), before);
    // A refused merge takes no copy.
    EXPECT_TRUE(QDir(env.layout.folder(QStringLiteral("db_backup")))
                    .entryList(QDir::Files | QDir::Hidden)
                    .isEmpty());
}

TEST_F(ExerciseMerge, ACopyIsTakenFirstUnderANameTheDailyBackupLeavesAlone) {
    env.layout.exec(QStringLiteral("insert into m_exer values ('01','05','Bench Press',1,5);"));
    addSet(QStringLiteral("2024/05/01"), QStringLiteral("01"), QStringLiteral("05"), 1, {},
           QStringLiteral("twin"));
    const QString backups = env.layout.folder(QStringLiteral("db_backup"));
    const QDateTime now = env.platform.clock;  // 2024/05/14 09:30:15
    MergeOutcome outcome;
    ASSERT_TRUE(MergeWithCopy(db(), env.layout.dbPath(), backups, now, kTwin, kBench, outcome))
        << outcome.message.toStdString();
    const QString name = QStringLiteral("merge_exercise_20240514-093015.sqlite3");
    EXPECT_EQ(outcome.copyPath, JoinPath(backups, name));
    // The copy holds the state before the merge.
    EXPECT_EQ(ScalarText(outcome.copyPath,
                         QStringLiteral("select grp_cd||exer_cd from t_exer where comment='twin'")),
              QStringLiteral("0105"));
    EXPECT_EQ(ScalarText(env.layout.dbPath(),
                         QStringLiteral("select grp_cd||exer_cd from t_exer where comment='twin'")),
              QStringLiteral("0101"));
    EXPECT_TRUE(MergeDoneText(outcome.figures, outcome.copyPath).contains(name));

    // The daily backup still copies on that day and its pruning keeps the merge's copy.
    bool searched = false;
    EXPECT_FALSE(BackupExistsForDay(backups, DayStamp(now), searched));
    EXPECT_TRUE(searched);
    QString message;
    ASSERT_TRUE(BackupDB(env.layout.base(), now, QStringLiteral("db"),
                         QStringLiteral("exercise.sqlite3"), QStringLiteral("db_backup"), 0,
                         message));
    EXPECT_EQ(QDir(backups).entryList(QDir::Files), QStringList{name});

    // A second merge within the same second keeps both copies.
    env.layout.exec(QStringLiteral("insert into m_exer values ('01','06','Bench',1,6);"));
    ASSERT_TRUE(MergeWithCopy(db(), env.layout.dbPath(), backups, now,
                              {QStringLiteral("01"), QStringLiteral("06")}, kBench, outcome));
    EXPECT_EQ(QDir(backups).entryList(QDir::Files),
              (QStringList{QStringLiteral("merge_exercise_20240514-093015-2.sqlite3"), name}));
}

TEST_F(ExerciseMerge, NoCopyNoMerge) {
    env.layout.exec(QStringLiteral("insert into m_exer values ('01','05','Bench Press',1,5);"));
    addSet(QStringLiteral("2024/05/01"), QStringLiteral("01"), QStringLiteral("05"), 1, {}, {});
    MergeOutcome outcome;
    EXPECT_FALSE(MergeWithCopy(db(), env.layout.dbPath(),
                               env.layout.folder(QStringLiteral("no_such_folder")),
                               env.platform.clock, kTwin, kBench, outcome));
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("統合していません")));
    EXPECT_EQ(rows("select grp_cd||exer_cd from t_exer"), QStringList{"0105"});
    EXPECT_EQ(rows("select count(*) from m_exer where exer_cd = '05' and grp_cd = '01'"),
              QStringList{"1"});
}

// --- a merge cut off by SIGKILL ---

// Every row of the file in a fixed order: the state a merge starts from or ends in.
QString Fingerprint(const QString& path) {
    return ScalarText(path,
                      QStringLiteral("select group_concat(r, char(10)) from ("
                                     " select ymd||'|'||grp_cd||'|'||exer_cd||'|'||set_num||'|'||"
                                     "coalesce(hms_sta,'-')||'|'||comment as r from t_exer"
                                     " union all select 'm|'||grp_cd||'|'||exer_cd||'|'||exer_name"
                                     " from m_exer order by 1)"));
}

// Twins with 4000 sets each over 2000 days, half of them shared.
void AddBigTwins(const TempLayout& layout) {
    layout.exec(QStringLiteral(
        "insert into m_exer values ('01','05','Bench Press (Barbell)',1,5);"
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 3999)"
        " insert into t_exer select date('2010-01-01', '+' || (i / 2) || ' days'), '01', '05',"
        " i % 2 + 1, case when i % 3 = 0 then '' else printf('%02d:00:00', 23 - i % 24) end,"
        " '', 60, 'kg', 10, '回', null, null, '1', 't' || i from n;"
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 1999)"
        " insert into t_exer select date('2010-01-01', '+' || (i * 2) || ' days'), '01', '01',"
        " 1, '06:00:00', '', 60, 'kg', 10, '回', null, null, '1', 'b' || i from n;"));
    // Days as the program writes them.
    layout.exec(QStringLiteral("update t_exer set ymd = replace(ymd, '-', '/');"));
}

// The engine's progress callback in the child: tells the parent, then waits for the kill.
int StopAfter(void* context) {
    auto* state = static_cast<std::pair<long, int>*>(context);
    if (--state->first == 0) {
        const char byte = 1;
        if (write(state->second, &byte, 1) == 1) pause();
    }
    return 0;
}

// Runs the merge in a child stopped after `steps` callbacks of the engine and killed there;
// true when the child was stopped (false when the merge ended first).
bool MergeKilledAfter(const QString& dbPath, long steps) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        sqlite3* handle = nullptr;
        sqlite3_open_v2(dbPath.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        // A small page cache: the transaction's pages reach the journal and the file before
        // the commit, so a kill finds them half-written.
        sqlite3_exec(handle, "pragma cache_size = 8", nullptr, nullptr, nullptr);
        std::pair<long, int> state{steps, pipeEnds[1]};
        sqlite3_progress_handler(handle, 100, &StopAfter, &state);
        MergeFigures figures;
        QString message;
        const bool merged = MergeExercise(handle, kTwin, kBench, figures, message);
        _exit(merged ? 0 : 3);
    }
    close(pipeEnds[1]);
    pollfd ready{pipeEnds[0], POLLIN, 0};
    const bool stopped = poll(&ready, 1, 60000) == 1 && (ready.revents & POLLIN) != 0;
    char byte = 0;
    const bool signalled = stopped && read(pipeEnds[0], &byte, 1) == 1;
    if (signalled) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(pipeEnds[0]);
    return signalled && WIFSIGNALED(status);
}

TEST(ExerciseMergeKilled, LeavesTheOldOrTheNewState) {
    // The state after a merge, from an undisturbed run on its own copy.
    TempLayout merged;
    AddBigTwins(merged);
    const QString oldState = Fingerprint(merged.dbPath());
    long callbacks = 0;  // the engine's progress callbacks of a whole merge
    {
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open(merged.dbPath().toUtf8().constData(), &handle), SQLITE_OK);
        sqlite3_exec(handle, "pragma cache_size = 8", nullptr, nullptr, nullptr);
        sqlite3_progress_handler(
            handle, 100,
            [](void* count) {
                ++*static_cast<long*>(count);
                return 0;
            },
            &callbacks);
        MergeFigures figures;
        QString message;
        EXPECT_TRUE(MergeExercise(handle, kTwin, kBench, figures, message))
            << message.toStdString();
        EXPECT_EQ(figures.sets, 4000);
        EXPECT_EQ(figures.sharedDays, 1000);
        sqlite3_close(handle);
    }
    const QString newState = Fingerprint(merged.dbPath());
    ASSERT_NE(oldState, newState);

    int cutMidWrite = 0;
    // From the reading of the figures through the numbering and the re-keying to the end; the
    // last run is not stopped.
    for (const int tenth : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20}) {
        const long steps = std::max(1L, callbacks * tenth / 10);
        TempLayout layout;
        AddBigTwins(layout);
        const bool killed = MergeKilledAfter(layout.dbPath(), steps);
        const bool journal = QFile::exists(layout.dbPath() + QStringLiteral("-journal"));
        if (killed && journal) ++cutMidWrite;
        // Opening the file rolls a cut transaction back.
        EXPECT_EQ(ScalarText(layout.dbPath(), QStringLiteral("pragma integrity_check")),
                  QStringLiteral("ok"))
            << steps;
        const QString state = Fingerprint(layout.dbPath());
        EXPECT_TRUE(state == oldState || state == newState) << "killed after " << steps;
        if (!killed) {
            EXPECT_EQ(state, newState) << "ran to its end with " << steps;
        }
    }
    // At least one kill fell between the first write and the commit.
    EXPECT_GT(cutMidWrite, 0);
}

}  // namespace
}  // namespace sorvenka::testing
