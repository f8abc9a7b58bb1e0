#include "backups/program_tables.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "backups/read_budget.h"
#include "db/connection.h"
#include "db/first_database.h"
#include "db/prepared_statement.h"
#include "support/hostile_copies.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

struct ProgramTablesTest : ::testing::Test {
    TempLayout layout;

    QString reasonFor(const QString& path) {
        QString reason;
        const bool ok = CheckProgramTables(path, QStringLiteral("バックアップ"), reason);
        EXPECT_EQ(ok, reason.isEmpty());
        return reason;
    }
};

TEST_F(ProgramTablesTest, TheProgramsOwnFilesPass) {
    EXPECT_EQ(reasonFor(layout.dbPath()), QString());
    // Tables and indexes of the program's later features, further master columns, a record
    // table without a declared key: all as the program uses them.
    layout.exec(QStringLiteral(
        "create table s_import_name_map (source text primary key, grp_cd text, exer_cd text);"
        "create index x on t_exer (comment);"
        "alter table m_exer add column note text;"
        "create table t2 as select * from t_exer; drop table t_exer;"
        "create table t_exer (ymd text, grp_cd text, exer_cd text, set_num integer,"
        " hms_sta text, hms_end text, target real, unit_t text, cnt integer, unit text,"
        " cnt_min integer, cnt_sec numeric, sweat_cd varchar(1), comment clob);"));
    EXPECT_EQ(reasonFor(layout.dbPath()), QString());
}

TEST_F(ProgramTablesTest, OtherTablesTriggersAndViewsAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        const char* sql;
        const char* reason;
        bool fromNothing = false;
    };
    std::vector<Case> cases{
        {"a missing master", "drop table m_sweat;",
         "バックアップにマスターの表 m_sweat がありません"},
        {"a master without its names", "alter table m_grp drop column grp_name;",
         "マスターの表 m_grp の列が違います"},
        {"set numbers as text",
         "drop table t_exer; create table t_exer (ymd text, grp_cd text, exer_cd text,"
         " set_num text, hms_sta text, hms_end text, target real, unit_t text, cnt integer,"
         " unit text, cnt_min integer, cnt_sec integer, sweat_cd text, comment text);",
         "記録の表 t_exer の列が違います"},
        {"a generated column",
         "alter table t_exer add column twice real generated always as (target * 2);",
         "記録の表 t_exer の列が違います"},
        {"a view of its own", "create view v as select 1;", "ビュー v"},
        {"a virtual record table",
         "drop table t_exer; create virtual table t_exer using fts5(ymd, grp_cd, exer_cd,"
         " set_num, hms_sta, hms_end, target, unit_t, cnt, unit, cnt_min, cnt_sec, sweat_cd,"
         " comment);",
         "記録の表がありません"},
    };
    for (const HostileCopy& hostile : HostileCopies())
        cases.push_back({hostile.name, hostile.sql, hostile.reason, hostile.fromNothing});
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const QString path =
            layout.folder(QStringLiteral("db_backup")) + QStringLiteral("/%1").arg(i);
        QString error;
        if (!cases[i].fromNothing) {
            ASSERT_TRUE(CreateFirstDatabase(path, error));
        }
        ASSERT_TRUE(RunSqlScript(path, QString::fromUtf8(cases[i].sql), error))
            << error.toStdString();
        EXPECT_TRUE(reasonFor(path).contains(QString::fromUtf8(cases[i].reason)))
            << reasonFor(path).toStdString();
    }
}

// A query that would never end stops once its budget is spent; the connection works again
// without it.
TEST(ReadBudgetTest, AnEndlessQueryStops) {
    const Connection connection =
        OpenConnection(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    ASSERT_TRUE(connection);
    const char* endless =
        "with recursive n(i) as (select 1 union all select i + 1 from n) select count(*) from n";
    {
        const ReadBudget budget(connection.get(), 100);
        PreparedStatement query(connection.get(), endless);
        EXPECT_EQ(query.step(), SQLITE_INTERRUPT);
        EXPECT_TRUE(budget.exhausted());
    }
    PreparedStatement small(connection.get(),
                            "with recursive n(i) as (select 1 union all select i + 1 from n"
                            " where i < 100000) select count(*) from n");
    ASSERT_EQ(small.step(), SQLITE_ROW);
    EXPECT_EQ(small.columnInt(0), 100000);
}

}  // namespace
}  // namespace sorvenka::testing
