#include "common/log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "startup/test_files.h"
#include "support/program_version.h"
#include "support/scripted_platform.h"

namespace sorvenka::testing {
namespace {

struct LogFixture : ::testing::Test {
    QTemporaryDir dir;
    ScriptedPlatform platform;
    Log log{platform, dir.path(), QStringLiteral("Valdrome")};

    QByteArray bytes() const { return ReadBytes(log.path()); }
};

TEST_F(LogFixture, LivesBesideTheProgramNamedAfterIt) {
    EXPECT_EQ(log.path(), dir.path() + QStringLiteral("/Valdrome_log.txt"));
}

TEST_F(LogFixture, HeaderAndEntriesAreUtf8WithCrLf) {
    platform.clock = QDateTime(QDate(2024, 5, 14), QTime(9, 5, 7));
    ASSERT_TRUE(log.start());
    ASSERT_TRUE(log.write(QStringLiteral("DBOpenDB")));
    // A multi-line text continues without time stamps on its further lines.
    platform.clock = QDateTime(QDate(2024, 5, 14), QTime(21, 0, 59));
    ASSERT_TRUE(log.write(QStringLiteral("line one\r\nline two")));
    EXPECT_EQ(bytes(), (QStringLiteral("Valdrome.exe\u3000") + ExpectedVersionText() +
                        QStringLiteral("\r\n"
                                       "2024/05/14(火)\r\n"
                                       "09:05:07 DBOpenDB\r\n"
                                       "21:00:59 line one\r\nline two\r\n"))
                           .toUtf8());
}

TEST_F(LogFixture, HeaderNamesTheWeekdayOfTheStart) {
    const struct {
        QDate day;
        const char* line;
    } cases[] = {
        {QDate(2024, 5, 12), "2024/05/12(日)"},  // Sunday
        {QDate(2024, 5, 18), "2024/05/18(土)"},
        {QDate(2021, 4, 1), "2021/04/01(木)"},
    };
    for (const auto& c : cases) {
        platform.clock = QDateTime(c.day, QTime(0, 0));
        ASSERT_TRUE(log.start());
        EXPECT_EQ(ReadCrLfLines(log.path()).value(1), QString::fromUtf8(c.line));
    }
}

TEST_F(LogFixture, EveryStartBeginsTheFileAnew) {
    ASSERT_TRUE(log.start());
    log.write(QStringLiteral("first run"));
    platform.clock = platform.clock.addDays(1);
    ASSERT_TRUE(log.start());
    log.write(QStringLiteral("second run"));
    EXPECT_EQ(ReadCrLfLines(log.path()),
              (QStringList{QStringLiteral("Valdrome.exe\u3000") + ExpectedVersionText(),
                           QStringLiteral("2024/05/15(水)"), QStringLiteral("09:30:15 second run"),
                           QString()}));
}

TEST_F(LogFixture, AnEntryWithoutAStartCreatesTheFile) {
    ASSERT_TRUE(log.write(QStringLiteral("alone")));
    EXPECT_EQ(bytes(), QByteArray("09:30:15 alone\r\n"));
}

// A FIFO at the log's name would hold the start; a link would have its target emptied. Both
// are left as they are and the program goes on without a log.
TEST_F(LogFixture, OnlyARegularFileIsWritten) {
    ::alarm(60);  // a FIFO waited on ends the test here
    const QByteArray name = QFile::encodeName(log.path());
    const QString target = dir.filePath(QStringLiteral("elsewhere.txt"));
    ASSERT_TRUE(WriteBytes(target, "someone's file"));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), name.constData()), 0);
    EXPECT_FALSE(log.start());
    EXPECT_FALSE(log.write(QStringLiteral("DBOpenDB")));
    EXPECT_EQ(ReadBytes(target), "someone's file");
    EXPECT_TRUE(QFileInfo(log.path()).isSymLink());

    ASSERT_EQ(::unlink(name.constData()), 0);
    ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
    EXPECT_FALSE(log.start());
    EXPECT_FALSE(log.write(QStringLiteral("DBOpenDB")));
    struct stat info {};
    ASSERT_EQ(::lstat(name.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(platform.shown.empty());
    ::alarm(0);
}

TEST(LogUnwritable, ReportsFailureWithoutStopping) {
    QTemporaryDir dir;
    ScriptedPlatform platform;
    Log log(platform, dir.filePath(QStringLiteral("no_such_folder")), QStringLiteral("Valdrome"));
    EXPECT_FALSE(log.start());
    EXPECT_FALSE(log.write(QStringLiteral("DBOpenDB")));
    EXPECT_TRUE(platform.shown.empty());
}

}  // namespace
}  // namespace sorvenka::testing
