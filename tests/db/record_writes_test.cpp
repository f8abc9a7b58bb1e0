// Inserting, updating and deleting sets, their numbering and the same-time check, against
// real database files; hostile values are refused before any statement is built.
#include "db/record_writes.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "db/exer_fixtures.h"
#include "db/record_reads.h"
#include "db/record_statements.h"

namespace sorvenka::testing {
namespace {

QString Scalar(const OpenDatabase& open, const char* sql) {
    return ScalarText(open.layout.dbPath(), QString::fromUtf8(sql));
}

void Insert(OpenDatabase& open, const ExerRecord& r) {
    QString message;
    const bool countForm = !r.cnt.isEmpty();
    ASSERT_TRUE(countForm ? DBInsertExerCount(open.db, r, message)
                          : DBInsertExerTime(open.db, r, message))
        << message.toStdString();
    EXPECT_TRUE(message.isEmpty());
}

ExerRecord SetAt(const char* ymd, const char* grp, const char* exer, int setNum) {
    ExerRecord r = CountSet(QString::number(setNum));
    r.ymd = QString::fromLatin1(ymd);
    r.grp_cd = QString::fromLatin1(grp);
    r.exer_cd = QString::fromLatin1(exer);
    r.hms_sta.clear();  // no clashes between the stored sets
    r.hms_end.clear();
    return r;
}

// --- numbering ---

struct NumberingCase {
    const char* name;
    std::vector<ExerRecord> stored;
    int expectedMax;  // of 2024/05/14, group 01, exercise 01
};

std::vector<ExerRecord> SetsOfTheDay(std::initializer_list<int> numbers) {
    std::vector<ExerRecord> sets;
    for (int n : numbers) sets.push_back(SetAt("2024/05/14", "01", "01", n));
    return sets;
}

class Numbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(Numbering, NextSetIsTheHighestStoredNumberPlusOne) {
    OpenDatabase open;
    for (const ExerRecord& r : GetParam().stored) Insert(open, r);
    EXPECT_EQ(DBGetMaxSetNum(open.db, QStringLiteral("2024/05/14"), QStringLiteral("01"),
                             QStringLiteral("01")),
              GetParam().expectedMax);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Numbering,
    ::testing::Values(NumberingCase{"none", {}, 0}, NumberingCase{"gap", SetsOfTheDay({1, 3}), 3},
                      // Set numbers compare as numbers: "9" is greater than "10" as a text.
                      NumberingCase{"nine", SetsOfTheDay({1, 2, 3, 4, 5, 6, 7, 8, 9}), 9},
                      NumberingCase{"ten", SetsOfTheDay({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 10},
                      // Only the same day, group and exercise count.
                      NumberingCase{
                          "others",
                          {SetAt("2024/05/13", "01", "01", 7), SetAt("2024/05/14", "01", "02", 5),
                           SetAt("2024/05/14", "02", "01", 6), SetAt("2024/05/15", "01", "01", 8)},
                          0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberingAfterDelete, NumbersAreNotClosedUpButTheTopIsReused) {
    OpenDatabase open;
    for (int n : {1, 2, 3}) Insert(open, SetAt("2024/05/14", "01", "01", n));
    QString message;
    const auto maxSet = [&] {
        return DBGetMaxSetNum(open.db, QStringLiteral("2024/05/14"), QStringLiteral("01"),
                              QStringLiteral("01"));
    };
    ASSERT_TRUE(DBDeleteExer(open.db, SetAt("2024/05/14", "01", "01", 2).key(), message));
    EXPECT_EQ(maxSet() + 1, 4);
    ASSERT_TRUE(DBDeleteExer(open.db, SetAt("2024/05/14", "01", "01", 3).key(), message));
    EXPECT_EQ(maxSet() + 1, 2);
}

// --- same-time check ---

const QString kStartWarning =
    QStringLiteral("開始時刻が一致のレコードが既存です。\r\n\r\n登録しますか？");
const QString kFinishWarning =
    QStringLiteral("終了時刻が一致のレコードが既存です。\r\n\r\n登録しますか？");

struct SameTimeCase {
    const char* name;
    const char* storedYmd;
    const char* storedStart;
    const char* storedFinish;
    const char* newStart;
    const char* newFinish;
    QString expectedMessage;  // empty: no clash
};

class SameTime : public ::testing::TestWithParam<SameTimeCase> {};

TEST_P(SameTime, WarnsOfAStoredSetOfTheDayWithTheSameStartOrFinish) {
    const SameTimeCase& c = GetParam();
    OpenDatabase open;
    // The stored set is of another group and exercise: any set of the day counts.
    ExerRecord stored = SetAt(c.storedYmd, "03", "02", 1);
    stored.hms_sta = QString::fromLatin1(c.storedStart);
    stored.hms_end = QString::fromLatin1(c.storedFinish);
    Insert(open, stored);

    QString message = QStringLiteral("left over");
    const bool noClash =
        DBCheckSameTime(open.db, QStringLiteral("2024/05/14"), QStringLiteral("01"),
                        QStringLiteral("01"), QStringLiteral("1"), QString::fromLatin1(c.newStart),
                        QString::fromLatin1(c.newFinish), message);
    EXPECT_EQ(noClash, c.expectedMessage.isEmpty());
    EXPECT_EQ(message, c.expectedMessage);
    EXPECT_TRUE(open.platform.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameTime,
    ::testing::Values(SameTimeCase{"sameStart", "2024/05/14", "09:00:00", "09:10:00", "09:00:00",
                                   "09:20:00", kStartWarning},
                      SameTimeCase{"sameFinish", "2024/05/14", "08:00:00", "09:10:00", "09:00:00",
                                   "09:10:00", kFinishWarning},
                      SameTimeCase{"bothClashStartWins", "2024/05/14", "09:00:00", "09:10:00",
                                   "09:00:00", "09:10:00", kStartWarning},
                      SameTimeCase{"otherDay", "2024/05/13", "09:00:00", "09:10:00", "09:00:00",
                                   "09:10:00", QString()},
                      SameTimeCase{"startNeverMeetsFinish", "2024/05/14", "09:10:00", "09:20:00",
                                   "09:20:00", "09:30:00", QString()},
                      SameTimeCase{"emptyTimesNeverClash", "2024/05/14", "", "", "", "", QString()},
                      SameTimeCase{"emptyNewTimes", "2024/05/14", "09:00:00", "09:10:00", "", "",
                                   QString()}),
    [](const auto& info) { return std::string(info.param.name); });

// --- count form and duration form ---

TEST(RecordForms, AnUpdateSwitchesBetweenCountAndDurationLeavingOneForm) {
    OpenDatabase open;
    Insert(open, CountSet());
    const char* const kForm =
        "select quote(cnt)||','||quote(cnt_min)||','||quote(cnt_sec) from t_exer";
    EXPECT_EQ(Scalar(open, kForm), QStringLiteral("10,NULL,NULL"));

    QString message;
    ASSERT_TRUE(DBUpdateExerTime(open.db, TimeSet(), message));
    EXPECT_EQ(Scalar(open, kForm), QStringLiteral("NULL,1,30"));

    ExerRecord count = CountSet();
    count.cnt = QStringLiteral("12");
    ASSERT_TRUE(DBUpdateExerCount(open.db, count, message));
    EXPECT_EQ(Scalar(open, kForm), QStringLiteral("12,NULL,NULL"));
}

TEST(RecordForms, EmptyMinutesAreStoredAsNullAndReadBackEmpty) {
    OpenDatabase open;
    ExerRecord seconds = TimeSet();
    seconds.cnt_min.clear();
    seconds.cnt_sec = QStringLiteral("45");
    Insert(open, seconds);
    EXPECT_EQ(Scalar(open,
                     "select quote(cnt)||','||quote(cnt_min)||','||quote(cnt_sec) from "
                     "t_exer"),
              QStringLiteral("NULL,NULL,45"));

    ExerRecord loaded;
    DBLoadExer(open.db, seconds.key(), loaded);
    EXPECT_EQ(loaded.cnt, QString());
    EXPECT_EQ(loaded.cnt_min, QString());
    EXPECT_EQ(loaded.cnt_sec, QStringLiteral("45"));

    // The loaded set is stored again as it was.
    QString message;
    loaded.cnt_sec = QStringLiteral("50");
    ASSERT_TRUE(DBUpdateExerTime(open.db, loaded, message)) << message.toStdString();
    EXPECT_EQ(Scalar(open, "select quote(cnt_min)||','||cnt_sec from t_exer"),
              QStringLiteral("NULL,50"));
}

TEST(RecordForms, AnUpdateRewritesColumnsFiveToFourteenOnly) {
    OpenDatabase open;
    Insert(open, CountSet(QStringLiteral("1")));
    Insert(open, SetAt("2024/05/14", "01", "01", 2));
    ExerRecord changed = TimeSet(QStringLiteral("1"));
    changed.hms_sta = QStringLiteral("10:00:00");
    changed.hms_end = QString();
    changed.target = QStringLiteral("5.");
    changed.unit_t = QStringLiteral("km");
    changed.unit = QString();
    changed.sweat_cd = QStringLiteral("4");
    changed.comment = QStringLiteral("changed");
    QString message;
    ASSERT_TRUE(DBUpdateExerTime(open.db, changed, message));
    EXPECT_EQ(
        TableDump(open.layout),
        QStringLiteral("'2024/05/14','01','01',1,'10:00:00','',5.0,'km',NULL,'',1,30,'4',"
                       "'changed'\n"
                       "'2024/05/14','01','01',2,'','',60.0,'kg',10,'回',NULL,NULL,'2','ok'"));
}

TEST(RecordChanges, UpdateAndDeleteOfAMissingKeyChangeNothing) {
    OpenDatabase open;
    Insert(open, CountSet(QStringLiteral("1")));
    const QString before = TableDump(open.layout);
    QString message;
    EXPECT_TRUE(DBUpdateExerCount(open.db, CountSet(QStringLiteral("2")), message));
    EXPECT_TRUE(DBUpdateExerTime(open.db, TimeSet(QStringLiteral("2")), message));
    EXPECT_TRUE(DBDeleteExer(open.db, CountSet(QStringLiteral("2")).key(), message));
    EXPECT_EQ(TableDump(open.layout), before);
    EXPECT_TRUE(open.platform.shown.empty());
}

// --- values not of their form ---

TEST(HostileValues, ACommentIsStoredVerbatimAndTouchesNothingElse) {
    OpenDatabase open;
    Insert(open, SetAt("2024/05/13", "02", "01", 1));
    ExerRecord r = CountSet();
    r.comment = QStringLiteral("x'); delete from t_exer; --");
    Insert(open, r);
    EXPECT_EQ(Scalar(open, "select count(*) from t_exer"), QStringLiteral("2"));
    EXPECT_EQ(Scalar(open, "select comment from t_exer where ymd = '2024/05/14'"), r.comment);

    r.comment = QStringLiteral("'' where 1=1; update t_exer set comment = 'gone'; --");
    QString message;
    ASSERT_TRUE(DBUpdateExerCount(open.db, r, message));
    EXPECT_EQ(Scalar(open, "select comment from t_exer where ymd = '2024/05/14'"), r.comment);
    EXPECT_EQ(Scalar(open, "select comment from t_exer where ymd = '2024/05/13'"),
              QStringLiteral("ok"));
}

enum class Change { InsertCount, InsertTime, UpdateCount, UpdateTime, Delete };

bool Apply(Change change, Database& db, const ExerRecord& r, QString& message) {
    switch (change) {
        case Change::InsertCount:
            return DBInsertExerCount(db, r, message);
        case Change::InsertTime:
            return DBInsertExerTime(db, r, message);
        case Change::UpdateCount:
            return DBUpdateExerCount(db, r, message);
        case Change::UpdateTime:
            return DBUpdateExerTime(db, r, message);
        case Change::Delete:
            return DBDeleteExer(db, r.key(), message);
    }
    return false;
}

struct RefusedCase {
    const char* name;
    Change change;
    std::function<void(ExerRecord&)> spoil;
    const char* expectedMessage;
};

class Refused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Refused, AValueNotOfItsFormIsRefusedAndNothingIsWritten) {
    const RefusedCase& c = GetParam();
    OpenDatabase open;
    // Several stored sets, among them the key the hostile values aim at.
    Insert(open, CountSet(QStringLiteral("1")));
    ExerRecord second = CountSet(QStringLiteral("2"));
    second.hms_sta = QStringLiteral("10:00:00");
    second.hms_end = QStringLiteral("10:01:00");
    Insert(open, second);
    Insert(open, SetAt("2024/01/01", "02", "01", 1));
    const QString before = TableDump(open.layout);

    ExerRecord r = c.change == Change::InsertTime || c.change == Change::UpdateTime
                       ? TimeSet(QStringLiteral("1"))
                       : CountSet(QStringLiteral("1"));
    if (c.change == Change::InsertCount || c.change == Change::InsertTime)
        r.set_num = QStringLiteral("3");
    c.spoil(r);
    QString message;
    EXPECT_FALSE(Apply(c.change, open.db, r, message));
    EXPECT_EQ(message, QString::fromUtf8(c.expectedMessage));
    EXPECT_EQ(TableDump(open.layout), before);
    EXPECT_TRUE(open.platform.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refused,
    ::testing::Values(
        RefusedCase{"dayWithOr", Change::Delete,
                    [](ExerRecord& r) { r.ymd = QStringLiteral("2024/01/01' or '1'='1"); },
                    "Value of ymd is not a day yyyy/mm/dd: [2024/01/01' or '1'='1]"},
        RefusedCase{"dayInUpdate", Change::UpdateCount,
                    [](ExerRecord& r) { r.ymd = QStringLiteral("2024/01/01' or '1'='1"); },
                    "Value of ymd is not a day yyyy/mm/dd: [2024/01/01' or '1'='1]"},
        RefusedCase{"impossibleDay", Change::InsertCount,
                    [](ExerRecord& r) { r.ymd = QStringLiteral("2024/02/30"); },
                    "Value of ymd is not a day yyyy/mm/dd: [2024/02/30]"},
        RefusedCase{"setNumberDelete", Change::Delete,
                    [](ExerRecord& r) { r.set_num = QStringLiteral("1 or 1=1"); },
                    "Value of set_num is not a whole number: [1 or 1=1]"},
        RefusedCase{"setNumberUpdate", Change::UpdateTime,
                    [](ExerRecord& r) { r.set_num = QStringLiteral("1 or 1=1"); },
                    "Value of set_num is not a whole number: [1 or 1=1]"},
        RefusedCase{"groupWithQuote", Change::UpdateCount,
                    [](ExerRecord& r) { r.grp_cd = QStringLiteral("0'"); },
                    "Value of grp_cd is not a 2-character code without single quotes: [0']"},
        RefusedCase{"groupTooLong", Change::InsertCount,
                    [](ExerRecord& r) { r.grp_cd = QStringLiteral("01' or ''='"); },
                    "Value of grp_cd is not a 2-character code without single quotes: "
                    "[01' or ''=']"},
        RefusedCase{"exerciseWithQuote", Change::Delete,
                    [](ExerRecord& r) { r.exer_cd = QStringLiteral("''"); },
                    "Value of exer_cd is not a 2-character code without single quotes: ['']"},
        RefusedCase{"sweatQuote", Change::InsertCount,
                    [](ExerRecord& r) { r.sweat_cd = QStringLiteral("'"); },
                    "Value of sweat_cd is not a 1-character code without single quotes: [']"},
        RefusedCase{"sweatTwoCharacters", Change::UpdateCount,
                    [](ExerRecord& r) { r.sweat_cd = QStringLiteral("10"); },
                    "Value of sweat_cd is not a 1-character code without single quotes: [10]"},
        RefusedCase{"startTime", Change::InsertTime,
                    [](ExerRecord& r) { r.hms_sta = QStringLiteral("09:00:00'"); },
                    "Value of hms_sta is not a time hh:nn:ss or empty: [09:00:00']"},
        RefusedCase{"finishTime", Change::UpdateCount,
                    [](ExerRecord& r) { r.hms_end = QStringLiteral("9:00"); },
                    "Value of hms_end is not a time hh:nn:ss or empty: [9:00]"},
        RefusedCase{"load", Change::UpdateCount,
                    [](ExerRecord& r) { r.target = QStringLiteral("1, cnt = 0"); },
                    "Value of target is not a decimal number: [1, cnt = 0]"},
        RefusedCase{"emptyLoad", Change::InsertCount, [](ExerRecord& r) { r.target.clear(); },
                    "Value of target is not a decimal number: []"},
        RefusedCase{"loadUnit", Change::UpdateTime,
                    [](ExerRecord& r) { r.unit_t = QStringLiteral("kg'"); },
                    "Value of unit_t is not a unit name without single quotes: [kg']"},
        RefusedCase{"countUnit", Change::InsertCount,
                    [](ExerRecord& r) { r.unit = QStringLiteral("回'||'"); },
                    "Value of unit is not a unit name without single quotes: [回'||']"},
        RefusedCase{"count", Change::UpdateCount,
                    [](ExerRecord& r) { r.cnt = QStringLiteral("1 or 1"); },
                    "Value of cnt is not a whole number: [1 or 1]"},
        RefusedCase{"emptyCount", Change::InsertCount, [](ExerRecord& r) { r.cnt.clear(); },
                    "Value of cnt is not a whole number: []"},
        RefusedCase{"minutes", Change::UpdateTime,
                    [](ExerRecord& r) { r.cnt_min = QStringLiteral("1.5"); },
                    "Value of cnt_min is not a whole number or empty: [1.5]"},
        RefusedCase{"seconds", Change::InsertTime,
                    [](ExerRecord& r) { r.cnt_sec = QStringLiteral("30)"); },
                    "Value of cnt_sec is not a whole number: [30)]"},
        RefusedCase{"emptySeconds", Change::UpdateTime, [](ExerRecord& r) { r.cnt_sec.clear(); },
                    "Value of cnt_sec is not a whole number: []"},
        RefusedCase{"commentWithNul", Change::InsertCount,
                    [](ExerRecord& r) { r.comment = QStringLiteral("a") + QChar(u'\0'); },
                    "Value of comment holds the character U+0000"}),
    [](const auto& info) { return std::string(info.param.name); });

// The engine reads an unpaired surrogate together with the code unit after it: the quote
// that ends the value would be swallowed and the rest of the text would become statement.
TEST(HostileValues, TextsWithAnUnpairedSurrogateAreRefusedInEveryQuotedValue) {
    const QChar high(char16_t(0xD800));
    const QChar low(char16_t(0xDC00));
    struct Case {
        const char* name;
        Change change;
        std::function<void(ExerRecord&)> spoil;
        const char* expectedMessage;
    };
    const Case cases[] = {
        {"update comment", Change::UpdateCount,
         [&](ExerRecord& r) { r.comment = QString(high) + QStringLiteral("' /*"); },
         "Value of comment holds an unpaired UTF-16 surrogate"},
        {"insert comment", Change::InsertTime,
         [&](ExerRecord& r) { r.comment = QStringLiteral("x") + high; },
         "Value of comment holds an unpaired UTF-16 surrogate"},
        {"comment low half", Change::UpdateTime,
         [&](ExerRecord& r) { r.comment = QString(low) + QStringLiteral("'"); },
         "Value of comment holds an unpaired UTF-16 surrogate"},
        {"count unit", Change::InsertCount,
         [&](ExerRecord& r) { r.unit = QStringLiteral("回") + high; },
         "Value of unit holds an unpaired UTF-16 surrogate"},
        {"load unit", Change::UpdateCount,
         [&](ExerRecord& r) { r.unit_t = QStringLiteral("kg") + high; },
         "Value of unit_t holds an unpaired UTF-16 surrogate"},
        {"group code", Change::Delete,
         [&](ExerRecord& r) { r.grp_cd = QStringLiteral("0") + high; },
         "Value of grp_cd holds an unpaired UTF-16 surrogate"},
        {"exercise code", Change::UpdateTime,
         [&](ExerRecord& r) { r.exer_cd = QStringLiteral("0") + high; },
         "Value of exer_cd holds an unpaired UTF-16 surrogate"},
        {"sweat code", Change::InsertCount, [&](ExerRecord& r) { r.sweat_cd = QString(high); },
         "Value of sweat_cd holds an unpaired UTF-16 surrogate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenDatabase open;
        Insert(open, CountSet(QStringLiteral("1")));
        Insert(open, SetAt("2024/05/13", "02", "01", 1));
        const QString before = TableDump(open.layout);
        ExerRecord r = c.change == Change::InsertTime || c.change == Change::UpdateTime
                           ? TimeSet(QStringLiteral("1"))
                           : CountSet(QStringLiteral("1"));
        if (c.change == Change::InsertCount || c.change == Change::InsertTime)
            r.set_num = QStringLiteral("2");
        c.spoil(r);
        QString message;
        EXPECT_FALSE(Apply(c.change, open.db, r, message));
        EXPECT_EQ(message, QString::fromUtf8(c.expectedMessage));
        EXPECT_EQ(TableDump(open.layout), before);
        EXPECT_TRUE(open.platform.shown.empty());
    }

    // A character outside the basic plane is a valid pair and is stored as typed.
    OpenDatabase open;
    ExerRecord r = CountSet();
    r.comment = QStringLiteral("\U0001F600'\U00020BB7");
    Insert(open, r);
    EXPECT_EQ(Scalar(open, "select comment from t_exer"), r.comment);
}

TEST(HostileValues, TheReadsOfTheInsertRunNoStatementForValuesNotOfTheirForm) {
    OpenDatabase open;
    // Without t_exer any statement would fail and end the program.
    open.layout.exec(QStringLiteral("drop table t_exer"));
    EXPECT_EQ(DBGetMaxSetNum(open.db, QStringLiteral("2024/01/01' or '1'='1"), "01", "01"), -1);
    EXPECT_EQ(DBGetMaxSetNum(open.db, QStringLiteral("2024/01/01"), QStringLiteral("0'"), "01"),
              -1);
    EXPECT_EQ(DBGetMaxSetNum(open.db, QStringLiteral("2024/01/01"), "01", QStringLiteral("1")), -1);
    QString message = QStringLiteral("left over");
    EXPECT_TRUE(DBCheckSameTime(open.db, QStringLiteral("2024/01/01' or '1'='1"), "01", "01", "1",
                                QStringLiteral("09:00:00"), QString(), message));
    EXPECT_TRUE(message.isEmpty());
    EXPECT_TRUE(DBCheckSameTime(open.db, QStringLiteral("2024/01/01"), "01", "01", "1",
                                QStringLiteral("09:00:00' or '1'='1"), QString(), message));
    EXPECT_TRUE(open.platform.shown.empty());
}

// --- failures that end the program ---

struct ChangeFailureCase {
    const char* name;
    Change change;
    std::function<QString(const ExerRecord&)> statement;
};

const ChangeFailureCase kChangeFailures[] = {
    {"InsertCount", Change::InsertCount, &InsertExerCountSql},
    {"InsertTime", Change::InsertTime, &InsertExerTimeSql},
    {"UpdateCount", Change::UpdateCount, &UpdateExerCountSql},
    {"UpdateTime", Change::UpdateTime, &UpdateExerTimeSql},
    {"Delete", Change::Delete, [](const ExerRecord& r) { return DeleteExerSql(r.key()); }},
};

ExerRecord RecordFor(Change change) {
    return change == Change::InsertTime || change == Change::UpdateTime ? TimeSet() : CountSet();
}

class ChangeFailure : public ::testing::TestWithParam<ChangeFailureCase> {};

TEST_P(ChangeFailure, AFailedStatementIsShownAndEndsTheProgram) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table t_exer"));
    const ExerRecord r = RecordFor(GetParam().change);
    const EndedRun run = RunExpectingEnd(open.platform, [&] {
        QString message;
        Apply(GetParam().change, open.db, r, message);
    });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.status, kFailureExitStatus);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(Visible(run.shown[0].text),
              Visible(QStringLiteral("SQLite3NonQuery Error\r\n") + GetParam().statement(r)));
    EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
    EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
}

TEST_P(ChangeFailure, ALockedDatabaseIsNamedAndEndsTheProgram) {
    OpenDatabase open;
    Insert(open, CountSet());
    const QString before = TableDump(open.layout);
    {
        ExclusiveLock lock(open.layout.dbPath());
        ASSERT_TRUE(lock.held());
        const ExerRecord r = RecordFor(GetParam().change);
        const EndedRun run = RunExpectingEnd(open.platform, [&] {
            QString message;
            ExerRecord other = r;
            if (GetParam().change == Change::InsertCount || GetParam().change == Change::InsertTime)
                other.set_num = QStringLiteral("2");
            Apply(GetParam().change, open.db, other, message);
        });
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(run.status, kFailureExitStatus);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, QStringLiteral("The database file is locked"));
    }
    EXPECT_EQ(TableDump(open.layout), before);
}

INSTANTIATE_TEST_SUITE_P(EveryChange, ChangeFailure, ::testing::ValuesIn(kChangeFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadFailure, TheNumberingReadShowsItsMessageAndEnds) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table t_exer"));
    const EndedRun run = RunExpectingEnd(
        open.platform, [&] { DBGetMaxSetNum(open.db, QStringLiteral("2024/05/14"), "01", "02"); });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.status, kFailureExitStatus);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(Visible(run.shown[0].text),
              Visible(Returned21(GetMaxSetNumSql(QStringLiteral("2024/05/14"), "01", "02"))));
}

TEST(ReadFailure, TheSameTimeCheckShowsItsMessageAndEnds) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table t_exer"));
    const EndedRun run = RunExpectingEnd(open.platform, [&] {
        QString message;
        DBCheckSameTime(open.db, QStringLiteral("2024/05/14"), "01", "02", "1",
                        QStringLiteral("09:00:00"), QString(), message);
    });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.status, kFailureExitStatus);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(Visible(run.shown[0].text),
              Visible(Returned21(CheckSameTimeSql(QStringLiteral("2024/05/14"),
                                                  QStringLiteral("09:00:00"), QString()))));
}

TEST(ReadFailure, TheNumberingReadUnderALockEndsWithTheLockNamed) {
    OpenDatabase open;
    ExclusiveLock lock(open.layout.dbPath());
    ASSERT_TRUE(lock.held());
    const EndedRun run = RunExpectingEnd(
        open.platform, [&] { DBGetMaxSetNum(open.db, QStringLiteral("2024/05/14"), "01", "02"); });
    EXPECT_TRUE(run.ended);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(Visible(run.shown[0].text), Visible(LockedByAnotherProgram(open.layout.dbPath())));
}

}  // namespace
}  // namespace sorvenka::testing
