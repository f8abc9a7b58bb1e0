// The lines streamed from the engine (AppendDayRecords) against the lines of the result table
// (FormatDayRecords on DBSelectDayExer): the same texts and kinds on awkward stored data.
#include <gtest/gtest.h>

#include "db/database.h"
#include "db/record_reads.h"
#include "record_list/record_lines.h"
#include "support/temp_layout.h"

namespace sorvenka {
namespace {

using testing::OpenDatabase;

const QString kDay = QStringLiteral("2024/05/14");

// Sets written with SQL values as given, so that NULLs, reals, blobs and odd texts go in as
// they are.
void Insert(const OpenDatabase& env, const QString& ymd, const QString& values) {
    env.layout.exec(QStringLiteral("insert into t_exer values ('") + ymd + QStringLiteral("',") +
                    values + QStringLiteral(");"));
}

void FillEdgeCases(const OpenDatabase& env) {
    // Names and a sweat level holding TABs shift the cells after them in the table's row.
    env.layout.exec(
        QStringLiteral("insert into m_grp values ('08', 'A\tB', 1, 8);"
                       "insert into m_exer values ('08', '01', 'ex\tname', 1, 1);"
                       "insert into m_sweat values ('7', '\t汗', 1, 7);"));
    const QStringList rows{
        // TAB and CR LF in the comment, a comment ending in a line break
        "'01','01',1,'08:10:00','08:11:35',60.0,'kg',10,'回',null,null,'2','a\tb\r\nc\r\n'",
        // names with TABs
        "'08','01',1,'09:00:00','09:01:00',62.5,'kg',8,'回',null,null,'7','x'",
        // invalid and empty times
        "'01','02',1,'24:00:00','08:00:00',1,'kg',1,'回',null,null,'1',null",
        "'01','02',2,'8:10:00','08:10:00',1,'kg',1,'回',null,null,'1',null",
        "'01','02',3,'08:6x:00',null,1,'kg',1,'回',null,null,'1',null",
        "'01','02',4,'０８:１０:００','',1,'kg',1,'回',null,null,'1',''",
        "'01','02',5,'23:59:59','00:00:00',1,'kg',1,'回',null,null,'1',null",
        // NULL everywhere a NULL can be, an unknown sweat code
        "'01','03',1,null,null,null,null,null,null,null,null,null,null",
        "'01','03',2,null,null,null,null,null,null,7,null,'9',null",
        // huge and tiny loads and counts
        "'02','01',1,'10:00:00','10:00:01',1e20,'kg',9223372036854775807,'回',null,null,'0',null",
        "'02','01',2,'10:00:00','10:00:01',1.5e-7,'kg',-3,'回',null,null,'0',null",
        "'02','01',3,'10:00:00','10:00:01',0.30000000000000004,'kg',0,'回',null,null,'0',null",
        "'02','01',4,'10:00:00','10:00:01',123456789012345678,'km',1,'回',null,null,'0',null",
        "'02','01',5,'10:00:00','10:00:01',-0.0,'m',1,'回',null,null,'0',null",
        "'02','01',6,'10:00:00','10:00:01','abc','lb',1,'回',null,null,'0',null",
        "'02','01',7,'10:00:00','10:00:01',1e308,'kg',null,null,-5,-61,'0',null",
        "'02','01',8,'10:00:00','10:00:01',62.5,'kg',null,null,1000,5,'0',null",
        // a set number of two digits; a byte-order mark, invalid UTF-8 and a NUL in comments
        "'02','02',12,'11:00:00','11:00:30',5,'kg',1,'回',null,null,'3',char(65279)||'bom'",
        "'02','02',13,'11:00:00','11:00:30',5,'kg',1,'回',null,null,'3',cast(x'41c3' as text)",
        "'02','02',14,'11:00:00','11:00:30',5,'kg',1,'回',null,null,'3',cast(x'610062' as text)",
        "'02','02',15,'11:00:00','11:00:30',5,'kg',1,'回',null,null,'3',x'e3818200'",
    };
    for (const QString& row : rows) Insert(env, kDay, row);
}

std::vector<ListLine> TableLines(OpenDatabase& env, const QString& ymd, int range,
                                 const QString& grp, const QString& exer, bool comments) {
    return FormatDayRecords(env.db, ymd, DBSelectDayExer(env.db, ymd, range, grp, exer), comments);
}

std::vector<ListLine> StreamedLines(OpenDatabase& env, const QString& ymd, int range,
                                    const QString& grp, const QString& exer, bool comments) {
    std::vector<ListLine> lines;
    AppendDayRecords(env.db, ymd, range, grp, exer, comments, lines);
    return lines;
}

void ExpectSameLines(const std::vector<ListLine>& streamed, const std::vector<ListLine>& table,
                     const char* name) {
    ASSERT_EQ(streamed.size(), table.size()) << name;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(streamed[i].text.toStdString(), table[i].text.toStdString())
            << name << " line " << i;
        EXPECT_EQ(streamed[i].kind, table[i].kind) << name << " line " << i;
    }
}

TEST(StreamedDayLines, SameLinesAsTheResultTable) {
    OpenDatabase env;
    FillEdgeCases(env);
    struct Case {
        const char* name;
        QString ymd;
        int range;
        QString grp, exer;
        bool comments;
    };
    const std::vector<Case> cases{
        {"every set, comments shown", kDay, 0, {}, {}, true},
        {"every set, comments hidden", kDay, 0, {}, {}, false},
        {"no range selected", kDay, -1, {}, {}, true},
        {"one group", kDay, 1, QStringLiteral("02"), {}, true},
        {"the group with TABs in its names", kDay, 1, QStringLiteral("08"), {}, true},
        {"one exercise", kDay, 2, QStringLiteral("01"), QStringLiteral("02"), true},
        {"a day without sets", QStringLiteral("2024/05/13"), 0, {}, {}, true},
        {"a code not of its form", kDay, 1, QStringLiteral("0'"), {}, true},
    };
    for (const Case& c : cases) {
        const std::vector<ListLine> table =
            TableLines(env, c.ymd, c.range, c.grp, c.exer, c.comments);
        if (c.ymd == kDay && c.range == 0 && c.comments) {
            ASSERT_GT(table.size(), 21u);  // the fixture is listed
        }
        ExpectSameLines(StreamedLines(env, c.ymd, c.range, c.grp, c.exer, c.comments), table,
                        c.name);
    }
}

TEST(StreamedDayLines, AppendsAfterTheLinesGiven) {
    OpenDatabase env;
    FillEdgeCases(env);
    std::vector<ListLine> lines{{QStringLiteral("before"), LineKind::Day}};
    AppendDayRecords(env.db, kDay, 0, {}, {}, true, lines);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].text, QStringLiteral("before"));
    EXPECT_EQ(lines.size(), 1 + TableLines(env, kDay, 0, {}, {}, true).size());
}

TEST(StreamedDayLines, FailedQueryTakesTheTableRoad) {
    // Both roads give the same message and close the connection.
    for (const bool streamed : {false, true}) {
        OpenDatabase env;
        const QString sql = QStringLiteral("select * from t_exerr");
        QString message;
        bool ran;
        if (streamed) {
            struct Ignore : RowSink {
                void columns(const RowCells&) override {}
                void row(const RowCells&) override {}
            } sink;
            ran = env.db.queryRows(sql, sink, message);
        } else {
            ResultTable table;
            ran = env.db.query(sql, table, message);
        }
        EXPECT_FALSE(ran);
        EXPECT_TRUE(message.startsWith(QStringLiteral("Returned 21:"))) << message.toStdString();
        EXPECT_FALSE(env.db.isOpen());
    }
}

}  // namespace
}  // namespace sorvenka
