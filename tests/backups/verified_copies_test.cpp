#include "backups/verified_copies.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include "common/paths.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/hostile_copies.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QDateTime kNow(QDate(2024, 5, 14), QTime(9, 30, 15));
const QString kCopy = QStringLiteral("exercise_2024_0513-0800_00.sqlite3");

int gMessages = 0;
void CountMessage(QtMsgType, const QMessageLogContext&, const QString&) {
    ++gMessages;
}

// A copy that rotted on the disk: damaged, with a record line that says it was sound when
// checked at `checked`. Whether the record is believed shows in the verdict.
struct VerifiedCopiesTest : ::testing::Test {
    TempLayout layout;
    QString folder = layout.folder(QStringLiteral("db_backup"));
    QString record = JoinPath(folder, VerifiedCopies::kRecordName);

    void SetUp() override {
        ASSERT_TRUE(QFile::copy(layout.dbPath(), JoinPath(folder, kCopy)));
        ASSERT_TRUE(DamagePrimaryKeyIndex(JoinPath(folder, kCopy)));
    }
    QByteArray line(const QDateTime& checked) const {
        const QFileInfo info(JoinPath(folder, kCopy));
        return kCopy.toUtf8() + '\t' + QByteArray::number(info.size()) + ' ' +
               QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\t' +
               QByteArray::number(checked.toMSecsSinceEpoch()) + '\n';
    }
    Integrity verdict() { return VerifiedCopies(folder, kNow).verdict(kCopy); }
};

TEST_F(VerifiedCopiesTest, ARecordedCheckIsTrustedForAFewDaysOnly) {
    ASSERT_TRUE(WriteBytes(record, line(kNow.addDays(-1))));
    EXPECT_EQ(verdict(), Integrity::Sound);
    ASSERT_TRUE(WriteBytes(record, line(kNow.addDays(-VerifiedCopies::kRecheckDays))));
    EXPECT_EQ(verdict(), Integrity::Damaged);
    // A check "after now": the clock was set back; checked again.
    ASSERT_TRUE(WriteBytes(record, line(kNow.addDays(1))));
    EXPECT_EQ(verdict(), Integrity::Damaged);
}

// The record is the program's own small file: anything else at its name is not read (and
// never waited on), and lines it cannot read are passed over without a word.
TEST_F(VerifiedCopiesTest, OnlyASmallRegularRecordIsReadAndGarbageIsPassedOverQuietly) {
    const QString elsewhere = layout.folder(QStringLiteral("rec")) + QStringLiteral("/record");
    ASSERT_TRUE(WriteBytes(elsewhere, line(kNow.addDays(-1))));
    ASSERT_TRUE(QFile::link(elsewhere, record));
    EXPECT_EQ(verdict(), Integrity::Damaged);
    ASSERT_TRUE(QFile::remove(record));

    ASSERT_EQ(::mkfifo(QFile::encodeName(record).constData(), 0600), 0);
    EXPECT_EQ(verdict(), Integrity::Damaged);
    VerifiedCopies nextToAFifo(folder, kNow);
    EXPECT_FALSE(nextToAFifo.save());
    EXPECT_FALSE(QFileInfo(record).isFile());
    ASSERT_TRUE(QFile::remove(record));

    // 1.5 GB (sparse): refused by its size, never read.
    ASSERT_TRUE(WriteBytes(record, line(kNow.addDays(-1))));
    ASSERT_EQ(::truncate(QFile::encodeName(record).constData(), 1500LL * 1024 * 1024), 0);
    EXPECT_EQ(verdict(), Integrity::Damaged);

    const QByteArray garbage = QByteArray("\x01\xff\xfe\tx\n", 6) + QByteArray(300, '\0') + '\n' +
                               "exercise_2024_0513-0800_00.sqlite3\t1 2\n" +
                               "exercise_2024_0513-0800_00.sqlite3\n\t\t\n" + "../db/x\t1 2\t3\n" +
                               QByteArray("a\0b\t1 2\t3\n", 10) + "\xe3\x81\n";
    ASSERT_TRUE(WriteBytes(record, garbage + line(kNow.addDays(-1)) + garbage));
    gMessages = 0;
    const QtMessageHandler previous = qInstallMessageHandler(&CountMessage);
    {
        VerifiedCopies verified(folder, kNow);
        EXPECT_EQ(verified.verdict(kCopy), Integrity::Sound);
        EXPECT_TRUE(verified.save());
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(gMessages, 0);
    EXPECT_EQ(ReadBytes(record), line(kNow.addDays(-1)));
}

// Written without following a link: the link is replaced by the record, its target untouched.
TEST_F(VerifiedCopiesTest, ALinkAtTheRecordIsReplacedNotWrittenThrough) {
    const QString target = layout.folder(QStringLiteral("rec")) + QStringLiteral("/precious");
    ASSERT_TRUE(WriteBytes(target, "precious"));
    ASSERT_TRUE(QFile::link(target, record));
    ASSERT_TRUE(QFile::copy(
        layout.dbPath(), JoinPath(folder, QStringLiteral("exercise_2024_0512-0800_00.sqlite3"))));
    VerifiedCopies verified(folder, kNow);
    EXPECT_EQ(verified.verdict(QStringLiteral("exercise_2024_0512-0800_00.sqlite3")),
              Integrity::Sound);
    EXPECT_TRUE(verified.save());
    EXPECT_EQ(ReadBytes(target), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(record).isSymLink());
    EXPECT_TRUE(ReadBytes(record).startsWith("exercise_2024_0512-0800_00.sqlite3\t"));
    EXPECT_FALSE(QFileInfo::exists(record + QStringLiteral(".part")));
}

// The day's copy is added after the integrity check alone: a copy of a database with a trigger
// is whole, but no good copy to list as 確認済み.
TEST_F(VerifiedCopiesTest, AWholeCopyOfOtherTablesIsNotRecordedAsGood) {
    const QString name = QStringLiteral("exercise_2024_0512-0800_00.sqlite3");
    ASSERT_TRUE(MakeHostileCopy(JoinPath(folder, name), HostileCopies().front()));
    VerifiedCopies verified(folder, kNow);
    verified.add(name);
    EXPECT_EQ(verified.verdict(name), Integrity::Foreign);
}

}  // namespace
}  // namespace sorvenka::testing
