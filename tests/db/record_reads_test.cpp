// Reading stored sets back: the day read with its ranges, order and joins, the read of one set
// by key (for the update confirmation and for the entry controls) and the first recorded day.
#include "db/record_reads.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "db/exer_fixtures.h"
#include "db/record_statements.h"
#include "db/record_writes.h"
#include "startup/test_files.h"
#include "support/program_version.h"

namespace sorvenka::testing {
namespace {

void Insert(OpenDatabase& open, const ExerRecord& r) {
    QString message;
    const bool countForm = !r.cnt.isEmpty();
    ASSERT_TRUE(countForm ? DBInsertExerCount(open.db, r, message)
                          : DBInsertExerTime(open.db, r, message))
        << message.toStdString();
}

ExerRecord SetOf(const char* grp, const char* exer, int setNum, const char* start) {
    ExerRecord r = CountSet(QString::number(setNum));
    r.grp_cd = QString::fromLatin1(grp);
    r.exer_cd = QString::fromLatin1(exer);
    r.hms_sta = QString::fromLatin1(start);
    r.hms_end.clear();
    return r;
}

// The key columns of each row of a day read: "grp_cd exer_cd set_num".
std::vector<std::string> Keys(OpenDatabase& open, const ResultTable& table) {
    std::vector<std::string> keys;
    for (int row = 1; row <= UpperBound(table); ++row)
        keys.push_back((open.db.colValue(table, row, QStringLiteral("grp_cd")) + ' ' +
                        open.db.colValue(table, row, QStringLiteral("exer_cd")) + ' ' +
                        open.db.colValue(table, row, QStringLiteral("set_num")))
                           .toStdString());
    return keys;
}

// A day with sets of two groups, one set without a start time, and a set of another day.
class DayRead : public ::testing::Test {
  protected:
    void SetUp() override {
        Insert(open, SetOf("01", "01", 1, "09:05:00"));
        Insert(open, SetOf("01", "02", 1, ""));
        Insert(open, SetOf("02", "01", 1, "08:30:00"));
        Insert(open, SetOf("01", "01", 2, "10:00:00"));
        ExerRecord otherDay = SetOf("01", "01", 1, "07:00:00");
        otherDay.ymd = QStringLiteral("2024/05/15");
        Insert(open, otherDay);
    }
    OpenDatabase open;
};

struct RangeCase {
    int range;
    std::vector<std::string> keys;
};

class DayReadRange : public DayRead, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(DayReadRange, ListsTheSetsOfTheRangeByStartTimeEmptyFirst) {
    const ResultTable table =
        DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), GetParam().range,
                        QStringLiteral("01"), QStringLiteral("01"));
    EXPECT_EQ(Keys(open, table), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, DayReadRange,
    ::testing::Values(RangeCase{0, {"01 02 1", "02 01 1", "01 01 1", "01 01 2"}},
                      RangeCase{1, {"01 02 1", "01 01 1", "01 01 2"}},
                      RangeCase{2, {"01 01 1", "01 01 2"}},
                      RangeCase{3, {"01 02 1", "02 01 1", "01 01 1", "01 01 2"}},
                      RangeCase{-1, {"01 02 1", "02 01 1", "01 01 1", "01 01 2"}}),
    [](const auto& info) {
        return "range" + std::string(info.param.range < 0 ? "Minus" : "") +
               std::to_string(std::abs(info.param.range));
    });

TEST_F(DayRead, GivesTheColumnsInOrderWithNames) {
    const ResultTable table =
        DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), 2, "02", QStringLiteral("01"));
    ASSERT_EQ(UpperBound(table), 1);
    EXPECT_EQ(table[0], QStringLiteral("grp_cd\tgrp_name\texer_cd\texer_name\tset_num\thms_sta\t"
                                       "hms_end\ttarget\tunit_t\tcnt\tunit\tcnt_min\tcnt_sec\t"
                                       "sweat_name\tcomment"));
    EXPECT_EQ(table[1], QStringLiteral("02\t背中\t01\t懸垂\t1\t08:30:00\t\t60\tkg\t10\t回\t\t\t"
                                       "普通\tok"));
}

