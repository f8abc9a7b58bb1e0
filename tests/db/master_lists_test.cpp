// The selection lists from the master tables: active rows only, in order_id order.
#include "db/master_lists.h"

#include <gtest/gtest.h>

#include <functional>

#include "db/exer_fixtures.h"

namespace sorvenka::testing {
namespace {

TEST(MasterLists, TheFirstDatabaseGivesEveryListInItsOrder) {
    OpenDatabase open;
    EXPECT_EQ(DBFillMasterList(open.db, MasterList::Groups),
              (QStringList{"01 胸", "02 背中", "03 脚", "04 肩", "05 腕", "06 体幹", "07 有酸素",
                           "99 その他"}));
    EXPECT_EQ(DBFillMasterList(open.db, MasterList::CountUnits), (QStringList{"回", "歩", "周"}));
    EXPECT_EQ(DBFillMasterList(open.db, MasterList::LoadUnits),
              (QStringList{"kg", "km", "m", "lb"}));
    EXPECT_EQ(DBFillMasterList(open.db, MasterList::SweatLevels),
              (QStringList{"0 なし", "1 少し", "2 普通", "3 多い", "4 大量"}));
    EXPECT_EQ(DBFillExerList(open.db, QStringLiteral("07")),
              (QStringList{"01 ウォーキング", "02 ランニング", "03 エアロバイク", "04 縄跳び"}));
    EXPECT_TRUE(open.platform.shown.empty());
}

struct FilterCase {
    const char* name;
    const char* setup;
    std::function<QStringList(Database&)> fill;
    QStringList expected;
};

class MasterFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(MasterFilter, ListsOnlyActiveRowsByOrderId) {
    OpenDatabase open;
    open.layout.exec(QString::fromUtf8(GetParam().setup));
    EXPECT_EQ(GetParam().fill(open.db), GetParam().expected);
}

QStringList Groups(Database& db) {
    return DBFillMasterList(db, MasterList::Groups);
}
QStringList LoadUnits(Database& db) {
    return DBFillMasterList(db, MasterList::LoadUnits);
}
std::function<QStringList(Database&)> Exercises(const char* group) {
    return [group](Database& db) { return DBFillExerList(db, QString::fromLatin1(group)); };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MasterFilter,
    ::testing::Values(
        FilterCase{"orderIdNotCode",
                   "delete from m_grp where grp_cd > '02';"
                   "update m_grp set order_id = 2 where grp_cd = '01';"
                   "update m_grp set order_id = 1 where grp_cd = '02'",
                   Groups,
                   {"02 背中", "01 胸"}},
        FilterCase{
            "hiddenGroup", "update m_grp set status = 0 where grp_cd <> '03'", Groups, {"03 脚"}},
        FilterCase{"statusOtherThanOne", "update m_unit_target set status = 2", LoadUnits, {}},
        FilterCase{"exercisesByTheirOrder",
                   "update m_exer set order_id = 10 - order_id where grp_cd = '05';"
                   "update m_exer set status = 0 where grp_cd = '05' and exer_cd = '02'",
                   Exercises("05"),
                   {"04 ディップス", "03 フレンチプレス", "01 アームカール"}},
        FilterCase{"groupWithoutActiveExercises",
                   "update m_exer set status = 0 where grp_cd = '06'",
                   Exercises("06"),
                   {}},
        FilterCase{"exerciseOfAMissingGroup",
                   "insert into m_exer values ('55', '01', '迷子', 1, 1)",
                   Exercises("55"),
                   {}},
        FilterCase{"exerciseOfAHiddenGroup",
                   "update m_grp set status = 0 where grp_cd = '99'",
                   Exercises("99"),
                   {"99 休養日"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MasterLists, AGroupCodeNotOfItsFormGivesNoEntriesWithoutAStatement) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table m_exer"));  // any statement would now end it
    EXPECT_TRUE(DBFillExerList(open.db, QStringLiteral("0'")).isEmpty());
    EXPECT_TRUE(DBFillExerList(open.db, QStringLiteral("01' or ''='")).isEmpty());
    EXPECT_TRUE(DBFillExerList(open.db, QString()).isEmpty());
    EXPECT_TRUE(open.platform.shown.empty());
}

struct FailureCase {
    const char* name;
    const char* dropped;
    std::function<void(Database&)> fill;
    const char* statement;
};

class MasterFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(MasterFailure, AFailedQueryShowsItsStatementAndEnds) {
    OpenDatabase open;
    open.layout.exec(QStringLiteral("drop table ") + QString::fromLatin1(GetParam().dropped));
    const EndedRun run = RunExpectingEnd(open.platform, [&] { GetParam().fill(open.db); });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.status, kFailureExitStatus);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(run.shown[0].text, Returned21(QString::fromUtf8(GetParam().statement)));
    EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    EveryList, MasterFailure,
    ::testing::Values(
        FailureCase{"groups", "m_grp", [](Database& db) { Groups(db); },
                    "select grp_cd\r\n      ,grp_name\r\nfrom   m_grp\r\nwhere  status = 1\r\n"
                    "order by\r\n       order_id\r\n"},
        FailureCase{"countUnits", "m_unit",
                    [](Database& db) { DBFillMasterList(db, MasterList::CountUnits); },
                    "select unit_name\r\nfrom   m_unit\r\nwhere  status = 1\r\n"
                    "order by\r\n       order_id\r\n"},
        FailureCase{"loadUnits", "m_unit_target", [](Database& db) { LoadUnits(db); },
                    "select unit_name\r\nfrom   m_unit_target\r\nwhere  status = 1\r\n"
                    "order by\r\n       order_id\r\n"},
        FailureCase{"sweatLevels", "m_sweat",
                    [](Database& db) { DBFillMasterList(db, MasterList::SweatLevels); },
                    "select sweat_cd\r\n      ,sweat_name\r\nfrom   m_sweat\r\n"
                    "where  status = 1\r\norder by\r\n       order_id\r\n"},
        FailureCase{"exercises", "m_exer",
                    [](Database& db) { DBFillExerList(db, QStringLiteral("03")); },
                    "select exer_cd\r\n      ,exer_name\r\nfrom   m_exer e\r\n"
                    "       inner join m_grp g\r\n          on e.grp_cd = g.grp_cd\r\n"
                    "where  e.status = 1\r\n  and  e.grp_cd = '03'\r\norder by\r\n"
                    "       e.order_id\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorvenka::testing
