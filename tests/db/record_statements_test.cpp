// The statements exactly as the program builds them, line by line with CR LF, each also run
// against a real database to show that the engine takes it and what it does.
#include "db/record_statements.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "db/exer_fixtures.h"
#include "db/master_lists.h"

namespace sorvenka::testing {
namespace {

// The set the statements are built from: a comment with single quotes and a line break.
ExerRecord SampleSet() {
    ExerRecord r;
    r.ymd = QStringLiteral("2024/05/14");
    r.grp_cd = QStringLiteral("01");
    r.exer_cd = QStringLiteral("02");
    r.set_num = QStringLiteral("3");
    r.hms_sta = QStringLiteral("09:00:00");
    r.hms_end = QStringLiteral("09:01:30");
    r.target = QStringLiteral("62.5");
    r.unit_t = QStringLiteral("kg");
    r.cnt = QStringLiteral("10");
    r.unit = QStringLiteral("回");
    r.cnt_min = QStringLiteral("1");
    r.cnt_sec = QStringLiteral("30");
    r.sweat_cd = QStringLiteral("2");
    r.comment = QStringLiteral("it's 'x'\r\nnext");
    return r;
}

ExerRecord WithoutMinutes() {
    ExerRecord r = SampleSet();
    r.cnt_min.clear();
    return r;
}

const char* const kSampleStored =
    "insert into t_exer values('2024/05/14','01','02',3,'08:00:00','08:01:00',50,'kg',8,'回',"
    "null,null,'1','old')";

enum class Kind { Change, Query };

struct StatementCase {
    const char* name;
    std::function<QString()> build;
    const char* expected;
    Kind kind;
    bool sampleStored;  // the sample's key is in t_exer before the statement runs
    int rows;           // Change: rows of t_exer afterwards; Query: data rows returned
};

// The columns and joins shared by every day read; each case adds its own where clause.
#define DAY_READ_HEAD                        \
    "select t.grp_cd\r\n"                    \
    "      ,g.grp_name\r\n"                  \
    "      ,t.exer_cd\r\n"                   \
    "      ,e.exer_name\r\n"                 \
    "      ,set_num\r\n"                     \
    "      ,hms_sta\r\n"                     \
    "      ,hms_end\r\n"                     \
    "      ,target\r\n"                      \
    "      ,unit_t\r\n"                      \
    "      ,cnt\r\n"                         \
    "      ,unit\r\n"                        \
    "      ,cnt_min\r\n"                     \
    "      ,cnt_sec\r\n"                     \
    "      ,s.sweat_name\r\n"                \
    "      ,comment\r\n"                     \
    "from   t_exer t\r\n"                    \
    "       inner join m_grp g\r\n"          \
    "          on t.grp_cd = g.grp_cd\r\n"   \
    "       inner join m_exer e\r\n"         \
    "          on t.grp_cd = e.grp_cd\r\n"   \
    "         and t.exer_cd = e.exer_cd\r\n" \
    "       left join m_sweat s\r\n"         \
    "          on t.sweat_cd = s.sweat_cd\r\n"

const StatementCase kCases[] = {
    {"InsertExerCount", [] { return InsertExerCountSql(SampleSet()); },
     "insert into t_exer values(\r\n"
     "   '2024/05/14'\r\n"
     "  ,'01'\r\n"
     "  ,'02'\r\n"
     "  ,3\r\n"
     "  ,'09:00:00'\r\n"
     "  ,'09:01:30'\r\n"
     "  ,62.5\r\n"
     "  ,'kg'\r\n"
     "  ,10\r\n"
     "  ,'回'\r\n"
     "  ,null\r\n"
     "  ,null\r\n"
     "  ,'2'\r\n"
     "  ,'it''s ''x''\r\n"
     "next'\r\n"
     ")",
     Kind::Change, false, 1},
    {"InsertExerTime", [] { return InsertExerTimeSql(SampleSet()); },
     "insert into t_exer values(\r\n"
     "   '2024/05/14'\r\n"
     "  ,'01'\r\n"
     "  ,'02'\r\n"
     "  ,3\r\n"
     "  ,'09:00:00'\r\n"
     "  ,'09:01:30'\r\n"
     "  ,62.5\r\n"
     "  ,'kg'\r\n"
     "  ,null\r\n"
     "  ,'回'\r\n"
     "  ,1\r\n"
     "  ,30\r\n"
     "  ,'2'\r\n"
     "  ,'it''s ''x''\r\n"
     "next'\r\n"
     ")",
     Kind::Change, false, 1},
    {"InsertExerTime, empty minutes", [] { return InsertExerTimeSql(WithoutMinutes()); },
     "insert into t_exer values(\r\n"
     "   '2024/05/14'\r\n"
     "  ,'01'\r\n"
     "  ,'02'\r\n"
     "  ,3\r\n"
     "  ,'09:00:00'\r\n"
     "  ,'09:01:30'\r\n"
     "  ,62.5\r\n"
     "  ,'kg'\r\n"
     "  ,null\r\n"
     "  ,'回'\r\n"
     "  ,null\r\n"
     "  ,30\r\n"
     "  ,'2'\r\n"
     "  ,'it''s ''x''\r\n"
     "next'\r\n"
     ")",
     Kind::Change, false, 1},
    {"UpdateExerCount", [] { return UpdateExerCountSql(SampleSet()); },
     "update t_exer set\r\n"
     "       hms_sta = '09:00:00'\r\n"
     "      ,hms_end = '09:01:30'\r\n"
     "      ,target = 62.5\r\n"
     "      ,unit_t = 'kg'\r\n"
     "      ,unit = '回'\r\n"
     "      ,cnt = 10\r\n"
     "      ,cnt_min = null\r\n"
     "      ,cnt_sec = null\r\n"
     "      ,sweat_cd = '2'\r\n"
     "      ,comment = 'it''s ''x''\r\n"
     "next'\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  grp_cd = '01'\r\n"
     "  and  exer_cd = '02'\r\n"
     "  and  set_num = 3\r\n",
     Kind::Change, true, 1},
    {"UpdateExerTime", [] { return UpdateExerTimeSql(SampleSet()); },
     "update t_exer set\r\n"
     "       hms_sta = '09:00:00'\r\n"
     "      ,hms_end = '09:01:30'\r\n"
     "      ,target = 62.5\r\n"
     "      ,unit_t = 'kg'\r\n"
     "      ,unit = '回'\r\n"
     "      ,cnt = null\r\n"
     "      ,cnt_min = 1\r\n"
     "      ,cnt_sec = 30\r\n"
     "      ,sweat_cd = '2'\r\n"
     "      ,comment = 'it''s ''x''\r\n"
     "next'\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  grp_cd = '01'\r\n"
     "  and  exer_cd = '02'\r\n"
     "  and  set_num = 3\r\n",
     Kind::Change, true, 1},
    {"UpdateExerTime, empty minutes", [] { return UpdateExerTimeSql(WithoutMinutes()); },
     "update t_exer set\r\n"
     "       hms_sta = '09:00:00'\r\n"
     "      ,hms_end = '09:01:30'\r\n"
     "      ,target = 62.5\r\n"
     "      ,unit_t = 'kg'\r\n"
     "      ,unit = '回'\r\n"
     "      ,cnt = null\r\n"
     "      ,cnt_min = null\r\n"
     "      ,cnt_sec = 30\r\n"
     "      ,sweat_cd = '2'\r\n"
     "      ,comment = 'it''s ''x''\r\n"
     "next'\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  grp_cd = '01'\r\n"
     "  and  exer_cd = '02'\r\n"
     "  and  set_num = 3\r\n",
     Kind::Change, true, 1},
    {"DeleteExer", [] { return DeleteExerSql(SampleSet().key()); },
     "delete from t_exer\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  grp_cd = '01'\r\n"
     "  and  exer_cd = '02'\r\n"
     "  and  set_num = 3\r\n",
     Kind::Change, true, 0},
    {"GetMaxSetNum",
     [] { return GetMaxSetNumSql(QStringLiteral("2024/05/14"), "01", QStringLiteral("02")); },
     "select ifnull(max(set_num),0) as maxn\r\n"
     "from   t_exer\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  grp_cd = '01'\r\n"
     "  and  exer_cd = '02'\r\n",
     Kind::Query, true, 1},
    {"CheckSameTime",
     [] {
         return CheckSameTimeSql(QStringLiteral("2024/05/14"), QStringLiteral("08:00:00"),
                                 QStringLiteral("09:01:30"));
     },
     "with tbl01 as (  select count(ymd) as cnt\r\n"
     "  from   t_exer\r\n"
     "  where  ymd = '2024/05/14'\r\n"
     "    and  hms_sta = '08:00:00'\r\n"
     "    and  length(hms_sta) = 8\r\n"
     "),\r\n"
     "tbl02 as (  select count(ymd) as cnt\r\n"
     "  from   t_exer\r\n"
     "  where  ymd = '2024/05/14'\r\n"
     "    and  hms_end = '09:01:30'\r\n"
     "    and  length(hms_end) = 8\r\n"
     ")\r\n"
     "select tbl01.cnt as cnt01\r\n"
     "      ,tbl02.cnt as cnt02\r\n"
     "from   tbl01\r\n"
     "       left join tbl02",
     Kind::Query, true, 1},
    {"SelectDayExer, range 0",
     [] { return SelectDayExerSql(QStringLiteral("2024/05/14"), 0, "01", QStringLiteral("02")); },
     DAY_READ_HEAD "where  ymd = '2024/05/14'\r\n"
                   "order by\r\n"
                   "       hms_sta\r\n",
     Kind::Query, true, 1},
    {"SelectDayExer, range 1",
     [] { return SelectDayExerSql(QStringLiteral("2024/05/14"), 1, "01", QStringLiteral("02")); },
     DAY_READ_HEAD "where  ymd = '2024/05/14'\r\n"
                   "  and  e.grp_cd = '01'\r\n"
                   "order by\r\n"
                   "       hms_sta\r\n",
     Kind::Query, true, 1},
    {"SelectDayExer, range 2",
     [] { return SelectDayExerSql(QStringLiteral("2024/05/14"), 2, "01", QStringLiteral("02")); },
     DAY_READ_HEAD "where  ymd = '2024/05/14'\r\n"
                   "  and  e.grp_cd = '01'\r\n"
                   "  and  e.exer_cd = '02'\r\n"
                   "order by\r\n"
                   "       hms_sta\r\n",
     Kind::Query, true, 1},
    {"SelectDayExer, range 5 acts as 0",
     [] { return SelectDayExerSql(QStringLiteral("2024/05/14"), 5, "01", QStringLiteral("02")); },
     DAY_READ_HEAD "where  ymd = '2024/05/14'\r\n"
                   "order by\r\n"
                   "       hms_sta\r\n",
     Kind::Query, true, 1},
    {"SelectExerByKey", [] { return SelectExerByKeySql(SampleSet().key()); },
     "select t.grp_cd\r\n"
     "      ,g.grp_name\r\n"
     "      ,t.exer_cd\r\n"
     "      ,e.exer_name\r\n"
     "      ,set_num\r\n"
     "      ,hms_sta\r\n"
     "      ,hms_end\r\n"
     "      ,target\r\n"
     "      ,cnt\r\n"
     "      ,cnt_min\r\n"
     "      ,cnt_sec\r\n"
     "      ,unit\r\n"
     "      ,unit_t\r\n"
     "      ,t.sweat_cd\r\n"
     "      ,s.sweat_name\r\n"
     "      ,comment\r\n"
     "from   t_exer t\r\n"
     "       inner join m_grp g\r\n"
     "          on t.grp_cd = g.grp_cd\r\n"
     "       inner join m_exer e\r\n"
     "          on t.grp_cd = e.grp_cd\r\n"
     "         and t.exer_cd = e.exer_cd\r\n"
     "       inner join m_sweat s\r\n"
     "          on t.sweat_cd = s.sweat_cd\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  t.grp_cd = '01'\r\n"
     "  and  t.exer_cd = '02'\r\n"
     "  and  t.set_num = '3'\r\n"
     "order by\r\n"
     "       g.order_id\r\n"
     "      ,e.order_id\r\n"
     "      ,t.set_num\r\n",
     Kind::Query, true, 1},
    {"LoadExer", [] { return LoadExerSql(SampleSet().key()); },
     "select target\r\n"
     "      ,unit_t\r\n"
     "      ,unit\r\n"
     "      ,hms_sta\r\n"
     "      ,hms_end\r\n"
     "      ,cnt\r\n"
     "      ,cnt_min\r\n"
     "      ,cnt_sec\r\n"
     "      ,sweat_cd\r\n"
     "      ,comment\r\n"
     "from   t_exer\r\n"
     "where  ymd = '2024/05/14'\r\n"
     "  and  grp_cd = '01'\r\n"
     "  and  exer_cd = '02'\r\n"
     "  and  set_num = 3\r\n",
     Kind::Query, true, 1},
    {"GetFirstYmd", [] { return GetFirstYmdSql(); },
     "select ifnull(min(ymd),'') as ymd_min\r\n"
     "from   t_exer\r\n",
     Kind::Query, false, 1},
    {"FillCodeNameList",
     [] {
         return FillCodeNameListSql(QStringLiteral("m_grp"), QStringLiteral("grp_cd"),
                                    QStringLiteral("grp_name"));
     },
     "select grp_cd\r\n"
     "      ,grp_name\r\n"
     "from   m_grp\r\n"
     "where  status = 1\r\n"
     "order by\r\n"
     "       order_id\r\n",
     Kind::Query, false, 8},
    {"FillNameList",
     [] { return FillNameListSql(QStringLiteral("m_unit"), QStringLiteral("unit_name")); },
     "select unit_name\r\n"
     "from   m_unit\r\n"
     "where  status = 1\r\n"
     "order by\r\n"
     "       order_id\r\n",
     Kind::Query, false, 3},
    {"FillExerList", [] { return FillExerListSql(QStringLiteral("07")); },
     "select exer_cd\r\n"
     "      ,exer_name\r\n"
     "from   m_exer e\r\n"
     "       inner join m_grp g\r\n"
     "          on e.grp_cd = g.grp_cd\r\n"
     "where  e.status = 1\r\n"
     "  and  e.grp_cd = '07'\r\n"
     "order by\r\n"
     "       e.order_id\r\n",
     Kind::Query, false, 4},
};

class StatementText : public ::testing::TestWithParam<StatementCase> {};

TEST_P(StatementText, IsBuiltExactlyAndRunsOnARealDatabase) {
    const StatementCase& c = GetParam();
    const QString sql = c.build();
    EXPECT_EQ(Visible(sql), Visible(QString::fromUtf8(c.expected)));

    OpenDatabase open;
    if (c.sampleStored) open.layout.exec(QString::fromUtf8(kSampleStored));
    QString message;
    if (c.kind == Kind::Change) {
        ASSERT_EQ(open.db.nonQuery(sql, message), 0) << Visible(message);
        EXPECT_EQ(ScalarText(open.layout.dbPath(), QStringLiteral("select count(*) from t_exer")),
                  QString::number(c.rows));
    } else {
        ResultTable table;
        ASSERT_TRUE(open.db.query(sql, table, message)) << Visible(message);
        EXPECT_EQ(UpperBound(table), c.rows);
    }
    EXPECT_TRUE(open.platform.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, StatementText, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StatementCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             return name;
                         });

TEST(QuoteDoubled, DoublesEverySingleQuoteAndNothingElse) {
    EXPECT_EQ(QuoteDoubled(QStringLiteral("x'); delete from t_exer; --")),
              QStringLiteral("x''); delete from t_exer; --"));
    EXPECT_EQ(QuoteDoubled(QStringLiteral("''")), QStringLiteral("''''"));
    EXPECT_EQ(QuoteDoubled(QStringLiteral("\"a\"\r\n")), QStringLiteral("\"a\"\r\n"));
}

#undef DAY_READ_HEAD

}  // namespace
}  // namespace sorvenka::testing