TEST_F(DayRead, ADayWithoutSetsHasNoRows) {
    EXPECT_EQ(DBSelectDayExer(open.db, QStringLiteral("2024/05/16"), 0, "", ""),
              ResultTable{QString()});
}

TEST_F(DayRead, ValuesNotOfTheirFormReadAsNoRowsAndRunNothing) {
    open.layout.exec(QStringLiteral("drop table t_exer"));  // any statement would now end it
    const ResultTable none{QString()};
    EXPECT_EQ(DBSelectDayExer(open.db, QStringLiteral("2024/05/14' or '1'='1"), 0, "", ""), none);
    EXPECT_EQ(DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), 1, "0' or ''='", ""), none);
    EXPECT_EQ(DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), 2, "01", "x'"), none);
    EXPECT_EQ(DBSelectExerByKey(open.db, {QStringLiteral("2024/05/14"), "01", "01", "1 or 1=1"}),
              none);
    EXPECT_TRUE(open.platform.shown.empty());
}

TEST_F(DayRead, CodesOutsideTheRangeAreNotLookedAt) {
    // Range 0 places neither code into the statement, so whatever they hold does not matter.
    const ResultTable table = DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), 0,
                                              QStringLiteral("'"), QStringLiteral("''x"));
    EXPECT_EQ(UpperBound(table), 4);
    EXPECT_EQ(UpperBound(DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), 1, "01", "'")), 3);
}

// --- joins with the masters ---

TEST(ReadJoins, AMissingSweatLevelGivesAnEmptyNameByDayButNoRowByKey) {
    OpenDatabase open;
    ExerRecord r = CountSet();
    r.sweat_cd = QStringLiteral("9");
    Insert(open, r);
    const ResultTable day = DBSelectDayExer(open.db, r.ymd, 0, "", "");
    ASSERT_EQ(UpperBound(day), 1);
    EXPECT_EQ(open.db.colValue(day, 1, QStringLiteral("sweat_name")), QString());
    EXPECT_EQ(DBSelectExerByKey(open.db, r.key()), ResultTable{QString()});
}

TEST(ReadJoins, SetsWithoutGroupOrExerciseMasterAreLeftOutHiddenMastersAreNot) {
    OpenDatabase open;
    Insert(open, SetOf("01", "01", 1, "09:00:00"));
    Insert(open, SetOf("01", "09", 1, "09:01:00"));  // no such exercise
    Insert(open, SetOf("55", "01", 1, "09:02:00"));  // no such group
    Insert(open, SetOf("02", "02", 1, "09:03:00"));
    open.layout.exec(
        QStringLiteral("update m_grp set status = 0 where grp_cd = '02';"
                       "update m_exer set status = 0 where grp_cd = '01' and exer_cd = '01';"
                       "update m_sweat set status = 0 where sweat_cd = '2'"));
    const ResultTable table = DBSelectDayExer(open.db, QStringLiteral("2024/05/14"), 0, "", "");
    EXPECT_EQ(Keys(open, table), (std::vector<std::string>{"01 01 1", "02 02 1"}));
    EXPECT_EQ(open.db.colValue(table, 2, QStringLiteral("grp_name")), QStringLiteral("背中"));
    EXPECT_EQ(open.db.colValue(table, 1, QStringLiteral("sweat_name")), QStringLiteral("普通"));
}

// --- values read back exactly ---

