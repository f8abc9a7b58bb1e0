// The plan and routines commands: run in-process on a temporary folder layout.
#include "cli/plan_command.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "cli/csv_command.h"
#include "db/connection.h"
#include "routines/routine_store.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

struct CommandRun {
    int status;
    QString out, err;
};

class PlanCommand : public ::testing::Test {
  protected:
    PlanCommand() {
        // A rotation A (squat 03/01), B (bench 01/01); A trained on 2024/05/13.
        const Connection db = OpenConnection(layout.dbPath(), SQLITE_OPEN_READWRITE);
        Routine routine{0, QStringLiteral("2分割"), 0, Schedule::Rotation};
        EXPECT_TRUE(AddRoutine(db.get(), routine));
        for (const auto& [name, grp, load] :
             {std::tuple{"A", "03", 100.0}, std::tuple{"B", "01", 60.0}}) {
            RoutineDay day{0, routine.id, QString::fromUtf8(name), 0, 0};
            EXPECT_TRUE(AddDay(db.get(), day));
            RoutineItem item;
            item.dayId = day.id;
            item.grpCd = QString::fromUtf8(grp);
            item.exerCd = QStringLiteral("01");
            item.rule = ProgressionRule::Linear;
            item.repMin = item.repMax = 5;
            item.startLoad = load;
            item.restSec = 180;
            EXPECT_TRUE(AddItem(db.get(), item));
        }
        layout.exec(QStringLiteral(
            "insert into t_exer values"
            " ('2024/05/13','03','01',1,null,null,100,'kg',5,'回',null,null,null,''),"
            " ('2024/05/13','03','01',2,null,null,100,'kg',5,'回',null,null,null,''),"
            " ('2024/05/13','03','01',3,null,null,100,'kg',5,'回',null,null,null,''),"
            " ('2024/05/16','01','01',1,null,null,60,'kg',5,'回',null,null,null,''),"
            " ('2024/05/16','01','01',2,null,null,60,'kg',4,'回',null,null,null,'');"));
    }

    TempLayout layout;

    CommandRun run(QStringList arguments) {
        arguments.prepend(QStringLiteral("Valdrome"));
        CommandRun result;
        QTextStream out(&result.out), err(&result.err);
        result.status =
            RunPlanCommand(arguments, layout.programFolder(), QStringLiteral("Valdrome"),
                           QDateTime(QDate(2024, 5, 14), QTime(7, 0)), out, err);
        out.flush();
        err.flush();
        return result;
    }
    QString items() { return ScalarText(layout.dbPath(), "select count(*) from s_routine_item"); }
};

TEST_F(PlanCommand, WrongArgumentsEndWithTwo) {
    for (const QStringList& arguments :
         {QStringList{"--plan", "--date"}, QStringList{"--plan", "--date", "2024/13/01"},
          QStringList{"--plan", "--export-routines", "a.csv"}, QStringList{"--plan", "--dry-run"},
          QStringList{"--export-routines", "a.csv", "--date", "2024/05/01"},
          QStringList{"--import-routines"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CommandRun result = run(arguments);
        EXPECT_EQ(result.status, kCommandUsage);
        EXPECT_TRUE(result.err.contains(QStringLiteral("使い方")));
    }
}

TEST_F(PlanCommand, PrintsTheDueDayWithTargetsReasonsAndPlates) {
    // Today (2024/05/14) follows A: B is due, and the bench's 5,4 missed.
    CommandRun result = run({"--plan"});
    ASSERT_EQ(result.status, kCommandOk) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("2024/05/14 メニュー「2分割」 日「B」")))
        << result.out.toStdString();
    // On 05/20 B was trained last (05/16): A is due, the squat raised.
    result = run({"--plan", "--date", "2024/05/20"});
    ASSERT_EQ(result.status, kCommandOk);
    const QString out = result.out;
    EXPECT_TRUE(out.contains(QStringLiteral("日「A」（前回 2024/05/16 に「B」）")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("スクワット  0/3セット  102.5kg × 5回  休憩 3:00")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("前回 100kg×5,5,5 達成 → 102.5kg")));
    EXPECT_TRUE(out.contains(QStringLiteral("バー20kg + 片側 20・20・1.25")));
    EXPECT_TRUE(out.contains(QStringLiteral("ウォームアップ 20kg × 10回  バー20kg")));
}

TEST_F(PlanCommand, RoutinesGoOutAndComeBackOnce) {
    const QString file = layout.folder(QStringLiteral("rec")) + QStringLiteral("/routines.csv");
    CommandRun result = run({"--export-routines", file});
    ASSERT_EQ(result.status, kCommandOk) << result.err.toStdString();
    EXPECT_TRUE(QFile::exists(file));
    layout.exec(QStringLiteral("delete from s_routine_item where grp_cd = '01'"));

    result = run({"--import-routines", file, "--dry-run"});
    ASSERT_EQ(result.status, kCommandOk) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("項目 1"))) << result.out.toStdString();
    EXPECT_EQ(items(), QStringLiteral("1"));

    result = run({"--import-routines", file});
    ASSERT_EQ(result.status, kCommandOk);
    EXPECT_EQ(items(), QStringLiteral("2"));
    result = run({"--import-routines", file});
    ASSERT_EQ(result.status, kCommandOk);
    EXPECT_EQ(items(), QStringLiteral("2"));
}

TEST_F(PlanCommand, ARefusedFileWritesNothing) {
    const QString file = layout.folder(QStringLiteral("rec")) + QStringLiteral("/bad.csv");
    ASSERT_EQ(run({"--export-routines", file}).status, kCommandOk);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    bytes.replace("スクワット", "スクワッド");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    layout.exec(QStringLiteral("delete from s_routine_item"));
    const CommandRun result = run({"--import-routines", file});
    EXPECT_EQ(result.status, kCommandFailed);
    EXPECT_TRUE(
        result.err.contains(QStringLiteral("2行目: 種目「スクワッド」が「脚」にありません")))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("何も書き込んでいません")));
    EXPECT_EQ(items(), QStringLiteral("0"));
}

}  // namespace
}  // namespace sorvenka::testing
