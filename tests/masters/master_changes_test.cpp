// Groups and exercises changed in the program: codes, names, order, visibility and deletion,
// checked on the first database and through the lists the main window fills from it.
#include <gtest/gtest.h>

#include "masters/exercise_changes.h"
#include "masters/exercise_merge.h"
#include "masters/group_changes.h"
#include "masters/list_order.h"
#include "masters/master_names.h"
#include "masters/master_rows.h"
#include "masters_fixture.h"

namespace sorvenka::testing {
namespace {

using MasterChanges = MastersTest;

const QString k01 = QStringLiteral("01");
const QString k02 = QStringLiteral("02");

TEST_F(MasterChanges, NewGroupTakesTheNextFreeCodeAndComesLast) {
    QString code, message;
    ASSERT_TRUE(AddGroup(db(), QStringLiteral("  ストレッチ　"), code, message))
        << message.toStdString();
    EXPECT_EQ(code, QStringLiteral("08"));  // 99 is taken, so the gaps after 07
    EXPECT_EQ(groupList().last(), QStringLiteral("08 ストレッチ"));
    // Sets stored under a code without group keep that code from a new group.
    addSet(QStringLiteral("2024/05/01"), QStringLiteral("09"), k01, 1, QStringLiteral("09:00:00"),
           QStringLiteral("orphan"));
    ASSERT_TRUE(AddGroup(db(), QStringLiteral("柔軟"), code, message));
    EXPECT_EQ(code, QStringLiteral("10"));
    expectMastersPass();
}

TEST_F(MasterChanges, NewExerciseTakesItsGroupsNextFreeCode) {
    QString code, message;
    ASSERT_TRUE(AddExercise(db(), k01, QStringLiteral("Bench Press (Barbell)"), code, message));
    EXPECT_EQ(code, QStringLiteral("05"));
    EXPECT_EQ(exerciseList(k01).last(), QStringLiteral("05 Bench Press (Barbell)"));
    EXPECT_FALSE(AddExercise(db(), QStringLiteral("42"), QStringLiteral("x"), code, message));
    EXPECT_EQ(message, QStringLiteral("選んだグループがありません。"));
    expectMastersPass();
}

TEST_F(MasterChanges, RefusedNamesWriteNothing) {
    struct Case {
        const char* what;
        std::function<bool(QString&)> change;
        QString message;
    };
    QString code;
    const Case cases[] = {
        {"empty group", [&](QString& m) { return AddGroup(db(), QString(), code, m); },
         EmptyNameMessage()},
        {"blank group", [&](QString& m) { return AddGroup(db(), QStringLiteral(" 　"), code, m); },
         EmptyNameMessage()},
        {"group name used",
         [&](QString& m) { return AddGroup(db(), QStringLiteral("背中"), code, m); },
         GroupNameUsedMessage(QStringLiteral("背中"))},
        {"group renamed to another's name",
         [&](QString& m) { return RenameGroup(db(), k01, QStringLiteral("脚"), m); },
         GroupNameUsedMessage(QStringLiteral("脚"))},
        {"exercise name used in the group",
         [&](QString& m) {
             return AddExercise(db(), k01, QStringLiteral("ダンベルフライ"), code, m);
         },
         ExerciseNameUsedMessage(QStringLiteral("ダンベルフライ"))},
        {"exercise renamed to a used name",
         [&](QString& m) {
             return RenameExercise(db(), {k01, k01}, QStringLiteral(" 腕立て伏せ "), m);
         },
         ExerciseNameUsedMessage(QStringLiteral("腕立て伏せ"))},
        {"exercise renamed empty",
         [&](QString& m) {
             return RenameExercise(db(), {k01, k01}, QStringLiteral("   "), m);
         },
         EmptyNameMessage()},
        {"a TAB would split the lists",
         [&](QString& m) {
             return RenameExercise(db(), {k01, k01}, QStringLiteral("a\tb"), m);
         },
         QStringLiteral("名前にタブや改行は使えません。")},
        {"a line break",
         [&](QString& m) { return RenameGroup(db(), k01, QStringLiteral("a\nb"), m); },
         QStringLiteral("名前にタブや改行は使えません。")},
        {"missing exercise",
         [&](QString& m) {
             return RenameExercise(db(), {k01, QStringLiteral("77")}, QStringLiteral("x"), m);
         },
         QStringLiteral("選んだ種目がありません。")},
    };
    const QStringList before = rows(
        "select grp_cd, grp_name, status, order_id from m_grp union all "
        "select grp_cd || exer_cd, exer_name, status, order_id from m_exer");
    for (const Case& c : cases) {
        QString message;
        EXPECT_FALSE(c.change(message)) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
    }
    EXPECT_EQ(rows("select grp_cd, grp_name, status, order_id from m_grp union all "
                   "select grp_cd || exer_cd, exer_name, status, order_id from m_exer"),
              before);
}

TEST_F(MasterChanges, RenamesShowInTheListsAndKeepCodes) {
    QString message;
    ASSERT_TRUE(RenameGroup(db(), k01, QStringLiteral("胸（大胸筋）"), message));
    // A name used in another group is fine for an exercise.
    ASSERT_TRUE(RenameExercise(db(), {k01, k02}, QStringLiteral("スクワット"), message));
    // Its own name again is no clash.
    ASSERT_TRUE(RenameExercise(db(), {k01, k01}, QStringLiteral("ベンチプレス"), message));
    EXPECT_EQ(groupList().first(), QStringLiteral("01 胸（大胸筋）"));
    EXPECT_EQ(exerciseList(k01).mid(0, 2),
              (QStringList{QStringLiteral("01 ベンチプレス"), QStringLiteral("02 スクワット")}));
    expectMastersPass();
}

TEST_F(MasterChanges, HiddenEntriesLeaveTheListsAndComeBack) {
    QString message;
    ASSERT_TRUE(SetGroupShown(db(), k02, false, message));
    ASSERT_TRUE(SetExerciseShown(db(), {k01, k02}, false, message));
    EXPECT_FALSE(groupList().contains(QStringLiteral("02 背中")));
    EXPECT_FALSE(exerciseList(k01).contains(QStringLiteral("02 ダンベルフライ")));
    // The management still lists them, marked.
    std::vector<GroupRow> groups;
    ASSERT_TRUE(ReadGroups(db(), groups));
    EXPECT_EQ(groups[1].code, k02);
    EXPECT_FALSE(groups[1].shown);

    ASSERT_TRUE(SetGroupShown(db(), k02, true, message));
    ASSERT_TRUE(SetExerciseShown(db(), {k01, k02}, true, message));
    EXPECT_EQ(groupList()[1], QStringLiteral("02 背中"));
    EXPECT_EQ(exerciseList(k01)[1], QStringLiteral("02 ダンベルフライ"));
    EXPECT_EQ(rows("select count(*) from m_grp where status <> 1"), QStringList{"0"});
    expectMastersPass();
}

TEST_F(MasterChanges, OrderMovesOnePlace) {
    struct Case {
        const char* what;
        QString setup;  // statements run first
        QString code;
        int step;
        QStringList firstThree;  // of the group list afterwards
    };
    const Case cases[] = {
        {"down", {}, k01, +1, {"02 背中", "01 胸", "03 脚"}},
        {"up", {}, QStringLiteral("03"), -1, {"01 胸", "03 脚", "02 背中"}},
        {"first stays up", {}, k01, -1, {"01 胸", "02 背中", "03 脚"}},
        {"equal places are numbered first",
         QStringLiteral("update m_grp set order_id = 5;"),
         k02,
         -1,
         {"02 背中", "01 胸", "03 脚"}},
        {"a hidden neighbour counts as a place",
         QStringLiteral("update m_grp set status = 0 where grp_cd = '02';"),
         k01,
         +1,
         {"01 胸", "03 脚", "04 肩"}},
    };
    for (const Case& c : cases) {
        OpenDatabase fresh;
        if (!c.setup.isEmpty()) fresh.layout.exec(c.setup);
        QString message;
        ASSERT_TRUE(MoveGroupInOrder(fresh.db.connection(), c.code, c.step, message)) << c.what;
        EXPECT_EQ(DBFillMasterList(fresh.db, MasterList::Groups).mid(0, 3), c.firstThree) << c.what;
    }
    // Hidden 02 now lies after 01: showing it again shows the new order.
    QString message;
    ASSERT_TRUE(MoveExerciseInOrder(db(), k01, QStringLiteral("04"), -1, message));
    EXPECT_EQ(exerciseList(k01), (QStringList{"01 ベンチプレス", "02 ダンベルフライ",
                                              "04 インクラインプレス", "03 腕立て伏せ"}));
    EXPECT_FALSE(MoveExerciseInOrder(db(), k01, QStringLiteral("77"), 1, message));
    expectMastersPass();
}

TEST_F(MasterChanges, DeleteIsRefusedWhileAnythingRefersToIt) {
    QString code, message;
    addSet(QStringLiteral("2024/05/01"), k01, k01, 1, QStringLiteral("09:00:00"), {});
    // Sets of a group without exercises (left behind by a hand edit).
    addSet(QStringLiteral("2024/05/01"), QStringLiteral("50"), k01, 1, {}, {});
    env.layout.exec(QStringLiteral("insert into m_grp values ('50', '旧', 1, 50);"));
    ASSERT_TRUE(AddGroup(db(), QStringLiteral("空"), code, message));

    struct Case {
        const char* what;
        std::function<bool(QString&)> remove;
        bool removed;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"exercise with sets",
         [&](QString& m) {
             return DeleteExercise(db(), {k01, k01}, m);
         },
         false, "記録が1セット"},
        {"exercise without sets",
         [&](QString& m) {
             return DeleteExercise(db(), {k01, k02}, m);
         },
         true, ""},
        {"group with exercises", [&](QString& m) { return DeleteGroup(db(), k02, m); }, false,
         "種目が4件"},
        {"group with sets only",
         [&](QString& m) { return DeleteGroup(db(), QStringLiteral("50"), m); }, false,
         "記録が1セット"},
        {"empty group", [&](QString& m) { return DeleteGroup(db(), code, m); }, true, ""},
        {"missing group", [&](QString& m) { return DeleteGroup(db(), code, m); }, false,
         "選んだグループがありません"},
    };
    for (const Case& c : cases) {
        QString reason;
        EXPECT_EQ(c.remove(reason), c.removed) << c.what;
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reasonPart)))
            << c.what << ": " << reason.toStdString();
    }
    EXPECT_EQ(rows("select exer_cd from m_exer where grp_cd = '01'"),
              (QStringList{"01", "03", "04"}));
    EXPECT_EQ(rows("select count(*) from m_grp where grp_cd in ('02', '50', '08')"),
              QStringList{"2"});
    expectMastersPass();
}