struct RoundTripCase {
    const char* name;
    const char* target;
    const char* comment;
    const char* targetRead;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, StoredValuesReadBackAsTyped) {
    OpenDatabase open;
    ExerRecord r = CountSet();
    r.target = QString::fromUtf8(GetParam().target);
    r.comment = QString::fromUtf8(GetParam().comment);
    Insert(open, r);

    const ResultTable day = DBSelectDayExer(open.db, r.ymd, 2, r.grp_cd, r.exer_cd);
    ASSERT_EQ(UpperBound(day), 1);
    EXPECT_EQ(open.db.colValue(day, 1, QStringLiteral("comment")), r.comment);
    EXPECT_EQ(open.db.colValue(day, 1, QStringLiteral("target")),
              QString::fromUtf8(GetParam().targetRead));

    const ResultTable byKey = DBSelectExerByKey(open.db, r.key());
    ASSERT_EQ(UpperBound(byKey), 1);
    EXPECT_EQ(open.db.colValue(byKey, 1, QStringLiteral("comment")), r.comment);

    ExerRecord loaded;
    DBLoadExer(open.db, r.key(), loaded);
    EXPECT_EQ(loaded.comment, r.comment);
    EXPECT_EQ(loaded.target, QString::fromUtf8(GetParam().targetRead));
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundTrip,
    ::testing::Values(RoundTripCase{"japaneseQuotesLineBreaks", "62.5",
                                    "今日は'重い'日\r\n二行目 ''二重'' \"引用\"\r\n", "62.5"},
                      RoundTripCase{"hostileComment", "60", "x'); delete from t_exer; --", "60"},
                      RoundTripCase{"loadWithTrailingPoint", "5.", "", "5"},
                      RoundTripCase{"loadWithLeadingPoint", ".5", "a", "0.5"},
                      RoundTripCase{"noLoad", "0", "", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelectExerByKey, GivesTheSetWithItsNamesInTheConfirmationsColumns) {
    OpenDatabase open;
    ExerRecord r = TimeSet(QStringLiteral("10"));
    r.comment = QStringLiteral("c");
    Insert(open, r);
    Insert(open, CountSet(QStringLiteral("1")));
    const ResultTable table = DBSelectExerByKey(open.db, r.key());
    EXPECT_EQ(table, (ResultTable{QStringLiteral("grp_cd\tgrp_name\texer_cd\texer_name\tset_num\t"
                                                 "hms_sta\thms_end\ttarget\tcnt\tcnt_min\t"
                                                 "cnt_sec\tunit\tunit_t\tsweat_cd\tsweat_name\t"
                                                 "comment"),
                                  QStringLiteral("01\t胸\t01\tベンチプレス\t10\t09:00:00\t"
                                                 "09:01:00\t60\t\t1\t30\t\tkg\t2\t普通\tc")}));
}

// --- the read that fills the entry controls ---

TEST(LoadExer, ACountSetLeavesTheDurationEmptyAndADurationSetTheCount) {
    OpenDatabase open;
    ExerRecord count = CountSet(QStringLiteral("1"));
    count.comment.clear();
    ExerRecord time = TimeSet(QStringLiteral("2"));
    time.hms_sta = QString();
    Insert(open, count);
    Insert(open, time);

    ExerRecord loaded;
    DBLoadExer(open.db, count.key(), loaded);
    EXPECT_EQ(std::vector<QString>({loaded.ymd, loaded.grp_cd, loaded.exer_cd, loaded.set_num,
                                    loaded.hms_sta, loaded.hms_end, loaded.target, loaded.unit_t,
                                    loaded.cnt, loaded.unit, loaded.cnt_min, loaded.cnt_sec,
                                    loaded.sweat_cd, loaded.comment}),
              std::vector<QString>({"2024/05/14", "01", "01", "1", "09:00:00", "09:01:00", "60",
                                    "kg", "10", "回", "", "", "2", ""}));

    DBLoadExer(open.db, time.key(), loaded);
    EXPECT_EQ(std::vector<QString>({loaded.set_num, loaded.hms_sta, loaded.cnt, loaded.unit,
                                    loaded.cnt_min, loaded.cnt_sec, loaded.comment}),
              std::vector<QString>({"2", "", "", "", "1", "30", "ok"}));
    EXPECT_TRUE(open.platform.shown.empty());
}

// What the missing-column path shows for a set that is not found: its box naming the read's
// first column, then the report.
void ExpectMissingRowEnd(const EndedRun& run,
                         const QString& firstColumn = QStringLiteral("target")) {
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.status, kFailureExitStatus);
    ASSERT_EQ(run.shown.size(), 2u);
    EXPECT_EQ(run.shown[0].text, QStringLiteral("Error!\r\n  Cannot find col[") + firstColumn +
                                     QStringLiteral("]\r\n  cols=[]"));
    EXPECT_EQ(run.shown[1].caption, QStringLiteral("エラーが発生しました"));
    EXPECT_TRUE(run.shown[1].text.startsWith(QStringLiteral("Valdrome ") + ExpectedVersionText() +
                                             QStringLiteral("\r\n\r\nErr.Desc=")));
}

TEST(LoadExer, AKeyThatFindsNoRowEndsThroughTheMissingColumnReport) {
    OpenDatabase open;
    Insert(open, CountSet(QStringLiteral("1")));
    ExpectMissingRowEnd(RunExpectingEnd(open.platform, [&] {
        ExerRecord loaded;
        DBLoadExer(open.db, CountSet(QStringLiteral("2")).key(), loaded);
    }));
}

TEST(LoadExer, AKeyNotOfItsFormReadsAsNoRowWithoutAStatement) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table t_exer"));
    ExpectMissingRowEnd(RunExpectingEnd(open.platform, [&] {
        ExerRecord loaded;
        DBLoadExer(open.db, {QStringLiteral("2024/05/14"), "01", "01", "1 or 1=1"}, loaded);
    }));
}

