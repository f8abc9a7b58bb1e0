#include "backups/restore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <iostream>

#include "common/file_size_signal.h"
#include "common/paths.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/hostile_copies.h"
#include "support/killed_writer.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QDateTime kNow(QDate(2024, 5, 14), QTime(9, 30, 15));
const QString kBackup = QStringLiteral("exercise_2024_0510-0800_00.sqlite3");
const QString kKept = QStringLiteral("exercise_before_restore_2024_0514-0930_15.sqlite3");

RestoreStep gKillAt = RestoreStep::Finished;
void KillAtStep(RestoreStep step) {
    if (step == gKillAt) kill(getpid(), SIGKILL);
}

struct RestoreFixture : ::testing::Test {
    TempLayout layout;
    QString dbFolder = layout.folder(QStringLiteral("db"));
    QString backupPath = JoinPath(layout.folder(QStringLiteral("db_backup")), kBackup);
    QString kept, message;

    void SetUp() override {
        // The backup holds one set; the current database two others.
        store(QStringLiteral("2024/05/09"), QStringLiteral("in the backup"));
        ASSERT_TRUE(QFile::copy(layout.dbPath(), backupPath));
        layout.exec(QStringLiteral("delete from t_exer"));
        store(QStringLiteral("2024/05/12"), QStringLiteral("current 1"));
        store(QStringLiteral("2024/05/13"), QStringLiteral("current 2"));
    }
    void store(const QString& ymd, const QString& comment) {
        layout.exec(QStringLiteral("insert into t_exer values ('%1','01','01',1,'','',60,'kg',"
                                   "10,'回',null,null,'2','%2')")
                        .arg(ymd, comment));
    }
    bool restore(const QString& name = kBackup) {
        return RestoreBackup(layout.base(), name, kNow, kKeptBeforeRestore, kept, message);
    }
    static QString Comments(const QString& path) {
        return ScalarText(path, QStringLiteral("select group_concat(comment, '/') from "
                                               "(select comment from t_exer order by ymd)"));
    }
    // A writer killed in the middle of a commit: its journal, hot, beside the database.
    void CrashInTheMiddleOfACommit() {
        ASSERT_TRUE(KillWriterMidCommit(layout.dbPath(), "update t_exer set comment = 'changed';"));
    }
    QStringList dbFolderFiles() const {
        return QDir(dbFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(RestoreFixture, TheBackupTakesThePlaceAndTheCurrentFileIsKeptBesideIt) {
    const QByteArray before = ReadBytes(layout.dbPath());
    ASSERT_TRUE(restore()) << message.toStdString();
    EXPECT_EQ(Comments(layout.dbPath()), QStringLiteral("in the backup"));
    EXPECT_EQ(kept, JoinPath(dbFolder, kKept));
    EXPECT_EQ(ReadBytes(kept), before);
    EXPECT_EQ(dbFolderFiles(), (QStringList{QStringLiteral("exercise.sqlite3"), kKept}));
    // A second restore in the same second keeps the first kept file too.
    ASSERT_TRUE(restore()) << message.toStdString();
    EXPECT_EQ(
        kept,
        JoinPath(dbFolder, QStringLiteral("exercise_before_restore_2024_0514-0930_15_2.sqlite3")));
    EXPECT_EQ(ReadBytes(JoinPath(dbFolder, kKept)), before);
}

// A writer killed in the middle of a commit leaves a hot journal beside the database. It
// belongs to the replaced file: kept with it, and never played into the restored one.
TEST_F(RestoreFixture, AJournalOfTheReplacedFileGoesWithIt) {
    CrashInTheMiddleOfACommit();
    ASSERT_GT(QFileInfo(layout.dbPath() + QStringLiteral("-journal")).size(), 0);

    ASSERT_TRUE(restore()) << message.toStdString();
    EXPECT_FALSE(QFile::exists(layout.dbPath() + QStringLiteral("-journal")));
    EXPECT_FALSE(QFile::exists(kept + QStringLiteral("-journal")));
    EXPECT_EQ(Comments(layout.dbPath()), QStringLiteral("in the backup"));
    EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
    // The kept file is the database as it was before the crash.
    EXPECT_EQ(Comments(kept), QStringLiteral("current 1/current 2"));
    EXPECT_EQ(IntegrityCheck(kept), QStringLiteral("ok"));
}

TEST_F(RestoreFixture, RefusalsLeaveTheDatabaseAsItWas) {
    const QByteArray damaged = QStringLiteral("exercise_2024_0511-0800_00.sqlite3").toLatin1();
    ASSERT_TRUE(QFile::copy(backupPath, layout.folder(QStringLiteral("db_backup")) + '/' +
                                            QString::fromLatin1(damaged)));
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.folder(QStringLiteral("db_backup")) + '/' +
                                      QString::fromLatin1(damaged)));
    struct Case {
        const char* name;
        QString backup;
        const char* says;
    };
    const std::vector<Case> cases{
        {"a damaged backup", QString::fromLatin1(damaged), "壊れている"},
        {"no such backup", QStringLiteral("exercise_2024_0101-0000_00.sqlite3"), "ありません"},
        {"a path out of the folder", QStringLiteral("../db/exercise.sqlite3"),
         "名前ではありません"},
        {"the database itself", QStringLiteral("exercise.sqlite3"), "名前ではありません"},
        {"an empty name", QString(), "名前ではありません"},
    };
    std::vector<Case> all = cases;
    // Whole files that are not the program's tables: a trigger could empty the record table at
    // the next rename of an exercise.
    int minute = 10;
    for (const HostileCopy& hostile : HostileCopies()) {
        const QString name = QStringLiteral("exercise_2024_0511-08%1_00.sqlite3").arg(minute++);
        ASSERT_TRUE(
            MakeHostileCopy(JoinPath(layout.folder(QStringLiteral("db_backup")), name), hostile));
        all.push_back({hostile.name, name, hostile.reason});
    }
    const QByteArray before = ReadBytes(layout.dbPath());
    for (const Case& c : all) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(restore(c.backup));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
        EXPECT_TRUE(kept.isEmpty());
        EXPECT_EQ(ReadBytes(layout.dbPath()), before);
        EXPECT_EQ(dbFolderFiles(), QStringList{QStringLiteral("exercise.sqlite3")});
    }
}