TEST_F(MasterChanges, MoveReKeysTheSetsToTheNewGroup) {
    struct Case {
        const char* what;
        bool withSets;
    };
    for (const Case c : {Case{"with sets", true}, Case{"without sets", false}}) {
        OpenDatabase fresh;
        sqlite3* handle = fresh.db.connection();
        if (c.withSets)
            fresh.layout.exec(QStringLiteral(
                "insert into t_exer values ('2024/05/01','01','03',1,'09:00:00','',0,'kg',10,'回',"
                "null,null,'1','a'),('2024/05/01','01','03',2,'','',0,'kg',10,'回',null,null,"
                "'1','b'),('2024/05/02','01','01',1,'','',0,'kg',10,'回',null,null,'1','bench');"));
        QString code, message;
        ASSERT_TRUE(MoveExerciseToGroup(handle, {k01, QStringLiteral("03")}, QStringLiteral("06"),
                                        code, message))
            << c.what << message.toStdString();
        EXPECT_EQ(code, QStringLiteral("05")) << c.what;
        EXPECT_EQ(DBFillExerList(fresh.db, QStringLiteral("06")).last(),
                  QStringLiteral("05 腕立て伏せ"))
            << c.what;
        EXPECT_FALSE(DBFillExerList(fresh.db, k01).contains(QStringLiteral("03 腕立て伏せ")));
        QStringList expected;
        if (c.withSets)
            expected = QStringList{"2024/05/01|06|05|1|a", "2024/05/01|06|05|2|b",
                                   "2024/05/02|01|01|1|bench"};
        QStringList stored;
        {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(handle,
                               "select ymd||'|'||grp_cd||'|'||exer_cd||'|'||set_num||'|'||comment"
                               " from t_exer order by 1",
                               -1, &s, nullptr);
            while (sqlite3_step(s) == SQLITE_ROW)
                stored << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
            sqlite3_finalize(s);
        }
        EXPECT_EQ(stored, expected) << c.what;
        QString check;
        EXPECT_TRUE(CheckMasterCodes(fresh.db, check)) << check.toStdString();
    }
}