// --- the stored set before an update ---

TEST(ReadStoredSet, GivesTheValuesAndTheSweatNameWithoutKeyOrSweatCode) {
    OpenDatabase open;
    Insert(open, CountSet(QStringLiteral("1")));
    Insert(open, TimeSet(QStringLiteral("2")));
    QString sweatName;
    const ExerRecord stored =
        DBReadStoredSet(open.db, TimeSet(QStringLiteral("2")).key(), sweatName);
    EXPECT_EQ(
        std::vector<QString>({stored.ymd, stored.set_num, stored.hms_sta, stored.hms_end,
                              stored.target, stored.unit_t, stored.cnt, stored.unit, stored.cnt_min,
                              stored.cnt_sec, stored.sweat_cd, stored.comment, sweatName}),
        std::vector<QString>(
            {"", "", "09:00:00", "09:01:00", "60", "kg", "", "", "1", "30", "", "ok", "普通"}));
}

// A vanished set, and one whose sweat code has no sweat level (the names' inner join finds no
// row): the report names the first column the before line takes.
TEST(ReadStoredSet, ASetNotFoundEndsThroughTheMissingColumnReport) {
    OpenDatabase open;
    ExerRecord unknownSweat = CountSet(QStringLiteral("3"));
    unknownSweat.sweat_cd = QStringLiteral("9");
    Insert(open, unknownSweat);
    for (const QString& setNum : {QStringLiteral("2"), QStringLiteral("3")}) {
        SCOPED_TRACE(setNum.toStdString());
        ExpectMissingRowEnd(RunExpectingEnd(open.platform,
                                            [&] {
                                                QString sweatName;
                                                DBReadStoredSet(open.db, CountSet(setNum).key(),
                                                                sweatName);
                                            }),
                            QStringLiteral("hms_sta"));
    }
}

// --- first recorded day ---

TEST(FirstYmd, IsEmptyWithoutSetsAndTheEarliestDayOtherwise) {
    OpenDatabase open;
    EXPECT_EQ(DBGetFirstYmd(open.db), QString());
    ExerRecord late = CountSet();
    late.ymd = QStringLiteral("2024/01/02");
    ExerRecord early = CountSet();
    early.ymd = QStringLiteral("2023/12/31");
    Insert(open, late);
    Insert(open, early);
    EXPECT_EQ(DBGetFirstYmd(open.db), QStringLiteral("2023/12/31"));
}

// --- failed queries ---

// Every read of a set and of the first day, with the statement it runs.
struct Read {
    const char* name;
    std::function<void(Database&)> read;
    QString sql;
};

struct IgnoreRows : RowSink {
    void columns(const RowCells&) override {}
    void row(const RowCells&) override {}
};

