// Under a file size limit (ulimit -f) a write beyond it must fail like any other write, not end
// the program: the export and the day's backup report the failure and keep the data.
#include "common/file_size_signal.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "backups/day_copy.h"
#include "export/export_file.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs the step in a child limited to files of 4096 bytes, with the signal ignored as the
// program ignores it. The child's exit status is the step's result: 0 when it failed as
// expected; a child ended by SIGXFSZ shows as a signal.
void RunUnderFileSizeLimit(const std::function<bool()>& stepFailedAsExpected) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        IgnoreFileSizeSignal();
        rlimit limit{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        _exit(stepFailedAsExpected() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FileSizeLimit, AnExportBeyondTheLimitFailsWithAMessageAndKeepsThePreviousFile) {
    TempLayout layout(false);
    const QString path = layout.folder(QStringLiteral("rec")) + QStringLiteral("/Rec.txt");
    const QByteArray previous("the previous export\r\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(previous), previous.size());
    }
    RunUnderFileSizeLimit([&] {
        QString message;
        const bool written = WriteLinesToFile(
            QStringList(2000, QStringLiteral("ベンチプレス 60kg 10回")), path, message);
        return !written && message.contains(path);
    });
    EXPECT_EQ(ReadAll(path), previous);
    EXPECT_EQ(QDir(layout.folder(QStringLiteral("rec"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Rec.txt")});
}

TEST(FileSizeLimit, ABackupBeyondTheLimitFailsWithTheCopyMessageAndLeavesNoCopy) {
    TempLayout layout;
    // A database of some size: the first one plus a few hundred sets with long comments.
    layout.exec(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
        "insert into t_exer select '2024/05/14','01','01',i,'','',60,'kg',10,'回',null,null,"
        "'2',printf('%0200d', i) from n"));
    ASSERT_GT(QFileInfo(layout.dbPath()).size(), 4096 * 4);
    const QByteArray database = ReadAll(layout.dbPath());
    RunUnderFileSizeLimit([&] {
        QString message;
        const bool backedUp = BackupDB(
            layout.base(), QDateTime(QDate(2024, 5, 14), QTime(9, 30, 15)), QStringLiteral("db"),
            QStringLiteral("exercise.sqlite3"), QStringLiteral("db_backup"), 20, message);
        return !backedUp && message == BackupCopyFailedMessage();
    });
    EXPECT_EQ(
        QDir(layout.folder(QStringLiteral("db_backup"))).entryList(QDir::Files | QDir::Hidden),
        QStringList{});
    EXPECT_EQ(ReadAll(layout.dbPath()), database);
}

}  // namespace
}  // namespace sorvenka::testing