TEST_F(MasterChanges, MoveIsRefusedWhereItWouldJoinTwoExercises) {
    QString code, message;
    ASSERT_TRUE(
        AddExercise(db(), QStringLiteral("06"), QStringLiteral("ベンチプレス"), code, message));
    const QStringList before = rows("select * from m_exer");
    EXPECT_FALSE(MoveExerciseToGroup(db(), {k01, k01}, QStringLiteral("06"), code, message));
    EXPECT_TRUE(message.contains(QStringLiteral("統合"))) << message.toStdString();
    EXPECT_FALSE(MoveExerciseToGroup(db(), {k01, k01}, k01, code, message));
    EXPECT_FALSE(MoveExerciseToGroup(db(), {k01, k01}, QStringLiteral("42"), code, message));
    EXPECT_EQ(message, QStringLiteral("移動先のグループがありません。"));
    EXPECT_EQ(rows("select * from m_exer"), before);
}

TEST_F(MasterChanges, UsageCountsAndDays) {
    addSet(QStringLiteral("2024/05/03"), k01, k01, 1, {}, {});
    addSet(QStringLiteral("2023/12/31"), k01, k01, 1, {}, {});
    addSet(QStringLiteral("2024/01/10"), k01, k01, 1, {}, {});
    std::vector<ExerciseRow> exercises;
    ASSERT_TRUE(ReadExercises(db(), k01, exercises));
    ASSERT_EQ(exercises.size(), 4u);
    EXPECT_EQ(exercises[0].sets, 3);
    EXPECT_EQ(exercises[0].firstYmd, QStringLiteral("2023/12/31"));
    EXPECT_EQ(exercises[0].lastYmd, QStringLiteral("2024/05/03"));
    EXPECT_EQ(exercises[1].sets, 0);
    EXPECT_TRUE(exercises[1].firstYmd.isEmpty());
    std::vector<GroupRow> groups;
    ASSERT_TRUE(ReadGroups(db(), groups));
    EXPECT_EQ(groups[0].exercises, 4);
    EXPECT_EQ(groups[0].sets, 3);
}