void StreamDay(Database& db, const RecordKey& key) {
    IgnoreRows sink;
    DBStreamDayExer(db, key.ymd, 2, key.grp_cd, key.exer_cd, sink);
}

std::vector<Read> EveryRead() {
    const RecordKey key = CountSet().key();
    return {
        {"day read",
         [key](Database& db) { DBSelectDayExer(db, key.ymd, 2, key.grp_cd, key.exer_cd); },
         SelectDayExerSql(key.ymd, 2, key.grp_cd, key.exer_cd)},
        {"day read, streamed", [key](Database& db) { StreamDay(db, key); },
         SelectDayExerSql(key.ymd, 2, key.grp_cd, key.exer_cd)},
        {"read by key", [key](Database& db) { DBSelectExerByKey(db, key); },
         SelectExerByKeySql(key)},
        {"load into the entry",
         [key](Database& db) {
             ExerRecord loaded;
             DBLoadExer(db, key, loaded);
         },
         LoadExerSql(key)},
        {"first day", [](Database& db) { DBGetFirstYmd(db); }, GetFirstYmdSql()},
    };
}

// No read ends the program without saying why: the failed statement is shown first.
TEST(ReadFailure, EveryReadShowsItsMessageAndEnds) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table t_exer"));
    for (const Read& read : EveryRead()) {
        SCOPED_TRACE(read.name);
        const EndedRun run = RunExpectingEnd(open.platform, [&] { read.read(open.db); });
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(run.status, kFailureExitStatus);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, Returned21(read.sql));
        EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
    }
}

// Another program holds the file past the busy wait: the lock is named with the statement.
TEST(ReadFailure, EveryReadUnderALockNamesTheLockAndEnds) {
    OpenDatabase open;
    Insert(open, CountSet());
    ExclusiveLock lock(open.layout.dbPath());
    ASSERT_TRUE(lock.held());
    for (const Read& read : EveryRead()) {
        SCOPED_TRACE(read.name);
        const EndedRun run = RunExpectingEnd(open.platform, [&] { read.read(open.db); });
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(run.status, kFailureExitStatus);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(Visible(run.shown[0].text),
                  Visible(LockedByAnotherProgram(open.layout.dbPath())));
        // The statement is kept for whoever reads the log.
        EXPECT_TRUE(QString::fromUtf8(ReadBytes(open.log.path())).contains(read.sql));
        EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
        EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
    }
}

// The streamed day read keeps its statement from one day to the next. Kept from before the
// table went or a lock was taken, it fails as a statement prepared afresh from the day's text.
TEST(ReadFailure, AKeptDayStatementFailsAsAFreshOne) {
    const RecordKey key = CountSet().key();
    const QString sql = SelectDayExerSql(key.ymd, 2, key.grp_cd, key.exer_cd);
    struct Case {
        const char* name;
        std::function<std::unique_ptr<ExclusiveLock>(OpenDatabase&)> change;
        QString shown;
    };
    const std::vector<Case> cases{
        {"table dropped",
         [](OpenDatabase& open) {
             open.layout.exec(QStringLiteral("drop table t_exer"));
             return nullptr;
         },
         Returned21(sql)},
        {"locked",
         [](OpenDatabase& open) { return std::make_unique<ExclusiveLock>(open.layout.dbPath()); },
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenDatabase open;
        Insert(open, CountSet());
        StreamDay(open.db, key);  // the statement is kept from here
        const std::unique_ptr<ExclusiveLock> lock = c.change(open);
        const EndedRun run = RunExpectingEnd(open.platform, [&] { StreamDay(open.db, key); });
        EXPECT_TRUE(run.ended);
        ASSERT_EQ(run.shown.size(), 1u);
        // The lock is named in plain words, for the file of this case.
        const QString expected =
            c.shown.isNull() ? LockedByAnotherProgram(open.layout.dbPath()) : c.shown;
        EXPECT_EQ(Visible(run.shown[0].text), Visible(expected));
    }
}

}  // namespace
}  // namespace sorvenka::testing