TEST_F(RestoreFixture, AMissingDatabaseIsRestoredWithNothingToKeep) {
    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    ASSERT_TRUE(restore()) << message.toStdString();
    EXPECT_TRUE(kept.isEmpty());
    EXPECT_EQ(Comments(layout.dbPath()), QStringLiteral("in the backup"));
}

// The journal of a file that is gone belongs to nothing: left, it would be played into the
// restored file at its first open.
TEST_F(RestoreFixture, AJournalWithoutItsDatabaseIsNotPlayedIntoTheRestoredOne) {
    CrashInTheMiddleOfACommit();
    ASSERT_TRUE(QFile::remove(layout.dbPath()));
    // Killed right after the rename, before anything is tidied.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        gKillAt = RestoreStep::Renamed;
        SetRestoreStepHook(&KillAtStep);
        restore();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(Comments(layout.dbPath()), QStringLiteral("in the backup"));
    EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
}

// Killed at any moment, a restore leaves a whole database at its place: the one before or the
// restored one, never a mix or nothing.
TEST_F(RestoreFixture, AKilledRestoreLeavesOneWholeDatabase) {
    // A backup big enough for the copy to take a while.
    const QString big = JoinPath(layout.folder(QStringLiteral("db_backup")),
                                 QStringLiteral("exercise_2024_0511-0800_00.sqlite3"));
    ASSERT_TRUE(QFile::copy(backupPath, big));
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(big).constData(), &db);
        sqlite3_exec(db,
                     "with recursive n(i) as (select 1 union all select i + 1 from n where i < "
                     "20000) insert into t_exer select '2024/04/01','01','01',i,'','',60,'kg',10,"
                     "'回',null,null,'2',printf('%0100d', i) from n;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const QString before = Comments(layout.dbPath());
    int restored = 0, untouched = 0;
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            restore(QStringLiteral("exercise_2024_0511-0800_00.sqlite3"));
            _exit(0);
        }
        usleep(static_cast<useconds_t>(round * 15000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
        const QString sets =
            ScalarText(layout.dbPath(), QStringLiteral("select count(*) from t_exer"));
        if (sets == QStringLiteral("20001")) {
            ++restored;
            // Back to the state before for the next round.
            ASSERT_TRUE(QFile::remove(layout.dbPath()));
            for (const QString& name : dbFolderFiles()) {
                if (name.startsWith(QStringLiteral("exercise_before_restore"))) {
                    ASSERT_TRUE(QFile::rename(JoinPath(dbFolder, name), layout.dbPath()));
                }
            }
        } else {
            ++untouched;
            EXPECT_EQ(Comments(layout.dbPath()), before);
        }
        for (const QString& name : dbFolderFiles()) {
            if (name != QStringLiteral("exercise.sqlite3") &&
                !name.startsWith(QStringLiteral(".exercise.sqlite3.restoring")))
                QFile::remove(JoinPath(dbFolder, name));
        }
    }
    std::cerr << "killed restores: " << untouched << " before, " << restored << " after\n";
}