// The rest day (99 99), which the main window fills in itself, and its group: renamed only;
// every other change is refused with the reason and writes nothing.
TEST_F(MasterChanges, TheRestDayCanOnlyBeRenamed) {
    addSet(QStringLiteral("2024/05/01"), QStringLiteral("99"), QStringLiteral("99"), 1,
           QStringLiteral("null"), QStringLiteral("rest"));
    addSet(QStringLiteral("2024/05/02"), k01, k01, 1, QStringLiteral("null"),
           QStringLiteral("bench"));
    const ExerciseKey rest{QStringLiteral("99"), QStringLiteral("99")};
    const ExerciseKey bench{k01, k01};
    const ExerciseKey unused{QStringLiteral("06"), QStringLiteral("04")};
    struct Case {
        const char* what;
        std::function<bool(QString&)> change;
        const char* reason;
    };
    QString code;
    MergeFigures figures;
    const Case cases[] = {
        {"move", [&](QString& m) { return MoveExerciseToGroup(db(), rest, k01, code, m); },
         "移動できません"},
        {"merge from", [&](QString& m) { return MergeExercise(db(), rest, bench, figures, m); },
         "統合できません"},
        {"merge preview from",
         [&](QString& m) { return PreviewMerge(db(), rest, bench, figures, m); }, "統合できません"},
        {"merge into", [&](QString& m) { return MergeExercise(db(), bench, rest, figures, m); },
         "統合することはできません"},
        {"merge of an unused exercise into",
         [&](QString& m) { return MergeExercise(db(), unused, rest, figures, m); },
         "統合することはできません"},
        {"hide", [&](QString& m) { return SetExerciseShown(db(), rest, false, m); },
         "非表示にできません"},
        {"delete", [&](QString& m) { return DeleteExercise(db(), rest, m); }, "削除できません"},
        {"hide its group",
         [&](QString& m) { return SetGroupShown(db(), QStringLiteral("99"), false, m); },
         "非表示にできません"},
        {"delete its group", [&](QString& m) { return DeleteGroup(db(), QStringLiteral("99"), m); },
         "削除できません"},
    };
    const char* everything =
        "select (select group_concat(grp_cd || exer_cd || set_num || comment) from t_exer) || "
        "(select group_concat(grp_cd || exer_cd || exer_name || status) from m_exer) || "
        "(select group_concat(grp_cd || grp_name || status) from m_grp)";
    const QStringList before = rows(everything);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString message;
        EXPECT_FALSE(c.change(message));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("名前の変更だけができます")));
        EXPECT_EQ(rows(everything), before);
    }
    QString message;
    EXPECT_TRUE(RenameExercise(db(), rest, QStringLiteral("休み"), message));
    EXPECT_TRUE(RenameGroup(db(), QStringLiteral("99"), QStringLiteral("その他・休養"), message));
    EXPECT_TRUE(SetExerciseShown(db(), rest, true, message));
    // Another exercise still moves into its group and out again.
    ASSERT_TRUE(MoveExerciseToGroup(db(), bench, QStringLiteral("99"), code, message))
        << message.toStdString();
    EXPECT_EQ(exerciseList(QStringLiteral("99")),
              (QStringList{QStringLiteral("99 休み"), QStringLiteral("01 ベンチプレス")}));
    expectMastersPass();
}

}  // namespace
}  // namespace sorvenka::testing