// Killed at any of its steps after a crash in the middle of a commit, a restore leaves the
// database before it (the cut commit rolled back) or the restored one, both whole: the journal
// of the replaced file never comes to lie beside the restored one, where the next open would
// play the old pages into it.
TEST_F(RestoreFixture, KilledAtEachStepAfterACrashedCommitBothFilesStayWhole) {
    const QByteArray pristine = ReadBytes(layout.dbPath());
    struct Case {
        RestoreStep step;
        const char* name;
        bool restored;
    };
    const Case cases[] = {
        {RestoreStep::CopyWritten, "copy written", false},
        {RestoreStep::JournalSettled, "journal rolled back", false},
        {RestoreStep::CurrentKept, "current file kept", false},
        {RestoreStep::Renamed, "renamed into place", true},
        {RestoreStep::Finished, "finished", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : dbFolderFiles()) QFile::remove(JoinPath(dbFolder, name));
        ASSERT_TRUE(WriteBytes(layout.dbPath(), pristine));
        CrashInTheMiddleOfACommit();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            gKillAt = c.step;
            SetRestoreStepHook(&KillAtStep);
            restore();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status));
        // Opened as the program opens it: a journal beside it would be played now.
        EXPECT_EQ(Comments(layout.dbPath()), c.restored ? QStringLiteral("in the backup")
                                                        : QStringLiteral("current 1/current 2"));
        EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
        for (const QString& name : dbFolderFiles()) {
            if (!name.startsWith(QStringLiteral("exercise_before_restore"))) continue;
            EXPECT_EQ(Comments(JoinPath(dbFolder, name)), QStringLiteral("current 1/current 2"));
            EXPECT_EQ(IntegrityCheck(JoinPath(dbFolder, name)), QStringLiteral("ok"));
        }
    }
}

// Renamed over, the link would become a plain file and the file it points to would silently
// stay as it was: refused, both left as they are.
TEST_F(RestoreFixture, ADatabaseThatIsALinkIsRefused) {
    const QString target =
        JoinPath(layout.folder(QStringLiteral("synced")), QStringLiteral("log.sqlite3"));
    ASSERT_TRUE(QDir().mkpath(layout.folder(QStringLiteral("synced"))));
    ASSERT_TRUE(QFile::rename(layout.dbPath(), target));
    ASSERT_TRUE(QFile::link(target, layout.dbPath()));
    const QByteArray before = ReadBytes(target);
    EXPECT_FALSE(restore());
    EXPECT_TRUE(message.contains(QStringLiteral("リンク"))) << message.toStdString();
    EXPECT_TRUE(QFileInfo(layout.dbPath()).isSymLink());
    EXPECT_EQ(ReadBytes(target), before);
    EXPECT_EQ(dbFolderFiles(), QStringList{QStringLiteral("exercise.sqlite3")});
}

// The copy taken before a merge, and the file a restore kept, are restored like a daily copy:
// a merge or a restore is undone in the program.
TEST_F(RestoreFixture, CopiesBeforeAMergeAndKeptFilesAreRestoredToo) {
    const QString merge = QStringLiteral("merge_exercise_20240511-120000.sqlite3");
    ASSERT_TRUE(
        QFile::copy(backupPath, JoinPath(layout.folder(QStringLiteral("db_backup")), merge)));
    ASSERT_TRUE(restore(merge)) << message.toStdString();
    EXPECT_EQ(Comments(layout.dbPath()), QStringLiteral("in the backup"));
    const QString keptName = QFileInfo(kept).fileName();
    ASSERT_TRUE(restore(keptName)) << message.toStdString();
    EXPECT_EQ(Comments(layout.dbPath()), QStringLiteral("current 1/current 2"));
    EXPECT_EQ(Comments(JoinPath(dbFolder, keptName)), QStringLiteral("current 1/current 2"));
}

// A disk too full for the copy: the restore stops before the current file is touched and
// leaves no half-written file behind.
TEST_F(RestoreFixture, ACopyThatDoesNotFitChangesNothing) {
    const QByteArray before = ReadBytes(layout.dbPath());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        IgnoreFileSizeSignal();
        const rlimit limit{2048, 2048};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        _exit(restore() ? 1 : message.contains(QStringLiteral("復元していません")) ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(layout.dbPath()), before);
    EXPECT_EQ(dbFolderFiles(), QStringList{QStringLiteral("exercise.sqlite3")});
}

}  // namespace
}  // namespace sorvenka::testing
